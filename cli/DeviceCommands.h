#pragma once

#include <functional>

namespace Cli {

class CliSession;

// Called once when a command is over, with the exit code.
using Finish = std::function<void(int code)>;

// The commands that run one sequence of the window and print or save what it brought.
void RunInfo(CliSession &session, Finish finish);
void RunReadConfig(CliSession &session, Finish finish);
void RunWriteConfig(CliSession &session, Finish finish);
void RunSetClock(CliSession &session, Finish finish);
void RunDirectory(CliSession &session, Finish finish);

} // namespace Cli
