#pragma once

#include <QString>
#include <QStringList>

namespace Link {

// What the system tells about a device that was meant to be the port.

// The system's message for an errno value, in the language the C library speaks here.
QString SystemMessage(int code);

// The processes that hold the character device `device` open, as "name (PID n)", as far as
// /proc lets this user see (another user's file descriptors stay hidden unless run as root).
// At most `limit` of them.
QStringList ProcessesHolding(const QString &device, int limit = 3);

// The group is among this process's own; a membership granted after the login does not count
// until the user logs in again, which is why /etc/group is not asked.
bool ProcessInGroup(unsigned gid);

// The errno an open of the device for reading and writing gives: 0 when it opens and is a
// terminal, ENOTTY when it opens but is none.
int ProbeOpen(const QString &device);

} // namespace Link
