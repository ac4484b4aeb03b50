#pragma once

#include "xlsx/ChartWriter.h"
#include "xlsx/Package.h"
#include "xlsx/SheetCells.h"

#include <QString>

class QIODevice;

#include <optional>

namespace Xlsx {

// A workbook file as the program writes it: a new one, or a template filled. The template's
// parts are read once and never written back; saving writes a new package with the first
// worksheet filled, the chart pointed at the rows, and everything else of the template kept.
class Book
{
public:
    // What a file offered as a template is.
    enum class Kind {
        Missing,        // no such file
        Package,        // a zip package (.xlsx, .xlsm)
        Binary,         // an old binary workbook (.xls): a compound file, not encrypted
        Encrypted,      // a password-protected workbook: a compound file holding an encrypted package
        Other,          // anything else
    };
    static Kind Inspect(const QString &path);

    enum class LoadResult { Ok, Missing, Binary, Encrypted, Damaged, NotWorkbook };
    // Reads a template; on failure the book stays a new, empty one.
    LoadResult load(const QString &path);
    // A new workbook, no template.
    void reset();

    bool isTemplate() const { return m_template; }
    // the template holds macros: saved as a macro-enabled workbook (.xlsm)
    bool hasMacros() const { return m_macros; }

    struct Content
    {
        QString author;
        QString title;
        QString sheetName;          // the worksheet's name in a new workbook
        QString chartSheetName;     // a chart sheet added (made unique among the sheet names)
        QString dateFormat;         // number format codes of date and time cells
        QString timeFormat;
        SheetCells cells;
        std::optional<ChartSpec> chart;     // its sheet name is filled in here
    };
    // Writes the workbook into `target`, a device that can seek, open for writing; the caller
    // sees that the file is replaced only when all of it was written. A `name` ending in .xlsm
    // holds a macro-enabled workbook, one ending in .xlsx a workbook without macros (the
    // template's are left out then).
    bool save(QIODevice &target, const QString &name, const Content &content, QString *error = nullptr) const;

private:
    Package m_package;
    bool m_template = false;
    bool m_macros = false;
};

} // namespace Xlsx
