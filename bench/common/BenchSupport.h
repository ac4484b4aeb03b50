#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

namespace Bench {

// processor time of this process, user and system
inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline double rssMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// QTest::qWait wakes every few milliseconds itself; a plain event loop measures only the window
inline void idleFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// the number after `--seconds`, at least two
inline int seconds(const QStringList &args, int fallback)
{
    const qsizetype i = args.indexOf(QStringLiteral("--seconds"));
    return i >= 0 && i + 1 < args.size() ? std::max(2, args[i + 1].toInt()) : fallback;
}

// the stand-in instrument's program: `--sim PATH`, or beside the build's benchmarks
inline QString standInPath(const QStringList &args)
{
    if (const qsizetype i = args.indexOf(QStringLiteral("--sim")); i >= 0 && i + 1 < args.size())
        return args[i + 1];
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../qt8800-sim");
}

// The stand-in instrument as a process of its own, linked as DIR/COM1, started with `options`
// and given `readyMs` to say it is ready (a large memory takes longer to fill); ended with the object.
class StandIn
{
public:
    StandIn(const QStringList &args, const QString &dir, const QStringList &options = {}, int readyMs = 5000)
    {
        const QString path = standInPath(args);
        m_process.start(path, QStringList{QStringLiteral("--link"), dir + QStringLiteral("/COM1")} + options);
        m_ok = m_process.waitForStarted() && m_process.waitForReadyRead(readyMs);
        if (!m_ok)
            std::fprintf(stderr, "the stand-in instrument did not start: %s\n", qPrintable(path));
    }
    ~StandIn()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    bool ok() const { return m_ok; }

private:
    QProcess m_process;
    bool m_ok = false;
};

} // namespace Bench
