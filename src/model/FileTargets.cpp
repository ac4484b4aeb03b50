#include "model/FileTargets.h"

#include "lang/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Model {

QString SystemReason(int error)
{
    using namespace Lang;
    switch (error) {
    case ENOSPC:
    case EDQUOT: return Text(TxReasonDiskFull);
    case EACCES:
    case EPERM: return Text(TxReasonNoPermission);
    case EROFS: return Text(TxReasonReadOnly);
    case ENOENT: return Text(TxReasonMissing);
    case ENOTDIR: return Text(TxReasonNotAFolder);
    case EISDIR: return Text(TxReasonIsAFolder);
    case EFBIG: return Text(TxReasonTooLarge);
    case EIO: return Text(TxReasonInputOutput);
    case EPIPE: return Text(TxReasonReaderGone);
    case ENXIO: return Text(TxReasonNoReader);
    case EBADF: return Text(TxReasonNotOpen);
    case ENAMETOOLONG: return Text(TxReasonNameTooLong);
    case kErrorBlockDevice: return Text(TxReasonBlockDevice);
    default: return Format(Text(TxReasonOther), {QString::number(error), QString::fromLocal8Bit(std::strerror(error))});
    }
}

QString WithReason(const QString &message, const QString &reason)
{
    return message.trimmed() + QStringLiteral(" (") + reason + u')';
}

std::optional<int> NamedDescriptor(const QString &path)
{
    if (path == u"-" || path == u"/dev/stdout")
        return 1;
    if (path == u"/dev/stderr")
        return 2;
    for (const QLatin1StringView prefix : {QLatin1StringView("/dev/fd/"), QLatin1StringView("/proc/self/fd/")}) {
        if (!path.startsWith(prefix))
            continue;
        bool ok = false;
        const int fd = path.mid(prefix.size()).toInt(&ok);
        if (ok && fd >= 0)
            return fd;
    }
    return std::nullopt;
}

TargetInfo InspectTarget(const QString &path)
{
    TargetInfo info;
    if (NamedDescriptor(path)) {
        info.kind = TargetKind::Stream;
        return info;
    }
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return info;    // a new file; why it cannot be made is told when it is made
    if (S_ISREG(st.st_mode)) {
        info.exists = true;
    } else if (S_ISDIR(st.st_mode)) {
        info.kind = TargetKind::Refused;
        info.error = EISDIR;
    } else if (S_ISBLK(st.st_mode)) {
        info.kind = TargetKind::Refused;
        info.error = kErrorBlockDevice;
    } else {
        info.kind = TargetKind::Stream;
    }
    return info;
}

int OpenStream(const QString &path, int *error)
{
    int fd = -1;
    if (const std::optional<int> named = NamedDescriptor(path))
        fd = ::fcntl(*named, F_DUPFD_CLOEXEC, 3);
    else
        fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    // opened without waiting for a reader; the writes wait for the reader as usual
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0 && (flags & O_NONBLOCK) && !NamedDescriptor(path))
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

void IgnoreWriteSignals()
{
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

bool MadeFolders::make(const QString &path, int *error)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    // the parents that are missing, outermost first
    QStringList missing;
    for (QString p = absolute; !QFileInfo::exists(p) && !p.isEmpty() && p != u"/"; p = QFileInfo(p).path())
        missing.prepend(p);
    for (const QString &p : std::as_const(missing)) {
        if (::mkdir(QFile::encodeName(p).constData(), 0777) != 0 && errno != EEXIST) {
            *error = errno;
            return false;
        }
        m_made << p;
    }
    if (!QFileInfo(absolute).isDir()) {
        *error = ENOTDIR;
        return false;
    }
    return true;
}

void MadeFolders::removeEmpty()
{
    // innermost first; rmdir leaves a folder that is not empty
    for (auto it = m_made.crbegin(); it != m_made.crend(); ++it)
        ::rmdir(QFile::encodeName(*it).constData());
    m_made.clear();
}

} // namespace Model
