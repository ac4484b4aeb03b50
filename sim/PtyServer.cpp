#include "sim/PtyServer.h"

#include <QFile>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace Sim {

PtyServer::PtyServer(Instrument &instrument, QObject *parent)
    : QObject(parent)
    , m_instrument(instrument)
{
    m_clock.start();
}

PtyServer::~PtyServer()
{
    stop();
}

QString PtyServer::start(const QString &linkPath)
{
    stop();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        stop();
        return {};
    }
    char name[128] = {};
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        stop();
        return {};
    }
    m_device = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave >= 0) {
        // raw from the start: no echo, no line editing, even before the client sets it
        termios tio{};
        if (::tcgetattr(m_slave, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_slave, TCSANOW, &tio);
        }
    }
    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath);
        if (!QFile::link(m_device, linkPath)) {
            stop();
            return {};
        }
        m_link = linkPath;
    }
    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &PtyServer::onReadable);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &PtyServer::onWritable);
    return m_device;
}

void PtyServer::stop()
{
    m_readNotifier.reset();
    m_writeNotifier.reset();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
    if (!m_link.isEmpty())
        QFile::remove(m_link);
    m_link.clear();
    m_out.clear();
    m_request.clear();
}

void PtyServer::onReadable()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n; ++i) {
            m_request += buffer[i];
            if (buffer[i] == '\n') {
                const QByteArray request = m_request;
                m_request.clear();
                serve(request);
                if (m_master < 0)
                    return;
            } else if (m_request.size() > 4096) {
                m_request.clear();
            }
        }
    }
}

void PtyServer::serve(const QByteArray &request)
{
    Faults &f = m_instrument.faults;
    if (f.closeLine) {
        f.closeLine = false;
        stop();
        Served closed;
        closed.code = request.left(3).toUpper();
        closed.faults << QStringLiteral("close");
        Q_EMIT delivered(closed);
        return;
    }
    const QByteArray reply = m_responder ? m_responder(request) : m_instrument.handle(request);
    Q_EMIT requestServed(request);
    Served served = m_instrument.lastServed();
    if (reply.isEmpty()) {
        Q_EMIT delivered(served);
        return;
    }
    if (f.delayMs > 0)
        served.faults << QStringLiteral("delay");

    qint64 due = nowUs() + f.delayMs * 1000;
    f.delayMs = 0;
    if (m_pace) {
        // the request had to cross the line first, then the reply does
        due = std::max(due, m_lineFreeAt) ;
        due += wireUs(request.size());
        m_lineFreeAt = due + wireUs(reply.size());
    }
    auto junk = [this](int length, bool withLf) {
        QByteArray bytes;
        for (int i = 0; i < length; ++i)
            bytes += char(m_random.bounded(32, 127));
        if (withLf)
            bytes += '\n';
        return bytes;
    };
    // a line of junk before the reply is read as the answer; noise without LF merges into it
    if (f.garbage > 0) {
        --f.garbage;
        enqueue(junk(20, true), due);
        served.faults << QStringLiteral("garbage");
        served.intact = false;
    }
    if (f.noise > 0) {
        --f.noise;
        enqueue(junk(40, false), due);
        served.faults << QStringLiteral("noise");
        served.intact = false;
    }
    if (f.split > 0) {
        --f.split;
        served.faults << QStringLiteral("split");
        for (qsizetype i = 0; i < reply.size(); ++i)
            enqueue(reply.mid(i, 1), due + i * f.splitDelayMs * 1000);
    } else {
        enqueue(reply, m_pace ? m_lineFreeAt : due);
    }
    if (f.duplicate > 0) {
        --f.duplicate;
        served.faults << QStringLiteral("duplicate");
        if (m_pace)
            m_lineFreeAt += wireUs(reply.size());
        enqueue(reply, m_pace ? m_lineFreeAt : due);
    }
    if (f.trailing > 0) {
        --f.trailing;
        enqueue("\x02\x7f", due);
        served.faults << QStringLiteral("trailing");
    }
    Q_EMIT delivered(served);
}

void PtyServer::enqueue(const QByteArray &bytes, qint64 notBeforeUs)
{
    // the queue stays in time order even when a chunk asks for an earlier moment
    if (!m_out.empty())
        notBeforeUs = std::max(notBeforeUs, m_out.back().due);
    m_out.push_back({bytes, notBeforeUs});
    pump();
}

void PtyServer::pump()
{
    while (!m_out.empty() && m_master >= 0) {
        Chunk &chunk = m_out.front();
        const qint64 waitUs = chunk.due - nowUs();
        if (waitUs > 0) {
            if (!m_pumpScheduled) {
                m_pumpScheduled = true;
                QTimer::singleShot(int((waitUs + 999) / 1000), Qt::PreciseTimer, this, [this] {
                    m_pumpScheduled = false;
                    pump();
                });
            }
            return;
        }
        const ssize_t n = ::write(m_master, chunk.bytes.constData(), size_t(chunk.bytes.size()));
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR)
                m_writeNotifier->setEnabled(true);
            else
                m_out.clear();
            return;
        }
        chunk.bytes.remove(0, n);
        if (!chunk.bytes.isEmpty()) {
            m_writeNotifier->setEnabled(true);
            return;
        }
        m_out.pop_front();
    }
}

void PtyServer::onWritable()
{
    m_writeNotifier->setEnabled(false);
    pump();
}

} // namespace Sim
