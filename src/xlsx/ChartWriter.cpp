#include "xlsx/ChartWriter.h"

#include "xlsx/SheetWriter.h"

#include <QRegularExpression>

namespace Xlsx {

namespace {

const QString kDrawingNs = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");

QString absolute(int column, int row)
{
    return u'$' + QString::fromLatin1(SheetWriter::ColumnName(column)) + u'$' + QString::number(row);
}

// a sheet name in a formula: quoted unless it is a plain word that reads as no cell
QString sheetInFormula(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.]*$"));
    static const QRegularExpression cellLike(QStringLiteral("^([A-Za-z]{1,3}[0-9]+|[Rr][0-9]*([Cc][0-9]*)?|[Cc][0-9]*)$"));
    if (plain.match(name).hasMatch() && !cellLike.match(name).hasMatch()
        && name.compare(QLatin1String("true"), Qt::CaseInsensitive) != 0
        && name.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0)
        return name;
    return u'\'' + QString(name).replace(u'\'', QLatin1String("''")) + u'\'';
}

QByteArray escaped(const QString &text)
{
    QByteArray out;
    AppendEscaped(out, text);
    return out;
}

// Line colours that stay apart for 40 series: ten hues, each plain, darker, lighter and
// darkest. Given outright, so a workbook without a theme of its own shows lines everywhere.
QByteArray seriesColour(int n)
{
    static const quint32 hues[] = {0x1F77B4, 0xFF7F0E, 0x2CA02C, 0xD62728, 0x9467BD,
                                   0x8C564B, 0xE377C2, 0x7F7F7F, 0xBCBD22, 0x17BECF};
    const quint32 hue = hues[n % 10];
    const int shade = (n / 10) % 4;
    quint32 out = 0;
    for (int shift : {16, 8, 0}) {
        const int c = int((hue >> shift) & 0xFF);
        const int v = shade == 0 ? c : shade == 1 ? c * 6 / 10 : shade == 2 ? c + (255 - c) * 45 / 100 : c * 35 / 100;
        out |= quint32(v) << shift;
    }
    return QByteArray::number(out, 16).rightJustified(6, '0').toUpper();
}

QByteArray richTitle(const QString &text, bool rotated)
{
    return "<c:title><c:tx><c:rich><a:bodyPr" + QByteArray(rotated ? " rot=\"-5400000\" vert=\"horz\"" : "")
           + "/><a:lstStyle/><a:p><a:pPr><a:defRPr/></a:pPr><a:r><a:t>" + escaped(text)
           + "</a:t></a:r></a:p></c:rich></c:tx><c:overlay val=\"0\"/></c:title>";
}

// ---- editing a template's chart ------------------------------------------------------------

struct Prefixes
{
    QString chart;      // of the chart namespace, as the part uses it
    QString drawing;
};

XmlNode el(const QString &prefix, QStringView local, QList<std::pair<QString, QString>> attributes = {})
{
    return XmlNode::element(prefix.isEmpty() ? local.toString() : prefix + u':' + local.toString(), std::move(attributes));
}

XmlNode valued(const QString &prefix, QStringView local, const QString &value)
{
    return el(prefix, local, {{QStringLiteral("val"), value}});
}

// the prefix bound to the drawing namespace; declared on the root when the part has none
QString drawingPrefix(XmlNode &root)
{
    for (const auto &[name, value] : root.attributes)
        if (name.startsWith(QLatin1String("xmlns:")) && value == kDrawingNs)
            return name.mid(6);
    QString prefix = QStringLiteral("a");
    for (int n = 1; root.hasAttribute(QStringLiteral("xmlns:") + prefix); ++n)
        prefix = QStringLiteral("a%1").arg(n);
    root.setAttribute(QStringLiteral("xmlns:") + prefix, kDrawingNs);
    return prefix;
}

XmlNode richText(const Prefixes &p, const QString &text)
{
    XmlNode tx = el(p.chart, u"tx");
    XmlNode &rich = tx.append(el(p.chart, u"rich"));
    rich.append(el(p.drawing, u"bodyPr"));
    rich.append(el(p.drawing, u"lstStyle"));
    XmlNode &para = rich.append(el(p.drawing, u"p"));
    XmlNode &run = para.append(el(p.drawing, u"r"));
    run.append(el(p.drawing, u"t")).append(XmlNode::textNode(text));
    return tx;
}

// The title's text replaced, its look (the first run's font) kept.
void setTitleText(const Prefixes &p, XmlNode &title, const QString &text)
{
    XmlNode *tx = title.child(u"tx");
    XmlNode *rich = tx ? tx->child(u"rich") : nullptr;
    if (!rich) {
        if (tx)
            *tx = richText(p, text);
        else
            title.insert(0, richText(p, text));
        return;
    }
    std::vector<XmlNode *> paragraphs = rich->elements(u"p");
    if (paragraphs.empty()) {
        *tx = richText(p, text);
        return;
    }
    XmlNode &first = *paragraphs.front();
    // one paragraph with one run holding the text
    XmlNode run = el(p.drawing, u"r");
    if (XmlNode *old = first.child(u"r"))
        run = *old;
    run.children.erase(std::remove_if(run.children.begin(), run.children.end(),
                                      [](const XmlNode &c) { return c.localName() == QLatin1String("t"); }),
                       run.children.end());
    run.append(el(p.drawing, u"t")).append(XmlNode::textNode(text));
    std::erase_if(first.children, [](const XmlNode &c) {
        return c.localName() == QLatin1String("r") || c.localName() == QLatin1String("fld")
               || c.localName() == QLatin1String("br");
    });
    const int end = first.indexOf(u"endParaRPr");
    first.insert(end < 0 ? int(first.children.size()) : end, std::move(run));
    // the other paragraphs go
    for (int i = int(rich->children.size()) - 1; i > rich->indexOf(u"p"); --i)
        if (rich->children[std::size_t(i)].localName() == QLatin1String("p"))
            rich->children.erase(rich->children.begin() + i);
}

void setAxisTitle(const Prefixes &p, XmlNode &axis, const QString &text)
{
    if (text.isEmpty())
        return;
    if (XmlNode *title = axis.child(u"title")) {
        setTitleText(p, *title, text);
        return;
    }
    int at = int(axis.children.size());
    for (const char16_t *later : {u"numFmt", u"majorTickMark", u"minorTickMark", u"tickLblPos", u"spPr", u"txPr", u"crossAx"})
        if (const int i = axis.indexOf(later); i >= 0 && i < at)
            at = i;
    XmlNode title = el(p.chart, u"title");
    title.append(richText(p, text));
    title.append(valued(p.chart, u"overlay", QStringLiteral("0")));
    axis.insert(at, std::move(title));
}

void setValue(const Prefixes &p, XmlNode &parent, QStringView local, const QString &value,
              std::initializer_list<const char16_t *> before)
{
    if (XmlNode *existing = parent.child(local)) {
        existing->setAttribute(QStringLiteral("val"), value);
        return;
    }
    int at = int(parent.children.size());
    for (const char16_t *later : before)
        if (const int i = parent.indexOf(later); i >= 0 && i < at)
            at = i;
    parent.insert(at, valued(p.chart, local, value));
}

bool isChartGroup(const XmlNode &node)
{
    return node.kind == XmlNode::Element && node.localName().endsWith(QLatin1String("Chart"));
}

} // namespace

