#include "xlsx/SheetWriter.h"

#include "xlsx/StyleBook.h"

#include <QSet>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <map>

namespace Xlsx {

namespace {

constexpr qsizetype kPieceBytes = 1 << 20;
// widths in characters that show a whole date ("31.12.2026") and a time ("23:59:59") in the
// default font; a narrower column shows a number as "#####"
constexpr double kDateWidth = 11.0;
constexpr double kTimeWidth = 9.0;

int toInt(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

bool isTrue(const QString &text)
{
    return text == QLatin1String("1") || text == QLatin1String("true");
}

struct Extent
{
    int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
    bool empty() const { return lastRow == 0; }
    void add(int column, int row)
    {
        if (empty()) {
            firstRow = lastRow = row;
            firstColumn = lastColumn = column;
            return;
        }
        firstRow = std::min(firstRow, row);
        lastRow = std::max(lastRow, row);
        firstColumn = std::min(firstColumn, column);
        lastColumn = std::max(lastColumn, column);
    }
};

} // namespace

bool SheetWriter::ParseReference(QStringView reference, int *column, int *row)
{
    int c = 0, r = 0;
    qsizetype i = 0;
    if (i < reference.size() && reference[i] == u'$')
        ++i;
    for (; i < reference.size() && reference[i].isLetter() && reference[i].unicode() < 0x80; ++i)
        c = c * 26 + (reference[i].toUpper().unicode() - u'A' + 1);
    if (i < reference.size() && reference[i] == u'$')
        ++i;
    const qsizetype digits = i;
    for (; i < reference.size() && reference[i].isDigit(); ++i)
        r = r * 10 + reference[i].digitValue();
    if (c < 1 || c > kMaxColumns || r < 1 || r > kMaxRows || i != reference.size() || digits == i)
        return false;
    *column = c;
    *row = r;
    return true;
}

QByteArray SheetWriter::ColumnName(int column)
{
    QByteArray name;
    for (int n = column; n > 0; n = (n - 1) / 26)
        name.prepend(char('A' + (n - 1) % 26));
    return name;
}

bool SheetWriter::Validate(const XmlNode &sheet)
{
    return sheet.localName() == QLatin1String("worksheet") && sheet.child(u"sheetData");
}

bool SheetWriter::DropFormulaResults(XmlNode &sheet)
{
    bool dropped = false;
    XmlNode *data = sheet.child(u"sheetData");
    if (!data)
        return false;
    for (XmlNode *row : data->elements(u"row"))
        for (XmlNode *cell : row->elements(u"c"))
            if (cell->child(u"f") && cell->child(u"v")) {
                std::erase_if(cell->children, [](const XmlNode &c) { return c.localName() == QLatin1String("v"); });
                dropped = true;
            }
    return dropped;
}

QByteArray SheetWriter::BlankSheet()
{
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<dimension ref=\"A1\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
        "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData/>"
        "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>"
        "</worksheet>");
}

SheetWriter::SheetWriter(const XmlNode &sheet, const SheetCells &cells, StyleBook &styles)
    : m_sheet(sheet)
    , m_cells(cells)
    , m_styles(styles)
{
}

struct SheetWriter::Impl
{
    const SheetWriter &w;
    const std::function<bool(const QByteArray &)> &sink;
    QByteArray out;
    bool ok = true;
    QByteArray rowTag, cellTag, valueTag, inlineTag, textTag;
    std::vector<char> scratch;
    std::vector<QByteArray> columnNames;
    struct ColumnRange
    {
        int min, max, style;
    };
    std::vector<ColumnRange> columnRanges;      // the template's column formats
    std::map<int, double> widths;               // date and time columns
    QSet<QString> orphans;                      // shared formulas whose first cell was written over
    Extent ours;

