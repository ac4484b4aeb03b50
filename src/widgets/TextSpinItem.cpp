#include "widgets/TextSpinItem.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace Widgets {

namespace {

struct NamedColour {
    const char *name;
    QRgb rgb;
};

constexpr std::array kNamedColours{
    NamedColour{"clBlack", qRgb(0, 0, 0)},         NamedColour{"clMaroon", qRgb(128, 0, 0)},
    NamedColour{"clGreen", qRgb(0, 128, 0)},       NamedColour{"clOlive", qRgb(128, 128, 0)},
    NamedColour{"clNavy", qRgb(0, 0, 128)},        NamedColour{"clPurple", qRgb(128, 0, 128)},
    NamedColour{"clTeal", qRgb(0, 128, 128)},      NamedColour{"clGray", qRgb(128, 128, 128)},
    NamedColour{"clSilver", qRgb(192, 192, 192)},  NamedColour{"clRed", qRgb(255, 0, 0)},
    NamedColour{"clLime", qRgb(0, 255, 0)},        NamedColour{"clYellow", qRgb(255, 255, 0)},
    NamedColour{"clBlue", qRgb(0, 0, 255)},        NamedColour{"clFuchsia", qRgb(255, 0, 255)},
    NamedColour{"clAqua", qRgb(0, 255, 255)},      NamedColour{"clWhite", qRgb(255, 255, 255)},
    NamedColour{"clLtGray", qRgb(192, 192, 192)},  NamedColour{"clDkGray", qRgb(128, 128, 128)},
    NamedColour{"clMoneyGreen", qRgb(192, 220, 192)}, NamedColour{"clSkyBlue", qRgb(166, 202, 240)},
    NamedColour{"clCream", qRgb(255, 251, 240)},   NamedColour{"clMedGray", qRgb(160, 160, 164)},
};

std::optional<qint64> colourNumber(QStringView text)
{
    bool ok = false;
    qint64 n = 0;
    if (text.startsWith(u'$'))
        n = text.mid(1).toLongLong(&ok, 16);
    else if (text.startsWith(u"0x", Qt::CaseInsensitive))
        n = text.mid(2).toLongLong(&ok, 16);
    else
        n = text.toLongLong(&ok, 10);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

} // namespace

std::optional<QColor> colorFromName(QStringView name)
{
    for (const NamedColour &entry : kNamedColours)
        if (name.compare(QLatin1StringView(entry.name), Qt::CaseInsensitive) == 0)
            return QColor::fromRgb(entry.rgb);
    return std::nullopt;
}

QColor colorFromText(QStringView text)
{
    text = text.trimmed();
    if (const auto named = colorFromName(text))
        return *named;
    const auto number = colourNumber(text);
    // negative numbers stand for system colours, which have no fixed value here
    if (!number || *number < 0)
        return Qt::black;
    const auto n = quint32(*number & 0xFFFFFF);
    return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF));
}

double numberFromText(QStringView text)
{
    QString s = text.trimmed().toString();
    const qsizetype comma = s.indexOf(u','), point = s.indexOf(u'.');
    const qsizetype separator = comma < 0 ? point : point < 0 ? comma : std::min(comma, point);
    if (separator >= 0)
        s[separator] = u'.';
    bool ok = false;
    const double value = QLocale::c().toDouble(s, &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

TextSpinItem TextSpinItem::parse(QStringView line)
{
    TextSpinItem item;
    const qsizetype first = line.indexOf(u'|');
    if (first < 0) {
        item.caption = line.trimmed().toString();
        return item;
    }
    item.caption = line.left(first).trimmed().toString();
    const QStringView rest = line.mid(first + 1);
    const qsizetype second = rest.indexOf(u'|');
    const QStringView colourField = (second < 0 ? rest : rest.left(second)).trimmed();
    item.colour = colorFromText(colourField);
    bool ok = false;
    const int integer = colourField.toInt(&ok, 10);
    item.integer = ok ? integer : 0;
    if (second >= 0) {
        QStringView valueField = rest.mid(second + 1);
        const qsizetype third = valueField.indexOf(u'|');
        if (third >= 0)
            valueField = valueField.left(third);
        item.value = numberFromText(valueField);
    }
    return item;
}

} // namespace Widgets
