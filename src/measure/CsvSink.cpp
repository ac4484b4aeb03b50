#include "measure/CsvSink.h"

#include "lang/Texts.h"
#include "model/FileTargets.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Measure {

namespace {

QStringList cellsOf(const QByteArray &line)
{
    return QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line).split(u';');
}

bool isRow(const QStringList &cells)
{
    static const QRegularExpression time(QStringLiteral("^\\d{1,2}\\D\\d\\d\\D\\d\\d[.,]\\d\\d\\d$"));
    static const QRegularExpression range(QStringLiteral("^\\d+$"));
    static const QRegularExpression ions(QStringLiteral("^-?\\d+$"));
    return cells.size() >= 4 && time.match(cells[1]).hasMatch() && range.match(cells[2]).hasMatch()
           && ions.match(cells[3]).hasMatch();
}

} // namespace

CsvSink::~CsvSink()
{
    Close();
}

bool CsvSink::IsHeading(const QString &line)
{
    const QStringList cells = line.split(u';');
    if (cells.size() < 4 || cells[0].trimmed().isEmpty())
        return false;
    for (int i = 0; i < 4; ++i)
        for (QChar c : cells[i])
            if (c.isDigit())
                return false;
    return true;
}

QString CsvSink::RowForm(const QString &row)
{
    QString form = row.section(u';', 0, 1);
    for (QChar &c : form)
        if (c.isDigit())
            c = u'0';
    return form;
}

bool CsvSink::fail(Failure failure, const QString &reason)
{
    m_failure = failure;
    m_reason = reason;
    Close();
    return false;
}

bool CsvSink::Open(const QString &path)
{
    Close();
    m_path = path;
    m_failure = Failure::None;
    m_reason.clear();
    m_fileHeading.clear();
    m_fileRowForm.clear();
    m_needsNewline = false;
    m_heading.clear();
    m_headingDue = false;
    m_started = false;
    m_rows = 0;
    if (path.isEmpty())
        return fail(Failure::NotWritable, Model::SystemReason(ENOENT));
    const Model::TargetInfo target = Model::InspectTarget(path);
    if (target.kind == Model::TargetKind::Refused)
        return fail(Failure::NotWritable, Model::SystemReason(target.error));
    int error = 0;
    m_file = target.kind == Model::TargetKind::File;
    if (!m_file) {
        m_fd = Model::OpenStream(path, &error);
        if (m_fd < 0)
            return fail(Failure::NotWritable, Model::SystemReason(error));
    } else if (target.exists) {
        m_fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
        if (m_fd < 0)
            return fail(Failure::NotWritable, Model::SystemReason(errno));
        if (!readEnd())
            return false;
    } else if (::access(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), W_OK | X_OK) != 0) {
        // made on the first row, so a recording that gets no value leaves no empty file behind
        return fail(Failure::NotWritable, Model::SystemReason(errno));
    }
    m_open = true;
    return true;
}

bool CsvSink::readEnd()
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(Failure::CannotRead, file.errorString());
    const qint64 size = file.size();
    if (size == 0)
        return true;
    if (!IsHeading(QString::fromUtf8(file.readLine(4096)).trimmed()))
        return fail(Failure::NotOurs, Lang::Text(Lang::TxLiveNotOurs));

    // back from the end to the last heading: the rows under it decide whether another is due
    constexpr qint64 kChunk = 64 * 1024;
    qint64 pos = size;
    QByteArray carry;   // the start of a line whose beginning lies further back
    bool last = true;
    while (pos > 0 && m_fileHeading.isEmpty()) {
        const qint64 n = qMin(kChunk, pos);
        pos -= n;
        if (!file.seek(pos))
            return fail(Failure::CannotRead, file.errorString());
        QByteArray block = file.read(n);
        if (block.size() != n)
            return fail(Failure::CannotRead, file.errorString());
        block += carry;
        const qsizetype cut = pos == 0 ? 0 : block.indexOf('\n') + 1;
        if (cut == 0 && pos > 0) {
            carry = block;
            continue;
        }
        carry = block.left(cut);
        QByteArrayList lines = block.mid(cut).split('\n');
        if (last) {
            // what follows the last line break is a row cut short: it stays, the next row starts below it
            m_needsNewline = !lines.last().isEmpty();
            lines.removeLast();
            last = false;
        }
        for (auto it = lines.crbegin(); it != lines.crend() && m_fileHeading.isEmpty(); ++it) {
            const QStringList cells = cellsOf(*it);
            const QString line = cells.join(u';');
            if (m_fileRowForm.isEmpty() && isRow(cells))
                m_fileRowForm = RowForm(line);
            else if (IsHeading(line))
                m_fileHeading = line;
        }
    }
    return true;
}

void CsvSink::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_open = false;
}

bool CsvSink::heading(const RecordHeading &heading)
{
    m_heading = heading.columns.join(u';');
    m_headingDue = true;
    return m_open;
}

bool CsvSink::row(const RecordRow &row)
{
    if (!m_open)
        return false;
    m_line.clear();
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        if (i > 0)
            m_line += u';';
        m_line += row.cells[i];
    }
    QString lines;
    if (m_needsNewline && !m_started)
        lines += QStringLiteral("\r\n");
    const bool newForm = !m_fileRowForm.isEmpty() && RowForm(m_line) != m_fileRowForm;
    if (m_started ? m_headingDue : (m_heading != m_fileHeading || newForm))
        lines += m_heading + QStringLiteral("\r\n");
    lines += m_line + QStringLiteral("\r\n");
    if (!write(lines.toUtf8()))
        return false;
    m_headingDue = false;
    m_started = true;
    ++m_rows;
    return true;
}

bool CsvSink::end(bool)
{
    Close();
    return m_failure == Failure::None;
}

bool CsvSink::markGap()
{
    if (!m_open || m_rows == 0)
        return m_open;
    return write(QByteArrayLiteral("\r\n"));
}

bool CsvSink::write(const QByteArray &bytes)
{
    if (m_fd < 0) {
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOCTTY, 0666);
        if (m_fd < 0)
            return fail(Failure::WriteFailed, Model::SystemReason(errno));
    }
    struct stat st = {};
    const off_t before = m_file && ::fstat(m_fd, &st) == 0 ? st.st_size : -1;
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, data, std::size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            // a row the disk took only in part is taken back whole
            if (before >= 0)
                (void)!::ftruncate(m_fd, before);
            return fail(Failure::WriteFailed, Model::SystemReason(error));
        }
        data += n;
        left -= n;
    }
    return true;
}

} // namespace Measure
