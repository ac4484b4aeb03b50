#include "FakePort.h"

#include "link/ProtocolEngine.h"
#include "link/TelegramCodec.h"

#include <gtest/gtest.h>

using namespace Link;
using Model::Field;

namespace {

QByteArray reply(const QByteArray &body) { return AppendChecksum(body); }

struct EngineFixture : testing::Test
{
    Tables tables;
    FakePort port;
    RecordingSink sink;
    qint64 now = 0;
    int abandoned = 0;
    std::unique_ptr<FakeView> view;
    std::unique_ptr<ProtocolEngine> engine;

    void SetUp() override
    {
        BuildTables(tables);
        view = std::make_unique<FakeView>(tables.Fields);
        engine = std::make_unique<ProtocolEngine>(tables, port, sink, nullptr, [this] { return now; });
        engine->setAbandonBlockRead([this] { ++abandoned; });
    }
    void run(int passes = 1)
    {
        for (int i = 0; i < passes; ++i)
            engine->RunProtocolEngine();
    }
};

} // namespace

TEST_F(EngineFixture, SendsOneRequestAtATimeAndEndsIdle)
{
    engine->QueueOrder(Order::GIN);
    engine->QueueOrder(Order::GRA);
    engine->QueueOrder(Order::GIP);
    run();
    ASSERT_EQ(port.sent.size(), 1);
    run();
    EXPECT_EQ(port.sent.size(), 1);                  // nothing more while the reply is out
    port.pending = reply("TIN;88;2.1;5;");
    run();
    ASSERT_EQ(port.sent.size(), 2);
    EXPECT_TRUE(port.sent[1].startsWith("GRA;"));
    EXPECT_EQ(tables.Fields[Field::SerialNumber].TelegramText, QStringLiteral("88"));
    port.pending = reply("TRA;7;");
    run();
    port.pending = reply("TIP;1;");
    run();
    EXPECT_EQ(port.sent.size(), 3);
    EXPECT_TRUE(engine->isIdle());
    EXPECT_EQ(engine->currentJob(), -1);
    // both fields of TRA and TIP were stored and shown, in list order
    EXPECT_EQ(tables.Fields[Field::RangeName].TelegramText, QStringLiteral("7"));
    EXPECT_EQ(view->shown, (QList<Field>{Field::SerialNumber, Field::FirmwareVersion, Field::OperatingHours, Field::Range,
                                         Field::RangeName, Field::Polarity, Field::PolarityName}));
    EXPECT_TRUE(sink.errors().isEmpty());
}

TEST_F(EngineFixture, WrongChecksumIsRetriedOnceThenReportedOnce)
{
    port.script = {"TIN;1;2;3;00622\r\n", "TIN;1;2;3;00623\r\n", reply("TRA;1;")};
    engine->QueueOrder(Order::GIN);
    engine->QueueOrder(Order::GRA);
    run();
    ASSERT_EQ(port.sent.size(), 3);
    EXPECT_EQ(port.sent[0], port.sent[1]);           // the same telegram again
    EXPECT_TRUE(port.sent[2].startsWith("GRA;"));
    EXPECT_EQ(sink.errors(), QStringList{"Prüfsummenfehler."});
    EXPECT_EQ(abandoned, 0);
}

TEST_F(EngineFixture, OneBadChecksumThenAGoodReplyReportsNothing)
{
    port.script = {"TIN;1;2;3;00622\r\n", reply("TIN;1;2;3;")};
    engine->QueueOrder(Order::GIN);
    run();
    EXPECT_EQ(port.sent.size(), 2);
    EXPECT_TRUE(sink.errors().isEmpty());
    EXPECT_EQ(tables.Fields[Field::OperatingHours].TelegramText, QStringLiteral("3"));
}

TEST_F(EngineFixture, RefusalsNameTheRequestAndAbandonTheBlockRead)
{
    port.script = {reply("?;"), reply("?;"), reply("GRA?;"), reply("GRA?;")};
    engine->QueueOrder(Order::GFM, "3");
    engine->QueueOrder(Order::GRA);
    run();
    EXPECT_EQ(port.sent.size(), 4);
    EXPECT_EQ(sink.errors(), (QStringList{"Funktion nicht während Speicherung möglich.",
                                          "Fehlertelegramm >GRA?;< auf Anfragetelegramm: \"GRA\" erhalten."}));
    EXPECT_EQ(abandoned, 2);
}

