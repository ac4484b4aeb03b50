#include "link/TrafficLog.h"

#include "lang/Texts.h"
#include "model/FileTargets.h"
#include "model/Win1252.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace Link {

TrafficLog::TrafficLog(StatusSink &sink)
    : m_sink(sink)
{
}

TrafficLog::~TrafficLog()
{
    CloseTrafficLog();
}

QString TrafficLog::stamp(const QDateTime &when) const
{
    const QString sep(m_timeSep);
    return when.toString(QStringLiteral("dd.MM.yyyy' um  'HH'%1'mm'%1'ss' Uhr '").arg(sep));
}

void TrafficLog::writeLine(const QByteArray &line)
{
    // a failing write must not stop communication: the entry is lost, the link goes on
    m_file.write(line + "\r\n");
    m_file.flush();
}

void TrafficLog::OpenTrafficLog()
{
    m_sink.StatusClear();
    const QDateTime now = m_clock();
    if (m_file.isOpen()) {
        writeLine(Model::ToWin1252(QStringLiteral("Protokollstart am ") + stamp(now)));
        return;
    }
    if (m_directory.isEmpty())
        m_directory = QStringLiteral(".");
    // one file per run: a run started in the same second as another gets a file of its own
    const QString stem = m_directory + QStringLiteral("/QT8800_") + now.toString(QStringLiteral("yyyyMMddHHmmss"));
    QString name;
    int fd = -1;
    int error = EEXIST;
    for (int n = 1; fd < 0 && error == EEXIST && n < 1000; ++n) {
        name = stem + (n > 1 ? QStringLiteral("_%1").arg(n) : QString()) + QStringLiteral(".txt");
        fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        error = fd < 0 ? errno : 0;
    }
    // made here, where the system says why not; written through QFile like before
    if (fd >= 0)
        ::close(fd);
    m_file.setFileName(name);
    if (fd < 0 || !m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        const QString text = Model::WithReason(Lang::Format(Lang::Text(Lang::TxLogCannotOpen), {name}),
                                               Model::SystemReason(fd < 0 ? error : EIO));
        m_sink.StatusMessage(text, true);
        m_sink.MirrorMessage(text);
        return;
    }
    m_sink.StatusMessage(Lang::Format(Lang::Text(Lang::TxLogOpened), {name}), false);
    writeLine(Model::ToWin1252(QStringLiteral("Ionometer QT 8800       Protokolldatei Datenverkehr  - Vers.: ")
                               + m_version));
    writeLine(" ");
    writeLine(Model::ToWin1252(QStringLiteral("Protokollstart am ") + stamp(now)));
    writeLine(" ");
    writeLine("Sender \tZeit   \tDaten");
    writeLine(QByteArray(74, '-'));
}

QByteArray TrafficLog::Escape(QByteArrayView data)
{
    QByteArray out;
    out.reserve(data.size() + 8);
    for (char c : data) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 32 || b > 126)
            out += '<' + QByteArray::number(b) + '>';
        else
            out += c;
    }
    return out;
}

bool TrafficLog::WriteTrafficLine(const QString &sender, QByteArrayView data)
{
    if (!m_file.isOpen())
        OpenTrafficLog();
    if (!m_file.isOpen())
        return false;
    const QString sep(m_timeSep);
    const QString time = m_clock().toString(QStringLiteral("HH'%1'mm'%1'ss'%1'zzz").arg(sep));
    writeLine(Model::ToWin1252(sender) + '\t' + Model::ToWin1252(time) + '\t' + Escape(data));
    return true;
}

bool TrafficLog::WriteTrafficText(const QString &sender, const QString &data)
{
    return WriteTrafficLine(sender, QByteArrayView(Model::ToWin1252(data)));
}

void TrafficLog::CloseTrafficLog()
{
    if (!m_file.isOpen())
        return;
    writeLine(Model::ToWin1252(QStringLiteral("Ende Protokoll am ") + stamp(m_clock())));
    m_file.close();
}

} // namespace Link
