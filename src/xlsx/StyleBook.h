#pragma once

#include "xlsx/SheetCells.h"
#include "xlsx/XmlNode.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <utility>

namespace Xlsx {

// The cell formats of a workbook (its styles part). Date and time cells need a format that
// shows them as such; where the template's format of a cell does not, a copy of it with the
// date or time number format is added, so font, fill, border and alignment stay the template's.
class StyleBook
{
public:
    // the styles part of a template; empty for a new workbook
    explicit StyleBook(const QByteArray &stylesXml);

    // Number format codes, e.g. "dd\.mm\.yyyy" and "hh:mm:ss".
    void setFormats(const QString &dateCode, const QString &timeCode);

    // The cell format for a date or time cell whose template format is `base`.
    int styleFor(Cell::Type type, int base);

    QByteArray xml() const { return WriteXml(m_root); }
    bool changed() const { return m_changed; }

    // The styles part of a new workbook.
    static QByteArray BlankStyles();
    // Whether a number format code shows a date (day, month or year) or a time (hours, seconds).
    static bool ShowsDate(const QString &code);
    static bool ShowsTime(const QString &code);

private:
    int numberFormatId(const QString &code);
    QString formatCodeOf(int numFmtId) const;
    XmlNode *cellFormats();

    XmlNode m_root;
    QString m_dateCode;
    QString m_timeCode;
    std::map<std::pair<int, int>, int> m_derived;   // (type, base) → new format
    bool m_changed = false;
};

// A Qt date or time pattern ("dd.MM.yyyy", "HH:mm:ss") as a number format code that shows the
// same: separators are escaped (":" and blanks need not be), so "." never reads as a decimal point.
QString NumberFormatCode(const QString &qtPattern);

} // namespace Xlsx
