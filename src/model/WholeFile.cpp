#include "model/WholeFile.h"

#include "model/FileTargets.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Model {

namespace {

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

WholeFile::WholeFile(QString path)
    : m_path(std::move(path))
{
}

WholeFile::~WholeFile()
{
    cancel();
}

QString WholeFile::errorText() const
{
    return SystemReason(m_error);
}

bool WholeFile::fail(int error)
{
    m_error = error;
    cancel();
    return false;
}

void WholeFile::closeDescriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void WholeFile::cancel()
{
    closeDescriptor();
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
}

bool WholeFile::open()
{
    cancel();
    m_error = 0;
    const TargetInfo target = InspectTarget(m_path);
    if (target.kind == TargetKind::Refused)
        return fail(target.error);
    if (target.kind == TargetKind::Stream) {
        int error = 0;
        m_fd = OpenStream(m_path, &error);
        return m_fd >= 0 || fail(error);
    }

    // a link is followed, so the link stays and its file is replaced
    const QString canonical = target.exists ? QFileInfo(m_path).canonicalFilePath() : QString();
    m_target = QFile::encodeName(canonical.isEmpty() ? QFileInfo(m_path).absoluteFilePath() : canonical);
    m_existed = false;
    struct stat old = {};
    if (target.exists && ::stat(m_target.constData(), &old) == 0) {
        m_existed = true;
        m_mode = old.st_mode & 0777;
        m_uid = old.st_uid;
        m_gid = old.st_gid;
        // the rename would replace a file the user may not write to
        if (::access(m_target.constData(), W_OK) != 0)
            return fail(errno);
    }
    const qsizetype slash = m_target.lastIndexOf('/');
    QByteArray pattern = m_target.left(slash + 1) + '.' + m_target.mid(slash + 1) + ".XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    m_fd = fd;
    m_temporary = pattern;
    return true;
}

bool WholeFile::write(QByteArrayView bytes)
{
    if (m_fd < 0)
        return false;
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, data, std::size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        data += n;
        left -= n;
    }
    return true;
}

bool WholeFile::seek(qint64 position)
{
    if (!canSeek())
        return false;
    return ::lseek(m_fd, off_t(position), SEEK_SET) >= 0 || fail(errno);
}

bool WholeFile::commit()
{
    if (m_fd < 0)
        return false;
    if (m_temporary.isEmpty()) {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0 || errno == EINTR || fail(errno);
    }
    if (m_existed) {
        // as root the file keeps its owner; anyone else owns what they write
        (void)!::fchown(m_fd, m_uid, m_gid);
        ::fchmod(m_fd, m_mode);
    } else {
        ::fchmod(m_fd, 0666 & ~currentUmask());
    }
    // on the disk before the name moves: a crash then leaves the old file or the new one
    if (::fsync(m_fd) != 0 && errno != EINVAL)
        return fail(errno);
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0 && errno != EINTR)
        return fail(errno);
    if (::rename(m_temporary.constData(), m_target.constData()) != 0)
        return fail(errno);
    m_temporary.clear();
    const qsizetype slash = m_target.lastIndexOf('/');
    const int dir = ::open(slash > 0 ? m_target.left(slash).constData() : "/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool WriteWholeFile(const QString &path, QByteArrayView bytes, QString *reason)
{
    WholeFile file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return true;
    if (reason)
        *reason = file.errorText();
    return false;
}

} // namespace Model
