#pragma once

#include "xlsx/SheetCells.h"
#include "xlsx/XmlNode.h"

#include <QByteArray>

#include <functional>

namespace Xlsx {

class StyleBook;

// Writes the first worksheet: the template's sheet with the program's cells written into it.
// A cell of the program replaces the template's cell at the same place but keeps its format;
// every other cell, row, column width and whatever else the sheet holds stays as it was.
class SheetWriter
{
public:
    // `sheet` is the template's worksheet part (see Validate), `styles` gets the date and time formats.
    SheetWriter(const XmlNode &sheet, const SheetCells &cells, StyleBook &styles);

    // The tab stops being the selected one (another sheet becomes the active one).
    void setDeselect(bool deselect) { m_deselect = deselect; }

    // Writes the part in pieces of about a megabyte.
    bool write(const std::function<bool(const QByteArray &)> &sink);

    // Takes the results of a worksheet's formulas out, so that they are worked out anew when
    // the workbook is opened (the first worksheet's go as it is written); false when it has none.
    static bool DropFormulaResults(XmlNode &sheet);
    // A worksheet part the writer can fill: a worksheet with its sheetData.
    static bool Validate(const XmlNode &sheet);
    // The worksheet part of a new workbook.
    static QByteArray BlankSheet();

    // "B7" → column 2, row 7; nothing for what is no cell reference
    static bool ParseReference(QStringView reference, int *column, int *row);
    // 1 → "A", 27 → "AA"
    static QByteArray ColumnName(int column);

private:
    struct Impl;
    const XmlNode &m_sheet;
    const SheetCells &m_cells;
    StyleBook &m_styles;
    bool m_deselect = false;
};

} // namespace Xlsx
