#pragma once

#include "model/FieldTable.h"
#include "model/StatusTables.h"

#include <QList>
#include <QString>

#include <vector>

namespace Link {

struct TTXTab
{
    QString Code;
    int ReplyIndex = 0;
    QList<int> Fields;      // field indices the request carries, in telegram order
};

struct TRXTab
{
    QString Code;
    int IsBlock = 0;        // 1: the whole reply goes to a block handler
    QList<int> Fields;      // field indices filled from the reply
};

using OrderTable = std::vector<TTXTab>;
using ReplyTable = std::vector<TRXTab>;

// Orders are named everywhere by their index in the order table.
namespace Orders {
enum : int {
    GIN = 0, GDA, SDA, NIL3, NIL4, GAO, SAO, GAT, SAT, GDO, SDO, GMT, SMT, GDM, SDM,
    GRA, SRA, GLA, SLA, GZI, SZI, GSM, SSM, GTI, STI, CME, SZA, GIP, SIP, GMM, SMM,
    GAE, SAE, GST, GPT, SPT, GAM, GTM, STM, GFH, GNH, GFM, GNM, GZP, SZP,
    Count
};
}

namespace Replies {
enum : int {
    TIN = 0, TDA, NIL, TAO, TAT, TDO, TMT, TDM, TRA, TLA, TSM, TTI, TZI, CME, TIP, TMM,
    SZA, TST, TAE, TPT, TAM, TTM, TFH, TNH, TFM, TNM, TZP,
    Count
};
}

struct Tables
{
    Model::FieldTable FieldTable;
    ReplyTable Replies;
    OrderTable Orders;
    Model::StatusTables Status;
};

ReplyTable BuildReplyTable();
OrderTable BuildOrderTable();

// The data model's one-time initialisation, in dependency order.
void BuildTables(Tables &tables);

} // namespace Link
