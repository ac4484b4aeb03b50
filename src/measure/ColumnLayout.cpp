#include "measure/ColumnLayout.h"

#include "lang/Texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace Measure {

namespace {

// "%<width>d" and "%<width>.<decimals>f" without parsing a format: rows format a dozen of
// these each, and the general formatter was the slowest part of a long read
QString rightAligned(const char *begin, const char *end, int width, QChar separator)
{
    const int length = int(end - begin);
    QString out(qMax(width, length), u' ');
    QChar *to = out.data() + (out.size() - length);
    for (const char *c = begin; c != end; ++c, ++to)
        // NOLINTNEXTLINE(clang-analyzer-core.UndefinedBinaryOperatorResult): the caller's to_chars filled it
        *to = *c == '.' ? separator : QChar(QLatin1Char(*c));
    return out;
}

QString integerText(qint32 value, int width)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return rightAligned(buffer, result.ptr, width, u'.');
}

// Rounded half away from zero, as Qt's printf does. The digits are taken 30 places further
// first: that is the whole exact expansion of any value a float holds, so the rounding below
// sees true ties.
QString fixedText(double value, int width, int decimals, QChar separator)
{
    // "inf" and "nan" have no point to round at
    if (!std::isfinite(value))
        return QString::asprintf("%*.*f", width, decimals, value);
    char buffer[96];
    const auto result = std::to_chars(buffer + 1, buffer + sizeof buffer, value, std::chars_format::fixed, decimals + 30);
    if (result.ec != std::errc())
        return QString::number(value, 'f', decimals).rightJustified(width);
    char *first = buffer + 1;
    if (*first == '-')
        ++first;
    char *point = std::find(first, result.ptr, '.');
    char *end = point + 1 + decimals;
    if (*end >= '5') {
        char *digit = end - 1;
        for (;; --digit) {
            if (digit < first) {
                // 9.99 → 10.0: one more digit in front
                std::move_backward(first, end, end + 1);
                *first = '1';
                ++end;
                break;
            }
            if (*digit == '.')
                continue;
            if (*digit != '9') {
                ++*digit;
                break;
            }
            *digit = '0';
        }
    }
    if (decimals == 0)
        end = std::find(first, end, '.');
    return rightAligned(buffer + 1, end, width, separator);
}

// "HH:mm:ss" with any one separator, the form the program always uses
bool isPlainTimeFormat(const QString &f)
{
    return f.size() == 8 && f.startsWith(QLatin1String("HH")) && f.mid(3, 2) == QLatin1String("mm")
           && f.mid(6, 2) == QLatin1String("ss") && f[2] == f[5] && !f[2].isLetterOrNumber();
}

QString timeText(const QTime &time, const QString &format)
{
    if (!isPlainTimeFormat(format))
        return time.toString(format);
    const int parts[3] = {time.hour(), time.minute(), time.second()};
    QString out(8, format[2]);
    for (int i = 0; i < 3; ++i) {
        out[i * 3] = QChar(u'0' + parts[i] / 10);
        out[i * 3 + 1] = QChar(u'0' + parts[i] % 10);
    }
    return out;
}

// consecutive records mostly share their day
QString dateText(const QDate &date, const QString &format)
{
    thread_local QDate lastDate;
    thread_local QString lastFormat;
    thread_local QString lastText;
    if (date != lastDate || format != lastFormat) {
        lastDate = date;
        lastFormat = format;
        lastText = date.toString(format);
    }
    return lastText;
}

} // namespace

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

QString DateText(double days, const DisplayFormats &formats)
{
    return dateText(DaysToDateTime(days).date(), formats.dateFormat);
}

QString TimeText(double days, const DisplayFormats &formats)
{
    return timeText(DaysToDateTime(days).time(), formats.timeFormat);
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
        return DateText(recordTime, formats);
    case KindTime:
        return TimeText(recordTime, formats);
    case KindIon:
        if (!twoColumns)
            return integerText(f.Negative ? -f.IonValue : f.IonValue, sheet ? 12 : 8);
        if ((column.polarity == TColumn::NegativeOnly) != f.Negative)
            return std::nullopt;
        return integerText(f.IonValue, 12);
    case KindAnalog:
        return fixedText(double(f.FloatValue), 9, 3, formats.decimalSep);
    default:
        return fixedText(double(f.FloatValue), 8, 1, formats.decimalSep);
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
