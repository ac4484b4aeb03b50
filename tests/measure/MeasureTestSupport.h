#pragma once

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QXmlStreamReader>

#include "xlsx/Package.h"

// One part of a zip package (an .xlsx), through the unzip tool; empty when it is missing.
inline QByteArray UnzipPart(const QString &archive, const QString &part)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, part});
    if (!unzip.waitForFinished(20000) || unzip.exitCode() != 0)
        return {};
    return unzip.readAllStandardOutput();
}

inline bool HaveUnzip()
{
    return !QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty();
}

struct SheetCell
{
    QString type;       // "n" number, "inlineStr" / "s" / "str" text
    QString value;
    bool operator==(const SheetCell &) const = default;
};

// The cells of a worksheet part by reference ("A7"), inline strings resolved.
inline QMap<QString, SheetCell> ReadSheetCells(const QByteArray &xml)
{
    QMap<QString, SheetCell> cells;
    QXmlStreamReader r(xml);
    QString ref;
    SheetCell cell;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("c")) {
            ref = r.attributes().value(QLatin1String("r")).toString();
            cell = {r.attributes().value(QLatin1String("t")).toString(), {}};
            if (cell.type.isEmpty())
                cell.type = QStringLiteral("n");
        } else if (r.isStartElement() && (r.name() == QLatin1String("v") || r.name() == QLatin1String("t"))) {
            cell.value = r.readElementText();
        } else if (r.isEndElement() && r.name() == QLatin1String("c")) {
            cells.insert(ref, cell);
        }
    }
    return cells;
}

