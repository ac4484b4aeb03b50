#pragma once

#include "app/TForm1.h"

namespace Bench {

// The main window in its own base folder, answering every question with yes: nothing waits on a user.
inline StartOptions windowOptions(const QString &baseDir)
{
    StartOptions options;
    options.baseDir = baseDir;
    options.lockDir = baseDir;
    options.ask = [](const QString &) { return true; };
    return options;
}

} // namespace Bench
