#pragma once

#include "sim/Instrument.h"

#include <QElapsedTimer>
#include <QObject>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QString>

#include <deque>
#include <functional>
#include <memory>

namespace Sim {

// Serves an Instrument on a pseudo-terminal and links a name (".../COM1") to its device.
class PtyServer : public QObject
{
    Q_OBJECT
public:
    explicit PtyServer(Instrument &instrument, QObject *parent = nullptr);
    ~PtyServer() override;

    // Opens the pseudo-terminal; with a link path, the link points at it. Returns the device.
    QString start(const QString &linkPath = {});
    void stop();
    QString devicePath() const { return m_device; }
    bool isOpen() const { return m_master >= 0; }

    // With pacing on, replies leave at the wire speed of this rate, 10 bits a byte.
    void setBaud(int baud) { m_baud = baud; }
    void setPacing(bool on) { m_pace = on; }
    // the junk bytes of the garbage and noise faults, so a failing run can be repeated
    void setSeed(quint32 seed) { m_random.seed(seed); }

    Instrument &instrument() { return m_instrument; }

    // Answers requests in the instrument's place (a replayed traffic log); an empty reply is
    // silence. The line faults of the instrument still apply.
    using Responder = std::function<QByteArray(const QByteArray &request)>;
    void setResponder(Responder responder) { m_responder = std::move(responder); }

Q_SIGNALS:
    void requestServed(const QByteArray &request);
    // after every request, the line's faults included; a closed line serves nothing
    void delivered(const Sim::Served &served);

private:
    void onReadable();
    void onWritable();
    void serve(const QByteArray &request);
    void enqueue(const QByteArray &bytes, qint64 notBeforeUs);
    void pump();
    qint64 wireUs(qsizetype bytes) const { return bytes * 10 * 1000000 / m_baud; }
    qint64 nowUs() const { return m_clock.nsecsElapsed() / 1000; }

    struct Chunk
    {
        QByteArray bytes;
        qint64 due = 0;            // µs on m_clock
    };

    Instrument &m_instrument;
    Responder m_responder;
    int m_master = -1;
    int m_slave = -1;          // held open so the line survives the client closing it
    QString m_device;
    QString m_link;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    QByteArray m_request;
    std::deque<Chunk> m_out;
    QElapsedTimer m_clock;
    QRandomGenerator m_random{QRandomGenerator::global()->generate()};
    qint64 m_lineFreeAt = 0;   // µs; when pacing, the moment the line is free again
    int m_baud = 9600;
    bool m_pace = false;
    bool m_pumpScheduled = false;
};

} // namespace Sim