// GNH and GNM fetch the entry after the last one sent: asked again, the instrument would skip one
TEST_F(EngineFixture, ADamagedReplyToANextRequestIsWaitedOutNotAskedAgain)
{
    QStringList records, damaged;
    engine->setBlockHandler(Reply::TNM, [&](Reply, const QString &text) { records << text; });
    engine->setDamagedChainHandler([&](Order order, const QString &message, const QString &text) {
        damaged << QStringLiteral("%1|%2|%3").arg(int(order)).arg(message, text);
    });
    // junk ahead of the reply is passed over while the reply may still come
    port.script = {"x7#kq;lf-junk\r\n"};
    engine->QueueOrder(Order::GNM, "2");
    run();
    EXPECT_FALSE(engine->isIdle());
    now += 500;
    port.pending = reply("TNM;2;0;0;+;1;2;3;");
    run();
    EXPECT_EQ(records, QStringList{"TNM;2;0;0;+;1;2;3;"});
    EXPECT_TRUE(engine->isIdle());

    // nothing readable behind the damage: at the deadline it goes to the chain's owner
    port.script = {"TNM;2;0;0;+;1;2;3;99999\r\n"};
    engine->QueueOrder(Order::GNM, "2");
    run();
    now += 2999;
    run();
    EXPECT_TRUE(damaged.isEmpty());
    now += 2;
    run();
    EXPECT_EQ(damaged, QStringList{QStringLiteral("%1|Prüfsummenfehler.|TNM;2;0;0;+;1;2;3;99999").arg(int(Order::GNM))});
    EXPECT_EQ(port.sent.size(), 2);                  // neither request went out twice
    EXPECT_TRUE(engine->isIdle());

    // without an owner the engine reports it itself; nothing is abandoned either way
    engine->setDamagedChainHandler({});
    port.script = {"TNH;2;0;0;0;0;0;01.02.2003;10:00;0:10:00;3;00000\r\n"};
    engine->QueueOrder(Order::GNH);
    run();
    now += 3001;
    run();
    EXPECT_EQ(port.sent.size(), 3);
    EXPECT_EQ(sink.errors(), QStringList{"Prüfsummenfehler."});
    EXPECT_EQ(abandoned, 0);
}

TEST_F(EngineFixture, ARefusedNextRequestAndADamagedFirstRequestAreAskedAgain)
{
    // a refusal served nothing, and a first request starts the chain afresh
    QStringList records;
    engine->setBlockHandler(Reply::TNM, [&](Reply, const QString &text) { records << text; });
    engine->setBlockHandler(Reply::TFM, [&](Reply, const QString &text) { records << text; });
    port.script = {reply("GNM;?;"), reply("TNM;0;"), "TFM;2;0;0;+;1;2;3;99999\r\n", reply("TFM;2;0;0;+;1;2;3;")};
    engine->QueueOrder(Order::GNM, "2");
    engine->QueueOrder(Order::GFM, "2");
    run();
    EXPECT_EQ(port.sent.size(), 4);
    EXPECT_EQ(records, (QStringList{"TNM;0;", "TFM;2;0;0;+;1;2;3;"}));
    EXPECT_TRUE(sink.errors().isEmpty());
    EXPECT_TRUE(engine->isIdle());
}

TEST_F(EngineFixture, AReplyOfAnotherKindIsPassedOverWhileTheRightOneMayStillCome)
{
    port.script = {reply("TDA;01.01.2026;10:00:00;")};
    engine->QueueOrder(Order::GRA);
    engine->QueueOrder(Order::GIP);
    run();
    EXPECT_EQ(port.sent.size(), 1);
    EXPECT_TRUE(sink.errors().isEmpty());
    EXPECT_TRUE(tables.Fields[Field::DeviceDate].TelegramText.isEmpty());
    now += 2000;
    port.pending = reply("TRA;7;");
    run();
    EXPECT_EQ(tables.Fields[Field::Range].TelegramText, QStringLiteral("7"));
    ASSERT_EQ(port.sent.size(), 2);
    EXPECT_TRUE(port.sent[1].startsWith("GIP;"));
    EXPECT_TRUE(sink.errors().isEmpty());
    EXPECT_EQ(abandoned, 0);
}

