#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Model {

// Error numbers of our own beside the system's, for targets that are refused before any call
// could fail.
constexpr int kErrorBlockDevice = -1;   // a disk is never written to as if it were a file

// The system's reason for a failed file operation (an errno value or one of the above), in the
// program's language: "disk full", "no permission", "read-only file system" ...
QString SystemReason(int error);
// A message with the reason after it in parentheses.
QString WithReason(const QString &message, const QString &reason);

// The descriptor a name stands for: "-" and "/dev/stdout" standard output, "/dev/stderr"
// standard error, "/dev/fd/N" and "/proc/self/fd/N" descriptor N. Written to directly: reopened
// by name they would truncate or replace what the caller's shell opened.
std::optional<int> NamedDescriptor(const QString &path);

// How a name is written: a file is replaced or appended to, anything else is written directly.
enum class TargetKind { File, Stream, Refused };
struct TargetInfo
{
    TargetKind kind = TargetKind::File;
    bool exists = false;        // a file (or a symbolic link to one) is there
    int error = 0;              // why it is refused
};
TargetInfo InspectTarget(const QString &path);

// Opens a device, a pipe or a named descriptor to write to, without waiting for a pipe's
// reader (none there: ENXIO). A new descriptor the caller closes, or -1 with `error` set.
int OpenStream(const QString &path, int *error);

// A reader that goes away early (SIGPIPE) and a file size limit (SIGXFSZ) end the process by
// default; ignored, they are write errors, reported like a full disk and leaving files whole.
void IgnoreWriteSignals();

// Folders made for a command's output, with their parents. A command that fails takes back
// the ones it made that are still empty, so it leaves nothing behind.
class MadeFolders
{
public:
    // true when `path` is (now) a folder; otherwise `error` holds the system's reason
    bool make(const QString &path, int *error);
    void removeEmpty();

private:
    QStringList m_made;     // outermost first
};

} // namespace Model
