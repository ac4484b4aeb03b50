#pragma once

#include "measure/RecordSink.h"
#include "measure/TextRows.h"

namespace Measure {

// The text export: the heading lines, then one ";"-separated line per record, one ";" between
// neighbours also around empty cells. The text window shows the rows, saving writes them all.
class TextSink : public RecordSink
{
public:
    QString announcement() const override;
    bool begin(const RecordStart &) override;
    bool heading(const RecordHeading &heading) override;
    bool row(const RecordRow &row) override;
    bool end(bool) override { return true; }
    int rows() const override { return m_rows; }
    QString fileSuffix() const override { return QStringLiteral("csv"); }
    bool save(const QString &path, QString *error) override { return m_text.Save(path, error); }

    TextRows &textRows() { return m_text; }

private:
    TextRows m_text;
    QString m_line;                 // reused for every row
    int m_rows = 0;
};

} // namespace Measure
