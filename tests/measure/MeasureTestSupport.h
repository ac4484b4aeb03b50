#pragma once

#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QXmlStreamReader>

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
