#include "measure/SystemFormats.h"

namespace Measure {

QChar SystemTimeSeparator(const QLocale &locale)
{
    const QString time = locale.timeFormat(QLocale::ShortFormat);
    for (QChar c : time)
        if (!c.isLetterOrNumber() && !c.isSpace())
            return c == u'\'' ? QChar(u':') : c;
    return u':';
}

DisplayFormats SystemDisplayFormats(const QLocale &locale, QChar decimalSep)
{
    DisplayFormats formats;
    QString date = locale.dateFormat(QLocale::ShortFormat);
    if (!date.contains(QLatin1String("yyyy")))
        date.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    formats.dateFormat = date;
    // the short time format may drop the seconds; only its separator is taken
    const QChar sep = SystemTimeSeparator(locale);
    formats.timeFormat = QStringLiteral("HH%1mm%1ss").arg(sep);
    formats.decimalSep = decimalSep;
    return formats;
}

} // namespace Measure