    Impl(const SheetWriter &writer, const std::function<bool(const QByteArray &)> &s) : w(writer), sink(s)
    {
        const XmlNode &root = w.m_sheet;
        rowTag = root.qualified(u"row").toUtf8();
        cellTag = root.qualified(u"c").toUtf8();
        valueTag = root.qualified(u"v").toUtf8();
        // a number cell at its longest: the tags twice, reference, format, 24 digits of a double
        scratch.resize(std::size_t(2 * (cellTag.size() + valueTag.size())) + 80);
        inlineTag = root.qualified(u"is").toUtf8();
        textTag = root.qualified(u"t").toUtf8();
        const auto &rows = *w.m_cells.rows;
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                const Cell::Type type = rows[r][c].type;
                if (type == Cell::Empty)
                    continue;
                ours.add(int(c) + 1, int(r) + 1);
                if (type == Cell::Date || type == Cell::Time)
                    widths.emplace(int(c) + 1, type == Cell::Date ? kDateWidth : kTimeWidth);
            }
        columnNames.resize(std::size_t(ours.lastColumn) + 1);
        for (int c = 1; c <= ours.lastColumn; ++c)
            columnNames[std::size_t(c)] = ColumnName(c);
        if (const XmlNode *cols = root.child(u"cols"))
            for (const XmlNode &col : cols->children)
                if (col.kind == XmlNode::Element)
                    columnRanges.push_back({toInt(col.attribute(u"min"), 0), toInt(col.attribute(u"max"), 0),
                                            col.hasAttribute(u"style") ? toInt(col.attribute(u"style"), 0) : -1});
    }

    void piece()
    {
        if (out.size() >= kPieceBytes) {
            ok = ok && sink(out);
            out.clear();
        }
    }

    int columnStyle(int column) const
    {
        for (const ColumnRange &r : columnRanges)
            if (column >= r.min && column <= r.max)
                return r.style;
        return -1;
    }

    void dimension(const XmlNode &node)
    {
        Extent all = ours;
        const QStringList ends = node.attribute(u"ref").split(u':');
        for (const QString &end : ends) {
            int c = 0, r = 0;
            if (ParseReference(end, &c, &r))
                all.add(c, r);
        }
        if (all.empty()) {
            AppendXml(out, node);
            return;
        }
        XmlNode updated = node;
        QString ref = QString::fromLatin1(ColumnName(all.firstColumn)) + QString::number(all.firstRow);
        if (all.lastRow != all.firstRow || all.lastColumn != all.firstColumn)
            ref += u':' + QString::fromLatin1(ColumnName(all.lastColumn)) + QString::number(all.lastRow);
        updated.setAttribute(QStringLiteral("ref"), ref);
        AppendXml(out, updated);
    }

    // the template's column widths, and one for each date or time column that has none
    void columns(const XmlNode *cols)
    {
        XmlNode merged = cols ? *cols : XmlNode::element(w.m_sheet.qualified(u"cols"));
        for (const auto &[column, width] : widths) {
            if (std::any_of(columnRanges.begin(), columnRanges.end(),
                            [c = column](const ColumnRange &r) { return c >= r.min && c <= r.max; }))
                continue;
            merged.append(XmlNode::element(w.m_sheet.qualified(u"col"),
                                           {{QStringLiteral("min"), QString::number(column)},
                                            {QStringLiteral("max"), QString::number(column)},
                                            {QStringLiteral("width"), QString::number(width)},
                                            {QStringLiteral("customWidth"), QStringLiteral("1")}}));
        }
        std::stable_sort(merged.children.begin(), merged.children.end(), [](const XmlNode &a, const XmlNode &b) {
            return toInt(a.attribute(u"min"), 0) < toInt(b.attribute(u"min"), 0);
        });
        if (!merged.elements(u"col").empty())
            AppendXml(out, merged);
    }

    void number(double value)
    {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.append(buffer, result.ptr - buffer);
    }

