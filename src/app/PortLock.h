#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One program per serial port: each window holds a lock file named after the device its port
// resolves to, in the user's runtime folder. Two windows on two instruments work side by side;
// two on one line would answer each other's replies.
class PortLock
{
public:
    // `dir` empty: the user's runtime folder
    explicit PortLock(const QString &dir = {});

    // Holds the lock of `device` and gives up the one held before; false, with the old one
    // kept, when another running program holds it. A lock left by a crashed run is taken over;
    // where no lock file can be made the port is taken unguarded.
    bool take(const QString &device);
    QString device() const { return m_device; }

    // "QT8800Run-dev_ttyUSB0.lock" for /dev/ttyUSB0
    static QString LockFileName(const QString &device);

private:
    QString m_dir;
    QString m_device;
    std::unique_ptr<QLockFile> m_lock;
};