TEST_F(EngineFixture, UnexpectedReplyIsNotRetriedAndReportedAtTheDeadline)
{
    port.script = {reply("TDA;01.01.2026;10:00:00;"), reply("TIP;1;")};
    engine->QueueOrder(Order::GRA);
    engine->QueueOrder(Order::GIP);
    run();
    now += 3001;
    run();
    ASSERT_EQ(port.sent.size(), 2);
    EXPECT_TRUE(port.sent[1].startsWith("GIP;"));    // not resent, and the queue goes on
    EXPECT_EQ(sink.errors(), QStringList{"Unerwartetes Telegramm von QT 8800 erhalten"});
    EXPECT_EQ(abandoned, 1);
    EXPECT_EQ(engine->NoAnswerCount(), 0);
    EXPECT_TRUE(engine->isIdle());
}

TEST_F(EngineFixture, UnknownAndShortRepliesAreRetriedThenReported)
{
    port.script = {reply("XYZ;"), reply("XYZ;"), "12345\r\n", "12345\r\n"};
    engine->QueueOrder(Order::GIN);
    engine->QueueOrder(Order::GIN);
    run();
    EXPECT_EQ(port.sent.size(), 4);
    EXPECT_EQ(sink.errors(), (QStringList{"Unbekanntes Empfangstelegramm: >XYZ;<", "Unvollständigen Satz erhalten"}));
}

TEST_F(EngineFixture, SilenceDropsTheWholeQueueAndTellsOnceUntilTheUserAsksAgain)
{
    for (int i = 0; i < 10; ++i)
        engine->QueueOrder(Order::GST);
    run();
    now += 2999;
    run();
    EXPECT_FALSE(engine->isIdle());
    now += 2;
    run();
    EXPECT_EQ(port.sent.size(), 1);                  // a time-out is never retried
    EXPECT_TRUE(engine->isIdle());
    EXPECT_EQ(engine->NoAnswerCount(), 1);
    EXPECT_EQ(abandoned, 1);
    EXPECT_EQ(sink.errors().size(), 1);

    engine->CyclicStatusRead();                      // periodic polls stay silent
    run();
    now += 3001;
    run();
    EXPECT_EQ(sink.errors().size(), 1);

    engine->InformationRequest();                    // a user action resets the count
    run();
    now += 3001;
    run();
    EXPECT_EQ(sink.errors().size(), 2);
    EXPECT_TRUE(sink.errors().last().startsWith("QT 8800 antwortet nicht"));
}

// For the command line: silence is asked again; a GNH or GNM is not, its chain starts over.
TEST_F(EngineFixture, WithRetriesSilenceIsAskedAgainAndAChainStartsOver)
{
    engine->setNoAnswerRetries(2);
    int missed = 0;
    QObject::connect(engine.get(), &ProtocolEngine::replyMissed, [&missed] { ++missed; });
    port.script = {"", "", reply("TIN;1;2;3;"), "", "", ""};
    engine->QueueOrder(Order::GIN);
    engine->QueueOrder(Order::GST);
    run();
    for (int i = 0; i < 5; ++i) {
        now += 3001;
        run();
    }
    EXPECT_EQ(port.sent.size(), 6);                  // GIN three times, answered; GST three times, never
    EXPECT_EQ(tables.Fields[Field::SerialNumber].TelegramText, QStringLiteral("1"));
    EXPECT_EQ(missed, 5);
    EXPECT_TRUE(sink.messages.contains("I:Keine Antwort auf GIN, neuer Versuch (2 von 2)"));
    EXPECT_EQ(sink.errors(), QStringList{"QT 8800 antwortet nicht oder Baudrate stimmt nicht! Kommunikation wird abgebrochen."});
    EXPECT_TRUE(engine->isIdle());

    // the chain's owner starts over where the instrument resets; one that declines ends the run
    QList<Order> restarts;
    bool accept = true;
    engine->setChainRestart([&](Order order) {
        restarts << order;
        if (accept)
            engine->QueueOrder(Order::GFM, "2");
        return accept;
    });
    port.sent.clear();
    port.script = {""};
    engine->QueueOrder(Order::GNM, "2");
    run();
    for (int i = 0; i < 4; ++i) {                    // GNM silent; then GFM silent three times
        now += 3001;
        run();
    }
    EXPECT_EQ(restarts, QList<Order>{Order::GNM});
    ASSERT_EQ(port.sent.size(), 4);
    EXPECT_TRUE(port.sent[1].startsWith("GFM;2;"));
    accept = false;
    engine->QueueOrder(Order::GNM, "2");
    run();
    now += 3001;
    run();
    EXPECT_EQ(restarts.size(), 2);
    EXPECT_EQ(port.sent.size(), 5);
    EXPECT_TRUE(engine->isIdle());
    EXPECT_EQ(abandoned, 3);
}

