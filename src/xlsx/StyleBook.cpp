#include "xlsx/StyleBook.h"

namespace Xlsx {

namespace {

// the spreadsheet's own formats that show dates or times (14-22, 45-47; 27-36 and 50-58 are
// the East Asian dates)
bool builtinDate(int id)
{
    return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
}

bool builtinTime(int id)
{
    return (id >= 18 && id <= 22) || (id >= 45 && id <= 47) || (id >= 32 && id <= 35);
}

// the letters of a format code that are no literal: quoted text, escaped characters and
// bracketed conditions or colours left out
QString codeLetters(const QString &code)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (quoted) {
            quoted = c != u'"';
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i);
            // [h], [mm], [ss]: elapsed time
            const QString inside = code.mid(i + 1, close - i - 1).toLower();
            if (!inside.isEmpty() && (inside[0] == u'h' || inside[0] == u'm' || inside[0] == u's'))
                out += inside;
            i = close < 0 ? code.size() : close;
        } else {
            out += c.toLower();
        }
    }
    return out;
}

int toInt(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

StyleBook::StyleBook(const QByteArray &stylesXml)
{
    std::optional<XmlNode> root = ParseXml(stylesXml);
    if (!root || root->localName() != QLatin1String("styleSheet"))
        root = ParseXml(BlankStyles());
    m_root = std::move(*root);
}

QByteArray StyleBook::BlankStyles()
{
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
        "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
        "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
        "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
        "<dxfs count=\"0\"/><tableStyles count=\"0\"/>"
        "</styleSheet>");
}

bool StyleBook::ShowsDate(const QString &code)
{
    const QString letters = codeLetters(code);
    return letters.contains(u'd') || letters.contains(u'y');
}

bool StyleBook::ShowsTime(const QString &code)
{
    const QString letters = codeLetters(code);
    return letters.contains(u'h') || letters.contains(u's');
}

void StyleBook::setFormats(const QString &dateCode, const QString &timeCode)
{
    m_dateCode = dateCode;
    m_timeCode = timeCode;
}

XmlNode *StyleBook::cellFormats()
{
    XmlNode *xfs = m_root.child(u"cellXfs");
    if (!xfs) {
        // before cellStyles and what follows it
        int at = int(m_root.children.size());
        for (const char16_t *later : {u"cellStyles", u"dxfs", u"tableStyles", u"colors", u"extLst"})
            if (const int i = m_root.indexOf(later); i >= 0 && i < at)
                at = i;
        xfs = &m_root.insert(at, XmlNode::element(m_root.qualified(u"cellXfs")));
    }
    if (xfs->elements(u"xf").empty())
        xfs->append(XmlNode::element(m_root.qualified(u"xf"), {{QStringLiteral("numFmtId"), QStringLiteral("0")}}));
    return xfs;
}

QString StyleBook::formatCodeOf(int numFmtId) const
{
    if (const XmlNode *formats = m_root.child(u"numFmts"))
        for (const XmlNode &f : formats->children)
            if (f.kind == XmlNode::Element && toInt(f.attribute(u"numFmtId"), -1) == numFmtId)
                return f.attribute(u"formatCode");
    return {};
}

int StyleBook::numberFormatId(const QString &code)
{
    XmlNode *formats = m_root.child(u"numFmts");
    if (!formats)
        formats = &m_root.insert(0, XmlNode::element(m_root.qualified(u"numFmts")));
    int highest = 163;      // custom formats start at 164
    for (const XmlNode &f : formats->children) {
        if (f.kind != XmlNode::Element)
            continue;
        const int id = toInt(f.attribute(u"numFmtId"), -1);
        if (f.attribute(u"formatCode") == code)
            return id;
        highest = std::max(highest, id);
    }
    formats->append(XmlNode::element(m_root.qualified(u"numFmt"), {{QStringLiteral("numFmtId"), QString::number(highest + 1)},
                                                                   {QStringLiteral("formatCode"), code}}));
    formats->setAttribute(QStringLiteral("count"), QString::number(formats->elements(u"numFmt").size()));
    return highest + 1;
}

int StyleBook::styleFor(Cell::Type type, int base)
{
    const std::vector<XmlNode *> all = cellFormats()->elements(u"xf");
    if (base < 0 || base >= int(all.size()))
        base = 0;
    const auto key = std::make_pair(int(type), base);
    if (const auto found = m_derived.find(key); found != m_derived.end())
        return found->second;
    XmlNode derived = *all[std::size_t(base)];
    const int fmt = toInt(derived.attribute(u"numFmtId"), 0);
    const QString code = formatCodeOf(fmt);
    const bool fits = type == Cell::Date ? builtinDate(fmt) || ShowsDate(code) : builtinTime(fmt) || ShowsTime(code);
    int style = base;
    if (!fits) {
        // the number format first: adding it may move the other elements
        const int id = numberFormatId(type == Cell::Date ? m_dateCode : m_timeCode);
        derived.setAttribute(QStringLiteral("numFmtId"), QString::number(id));
        derived.setAttribute(QStringLiteral("applyNumberFormat"), QStringLiteral("1"));
        XmlNode *xfs = cellFormats();
        xfs->append(std::move(derived));
        style = int(xfs->elements(u"xf").size()) - 1;
        xfs->setAttribute(QStringLiteral("count"), QString::number(style + 1));
        m_changed = true;
    }
    m_derived[key] = style;
    return style;
}

QString NumberFormatCode(const QString &qtPattern)
{
    QString out;
    const QString p = qtPattern;
    for (qsizetype i = 0; i < p.size();) {
        const QChar c = p[i];
        qsizetype run = 1;
        while (i + run < p.size() && p[i + run] == c)
            ++run;
        if (c == u'\'') {
            // 'quoted text', '' for a quote
            const qsizetype close = p.indexOf(u'\'', i + 1);
            const QString literal = close < 0 ? p.mid(i + 1) : p.mid(i + 1, close - i - 1);
            if (literal.isEmpty() && close == i + 1)
                out += QStringLiteral("\\'");
            else if (!literal.isEmpty())
                out += u'"' + QString(literal).remove(u'"') + u'"';
            i = close < 0 ? p.size() : close + 1;
            continue;
        }
        const char16_t u = c.unicode();
        QString token;
        switch (u) {
        case u'd': token = QString(qMin(run, qsizetype(4)), u'd'); break;
        case u'M': token = QString(qMin(run, qsizetype(4)), u'm'); break;
        case u'y': token = run >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy"); break;
        case u'H':
        case u'h': token = run >= 2 ? QStringLiteral("hh") : QStringLiteral("h"); break;
        case u'm': token = run >= 2 ? QStringLiteral("mm") : QStringLiteral("m"); break;
        case u's': token = run >= 2 ? QStringLiteral("ss") : QStringLiteral("s"); break;
        default:
            for (qsizetype k = 0; k < run; ++k)
                token += c == u' ' || c == u':' ? QString(c) : QStringLiteral("\\") + c;
            break;
        }
        out += token;
        i += run;
    }
    return out;
}

} // namespace Xlsx
