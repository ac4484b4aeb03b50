#pragma once

#include "sim/Instrument.h"

#include <QMap>
#include <QRandomGenerator>
#include <QStringList>

#include <utility>
#include <vector>

// Arms at most one random fault of the stand-in for its next request, and tallies what struck.
// A reply sent twice is left out: replies carry no sequence number, so a second copy arriving
// after the next request is that request's answer to anyone, and the link tests cover it alone.
class FaultDice
{
public:
    FaultDice(quint32 seed, double rate) : m_random(seed), m_rate(rate) {}

    static const QStringList &kinds()
    {
        static const QStringList names{"silence", "badsum", "error", "garbage", "noise",
                                       "split",   "delay",  "trailing", "truncate", "close"};
        return names;
    }

    void arm(Sim::Faults &faults)
    {
        faults = Sim::Faults{};
        if (m_random.generateDouble() >= m_rate)
            return;
        const QString kind = pick();
        ++armed[kind];
        if (kind == "silence") faults.silence = 1;
        else if (kind == "badsum") faults.badChecksum = 1;
        else if (kind == "error") faults.errorTelegram = 1;
        else if (kind == "garbage") faults.garbage = 1;
        else if (kind == "noise") faults.noise = 1;
        else if (kind == "split") faults.split = 1;
        else if (kind == "delay") faults.delayMs = int(m_random.bounded(50, 1500));
        else if (kind == "trailing") faults.trailing = 1;
        else if (kind == "truncate") faults.truncate = 1;
        else if (kind == "close") faults.closeLine = true;
    }

    void tally(const Sim::Served &served)
    {
        for (const QString &fault : served.faults)
            ++struck[fault];
    }

    int struckTotal() const
    {
        int total = 0;
        for (int n : struck)
            total += n;
        return total;
    }

    QStringList neverStruck() const
    {
        QStringList out;
        for (const QString &kind : kinds())
            if (struck.value(kind) == 0)
                out << kind;
        return out;
    }

    QMap<QString, int> armed;
    QMap<QString, int> struck;

private:
    QString pick()
    {
        // a kind that has not struck yet is preferred now and then, so a short run meets them all
        const QStringList missing = neverStruck();
        if (!missing.isEmpty() && m_random.generateDouble() < 0.3)
            return missing[int(m_random.bounded(int(missing.size())))];
        // silence costs a 3-second time-out, a damaged record reply a wait for the deadline
        static const std::vector<std::pair<QString, int>> weights{
            {"silence", 4}, {"badsum", 12}, {"error", 10}, {"garbage", 14}, {"noise", 10},
            {"split", 14},  {"delay", 12},  {"trailing", 8}, {"truncate", 10}, {"close", 4}};
        int total = 0;
        for (const auto &[kind, weight] : weights)
            total += weight;
        int roll = int(m_random.bounded(total));
        for (const auto &[kind, weight] : weights) {
            if (roll < weight)
                return kind;
            roll -= weight;
        }
        return weights.back().first;
    }

    QRandomGenerator m_random;
    double m_rate;
};