TEST_F(EngineFixture, AGoodReplyAfterSilenceClearsTheNoAnswerMessage)
{
    engine->QueueOrder(Order::GIN);
    run();
    now += 3001;
    run();
    port.script = {reply("TIN;1;2;3;")};
    engine->QueueOrder(Order::GIN);
    run();
    EXPECT_EQ(sink.messages.last(), QStringLiteral("I: "));
    EXPECT_EQ(engine->NoAnswerCount(), 0);
}

TEST_F(EngineFixture, MissingTokenKeepsEarlierFieldsAndRearmsOnce)
{
    port.script = {reply("TST;1;0;"), reply("TST;1;0;")};
    engine->QueueOrder(Order::GST);
    run();
    EXPECT_EQ(tables.Fields[Field::Recording].TelegramText, QStringLiteral("1"));
    EXPECT_EQ(tables.Fields[Field::StartModeStatus].TelegramText, QStringLiteral("0"));
    EXPECT_TRUE(tables.Fields[Field::AlarmInfo].TelegramText.isEmpty());
    EXPECT_EQ(port.sent.size(), 2);
    EXPECT_EQ(abandoned, 1);                         // once no attempt is left
    EXPECT_EQ(sink.errors(), QStringList{"Bearbeitungsfehler!  Token-Nr.: 5  Telegramm: TST;1;0;"});
}

TEST_F(EngineFixture, AReplyCutShortAndThenWholeLeavesAReadOfRecordsGoing)
{
    port.script = {reply("TIN;4711;"), reply("TIN;4711;1.20;2;")};
    engine->QueueOrder(Order::GIN);
    run();
    EXPECT_EQ(port.sent.size(), 2);
    EXPECT_EQ(abandoned, 0);
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    EXPECT_EQ(tables.Fields[Field::SerialNumber].TelegramText, QStringLiteral("4711"));
}

TEST_F(EngineFixture, AnEmptyValueClosedByItsSeparatorIsAValueAndAnUnclosedLastOneToo)
{
    port.script = {reply("TDA;09.12.2026;;"), reply("TDA;09.12.2026;12:00:00")};
    engine->QueueOrder(Order::GDA);
    engine->QueueOrder(Order::GDA);
    run();
    EXPECT_EQ(port.sent.size(), 2);
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    const FieldList &fields = replyInfo(orderInfo(Order::GDA).reply).fields;
    ASSERT_EQ(fields.size(), 2);
    EXPECT_EQ(tables.Fields[fields[1]].TelegramText, QStringLiteral("12:00:00"));
}

TEST_F(EngineFixture, StatusReplyFillsSharedTokensAndSkipsTokenFour)
{
    port.script = {reply("TST;1;0;x;9;42;")};
    engine->QueueOrder(Order::GST);
    run();
    EXPECT_EQ(tables.Fields[Field::RecordingLamp].TelegramText, QStringLiteral("1"));
    EXPECT_EQ(tables.Fields[Field::AlarmInfo].TelegramText, QStringLiteral("9"));
    EXPECT_EQ(tables.Fields[Field::AlarmDisplay].TelegramText, QStringLiteral("9"));
    EXPECT_EQ(tables.Fields[Field::MemoryUse].TelegramText, QStringLiteral("42"));
}

