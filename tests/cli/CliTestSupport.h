#pragma once

#include <QProcess>
#include <QStringList>
#include <QTest>

#include <functional>

// One run of the command-line program. The test's event loop keeps running while it waits,
// so a stand-in instrument served from the test process answers it.
struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
    QStringList lines() const { return out.split('\n', Qt::SkipEmptyParts); }
};

// `inChild` runs in the new process before the program starts: a full disk, a closed stdout.
inline CliRun RunCli(const QStringList &args, const QString &workDir, int timeoutMs = 30000,
                     const std::function<void()> &inChild = {})
{
    QProcess p;
    p.setWorkingDirectory(workDir);
    if (inChild)
        p.setChildProcessModifier(inChild);
    p.start(QStringLiteral(QT8800_CLI_PATH), args);
    CliRun run;
    if (!p.waitForStarted(5000))
        return run;
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        run.err = QStringLiteral("did not end in time");
        return run;
    }
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}
