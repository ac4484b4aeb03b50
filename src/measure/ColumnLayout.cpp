#include "measure/ColumnLayout.h"

#include "lang/Texts.h"


#include <cmath>

namespace Measure {

namespace {

const QDate &epoch()
{
    static const QDate e(1899, 12, 30);
    return e;
}

QString withSeparator(QString text, QChar separator)
{
    if (separator != u'.')
        text.replace(u'.', separator);
    return text;
}

} // namespace

QDateTime DaysToDateTime(double days)
{
    // whole milliseconds, so a stamp that is a hair below a full second still shows that second
    const qint64 ms = std::llround(days * 86400000.0);
    const qint64 msPerDay = 86400000;
    qint64 day = ms / msPerDay;
    qint64 rest = ms % msPerDay;
    if (rest < 0) {
        rest += msPerDay;
        --day;
    }
    return QDateTime(epoch().addDays(day), QTime::fromMSecsSinceStartOfDay(int(rest)), Qt::UTC);
}

double DateTimeToDays(const QDateTime &when)
{
    return double(epoch().daysTo(when.date())) + when.time().msecsSinceStartOfDay() / 86400000.0;
}

ColumnLayout BuildColumnLayout(const MeasureFields &fields, bool twoColumns)
{
    ColumnLayout layout;
    layout.twoColumns = twoColumns;
    auto add = [&](int position, TColumn::Polarity polarity, const QString &heading) {
        layout.columns.push_back({position, fields[std::size_t(position)].Kind, polarity, heading});
    };
    for (int kind : {int(KindDate), int(KindTime)})
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].Selected && fields[i].Kind == kind)
                add(int(i), TColumn::Any, fields[i].Caption);
    QList<int> ions;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].Selected && fields[i].Kind == KindIon)
            ions << int(i);
    if (!twoColumns) {
        for (int i : ions)
            add(i, TColumn::Any, fields[std::size_t(i)].Caption.trimmed());
    } else {
        for (int i : ions)
            add(i, TColumn::NegativeOnly, Lang::Text(Lang::TxNegativePrefix) + fields[std::size_t(i)].Caption.trimmed());
        for (int i : ions)
            add(i, TColumn::PositiveOnly, Lang::Text(Lang::TxPositivePrefix) + fields[std::size_t(i)].Caption.trimmed());
    }
    layout.hasIons = !ions.isEmpty();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const TField &f = fields[i];
        if (!f.Selected || f.Kind == KindDate || f.Kind == KindTime || f.Kind == KindIon)
            continue;
        add(int(i), TColumn::Any, f.Caption.trimmed());
        if (f.Kind == KindAnalog)
            layout.hasAnalog = true;
    }
    return layout;
}

QString FormatDateTime(double days, const QString &pattern)
{
    return DaysToDateTime(days).toString(pattern);
}

std::optional<QString> ColumnValue(const TColumn &column, const MeasureFields &fields, double recordTime,
                                   const DisplayFormats &formats, bool twoColumns, bool sheet)
{
    const TField &f = fields[std::size_t(column.field)];
    switch (column.kind) {
    case KindDate:
        return DaysToDateTime(recordTime).date().toString(formats.dateFormat);
    case KindTime:
        return DaysToDateTime(recordTime).time().toString(formats.timeFormat);
    case KindIon:
        if (!twoColumns)
            return QString::asprintf(sheet ? "%12d" : "%8d", f.Negative ? -f.IonValue : f.IonValue);
        if ((column.polarity == TColumn::NegativeOnly) != f.Negative)
            return std::nullopt;
        return QString::asprintf("%12d", f.IonValue);
    case KindAnalog:
        return withSeparator(QString::asprintf("%9.3f", double(f.FloatValue)), formats.decimalSep);
    default:
        return withSeparator(QString::asprintf("%8.1f", double(f.FloatValue)), formats.decimalSep);
    }
}

QStringList TextHeadingLines(const ColumnLayout &layout, double firstRecordTime, const QString &serialNumber)
{
    using namespace Lang;
    // the first lines carry their own line break in the window, so each is followed by an empty line
    QStringList lines{Text(TxTextTitle), QString()};
    if (!serialNumber.isEmpty())
        lines << Text(TxTextSerialPrefix) + serialNumber << QString();
    lines << FormatDateTime(firstRecordTime, Text(TxMeasuredFromPattern)) << QString();
    QStringList headings;
    for (const TColumn &c : layout.columns)
        headings << c.heading;
    lines << headings.join(u';');
    return lines;
}

QString TextRow(const ColumnLayout &layout, const MeasureFields &fields, double recordTime,
                const DisplayFormats &formats)
{
    QString line;
    line.reserve(qsizetype(layout.columns.size()) * 10);
    bool firstColumn = true;
    for (const TColumn &c : layout.columns) {
        if (!firstColumn)
            line += u';';
        firstColumn = false;
        if (const std::optional<QString> value = ColumnValue(c, fields, recordTime, formats, layout.twoColumns, false))
            line += *value;
    }
    return line;
}

QStringList DirectoryRowTexts(const TBlockHeader &h, const DisplayFormats &formats)
{
    using namespace Lang;
    return {QString::number(h.BlockNr),
            DaysToDateTime(h.StartDate).date().toString(formats.dateFormat),
            DaysToDateTime(h.StartTime).time().toString(formats.timeFormat),
            h.IntervalText,
            Text(h.HasAnalog != 0 ? TxAnalogOn : TxAnalogOff),
            QString::number(h.HumCount),
            QString::number(h.TempCount),
            QString::number(qint64(h.OverwriteCount))};
}

QStringList DirectoryHeadings()
{
    using namespace Lang;
    QStringList out;
    for (TextId id : {TxDirColNr, TxDirColDate, TxDirColTime, TxDirColInterval, TxDirColAnalog, TxDirColHumidity,
                      TxDirColTemperature, TxDirColDeleted})
        out << Text(id);
    return out;
}

} // namespace Measure
