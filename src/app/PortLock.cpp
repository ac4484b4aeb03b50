#include "app/PortLock.h"

#include <QDir>
#include <QStandardPaths>

PortLock::PortLock(const QString &dir)
    : m_dir(dir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) : dir)
{
    QDir().mkpath(m_dir);
}

QString PortLock::LockFileName(const QString &device)
{
    QString name = device;
    name.replace(u'/', u'_');
    while (name.startsWith(u'_'))
        name.remove(0, 1);
    // a file name has room for 255 bytes; the end of a long path tells devices apart best
    if (name.size() > 120)
        name = name.right(120);
    return QStringLiteral("QT8800Run-") + name + QStringLiteral(".lock");
}

bool PortLock::take(const QString &device)
{
    if (m_lock && device == m_device)
        return true;
    auto lock = std::make_unique<QLockFile>(QDir(m_dir).filePath(LockFileName(device)));
    // the holder's process is alive or the lock is stale: no age makes a live one stale
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        // only a lock another program holds refuses the port; one that cannot be written at all
        // (no runtime folder) guards nothing, and is no reason to stay closed
        if (lock->error() == QLockFile::LockFailedError)
            return false;
        lock.reset();
    }
    m_lock = std::move(lock);
    m_device = device;
    return true;
}