TEST_F(EngineFixture, ValuesAreCapturedWhenQueuedNotWhenSent)
{
    view->controlValues[Field::Range] = "3";
    engine->QueueOrder(Order::SRA);
    view->controlValues[Field::Range] = "8";
    run();
    ASSERT_EQ(port.sent.size(), 1);
    EXPECT_TRUE(port.sent[0].startsWith("SRA;3;"));
}

TEST_F(EngineFixture, PortNotReadyFinishesEachJobWithAMessage)
{
    port.ready = false;
    engine->QueueOrder(Order::GIN);
    engine->QueueOrder(Order::GST);
    run();
    EXPECT_TRUE(port.sent.isEmpty());
    EXPECT_EQ(sink.errors().size(), 2);
    EXPECT_TRUE(engine->isIdle());
}

TEST_F(EngineFixture, APortLostWhileAReplyIsOutEndsTheRunWithoutATimeOut)
{
    for (int i = 0; i < 3; ++i)
        engine->QueueOrder(Order::GST);
    run();
    ASSERT_EQ(port.sent.size(), 1);
    port.ready = false;                              // the line's own message was shown
    run();
    EXPECT_TRUE(engine->isIdle());
    EXPECT_EQ(abandoned, 1);
    now += 3001;
    run();
    EXPECT_EQ(port.sent.size(), 1);
    EXPECT_TRUE(sink.errors().isEmpty());
    EXPECT_EQ(engine->NoAnswerCount(), 0);
}

TEST_F(EngineFixture, ControlChangesQueueEveryOrderCarryingTheField)
{
    QObject range, label, stranger;
    range.setObjectName("tsRange");
    label.setObjectName("lblSerNr");
    tables.Fields.BindControl("tsRange", &range);
    tables.Fields.BindControl("lblSerNr", &label);
    engine->QueueOrdersForControl(&stranger);
    EXPECT_TRUE(engine->isIdle());
    engine->QueueOrdersForControl(&label);
    EXPECT_EQ(sink.errors(), QStringList{"Kein Auftrag für Object: lblSerNr gefunden"});
    engine->QueueOrdersForControl(&range);
    ASSERT_EQ(engine->queue().size(), 1u);
    EXPECT_EQ(engine->queue()[0].order, Order::SRA);
}

TEST_F(EngineFixture, LongBlockChainsKeepTheQueueSmall)
{
    // each header queues the next request, as the directory reader does
    int headers = 0;
    std::size_t largest = 0;
    engine->setBlockHandler(Reply::TNH, [&](Reply, const QString &text) {
        EXPECT_EQ(text, QStringLiteral("TNH;5;"));
        largest = std::max(largest, engine->queue().size());
        if (++headers < 1000)
            engine->QueueOrder(Order::GNH);
    });
    for (int i = 0; i < 1000; ++i)
        port.script.push_back(reply("TNH;5;"));
    engine->QueueOrder(Order::GNH);
    run();
    EXPECT_EQ(headers, 1000);
    EXPECT_LE(largest, std::size_t(ProtocolEngine::kCompactAfter + 2));
    EXPECT_TRUE(engine->isIdle());
}

TEST_F(EngineFixture, ReadAndWriteSequencesAskInTheirOrder)
{
    engine->ReadConfigFromDevice();
    engine->WriteConfigToDevice();
    QStringList codes;
    for (const TOrder &job : engine->queue())
        codes << orderInfo(job.order).code;
    EXPECT_EQ(codes.join(' '), QStringLiteral("GIN GST GDA GAO GZP GAT GDO GMT GDM GRA GLA GSM GTI GIP GMM GAE GPT GTM "
                                              "GST SAO SZP SAT SDO SMT SDM SRA SLA SSM STI SIP SAE SPT STM"));
    EXPECT_EQ(sink.messages, (QStringList{"I:Konfiguration wird aus QT 8800 gelesen",
                                          "I:Konfiguration wird nach QT 8800 übertragen"}));
}
