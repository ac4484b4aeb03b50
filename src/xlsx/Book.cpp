#include "xlsx/Book.h"

#include "xlsx/SheetWriter.h"
#include "xlsx/StyleBook.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace Xlsx {

namespace {

const QString kContentTypes = QStringLiteral("[Content_Types].xml");
const QString kDublinCore = QStringLiteral("http://purl.org/dc/elements/1.1/");
constexpr char kWorksheetPart[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
constexpr char kMacroTemplateMain[] = "application/vnd.ms-excel.template.macroEnabled.main+xml";

// A sheet as the workbook part lists it.
struct SheetEntry
{
    QString name;
    QString part;
    bool worksheet = false;
    bool chartsheet = false;
};

// Where a package keeps its workbook and sheets.
struct Layout
{
    QString workbookPart;
    XmlNode workbook;
    std::vector<SheetEntry> sheets;
    int firstWorksheet = -1;
    int firstChartsheet = -1;
};

// the relationship id of an element ("r:id", whatever the prefix)
QString relationshipId(const XmlNode &node)
{
    for (const auto &[name, value] : node.attributes)
        if (name.endsWith(QLatin1String(":id")))
            return value;
    return {};
}

std::optional<Layout> locate(const Package &package)
{
    const std::optional<Relationship> main = package.firstRelationship(QString(), Types::kOfficeDocument);
    if (!main)
        return std::nullopt;
    std::optional<XmlNode> workbook = ParseXml(package.part(main->target));
    if (!workbook || workbook->localName() != QLatin1String("workbook") || !workbook->child(u"sheets"))
        return std::nullopt;
    Layout layout;
    layout.workbookPart = main->target;
    const std::vector<Relationship> rels = package.relationships(main->target);
    for (const XmlNode &sheet : workbook->child(u"sheets")->children) {
        if (sheet.kind != XmlNode::Element)
            continue;
        SheetEntry entry{sheet.attribute(u"name"), {}, false, false};
        const QString id = relationshipId(sheet);
        for (const Relationship &r : rels)
            if (r.id == id && !r.external) {
                entry.part = r.target;
                entry.worksheet = r.type == QLatin1String(Types::kWorksheet);
                entry.chartsheet = r.type == QLatin1String(Types::kChartsheet);
            }
        if (entry.worksheet && layout.firstWorksheet < 0)
            layout.firstWorksheet = int(layout.sheets.size());
        if (entry.chartsheet && layout.firstChartsheet < 0)
            layout.firstChartsheet = int(layout.sheets.size());
        layout.sheets.push_back(entry);
    }
    layout.workbook = std::move(*workbook);
    return layout;
}

// the first chart part of a chart sheet
QString chartOf(const Package &package, const QString &chartsheet)
{
    const std::optional<Relationship> drawing = package.firstRelationship(chartsheet, Types::kDrawing);
    if (!drawing)
        return {};
    const std::optional<Relationship> chart = package.firstRelationship(drawing->target, Types::kChart);
    return chart && package.has(chart->target) ? chart->target : QString();
}

QString isoNow()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
}

Package blankPackage(const QString &sheetName)
{
    Package p;
    auto xml = [](const char *text) {
        return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n") + text;
    };
    p.setPart(kContentTypes,
              xml("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                  "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                  "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                  "<Override PartName=\"/xl/workbook.xml\" "
                  "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
                  "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
                  "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
                  "<Override PartName=\"/xl/styles.xml\" "
                  "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
                  "<Override PartName=\"/docProps/core.xml\" "
                  "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
                  "<Override PartName=\"/docProps/app.xml\" "
                  "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/></Types>"));
    p.setPart(QStringLiteral("_rels/.rels"),
              xml("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                  "<Relationship Id=\"rId1\" "
                  "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
                  "Target=\"xl/workbook.xml\"/>"
                  "<Relationship Id=\"rId2\" "
                  "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" "
                  "Target=\"docProps/core.xml\"/>"
                  "<Relationship Id=\"rId3\" "
                  "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties\" "
                  "Target=\"docProps/app.xml\"/></Relationships>"));
    const QByteArray now = isoNow().toLatin1();
    p.setPart(QStringLiteral("docProps/core.xml"),
              xml("<cp:coreProperties "
                  "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
                  "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
                  "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
                  "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title/><dc:creator/>"
                  "<dcterms:created xsi:type=\"dcterms:W3CDTF\">")
                  + now + "</dcterms:created><dcterms:modified xsi:type=\"dcterms:W3CDTF\">" + now
                  + "</dcterms:modified></cp:coreProperties>");
    p.setPart(QStringLiteral("docProps/app.xml"),
              xml("<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
                  "<Application>qt8800</Application></Properties>"));
    QByteArray sheets;
    AppendEscaped(sheets, sheetName, true);
    p.setPart(QStringLiteral("xl/workbook.xml"),
              xml("<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                  "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                  "<workbookPr/><bookViews><workbookView/></bookViews><sheets><sheet name=\"")
                  + sheets + "\" sheetId=\"1\" r:id=\"rId1\"/></sheets><calcPr calcId=\"124519\"/></workbook>");
    p.setPart(QStringLiteral("xl/_rels/workbook.xml.rels"),
              xml("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                  "<Relationship Id=\"rId1\" "
                  "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
                  "Target=\"worksheets/sheet1.xml\"/>"
                  "<Relationship Id=\"rId2\" "
                  "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
                  "Target=\"styles.xml\"/></Relationships>"));
    p.setPart(QStringLiteral("xl/styles.xml"), StyleBook::BlankStyles());
    p.setPart(QStringLiteral("xl/worksheets/sheet1.xml"), SheetWriter::BlankSheet());
    return p;
}

// a sheet name the spreadsheet accepts: at most 31 characters, none of []:*?/\ .
QString validSheetName(QString name)
{
    for (QChar c : QStringLiteral("[]:*?/\\"))
        name.replace(c, u'_');
    name = name.left(31).trimmed();
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

// `wanted`, or with a number appended, so that no sheet has it yet
QString uniqueSheetName(const std::vector<SheetEntry> &sheets, const QString &wanted)
{
    auto taken = [&](const QString &name) {
        return std::any_of(sheets.begin(), sheets.end(),
                           [&](const SheetEntry &s) { return s.name.compare(name, Qt::CaseInsensitive) == 0; });
    };
    QString name = validSheetName(wanted);
    for (int n = 2; taken(name); ++n)
        name = validSheetName(wanted).left(28) + QStringLiteral(" %1").arg(n);
    return name;
}

// dc:creator and dc:title; a package without core properties gets them
void setProperties(Package &package, const QString &author, const QString &title)
{
    std::optional<Relationship> rel = package.firstRelationship(QString(), Types::kCoreProperties);
    QString part = rel ? rel->target : QStringLiteral("docProps/core.xml");
    std::optional<XmlNode> core = ParseXml(package.part(part));
    if (!core) {
        core = ParseXml(blankPackage(QString()).part(QStringLiteral("docProps/core.xml")));
        if (!rel) {
            package.addRelationship(QString(), Types::kCoreProperties, part);
            package.setContentType(part, QLatin1String(Types::kCorePart));
        }
    }
    QString dc;
    for (const auto &[name, value] : core->attributes)
        if (name.startsWith(QLatin1String("xmlns:")) && value == kDublinCore)
            dc = name.mid(6);
    if (dc.isEmpty()) {
        dc = QStringLiteral("dc");
        core->setAttribute(QStringLiteral("xmlns:dc"), kDublinCore);
    }
    for (const auto &[local, text] : {std::pair{u"creator", author}, std::pair{u"title", title}}) {
        XmlNode *node = nullptr;
        for (XmlNode &c : core->children)
            if (c.kind == XmlNode::Element && c.localName() == local && c.prefix() == dc)
                node = &c;
        if (!node)
            node = &core->append(XmlNode::element(dc + u':' + QString::fromUtf16(local)));
        node->children.clear();
        if (!text.isEmpty())
            node->append(XmlNode::textNode(text));
    }
    package.setPart(part, WriteXml(*core));
}

// formulas are worked out anew when the workbook is opened: the template's results are stale
void recalculateOnOpen(Package &package, Layout &layout)
{
    XmlNode &wb = layout.workbook;
    XmlNode *calc = wb.child(u"calcPr");
    if (!calc) {
        int at = int(wb.children.size());
        for (const char16_t *later : {u"oleSize", u"customWorkbookViews", u"pivotCaches", u"smartTagPr", u"smartTagTypes",
                                      u"webPublishing", u"fileRecoveryPr", u"webPublishObjects", u"extLst"})
            if (const int i = wb.indexOf(later); i >= 0 && i < at)
                at = i;
        calc = &wb.insert(at, XmlNode::element(wb.qualified(u"calcPr")));
    }
    calc->setAttribute(QStringLiteral("fullCalcOnLoad"), QStringLiteral("1"));
    // the order of calculation no longer fits the cells
    if (const std::optional<Relationship> chain = package.firstRelationship(layout.workbookPart, Types::kCalcChain)) {
        package.removeRelationship(layout.workbookPart, chain->id);
        package.removePartTree(chain->target);
    }
}

// .xlsm or .xlsx as the name says; the main part's content type must match it
void setMacroKind(Package &package, const Layout &layout, const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const std::optional<Relationship> vba = package.firstRelationship(layout.workbookPart, Types::kVbaProject);
    const QString type = package.contentType(layout.workbookPart);
    const bool macroType = type == QLatin1String(Types::kMacroWorkbookMain) || type == QLatin1String(kMacroTemplateMain);
    bool macros = suffix == QLatin1String("xlsm") || (suffix != QLatin1String("xlsx") && (vba || macroType));
    if (!macros && vba) {
        package.removeRelationship(layout.workbookPart, vba->id);
        package.removePartTree(vba->target);
    }
    package.setContentType(layout.workbookPart, QLatin1String(macros ? Types::kMacroWorkbookMain : Types::kWorkbookMain));
}

// A chart sheet with its drawing and chart at the end of the workbook; gives its index.
int addChartSheet(Package &package, Layout &layout, const QString &name, const QByteArray &chart, bool selected)
{
    const QString sheetPart = package.freeName(QStringLiteral("xl/chartsheets/sheet"), QStringLiteral(".xml"));
    const QString drawingPart = package.freeName(QStringLiteral("xl/drawings/drawing"), QStringLiteral(".xml"));
    const QString chartPart = package.freeName(QStringLiteral("xl/charts/chart"), QStringLiteral(".xml"));
    package.setPart(chartPart, chart);
    package.setContentType(chartPart, QLatin1String(Types::kChartPart));
    const QString chartId = package.addRelationship(drawingPart, Types::kChart, chartPart);
    package.setPart(drawingPart,
                    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                    "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
                    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><xdr:absoluteAnchor>"
                    "<xdr:pos x=\"0\" y=\"0\"/><xdr:ext cx=\"9308969\" cy=\"6078325\"/><xdr:graphicFrame macro=\"\">"
                    "<xdr:nvGraphicFramePr><xdr:cNvPr id=\"2\" name=\"Chart 1\"/><xdr:cNvGraphicFramePr>"
                    "<a:graphicFrameLocks noGrp=\"1\"/></xdr:cNvGraphicFramePr></xdr:nvGraphicFramePr>"
                    "<xdr:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/></xdr:xfrm><a:graphic>"
                    "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\">"
                    "<c:chart xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
                    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" r:id=\""
                        + chartId.toLatin1()
                        + "\"/></a:graphicData></a:graphic></xdr:graphicFrame><xdr:clientData/></xdr:absoluteAnchor>"
                          "</xdr:wsDr>");
    package.setContentType(drawingPart, QLatin1String(Types::kDrawingPart));
    const QString drawingId = package.addRelationship(sheetPart, Types::kDrawing, drawingPart);
    package.setPart(sheetPart, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                               "<chartsheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                               "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                               "<sheetPr/><sheetViews><sheetView "
                                   + QByteArray(selected ? "tabSelected=\"1\" " : "")
                                   + "zoomToFit=\"1\" workbookViewId=\"0\"/></sheetViews>"
                                     "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
                                     "header=\"0.3\" footer=\"0.3\"/><drawing r:id=\""
                                   + drawingId.toLatin1() + "\"/></chartsheet>");
    package.setContentType(sheetPart, QLatin1String(Types::kChartsheetPart));
    const QString sheetId = package.addRelationship(layout.workbookPart, Types::kChartsheet, sheetPart);

    XmlNode &sheets = *layout.workbook.child(u"sheets");
    int highest = 0;
    QString relPrefix = QStringLiteral("r");
    for (const XmlNode &s : sheets.children) {
        if (s.kind != XmlNode::Element)
            continue;
        highest = std::max(highest, s.attribute(u"sheetId").toInt());
        for (const auto &attribute : s.attributes)
            if (attribute.first.endsWith(QLatin1String(":id")))
                relPrefix = attribute.first.chopped(3);
    }
    if (!layout.workbook.hasAttribute(QStringLiteral("xmlns:") + relPrefix))
        layout.workbook.setAttribute(QStringLiteral("xmlns:") + relPrefix,
                                     QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships"));
    sheets.append(XmlNode::element(sheets.qualified(u"sheet"), {{QStringLiteral("name"), name},
                                                               {QStringLiteral("sheetId"), QString::number(highest + 1)},
                                                               {relPrefix + QStringLiteral(":id"), sheetId}}));
    layout.sheets.push_back({name, sheetPart, false, true});
    return int(layout.sheets.size()) - 1;
}

// the tab of a template's chart sheet shown as the selected one
void selectChartsheet(Package &package, const QString &part)
{
    std::optional<XmlNode> sheet = ParseXml(package.part(part));
    if (!sheet)
        return;
    XmlNode &views = sheet->ensureChild(u"sheetViews");
    if (views.elements(u"sheetView").empty())
        views.append(XmlNode::element(sheet->qualified(u"sheetView"), {{QStringLiteral("workbookViewId"), QStringLiteral("0")}}));
    views.elements(u"sheetView").front()->setAttribute(QStringLiteral("tabSelected"), QStringLiteral("1"));
    // sheetViews comes right after sheetPr
    if (sheet->indexOf(u"sheetViews") == int(sheet->children.size()) - 1) {
        XmlNode moved = std::move(sheet->children.back());
        sheet->children.pop_back();
        sheet->insert(sheet->indexOf(u"sheetPr") + 1, std::move(moved));
    }
    package.setPart(part, WriteXml(*sheet));
}

} // namespace

Book::Kind Book::Inspect(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return Kind::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return Kind::Other;
    const QByteArray head = file.read(8);
    if (head.startsWith(QByteArray("PK\x03\x04", 4)))
        return Kind::Package;
    if (head != QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return Kind::Other;
    // a password-protected package is a compound file with this stream; its name is stored in UTF-16
    const QByteArray name = QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    file.seek(0);
    while (!file.atEnd()) {
        const QByteArray block = file.read(1 << 20);
        if (block.contains(name))
            return Kind::Encrypted;
        if (block.size() > name.size())
            file.seek(file.pos() - name.size());
    }
    return Kind::Binary;
}

void Book::reset()
{
    m_package = Package();
    m_template = false;
    m_macros = false;
}

Book::LoadResult Book::load(const QString &path)
{
    reset();
    switch (Inspect(path)) {
    case Kind::Missing: return LoadResult::Missing;
    case Kind::Binary: return LoadResult::Binary;
    case Kind::Encrypted: return LoadResult::Encrypted;
    case Kind::Other: return LoadResult::NotWorkbook;
    case Kind::Package: break;
    }
    Package package;
    if (package.read(path) != Package::ReadError::None)
        return LoadResult::Damaged;
    const std::optional<Layout> layout = locate(package);
    if (!layout || layout->firstWorksheet < 0)
        return LoadResult::NotWorkbook;
    const std::optional<XmlNode> sheet = ParseXml(package.part(layout->sheets[std::size_t(layout->firstWorksheet)].part));
    if (!sheet || !SheetWriter::Validate(*sheet))
        return LoadResult::NotWorkbook;
    m_macros = package.firstRelationship(layout->workbookPart, Types::kVbaProject).has_value();
    m_package = std::move(package);
    m_template = true;
    return LoadResult::Ok;
}

bool Book::save(QIODevice &target, const QString &name, const Content &content, QString *error) const
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    Package package = m_template ? m_package : blankPackage(validSheetName(content.sheetName));
    std::optional<Layout> found = locate(package);
    if (!found || found->firstWorksheet < 0)
        return fail(QStringLiteral("the workbook has no worksheet"));
    Layout &layout = *found;
    const SheetEntry first = layout.sheets[std::size_t(layout.firstWorksheet)];
    const std::optional<XmlNode> sheet = ParseXml(package.part(first.part));
    if (!sheet || !SheetWriter::Validate(*sheet))
        return fail(QStringLiteral("the first worksheet cannot be read"));

    QString stylesPart;
    if (const std::optional<Relationship> styles = package.firstRelationship(layout.workbookPart, Types::kStyles)) {
        stylesPart = styles->target;
    } else {
        stylesPart = package.freeName(QStringLiteral("xl/styles"), QStringLiteral(".xml"));
        package.addRelationship(layout.workbookPart, Types::kStyles, stylesPart);
        package.setContentType(stylesPart, QLatin1String(Types::kStylesPart));
    }
    StyleBook styles(package.part(stylesPart));
    styles.setFormats(content.dateFormat, content.timeFormat);

    // the chart sheet becomes the one shown, as after the chart was built, unless the template
    // opens on another sheet than the one the rows go to
    XmlNode *view = layout.workbook.child(u"bookViews") ? layout.workbook.child(u"bookViews")->child(u"workbookView") : nullptr;
    const int activeTab = view ? view->attribute(u"activeTab").toInt() : 0;
    const bool showChart = content.chart && activeTab == layout.firstWorksheet;
    if (content.chart) {
        ChartSpec spec = *content.chart;
        spec.sheetName = first.name;
        int chartTab = -1;
        if (layout.firstChartsheet >= 0) {
            const QString part = chartOf(package, layout.sheets[std::size_t(layout.firstChartsheet)].part);
            std::optional<XmlNode> chart = ParseXml(package.part(part));
            if (chart && ChartWriter::Retarget(*chart, spec)) {
                package.setPart(part, WriteXml(*chart));
                chartTab = layout.firstChartsheet;
                if (showChart)
                    selectChartsheet(package, layout.sheets[std::size_t(chartTab)].part);
            }
        }
        if (chartTab < 0)
            chartTab = addChartSheet(package, layout, uniqueSheetName(layout.sheets, content.chartSheetName),
                                     ChartWriter::NewChart(spec), showChart);
        if (showChart && view)
            view->setAttribute(QStringLiteral("activeTab"), QString::number(chartTab));
    }
    recalculateOnOpen(package, layout);
    for (const SheetEntry &other : layout.sheets) {
        if (!other.worksheet || other.part == first.part)
            continue;
        std::optional<XmlNode> xml = ParseXml(package.part(other.part));
        if (xml && SheetWriter::DropFormulaResults(*xml))
            package.setPart(other.part, WriteXml(*xml));
    }
    package.setPart(layout.workbookPart, WriteXml(layout.workbook));
    setProperties(package, content.author, content.title);
    setMacroKind(package, layout, name);
    if (package.contentType(first.part).isEmpty())
        package.setContentType(first.part, QLatin1String(kWorksheetPart));

    SheetWriter sheetWriter(*sheet, content.cells, styles);
    sheetWriter.setDeselect(showChart);
    const std::vector<std::pair<QString, Package::Producer>> producers{
        {first.part, [&](const auto &write) { return sheetWriter.write(write); }},
        // after the sheet: writing it adds the formats its dates and times need
        {stylesPart, [&](const auto &write) { return write(styles.xml()); }},
    };
    return package.write(target, producers, error);
}

} // namespace Xlsx
