#include "link/PortProbe.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace Link {

namespace {

bool isNumber(const char *name)
{
    if (!*name)
        return false;
    for (; *name; ++name)
        if (*name < '0' || *name > '9')
            return false;
    return true;
}

QString processName(const QByteArray &pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(QString::fromLatin1(pid)));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll().trimmed());
}

// one process holds the device when one of its descriptors is that device
bool holds(const QByteArray &pid, dev_t device)
{
    const QByteArray fdDir = "/proc/" + pid + "/fd";
    DIR *fds = ::opendir(fdDir.constData());
    if (!fds)
        return false;
    bool found = false;
    while (const dirent *fd = ::readdir(fds)) {
        if (!isNumber(fd->d_name))
            continue;
        struct stat st = {};
        if (::stat((fdDir + '/' + fd->d_name).constData(), &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == device) {
            found = true;
            break;
        }
    }
    ::closedir(fds);
    return found;
}

} // namespace

QString SystemMessage(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QStringList ProcessesHolding(const QString &device, int limit)
{
    struct stat target = {};
    if (::stat(QFile::encodeName(device).constData(), &target) != 0 || !S_ISCHR(target.st_mode))
        return {};
    QStringList holders;
    DIR *proc = ::opendir("/proc");
    if (!proc)
        return holders;
    while (const dirent *entry = ::readdir(proc)) {
        if (!isNumber(entry->d_name))
            continue;
        const QByteArray pid(entry->d_name);
        if (!holds(pid, target.st_rdev))
            continue;
        const QString name = processName(pid);
        holders << (name.isEmpty() ? QStringLiteral("PID %1").arg(QString::fromLatin1(pid))
                                   : QStringLiteral("%1 (PID %2)").arg(name, QString::fromLatin1(pid)));
        if (holders.size() >= limit)
            break;
    }
    ::closedir(proc);
    return holders;
}

bool ProcessInGroup(unsigned gid)
{
    if (::getegid() == gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(std::size_t(count), 0);
    const int got = ::getgroups(count, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[std::size_t(i)] == gid)
            return true;
    return false;
}

int ProbeOpen(const QString &device)
{
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int result = ::isatty(fd) ? 0 : ENOTTY;
    ::close(fd);
    return result;
}

} // namespace Link