QString ChartSpec::reference(int column, int row, int toColumn, int toRow) const
{
    QString ref = sheetInFormula(sheetName) + u'!' + absolute(column, row);
    if (toColumn > 0)
        ref += u':' + absolute(toColumn, toRow);
    return ref;
}

QByteArray ChartWriter::NewChart(const ChartSpec &s)
{
    const int firstData = s.headerRow + 1;
    const int firstSeries = s.firstColumn + s.categoryColumns;
    QByteArray x = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                   "<c:chartSpace xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
                   "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
                   "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                   "<c:roundedCorners val=\"0\"/><c:chart>";
    if (!s.title.isEmpty())
        x += richTitle(s.title, false) + "<c:autoTitleDeleted val=\"0\"/>";
    else
        x += "<c:autoTitleDeleted val=\"1\"/>";
    x += "<c:plotArea><c:layout/><c:lineChart><c:grouping val=\"standard\"/><c:varyColors val=\"0\"/>";
    QByteArray categories;
    if (s.categoryColumns > 0) {
        const QByteArray range =
            escaped(s.reference(s.firstColumn, firstData, s.firstColumn + s.categoryColumns - 1, s.lastRow));
        // two columns: the dates over the times of day
        categories = s.categoryColumns > 1
                         ? "<c:cat><c:multiLvlStrRef><c:f>" + range + "</c:f></c:multiLvlStrRef></c:cat>"
                         : "<c:cat><c:numRef><c:f>" + range + "</c:f></c:numRef></c:cat>";
    }
    for (int col = firstSeries, n = 0; col <= s.lastColumn; ++col, ++n) {
        const QByteArray index = QByteArray::number(n);
        x += "<c:ser><c:idx val=\"" + index + "\"/><c:order val=\"" + index + "\"/><c:tx><c:strRef><c:f>"
             + escaped(s.reference(col, s.headerRow)) + "</c:f></c:strRef></c:tx>"
             + "<c:spPr><a:ln w=\"19050\" cap=\"rnd\"><a:solidFill><a:srgbClr val=\"" + seriesColour(n)
             + "\"/></a:solidFill><a:round/></a:ln></c:spPr><c:marker><c:symbol val=\"none\"/></c:marker>" + categories + "<c:val><c:numRef><c:f>"
             + escaped(s.reference(col, firstData, col, s.lastRow)) + "</c:f></c:numRef></c:val>"
             + "<c:smooth val=\"0\"/></c:ser>";
    }
    const QByteArray spacing = QByteArray::number(qBound(1, s.tickSpacing, 32767));
    x += "<c:marker val=\"1\"/><c:axId val=\"500000001\"/><c:axId val=\"500000002\"/></c:lineChart>"
         "<c:catAx><c:axId val=\"500000001\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling>"
         "<c:delete val=\"0\"/><c:axPos val=\"b\"/><c:majorGridlines/>";
    if (!s.xAxisTitle.isEmpty())
        x += richTitle(s.xAxisTitle, false);
    // a text axis: a date axis would put every record of a day on one point
    x += "<c:numFmt formatCode=\"General\" sourceLinked=\"1\"/><c:majorTickMark val=\"out\"/>"
         "<c:minorTickMark val=\"none\"/><c:tickLblPos val=\"low\"/><c:crossAx val=\"500000002\"/>"
         "<c:crosses val=\"autoZero\"/><c:auto val=\"0\"/><c:lblAlgn val=\"ctr\"/><c:lblOffset val=\"100\"/>"
         "<c:tickLblSkip val=\"" + spacing + "\"/><c:tickMarkSkip val=\"" + spacing + "\"/>"
         "<c:noMultiLvlLbl val=\"0\"/></c:catAx>"
         "<c:valAx><c:axId val=\"500000002\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling>"
         "<c:delete val=\"0\"/><c:axPos val=\"l\"/><c:majorGridlines/>";
    if (!s.yAxisTitle.isEmpty())
        x += richTitle(s.yAxisTitle, true);
    x += "<c:numFmt formatCode=\"General\" sourceLinked=\"1\"/><c:majorTickMark val=\"out\"/>"
         "<c:minorTickMark val=\"none\"/><c:tickLblPos val=\"nextTo\"/><c:crossAx val=\"500000001\"/>"
         "<c:crosses val=\"autoZero\"/><c:crossBetween val=\"between\"/></c:valAx>"
         "<c:spPr><a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill></c:spPr></c:plotArea>"
         "<c:legend><c:legendPos val=\"t\"/><c:overlay val=\"0\"/></c:legend>"
         "<c:plotVisOnly val=\"1\"/><c:dispBlanksAs val=\"gap\"/></c:chart></c:chartSpace>";
    return x;
}

