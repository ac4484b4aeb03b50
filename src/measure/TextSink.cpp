#include "measure/TextSink.h"

#include "lang/Texts.h"

namespace Measure {

QString TextSink::announcement() const
{
    return Lang::Text(Lang::TxReadingAsText);
}

bool TextSink::begin(const RecordStart &)
{
    m_text.clear();
    m_rows = 0;
    return true;
}

bool TextSink::heading(const RecordHeading &heading)
{
    m_text.appendLines(TextHeadingLines(heading.layout, heading.firstRecordTime, heading.serialNumber));
    return true;
}

bool TextSink::row(const RecordRow &row)
{
    m_line.clear();
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        if (i > 0)
            m_line += u';';
        m_line += row.cells[i];
    }
    m_text.appendLine(m_line);
    ++m_rows;
    return true;
}

} // namespace Measure