    void ourCell(int column, QByteArrayView rowDigits, const Cell &cell, int style)
    {
        if (cell.type == Cell::Text || !std::isfinite(cell.number))
            return textCell(column, rowDigits, cell, style);
        // the bulk of a sheet: put together in place, one append per cell
        char *buffer = scratch.data();
        char *p = buffer;
        auto put = [&p](QByteArrayView bytes) {
            std::memcpy(p, bytes.data(), std::size_t(bytes.size()));
            p += bytes.size();
        };
        put("<");
        put(cellTag);
        put(" r=\"");
        put(columnNames[std::size_t(column)]);
        put(rowDigits);
        if (style > 0) {
            put("\" s=\"");
            p = std::to_chars(p, p + 12, style).ptr;
        }
        put("\"><");
        put(valueTag);
        put(">");
        p = std::to_chars(p, p + 32, cell.number).ptr;
        put("</");
        put(valueTag);
        put("></");
        put(cellTag);
        put(">");
        out.append(buffer, p - buffer);
    }

    void textCell(int column, QByteArrayView rowDigits, const Cell &cell, int style)
    {
        out += '<';
        out += cellTag;
        out += " r=\"";
        out += columnNames[std::size_t(column)];
        out += rowDigits;
        out += '"';
        if (style > 0) {
            out += " s=\"";
            out += QByteArray::number(style);
            out += '"';
        }
        // a number the sheet cannot hold ("nan") stays as its text
        const QString text = cell.type == Cell::Text ? (*w.m_cells.texts)[std::size_t(cell.text)]
                                                     : QString::number(cell.number);
        const bool keepBlanks = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
        out += " t=\"inlineStr\"><";
        out += inlineTag;
        out += "><";
        out += textTag;
        out += keepBlanks ? " xml:space=\"preserve\">" : ">";
        AppendEscaped(out, text);
        out += "</";
        out += textTag;
        out += "></";
        out += inlineTag;
        out += "></";
        out += cellTag;
        out += '>';
    }

    // A template cell kept. Its formula's result goes: the rows may change it, and a reader
    // that does not work out formulas on opening would show the stale one. A shared formula
    // whose first cell was written over keeps its result instead, as a plain value.
    void templateCell(const XmlNode &cell)
    {
        const XmlNode *formula = cell.child(u"f");
        if (!formula) {
            AppendXml(out, cell);
            return;
        }
        const bool orphan = formula->attribute(u"t") == QLatin1String("shared") && !formula->hasAttribute(u"ref")
                            && orphans.contains(formula->attribute(u"si"));
        XmlNode kept = cell;
        std::erase_if(kept.children,
                      [&](const XmlNode &c) { return c.localName() == QLatin1String(orphan ? "f" : "v"); });
        AppendXml(out, kept);
    }

    void templateRow(const XmlNode &row)
    {
        XmlNode start = row;
        start.children.clear();
        AppendStartTag(out, start);
        for (const XmlNode &c : row.children)
            c.kind == XmlNode::Element && c.localName() == QLatin1String("c") ? templateCell(c) : AppendXml(out, c);
        out += "</" + row.name.toUtf8() + '>';
    }

