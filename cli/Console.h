#pragma once

#include <QString>

#include <cstdio>

namespace Cli {

// Results go to stdout, messages to stderr; progress only when stderr is a terminal, so a
// script's log holds what went wrong and nothing else. A result that does not reach stdout
// (a full disk, a closed pipe, stdout closed) is remembered: the run then ends with a message
// and the file error, never as if its output had been delivered.
class Console
{
public:
    Console(FILE *out = stdout, FILE *err = stderr);

    bool interactive() const { return m_interactive; }
    void setInteractive(bool on) { m_interactive = on; }

    void result(const QString &line);
    void message(const QString &text);
    void progress(const QString &text);
    // A progress line that the next one overwrites (a running count).
    void transient(const QString &text);

    // errno of the first result that could not be written; 0 while all arrived
    int outputError() const { return m_outError; }

private:
    void endTransient();

    FILE *m_out;
    FILE *m_err;
    bool m_interactive = false;
    bool m_transientShown = false;
    int m_outError = 0;
};

} // namespace Cli
