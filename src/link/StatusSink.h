#pragma once

#include <QString>

namespace Link {

// Where the link's messages and activity show; the main window's status line implements it.
class StatusSink
{
public:
    virtual ~StatusSink() = default;
    virtual void StatusMessage(const QString &text, bool error) = 0;
    virtual void StatusClear() {}
    // 0: a request went out ("PC"), 1: a reply came in ("QT")
    virtual void StatusFlash(int indicator) { (void)indicator; }
    // The export windows repeat every reported text in their own status bars.
    virtual void MirrorMessage(const QString &text) { (void)text; }
};

} // namespace Link
