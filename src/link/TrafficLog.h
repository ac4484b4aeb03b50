#pragma once

#include "link/StatusSink.h"

#include <QDateTime>
#include <QFile>
#include <QString>

#include <functional>

namespace Link {

// A time-stamped record of every telegram and error message, for diagnosing the link.
class TrafficLog
{
public:
    explicit TrafficLog(StatusSink &sink);
    ~TrafficLog();

    // The option the user ticks; callers log only while it is on.
    bool Logging() const { return m_logging; }
    void setLogging(bool on) { m_logging = on; }

    // An empty directory becomes "." when a file is opened; read it back to keep it.
    QString directory() const { return m_directory; }
    void setDirectory(const QString &dir) { m_directory = dir; }
    void setVersion(const QString &version) { m_version = version; }
    void setTimeSeparator(QChar sep) { m_timeSep = sep; }
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    void OpenTrafficLog();
    bool WriteTrafficLine(const QString &sender, QByteArrayView data);
    bool WriteTrafficText(const QString &sender, const QString &data);
    void CloseTrafficLog();

    bool isOpen() const { return m_file.isOpen(); }
    QString fileName() const { return m_file.fileName(); }

    // Bytes below 32 and above 126 as "<n>", so a line shows exactly what crossed the wire.
    static QByteArray Escape(QByteArrayView data);

private:
    QString stamp(const QDateTime &when) const;
    void writeLine(const QByteArray &line);

    StatusSink &m_sink;
    QFile m_file;
    QString m_directory;
    QString m_version = QStringLiteral("?");
    QChar m_timeSep = u':';
    bool m_logging = false;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
};

} // namespace Link
