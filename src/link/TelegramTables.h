#pragma once

#include "model/FieldTable.h"
#include "model/StatusTables.h"

#include <array>
#include <cstddef>
#include <initializer_list>

namespace Link {

// The requests, in the order of the order table's rows.
enum class Order : int {
    GIN, GDA, SDA, NIL3, NIL4, GAO, SAO, GAT, SAT, GDO, SDO, GMT, SMT, GDM, SDM,
    GRA, SRA, GLA, SLA, GZI, SZI, GSM, SSM, GTI, STI, CME, SZA, GIP, SIP, GMM, SMM,
    GAE, SAE, GST, GPT, SPT, GAM, GTM, STM, GFH, GNH, GFM, GNM, GZP, SZP,
    Count
};

// The replies, in the order of the reply table's rows.
enum class Reply : int {
    TIN, TDA, NIL, TAO, TAT, TDO, TMT, TDM, TRA, TLA, TSM, TTI, TZI, CME, TIP, TMM,
    SZA, TST, TAE, TPT, TAM, TTM, TFH, TNH, TFM, TNM, TZP,
    Count
};

// The fields a telegram carries, in telegram order.
class FieldList
{
public:
    constexpr FieldList() = default;
    constexpr FieldList(std::initializer_list<Model::Field> fields)
    {
        for (Model::Field field : fields)
            m_fields[std::size_t(m_count++)] = field;
    }
    constexpr const Model::Field *begin() const { return m_fields.data(); }
    constexpr const Model::Field *end() const { return m_fields.data() + m_count; }
    constexpr int size() const { return m_count; }
    constexpr Model::Field operator[](int i) const { return m_fields[std::size_t(i)]; }
    constexpr bool contains(Model::Field field) const
    {
        for (Model::Field f : *this)
            if (f == field)
                return true;
        return false;
    }

private:
    std::array<Model::Field, 6> m_fields{};
    int m_count = 0;
};

struct TTXTab
{
    Order id;
    const char *code;
    Reply reply;            // the reply that answers it
    FieldList fields;       // sent with the request unless a parameter replaces them
};

struct TRXTab
{
    Reply id;
    const char *code;
    bool block;             // the whole reply goes to a block handler
    FieldList fields;       // filled from the reply
};

// clang-format off
inline constexpr std::array<TRXTab, std::size_t(Reply::Count)> ReplyTable{{
    {Reply::TIN, "TIN", false, {Model::Field::SerialNumber, Model::Field::FirmwareVersion, Model::Field::OperatingHours}},
    {Reply::TDA, "TDA", false, {Model::Field::DeviceDate, Model::Field::DeviceTime}},
    {Reply::NIL, "NIL", false, {}},
    {Reply::TAO, "TAO", false, {Model::Field::AnalogOut}},
    {Reply::TAT, "TAT", false, {Model::Field::PolarityInterval}},
    {Reply::TDO, "TDO", false, {Model::Field::OutputMode}},
    {Reply::TMT, "TMT", false, {Model::Field::MemoryEnd}},
    {Reply::TDM, "TDM", false, {Model::Field::Duration}},
    {Reply::TRA, "TRA", false, {Model::Field::Range, Model::Field::RangeName}},
    {Reply::TLA, "TLA", false, {Model::Field::DeviceLanguage}},
    {Reply::TSM, "TSM", false, {Model::Field::StartDate, Model::Field::StartTime}},
    {Reply::TTI, "TTI", false, {Model::Field::StorageInterval}},
    {Reply::TZI, "TZI", false, {Model::Field::Placeholder11}},
    {Reply::CME, "CME", false, {Model::Field::MemoryCleared}},
    {Reply::TIP, "TIP", false, {Model::Field::Polarity, Model::Field::PolarityName}},
    {Reply::TMM, "TMM", false, {Model::Field::Recording}},
    {Reply::SZA, "SZA", false, {Model::Field::ZeroStarted}},
    {Reply::TST, "TST", false, {Model::Field::Recording, Model::Field::StartModeStatus, Model::Field::AlarmInfo,
                                Model::Field::AlarmDisplay, Model::Field::MemoryUse, Model::Field::RecordingLamp}},
    {Reply::TAE, "TAE", false, {Model::Field::AnalogIn}},
    {Reply::TPT, "TPT", false, {Model::Field::AlternatePolarity}},
    {Reply::TAM, "TAM", true,  {}},
    {Reply::TTM, "TTM", false, {Model::Field::StartMode}},
    {Reply::TFH, "TFH", true,  {}},
    {Reply::TNH, "TNH", true,  {}},
    {Reply::TFM, "TFM", true,  {}},
    {Reply::TNM, "TNM", true,  {}},
    {Reply::TZP, "TZP", false, {Model::Field::ZeroAtStart}},
}};

inline constexpr std::array<TTXTab, std::size_t(Order::Count)> OrderTable{{
    {Order::GIN,  "GIN", Reply::TIN, {}},
    {Order::GDA,  "GDA", Reply::TDA, {}},
    {Order::SDA,  "SDA", Reply::TDA, {Model::Field::DeviceDate, Model::Field::DeviceTime}},
    {Order::NIL3, "NIL", Reply::TIN, {}},
    {Order::NIL4, "NIL", Reply::TIN, {}},
    {Order::GAO,  "GAO", Reply::TAO, {}},
    {Order::SAO,  "SAO", Reply::TAO, {Model::Field::AnalogOut}},
    {Order::GAT,  "GAT", Reply::TAT, {}},
    {Order::SAT,  "SAT", Reply::TAT, {Model::Field::PolarityInterval}},
    {Order::GDO,  "GDO", Reply::TDO, {}},
    {Order::SDO,  "SDO", Reply::TDO, {Model::Field::OutputMode}},
    {Order::GMT,  "GMT", Reply::TMT, {}},
    {Order::SMT,  "SMT", Reply::TMT, {Model::Field::MemoryEnd}},
    {Order::GDM,  "GDM", Reply::TDM, {}},
    {Order::SDM,  "SDM", Reply::TDM, {Model::Field::Duration}},
    {Order::GRA,  "GRA", Reply::TRA, {}},
    {Order::SRA,  "SRA", Reply::TRA, {Model::Field::Range}},
    {Order::GLA,  "GLA", Reply::TLA, {}},
    {Order::SLA,  "SLA", Reply::TLA, {Model::Field::DeviceLanguage}},
    {Order::GZI,  "GZI", Reply::TZI, {}},
    {Order::SZI,  "SZI", Reply::TZI, {Model::Field::Placeholder11}},
    {Order::GSM,  "GSM", Reply::TSM, {}},
    {Order::SSM,  "SSM", Reply::TSM, {Model::Field::StartDate, Model::Field::StartTime}},
    {Order::GTI,  "GTI", Reply::TTI, {}},
    {Order::STI,  "STI", Reply::TTI, {Model::Field::StorageInterval}},
    {Order::CME,  "CME", Reply::CME, {}},
    {Order::SZA,  "SZA", Reply::SZA, {Model::Field::ZeroStarted}},
    {Order::GIP,  "GIP", Reply::TIP, {}},
    {Order::SIP,  "SIP", Reply::TIP, {Model::Field::Polarity}},
    {Order::GMM,  "GMM", Reply::TMM, {}},
    {Order::SMM,  "SMM", Reply::TMM, {Model::Field::Recording}},
    {Order::GAE,  "GAE", Reply::TAE, {}},
    {Order::SAE,  "SAE", Reply::TAE, {Model::Field::AnalogIn}},
    {Order::GST,  "GST", Reply::TST, {}},
    {Order::GPT,  "GPT", Reply::TPT, {}},
    {Order::SPT,  "SPT", Reply::TPT, {Model::Field::AlternatePolarity}},
    {Order::GAM,  "GAM", Reply::TAM, {}},
    {Order::GTM,  "GTM", Reply::TTM, {}},
    {Order::STM,  "STM", Reply::TTM, {Model::Field::StartMode}},
    {Order::GFH,  "GFH", Reply::TFH, {}},
    {Order::GNH,  "GNH", Reply::TNH, {}},
    {Order::GFM,  "GFM", Reply::TFM, {}},
    {Order::GNM,  "GNM", Reply::TNM, {}},
    {Order::GZP,  "GZP", Reply::TZP, {}},
    {Order::SZP,  "SZP", Reply::TZP, {Model::Field::ZeroAtStart}},
}};
// clang-format on
static_assert(Model::rowsInOrder(ReplyTable), "the reply table's rows follow Link::Reply");
static_assert(Model::rowsInOrder(OrderTable), "the order table's rows follow Link::Order");

constexpr const TTXTab &orderInfo(Order order)
{
    return OrderTable[std::size_t(order)];
}

constexpr const TRXTab &replyInfo(Reply reply)
{
    return ReplyTable[std::size_t(reply)];
}

// the sequences the window and the command line start
inline constexpr Order kReadConfigOrders[] = {
    Order::GIN, Order::GST, Order::GDA, Order::GAO, Order::GZP, Order::GAT, Order::GDO, Order::GMT, Order::GDM,
    Order::GRA, Order::GLA, Order::GSM, Order::GTI, Order::GIP, Order::GMM, Order::GAE, Order::GPT, Order::GTM};
inline constexpr Order kConfigWriteOrders[] = {
    Order::GST, Order::SAO, Order::SZP, Order::SAT, Order::SDO, Order::SMT, Order::SDM, Order::SRA,
    Order::SLA, Order::SSM, Order::STI, Order::SIP, Order::SAE, Order::SPT, Order::STM};
inline constexpr Order kCyclicStatusOrders[] = {Order::GIN, Order::GST, Order::GDA};

// What a program keeps besides the constant tables: the fields' run-time slots and the texts
// that follow the language.
struct Tables
{
    Model::FieldSlots Fields;
    Model::StatusTables Status;
};

// The data model's one-time initialisation, in dependency order.
void BuildTables(Tables &tables);

} // namespace Link
