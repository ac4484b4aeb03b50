#include "measure/LiveRecorder.h"

#include <QFileInfo>

namespace Measure {

bool LiveRecorder::fail(Failure failure, const QString &reason)
{
    m_failure = failure;
    m_reason = reason;
    Close();
    return false;
}

bool LiveRecorder::Open(const QString &path)
{
    Close();
    m_failure = Failure::None;
    m_reason.clear();
    m_fileHeading.clear();
    m_haveColumns = false;
    m_rows = 0;
    const QFileInfo file(path);
    const QFileInfo dir(file.absolutePath());
    if (path.isEmpty() || file.isDir() || (file.exists() && !file.isWritable()) || !dir.isDir() || !dir.isWritable())
        return fail(Failure::NotWritable);
    if (file.size() > 0) {
        QFile existing(path);
        if (!existing.open(QIODevice::ReadOnly))
            return fail(Failure::CannotRead, existing.errorString());
        m_fileHeading = QString::fromUtf8(existing.readLine(4096)).trimmed();
    }
    m_file.setFileName(path);
    m_open = true;
    return true;
}

void LiveRecorder::Close()
{
    m_file.close();
    m_open = false;
}

bool LiveRecorder::Append(const QDateTime &when, const CurrentValues &values, const QString &analogCaption,
                          const DisplayFormats &formats)
{
    if (!m_open)
        return false;
    const LiveColumns columns = LiveColumnsFor(values);
    const QString heading = LiveHeading(columns, analogCaption);
    QString lines;
    if (m_haveColumns ? columns != m_columns : heading != m_fileHeading)
        lines += heading + QStringLiteral("\r\n");
    lines += LiveRow(columns, when, values, formats) + QStringLiteral("\r\n");
    if (!write(lines))
        return false;
    m_columns = columns;
    m_haveColumns = true;
    ++m_rows;
    return true;
}

bool LiveRecorder::markGap()
{
    if (!m_open || m_rows == 0)
        return m_open;
    return write(QStringLiteral("\r\n"));
}

bool LiveRecorder::write(const QString &lines)
{
    // opened on the first row, so a recording that gets no value leaves no empty file behind
    if (!m_file.isOpen() && !m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        return fail(Failure::WriteFailed, m_file.errorString());
    const qint64 before = m_file.size();
    const QByteArray bytes = lines.toUtf8();
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        const QString reason = m_file.errorString();
        m_file.unsetError();
        if (!m_file.isSequential())
            m_file.resize(before);
        return fail(Failure::WriteFailed, reason);
    }
    return true;
}

} // namespace Measure