    void row(int number, const XmlNode *templ)
    {
        static const std::vector<Cell> none;
        const auto &rows = *w.m_cells.rows;
        const std::vector<Cell> &cells = number <= int(rows.size()) ? rows[std::size_t(number) - 1] : none;
        const bool anyOurs = std::any_of(cells.begin(), cells.end(), [](const Cell &c) { return c.type != Cell::Empty; });
        if (!anyOurs) {
            if (templ)
                templateRow(*templ);
            return;
        }
        char digits[12];
        const QByteArrayView rowDigits(digits, std::to_chars(digits, digits + sizeof digits, number).ptr - digits);
        // the template's cells of this row by column, in their order
        std::vector<std::pair<int, const XmlNode *>> kept;
        int rowStyle = -1;
        if (templ) {
            XmlNode start = *templ;
            start.children.clear();
            start.removeAttribute(u"spans");    // a hint of the columns used, which may change
            start.setAttribute(QStringLiteral("r"), QString::number(number));
            AppendStartTag(out, start);
            if (isTrue(templ->attribute(u"customFormat")))
                rowStyle = toInt(templ->attribute(u"s"), -1);
            int column = 0;
            for (const XmlNode &c : templ->children) {
                if (c.kind != XmlNode::Element || c.localName() != QLatin1String("c"))
                    continue;
                int r = 0;
                if (!ParseReference(c.attribute(u"r"), &column, &r))
                    ++column;
                kept.emplace_back(column, &c);
            }
        } else {
            out += '<';
            out += rowTag;
            out += " r=\"";
            out += rowDigits;
            out += "\">";
        }
        std::size_t k = 0;
        int column = 1;
        for (;;) {
            while (column <= int(cells.size()) && cells[std::size_t(column) - 1].type == Cell::Empty)
                ++column;
            const bool haveOurs = column <= int(cells.size());
            const int next = k < kept.size() ? kept[k].first : INT_MAX;
            if (!haveOurs && next == INT_MAX)
                break;
            if (!haveOurs || next < column) {
                templateCell(*kept[k++].second);
                continue;
            }
            const Cell &cell = cells[std::size_t(column) - 1];
            const XmlNode *replaced = next == column ? kept[k++].second : nullptr;
            int base = 0;
            if (replaced) {
                base = toInt(replaced->attribute(u"s"), 0);
                const XmlNode *formula = replaced->child(u"f");
                if (formula && formula->attribute(u"t") == QLatin1String("shared") && formula->hasAttribute(u"ref"))
                    orphans.insert(formula->attribute(u"si"));
            } else if (rowStyle >= 0) {
                base = rowStyle;
            } else if (const int style = columnStyle(column); style >= 0) {
                base = style;
            }
            const bool dated = cell.type == Cell::Date || cell.type == Cell::Time;
            ourCell(column, rowDigits, cell, dated ? w.m_styles.styleFor(cell.type, base) : base);
            ++column;
        }
        out += "</";
        out += rowTag;
        out += '>';
        piece();
    }

    void sheetData(const XmlNode &data)
    {
        XmlNode start = data;
        start.children.clear();
        AppendStartTag(out, start);
        // the template's rows by number, each once: a row given twice would make the file unreadable
        std::map<int, const XmlNode *> templRows;
        int number = 0;
        for (const XmlNode &r : data.children) {
            if (r.kind != XmlNode::Element || r.localName() != QLatin1String("row"))
                continue;
            number = toInt(r.attribute(u"r"), number + 1);
            templRows.emplace(number, &r);
        }
        const int ourRows = int(w.m_cells.rows->size());
        int next = 1;
        for (const auto &[n, node] : templRows) {
            for (; next < n && next <= ourRows; ++next)
                row(next, nullptr);
            row(n, node);
            next = std::max(next, n + 1);
        }
        for (; next <= ourRows; ++next)
            row(next, nullptr);
        out += "</" + data.name.toUtf8() + '>';
    }

    bool run()
    {
        const XmlNode &root = w.m_sheet;
        out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
        XmlNode start = root;
        start.children.clear();
        AppendStartTag(out, start);
        bool colsWritten = false;
        for (const XmlNode &child : root.children) {
            const QStringView name = child.kind == XmlNode::Element ? child.localName() : QStringView();
            if (name == QLatin1String("dimension")) {
                dimension(child);
            } else if (name == QLatin1String("sheetViews") && w.m_deselect) {
                XmlNode views = child;
                for (XmlNode *view : views.elements(u"sheetView"))
                    view->removeAttribute(u"tabSelected");
                AppendXml(out, views);
            } else if (name == QLatin1String("cols")) {
                columns(&child);
                colsWritten = true;
            } else if (name == QLatin1String("sheetData")) {
                if (!colsWritten)
                    columns(nullptr);
                sheetData(child);
            } else {
                AppendXml(out, child);
            }
        }
        out += "</" + root.name.toUtf8() + '>';
        ok = ok && sink(out);
        return ok;
    }
};

bool SheetWriter::write(const std::function<bool(const QByteArray &)> &sink)
{
    Impl impl(*this, sink);
    impl.out.reserve(kPieceBytes + 4096);
    return impl.run();
}

} // namespace Xlsx
