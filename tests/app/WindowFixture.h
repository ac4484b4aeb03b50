#pragma once
// The main window on the stand-in instrument over a pty. The engine's clock stands still until a
// test moves it: a reply's deadline passes only when the test says so, never by waiting.
#include "FormTestSupport.h"
#include "app/StatusLine.h"
#include "app/TForm1.h"
#include "link/ProtocolEngine.h"
#include "sim/PtyServer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

class WindowFixture : public QObject
{
protected:
    QTemporaryDir m_dir;
    QTemporaryDir m_lockDir;
    Sim::Instrument m_instrument;
    std::unique_ptr<Sim::PtyServer> m_server;
    std::unique_ptr<TForm1> m_form;
    QList<QByteArray> m_requests;          // as the instrument received them
    qint64 m_now = 0;                      // the engine's milliseconds
    int m_unanswered = 0;                  // requests the instrument let pass in silence

    // false: the machine has no pseudo-terminal
    bool startInstrument()
    {
        m_server = std::make_unique<Sim::PtyServer>(m_instrument);
        if (m_server->start(m_dir.path() + "/COM1").isEmpty())
            return false;
        connect(m_server.get(), &Sim::PtyServer::requestServed, this,
                [this](const QByteArray &request) { m_requests << request; });
        connect(m_server.get(), &Sim::PtyServer::delivered, this, [this](const Sim::Served &served) {
            if (served.faults.contains(QLatin1String("silence")))
                ++m_unanswered;
        });
        return true;
    }
    StartOptions windowOptions()
    {
        StartOptions o;
        o.baseDir = m_dir.path();
        o.lockDir = m_lockDir.path();
        o.ask = [](const QString &) { return true; };
        o.notify = [](const QString &) {};
        o.clock = [this] { return m_now; };
        return o;
    }
    bool showWindow(const StartOptions &options, QSize size = {})
    {
        QDir().mkpath(QStringLiteral(QT8800_SCREENS));
        m_form = std::make_unique<TForm1>(options);
        if (size.isValid())
            m_form->resize(size);
        m_form->show();
        if (!QTest::qWaitForWindowExposed(m_form.get()))
            return false;
        QApplication::setActiveWindow(m_form.get());                 // so focus moves like a user's
        return true;
    }

    QString message() const { return m_form->statusLine()->panel(StatusLine::MessagePanel).text; }
    // the engine runs on the window's timer; true once the queue is worked off
    bool idle(int ms = 8000)
    {
        return QTest::qWaitFor([this] { return m_form->engine().isIdle(); }, ms);
    }
    int requests(const char *code) const
    {
        return int(std::count_if(m_requests.begin(), m_requests.end(),
                                 [code](const QByteArray &r) { return r.startsWith(code); }));
    }
    QStringList codes() const
    {
        QStringList out;
        for (const QByteArray &r : m_requests)
            out << QString::fromLatin1(r.left(3));
        return out;
    }
    // The deadline of the request the instrument left unanswered passes; with nothing on the
    // line, the time passes all the same.
    bool passDeadline()
    {
        if (!QTest::qWaitFor([this] { return m_unanswered > 0 || m_form->engine().isIdle(); }, 5000))
            return false;
        m_unanswered = std::max(0, m_unanswered - 1);
        m_now += Link::ProtocolEngine::kReplyTimeoutMs + 1;
        m_form->engine().RunProtocolEngine();
        return true;
    }
    // n steps of the window's 40 ms timer, each worked off before the next; no real time passes
    bool tick(int n)
    {
        QTimer &timer = m_form->pollTimer();
        timer.stop();
        bool ok = true;
        for (int i = 0; i < n && ok; ++i) {
            m_now += timer.interval();
            m_form->Timer1Timer();
            ok = idle();
        }
        timer.start();
        return ok;
    }
    // steps the timer until done() holds, at most n steps
    template <typename Done>
    bool tickUntil(Done done, int n)
    {
        for (int i = 0; i < n && !done(); ++i)
            if (!tick(1))
                return false;
        return done();
    }
};
