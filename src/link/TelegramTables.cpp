#include "link/TelegramTables.h"

namespace Link {

ReplyTable BuildReplyTable()
{
    auto fields = [](QString code, QList<int> f) { return TRXTab{std::move(code), 0, std::move(f)}; };
    auto block = [](QString code) { return TRXTab{std::move(code), 1, {}}; };
    return {
        fields("TIN", {0, 1, 2}),
        fields("TDA", {3, 4}),
        fields("NIL", {}),
        fields("TAO", {9}),
        fields("TAT", {7}),
        fields("TDO", {10}),
        fields("TMT", {14}),
        fields("TDM", {17}),
        fields("TRA", {5, 31}),
        fields("TLA", {12}),
        fields("TSM", {15, 16}),
        fields("TTI", {18}),
        fields("TZI", {11}),
        fields("CME", {23}),
        fields("TIP", {6, 32}),
        fields("TMM", {24}),
        fields("SZA", {26}),
        fields("TST", {24, 34, 27, 28, 29, 25}),
        fields("TAE", {13}),
        fields("TPT", {30}),
        block("TAM"),
        fields("TTM", {33}),
        block("TFH"),
        block("TNH"),
        block("TFM"),
        block("TNM"),
        fields("TZP", {8}),
    };
}

OrderTable BuildOrderTable()
{
    using namespace Replies;
    return {
        {"GIN", TIN, {}},
        {"GDA", TDA, {}},
        {"SDA", TDA, {3, 4}},
        {"NIL", TIN, {}},
        {"NIL", TIN, {}},
        {"GAO", TAO, {}},
        {"SAO", TAO, {9}},
        {"GAT", TAT, {}},
        {"SAT", TAT, {7}},
        {"GDO", TDO, {}},
        {"SDO", TDO, {10}},
        {"GMT", TMT, {}},
        {"SMT", TMT, {14}},
        {"GDM", TDM, {}},
        {"SDM", TDM, {17}},
        {"GRA", TRA, {}},
        {"SRA", TRA, {5}},
        {"GLA", TLA, {}},
        {"SLA", TLA, {12}},
        {"GZI", TZI, {}},
        {"SZI", TZI, {11}},
        {"GSM", TSM, {}},
        {"SSM", TSM, {15, 16}},
        {"GTI", TTI, {}},
        {"STI", TTI, {18}},
        {"CME", Replies::CME, {}},
        {"SZA", Replies::SZA, {26}},
        {"GIP", TIP, {}},
        {"SIP", TIP, {6}},
        {"GMM", TMM, {}},
        {"SMM", TMM, {24}},
        {"GAE", TAE, {}},
        {"SAE", TAE, {13}},
        {"GST", TST, {}},
        {"GPT", TPT, {}},
        {"SPT", TPT, {30}},
        {"GAM", TAM, {}},
        {"GTM", TTM, {}},
        {"STM", TTM, {33}},
        {"GFH", TFH, {}},
        {"GNH", TNH, {}},
        {"GFM", TFM, {}},
        {"GNM", TNM, {}},
        {"GZP", TZP, {}},
        {"SZP", TZP, {8}},
    };
}

void BuildTables(Tables &tables)
{
    tables.FieldTable.BuildFieldTable();
    tables.Replies = BuildReplyTable();
    tables.Orders = BuildOrderTable();
    tables.Status.BuildRangeNames();
    tables.Status.BuildMeterScales();
    tables.Status.BuildAlarmTexts();
}

} // namespace Link
