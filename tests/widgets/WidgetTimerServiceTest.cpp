#include "WidgetTestSupport.h"

#include "widgets/BlinkClient.h"
#include "widgets/SoftTimer.h"
#include "widgets/WidgetTimerService.h"

#include <QtTest>

#include <memory>
#include <vector>

class WidgetTimerServiceTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { WidgetTest::manualTicks(); }

    void firesEveryRoundedIntervalOfTicks_data();
    void firesEveryRoundedIntervalOfTicks();
    void zeroIntervalStopAndNewPeriod();
    void blinkPhaseAndSlots();
    void callbacksMayStopOrDestroyOthers();
    void systemTimerRunsOnlyWhileNeeded();
};

void WidgetTimerServiceTest::firesEveryRoundedIntervalOfTicks_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<int>("period");
    QTest::newRow("10 ms: every tick") << 10 << 1;
    QTest::newRow("83 ms rounds down") << 83 << 1;
    QTest::newRow("84 ms rounds up") << 84 << 2;
    QTest::newRow("500 ms: every 9th") << 500 << 9;
    QTest::newRow("2000 ms") << 2000 << 36;
}

void WidgetTimerServiceTest::firesEveryRoundedIntervalOfTicks()
{
    QFETCH(int, intervalMs);
    QFETCH(int, period);
    std::vector<quint64> firedAt;
    WidgetTimerService &service = WidgetTimerService::instance();
    SoftTimer timer([&] { firedAt.push_back(service.tickCount()); });
    timer.start(intervalMs);
    WidgetTest::ticks(3 * period);
    QCOMPARE(int(firedAt.size()), 3);
    QCOMPARE(int(firedAt[1] - firedAt[0]), period);
    QCOMPARE(int(firedAt[2] - firedAt[1]), period);
}

void WidgetTimerServiceTest::zeroIntervalStopAndNewPeriod()
{
    int fired = 0;
    SoftTimer timer([&] { ++fired; });
    timer.start(0);
    QVERIFY(!timer.isActive());
    WidgetTest::ticks(5);
    QCOMPARE(fired, 0);

    timer.start(500);
    WidgetTest::ticks(9);
    QCOMPARE(fired, 1);
    timer.setInterval(111);   // the repeat period of a held arrow after its first delay
    WidgetTest::ticks(4);
    QCOMPARE(fired, 3);
    timer.stop();
    WidgetTest::ticks(20);
    QCOMPARE(fired, 3);
}

void WidgetTimerServiceTest::blinkPhaseAndSlots()
{
    WidgetTimerService &service = WidgetTimerService::instance();
    // start at a cycle boundary so the phase changes on the first tick
    while (service.tickCount() % WidgetTimerService::kBlinkTicks != 0)
        service.tick();

    struct Seen {
        int calls = 0;
        std::vector<bool> phases;
    };
    std::vector<Seen> seen(9);
    std::vector<std::unique_ptr<BlinkClient>> clients;
    for (size_t i = 0; i < seen.size(); ++i) {
        clients.push_back(std::make_unique<BlinkClient>([&seen, i](bool phase) {
            ++seen[i].calls;
            seen[i].phases.push_back(phase);
        }));
        clients.back()->setActive(true);
    }
    // slots are handed out in turn, so seven clients in a row use every slot once
    QList<int> taken;
    for (int i = 0; i < 7; ++i)
        taken << clients[size_t(i)]->slot();
    std::sort(taken.begin(), taken.end());
    QCOMPARE(taken, QList<int>({0, 1, 2, 3, 4, 5, 6}));
    QCOMPARE(clients[7]->slot(), clients[0]->slot());

    const bool before = service.blinkPhase();
    for (int cycle = 0; cycle < 3; ++cycle) {
        service.tick();
        QCOMPARE(service.blinkPhase(), cycle % 2 == 0 ? !before : before);
        for (int i = 1; i < WidgetTimerService::kBlinkTicks; ++i) {
            service.tick();
            QCOMPARE(service.blinkPhase(), cycle % 2 == 0 ? !before : before);   // steady within the cycle
        }
    }
    for (const Seen &s : seen) {
        QCOMPARE(s.calls, 3);   // once per cycle, whatever the slot
        QCOMPARE(s.phases, std::vector<bool>({!before, before, !before}));
    }
    clients[0]->setActive(false);
    WidgetTest::ticks(7);
    QCOMPARE(seen[0].calls, 3);
}

void WidgetTimerServiceTest::callbacksMayStopOrDestroyOthers()
{
    // a callback that closes a window destroys that window's timers in the middle of a tick
    auto victim = std::make_unique<int>(0);
    auto other = std::make_unique<SoftTimer>([&] { ++*victim; });
    int selfStops = 0;
    SoftTimer *selfPtr = nullptr;
    SoftTimer killer([&] { other.reset(); });
    SoftTimer self([&] {
        ++selfStops;
        selfPtr->stop();
    });
    selfPtr = &self;
    killer.start(10);
    other->start(10);
    self.start(10);
    WidgetTest::ticks(3);
    QVERIFY(!other);
    QCOMPARE(selfStops, 1);
    QCOMPARE(*victim, 0);
}

void WidgetTimerServiceTest::systemTimerRunsOnlyWhileNeeded()
{
    WidgetTimerService &service = WidgetTimerService::instance();
    service.setSystemTimerEnabled(true);
    QVERIFY(!service.isSystemTimerRunning());
    int fired = 0;
    {
        SoftTimer timer([&] { ++fired; });
        timer.start(10);
        QVERIFY(service.isSystemTimerRunning());
        QTRY_VERIFY(fired >= 2);   // the real 55 ms timer drives it
    }
    QVERIFY(!service.isSystemTimerRunning());
    {
        BlinkClient client([](bool) {});
        client.setActive(true);
        QVERIFY(service.isSystemTimerRunning());
    }
    QVERIFY(!service.isSystemTimerRunning());
    service.setSystemTimerEnabled(false);
}

QTEST_MAIN(WidgetTimerServiceTest)
#include "WidgetTimerServiceTest.moc"
