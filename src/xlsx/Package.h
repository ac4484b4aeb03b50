#pragma once

#include "xlsx/XmlNode.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QIODevice;

namespace Xlsx {

// Relationship types and content types of the parts this library reads or adds.
namespace Types {
inline constexpr char kOfficeDocument[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
inline constexpr char kWorksheet[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
inline constexpr char kChartsheet[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartsheet";
inline constexpr char kDrawing[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing";
inline constexpr char kChart[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/chart";
inline constexpr char kStyles[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
inline constexpr char kCalcChain[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain";
inline constexpr char kVbaProject[] = "http://schemas.microsoft.com/office/2006/relationships/vbaProject";
inline constexpr char kCoreProperties[] =
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";

inline constexpr char kWorkbookMain[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
inline constexpr char kMacroWorkbookMain[] = "application/vnd.ms-excel.sheet.macroEnabled.main+xml";
inline constexpr char kChartsheetPart[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.chartsheet+xml";
inline constexpr char kDrawingPart[] = "application/vnd.openxmlformats-officedocument.drawing+xml";
inline constexpr char kChartPart[] = "application/vnd.openxmlformats-officedocument.drawingml.chart+xml";
inline constexpr char kStylesPart[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";
inline constexpr char kCorePart[] = "application/vnd.openxmlformats-package.core-properties+xml";
inline constexpr char kRelationshipsPart[] = "application/vnd.openxmlformats-package.relationships+xml";

inline constexpr char kRelationshipsNs[] = "http://schemas.openxmlformats.org/package/2006/relationships";
inline constexpr char kContentTypesNs[] = "http://schemas.openxmlformats.org/package/2006/content-types";
} // namespace Types

struct Relationship
{
    QString id;
    QString type;
    QString target;             // the part's name in the package ("xl/charts/chart1.xml"); external ones as given
    bool external = false;
};

// The parts of an Open Packaging (zip) file, by name without the leading "/", in their order.
// A template is read whole into memory: it is small, and it is never written.
class Package
{
public:
    enum class ReadError { None, NotFound, NotZip, Damaged, TooLarge };
    ReadError read(const QString &path);

    bool has(const QString &name) const;
    QByteArray part(const QString &name) const;
    void setPart(const QString &name, const QByteArray &bytes);
    void removePart(const QString &name);
    QStringList names() const;

    // "xl/_rels/workbook.xml.rels" for "xl/workbook.xml"; "_rels/.rels" for the package itself ("")
    static QString RelsName(const QString &source);
    std::vector<Relationship> relationships(const QString &source) const;
    std::optional<Relationship> firstRelationship(const QString &source, const char *type) const;
    // A relationship from `source` to the part `target`; gives its new id ("rId4").
    QString addRelationship(const QString &source, const char *type, const QString &target);
    void removeRelationship(const QString &source, const QString &id);
    // Takes the part out with everything only it refers to, and the content type it had.
    void removePartTree(const QString &name);

    // content types
    QString contentType(const QString &name) const;
    void setContentType(const QString &name, const QString &type);
    // "xl/charts/chart3.xml" for ("xl/charts/chart", ".xml"): the first number not in use
    QString freeName(const QString &stem, const QString &suffix) const;

    // Writes every part into a zip; `producers` supply the bytes of parts written in pieces (a
    // worksheet of 100,000 rows) and run in the order given, after the other parts.
    using Producer = std::function<bool(const std::function<bool(const QByteArray &)> &write)>;
    bool write(QIODevice &device, const std::vector<std::pair<QString, Producer>> &producers, QString *error) const;

private:
    std::vector<std::pair<QString, QByteArray>> m_parts;
};

// "xl/worksheets/sheet1.xml" from "xl/_rels/workbook.xml.rels"' point of view: target "worksheets/sheet1.xml"
QString ResolveTarget(const QString &source, const QString &target);
// the target text that leads from `source` to the part `name`
QString RelativeTarget(const QString &source, const QString &name);

} // namespace Xlsx