// A template as a user makes one: a worksheet "Messdaten" with a bold title in A1, a wide
// column A, a cell where a heading goes (C6), a bold cell where the first date goes (A7), a
// formula beside the rows (M7) and the first cell of a shared formula in the rows (D8, shared
// down to D9); a second worksheet with a formula on the first; a defined name; a chart sheet
// "Grafik" whose line chart has a red series and a bold title; a calculation chain; document
// properties. With `macros` it is an .xlsm with a macro project.
inline Xlsx::Package TestTemplate(bool macros = false)
{
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    const QByteArray main = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                            "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    Xlsx::Package p;
    p.setPart("[Content_Types].xml",
              head + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                     "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                     "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                     "<Default Extension=\"bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/>"
                     "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd."
                     + (macros ? "ms-excel.sheet.macroEnabled.main+xml" : "openxmlformats-officedocument.spreadsheetml.sheet.main+xml")
                     + "\"/><Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
                       "<Override PartName=\"/xl/worksheets/sheet2.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
                       "<Override PartName=\"/xl/chartsheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.chartsheet+xml\"/>"
                       "<Override PartName=\"/xl/drawings/drawing1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.drawing+xml\"/>"
                       "<Override PartName=\"/xl/charts/chart1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.drawingml.chart+xml\"/>"
                       "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
                       "<Override PartName=\"/xl/calcChain.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>"
                       "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/></Types>");
    p.setPart("_rels/.rels", head + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                    "<Relationship Id=\"rId1\" Type=\"" + rel + "officeDocument\" Target=\"xl/workbook.xml\"/>"
                                    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/></Relationships>");
    p.setPart("docProps/core.xml",
              head + "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
                     "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>Vorlage</dc:title><dc:creator>Labor</dc:creator>"
                     "<dc:description>bleibt</dc:description></cp:coreProperties>");
    p.setPart("xl/workbook.xml",
              head + "<workbook " + main + "><bookViews><workbookView activeTab=\"0\"/></bookViews><sheets>"
                     "<sheet name=\"Messdaten\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"Auswertung\" sheetId=\"2\" r:id=\"rId2\"/>"
                     "<sheet name=\"Grafik\" sheetId=\"3\" r:id=\"rId3\"/></sheets><definedNames>"
                     "<definedName name=\"Werte\">Messdaten!$C$7:$C$100</definedName></definedNames>"
                     "<calcPr calcId=\"191029\"/></workbook>");
    p.setPart("xl/_rels/workbook.xml.rels",
              head + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                     "<Relationship Id=\"rId1\" Type=\"" + rel + "worksheet\" Target=\"worksheets/sheet1.xml\"/>"
                     "<Relationship Id=\"rId2\" Type=\"" + rel + "worksheet\" Target=\"worksheets/sheet2.xml\"/>"
                     "<Relationship Id=\"rId3\" Type=\"" + rel + "chartsheet\" Target=\"chartsheets/sheet1.xml\"/>"
                     "<Relationship Id=\"rId4\" Type=\"" + rel + "styles\" Target=\"styles.xml\"/>"
                     "<Relationship Id=\"rId5\" Type=\"" + rel + "calcChain\" Target=\"calcChain.xml\"/>"
                     + (macros ? "<Relationship Id=\"rId6\" Type=\"http://schemas.microsoft.com/office/2006/relationships/vbaProject\" Target=\"vbaProject.bin\"/>" : "")
                     + "</Relationships>");
    p.setPart("xl/styles.xml",
              head + "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                     "<fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font><font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
                     "<fills count=\"1\"><fill><patternFill patternType=\"none\"/></fill></fills>"
                     "<borders count=\"1\"><border/></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
                     "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
                     "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/></cellXfs></styleSheet>");
    p.setPart("xl/worksheets/sheet1.xml",
              head + "<worksheet " + main + "><dimension ref=\"A1:M9\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
                     "<cols><col min=\"1\" max=\"1\" width=\"20\" customWidth=\"1\"/></cols><sheetData>"
                     "<row r=\"1\"><c r=\"A1\" s=\"1\" t=\"inlineStr\"><is><t>Ionenmessung</t></is></c></row>"
                     "<row r=\"6\" spans=\"1:3\"><c r=\"C6\" t=\"inlineStr\"><is><t>alt</t></is></c></row>"
                     "<row r=\"7\"><c r=\"A7\" s=\"1\"/><c r=\"M7\"><f>SUM(C7:C9)</f><v>0</v></c></row>"
                     "<row r=\"8\"><c r=\"D8\"><f t=\"shared\" ref=\"D8:D9\" si=\"0\">C8*2</f><v>0</v></c></row>"
                     "<row r=\"9\"><c r=\"D9\"><f t=\"shared\" si=\"0\"/><v>0</v></c></row>"
                     "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/></worksheet>");
    p.setPart("xl/worksheets/sheet2.xml",
              head + "<worksheet " + main + "><sheetData><row r=\"1\"><c r=\"A1\"><f>Messdaten!C7*2</f><v>0</v></c></row></sheetData></worksheet>");
    p.setPart("xl/chartsheets/sheet1.xml", head + "<chartsheet " + main + "><sheetPr/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews><drawing r:id=\"rId1\"/></chartsheet>");
    p.setPart("xl/chartsheets/_rels/sheet1.xml.rels",
              head + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                     "<Relationship Id=\"rId1\" Type=\"" + rel + "drawing\" Target=\"../drawings/drawing1.xml\"/></Relationships>");
    p.setPart("xl/drawings/drawing1.xml",
              head + "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
                     "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><xdr:absoluteAnchor><xdr:pos x=\"0\" y=\"0\"/>"
                     "<xdr:ext cx=\"9000000\" cy=\"6000000\"/><xdr:graphicFrame macro=\"\"><xdr:nvGraphicFramePr><xdr:cNvPr id=\"2\" name=\"Diagramm\"/>"
                     "<xdr:cNvGraphicFramePr/></xdr:nvGraphicFramePr><xdr:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/></xdr:xfrm>"
                     "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\">"
                     "<c:chart xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" r:id=\"rId1\" "
                     "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"/></a:graphicData></a:graphic>"
                     "</xdr:graphicFrame><xdr:clientData/></xdr:absoluteAnchor></xdr:wsDr>");
    p.setPart("xl/drawings/_rels/drawing1.xml.rels",
              head + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                     "<Relationship Id=\"rId1\" Type=\"" + rel + "chart\" Target=\"../charts/chart1.xml\"/></Relationships>");
    p.setPart("xl/charts/chart1.xml",
              head + "<c:chartSpace xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
                     "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><c:chart>"
                     "<c:title><c:tx><c:rich><a:bodyPr/><a:p><a:r><a:rPr b=\"1\" sz=\"1400\"/><a:t>Vorlagentitel</a:t></a:r></a:p></c:rich></c:tx></c:title>"
                     "<c:plotArea><c:lineChart><c:grouping val=\"standard\"/><c:ser><c:idx val=\"0\"/><c:order val=\"0\"/>"
                     "<c:tx><c:strRef><c:f>Messdaten!$C$6</c:f></c:strRef></c:tx>"
                     "<c:spPr><a:ln w=\"38100\"><a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill></a:ln></c:spPr>"
                     "<c:cat><c:numRef><c:f>Messdaten!$B$7:$B$9</c:f></c:numRef></c:cat>"
                     "<c:val><c:numRef><c:f>Messdaten!$C$7:$C$9</c:f><c:numCache><c:ptCount val=\"3\"/></c:numCache></c:numRef></c:val>"
                     "<c:smooth val=\"0\"/></c:ser><c:axId val=\"1\"/><c:axId val=\"2\"/></c:lineChart>"
                     "<c:catAx><c:axId val=\"1\"/><c:scaling/><c:axPos val=\"b\"/><c:crossAx val=\"2\"/><c:lblOffset val=\"100\"/></c:catAx>"
                     "<c:valAx><c:axId val=\"2\"/><c:scaling/><c:axPos val=\"l\"/><c:crossAx val=\"1\"/></c:valAx></c:plotArea>"
                     "<c:legend><c:legendPos val=\"r\"/></c:legend></c:chart></c:chartSpace>");
    p.setPart("xl/calcChain.xml", head + "<calcChain " + main + "><c r=\"M7\" i=\"1\"/></calcChain>");
    if (macros)
        p.setPart("xl/vbaProject.bin", QByteArray("macro project", 13));
    return p;
}

inline bool WriteTemplate(const QString &path, const Xlsx::Package &package)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && package.write(file, {}, nullptr);
}