bool ChartWriter::Retarget(XmlNode &root, const ChartSpec &s)
{
    XmlNode *chart = root.child(u"chart");
    XmlNode *plotArea = chart ? chart->child(u"plotArea") : nullptr;
    if (!plotArea)
        return false;
    std::vector<XmlNode *> groups;
    for (XmlNode &c : plotArea->children)
        if (isChartGroup(c))
            groups.push_back(&c);
    if (groups.empty())
        return false;
    const Prefixes p{root.prefix(), drawingPrefix(root)};
    // the root may have gained a declaration; the pointers into it stay valid, only attributes changed
    XmlNode &group = *groups.front();
    const bool xy = group.localName() == QLatin1String("scatterChart") || group.localName() == QLatin1String("bubbleChart");

    std::vector<XmlNode> oldSeries;
    int at = group.indexOf(u"ser");
    if (at < 0) {
        at = 0;
        while (at < int(group.children.size())) {
            const XmlNode &c = group.children[std::size_t(at)];
            static const QStringList leading{QStringLiteral("barDir"), QStringLiteral("grouping"), QStringLiteral("varyColors"),
                                             QStringLiteral("scatterStyle"), QStringLiteral("radarStyle"),
                                             QStringLiteral("wireframe"), QStringLiteral("ofPieType")};
            if (c.kind == XmlNode::Element && !leading.contains(c.localName().toString()))
                break;
            ++at;
        }
    }
    std::vector<XmlNode> rest;
    for (XmlNode &c : group.children)
        (c.kind == XmlNode::Element && c.localName() == QLatin1String("ser") ? oldSeries : rest).push_back(std::move(c));
    group.children = std::move(rest);

    static const QStringList own{QStringLiteral("idx"), QStringLiteral("order"), QStringLiteral("tx"), QStringLiteral("cat"),
                                 QStringLiteral("val"), QStringLiteral("xVal"), QStringLiteral("yVal")};
    static const QStringList trailing{QStringLiteral("smooth"), QStringLiteral("shape"), QStringLiteral("bubbleSize"),
                                      QStringLiteral("bubble3D"), QStringLiteral("extLst")};
    const int firstData = s.headerRow + 1;
    const int firstSeries = s.firstColumn + s.categoryColumns;
    int n = 0;
    for (int col = firstSeries; col <= s.lastColumn; ++col, ++n) {
        const XmlNode look = std::size_t(n) < oldSeries.size() ? oldSeries[std::size_t(n)] : el(p.chart, u"ser");
        XmlNode ser = el(p.chart, u"ser");
        ser.append(valued(p.chart, u"idx", QString::number(n)));
        ser.append(valued(p.chart, u"order", QString::number(n)));
        XmlNode &tx = ser.append(el(p.chart, u"tx"));
        tx.append(el(p.chart, u"strRef")).append(el(p.chart, u"f")).append(XmlNode::textNode(s.reference(col, s.headerRow)));
        for (const XmlNode &c : look.children)
            if (c.kind == XmlNode::Element && !own.contains(c.localName().toString())
                && !trailing.contains(c.localName().toString()))
                ser.append(c);
        if (s.categoryColumns > 0) {
            XmlNode &cat = ser.append(el(p.chart, xy ? u"xVal" : u"cat"));
            XmlNode &ref = cat.append(el(p.chart, s.categoryColumns > 1 ? u"multiLvlStrRef" : u"numRef"));
            ref.append(el(p.chart, u"f"))
                .append(XmlNode::textNode(
                    s.reference(s.firstColumn, firstData, s.firstColumn + s.categoryColumns - 1, s.lastRow)));
        }
        XmlNode &val = ser.append(el(p.chart, xy ? u"yVal" : u"val"));
        val.append(el(p.chart, u"numRef"))
            .append(el(p.chart, u"f"))
            .append(XmlNode::textNode(s.reference(col, firstData, col, s.lastRow)));
        for (const XmlNode &c : look.children)
            if (c.kind == XmlNode::Element && trailing.contains(c.localName().toString()))
                ser.append(c);
        group.insert(at + n, std::move(ser));
    }
    // series of further groups follow the new ones in number
    for (std::size_t g = 1; g < groups.size(); ++g)
        for (XmlNode *ser : groups[g]->elements(u"ser")) {
            for (const char16_t *field : {u"idx", u"order"})
                if (XmlNode *f = ser->child(field))
                    f->setAttribute(QStringLiteral("val"), QString::number(n));
            ++n;
        }

    // the group's axes: category (or x) first, then values
    std::vector<XmlNode *> axes;
    for (XmlNode *id : group.elements(u"axId"))
        for (XmlNode &a : plotArea->children)
            if (a.kind == XmlNode::Element && a.localName().endsWith(QLatin1String("Ax")) && a.child(u"axId")
                && a.child(u"axId")->attribute(u"val") == id->attribute(u"val"))
                axes.push_back(&a);
    if (!axes.empty()) {
        setAxisTitle(p, *axes[0], s.xAxisTitle);
        if (axes[0]->localName() == QLatin1String("catAx")) {
            const QString spacing = QString::number(qBound(1, s.tickSpacing, 32767));
            setValue(p, *axes[0], u"tickLblSkip", spacing, {u"tickMarkSkip", u"noMultiLvlLbl", u"extLst"});
            setValue(p, *axes[0], u"tickMarkSkip", spacing, {u"noMultiLvlLbl", u"extLst"});
        }
    }
    if (axes.size() > 1)
        setAxisTitle(p, *axes[1], s.yAxisTitle);
    // last: a title in front moves the plot area, which the pointers above point into
    if (!s.title.isEmpty()) {
        XmlNode *title = chart->child(u"title");
        if (!title)
            title = &chart->insert(0, el(p.chart, u"title"));
        setTitleText(p, *title, s.title);
        if (XmlNode *deleted = chart->child(u"autoTitleDeleted"))
            deleted->setAttribute(QStringLiteral("val"), QStringLiteral("0"));
    }
    return true;
}

} // namespace Xlsx
