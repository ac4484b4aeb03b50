#include "cli/Console.h"

#include <cerrno>
#include <unistd.h>

namespace Cli {

namespace {

void put(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

} // namespace

Console::Console(FILE *out, FILE *err)
    : m_out(out)
    , m_err(err)
    , m_interactive(::isatty(::fileno(err)) == 1)
{
}

void Console::endTransient()
{
    if (!m_transientShown)
        return;
    m_transientShown = false;
    put(m_err, QStringLiteral("\n"));
}

void Console::result(const QString &line)
{
    endTransient();
    // after the first failure nothing more goes out: the reader would get a gap, not the end
    if (m_outError != 0)
        return;
    const QByteArray bytes = (line + u'\n').toUtf8();
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), m_out) != std::size_t(bytes.size())
        || std::fflush(m_out) != 0)
        m_outError = errno != 0 ? errno : EIO;
}

void Console::message(const QString &text)
{
    endTransient();
    put(m_err, QStringLiteral("qt8800-cli: ") + text.trimmed() + u'\n');
    std::fflush(m_err);
}

void Console::progress(const QString &text)
{
    if (!m_interactive || text.trimmed().isEmpty())
        return;
    endTransient();
    put(m_err, text.trimmed() + u'\n');
    std::fflush(m_err);
}

void Console::transient(const QString &text)
{
    if (!m_interactive)
        return;
    // back to the line's start and clear it: the count stays on one line
    put(m_err, QStringLiteral("\r\x1b[K") + text);
    std::fflush(m_err);
    m_transientShown = true;
}

} // namespace Cli
