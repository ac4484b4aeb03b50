#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

#include <optional>

namespace Widgets {

// One item of a text spin selector: "caption|colour|value". Missing or malformed
// fields read as 0 (black), never as an error: item lists come from language
// modules that a translator may get wrong.
struct TextSpinItem {
    QString caption;
    QColor colour = Qt::black;   // colour name ("clBlue") or colour number
    int integer = 0;             // the colour field read as a decimal integer
    double value = 0.0;          // the value field; "," and "." both serve as decimal point

    static TextSpinItem parse(QStringView line);
};

// "clRed" and the other colour constant names, case-insensitive
std::optional<QColor> colorFromName(QStringView name);
// a colour name or a colour number (decimal, "$hex" or "0xhex", blue in the high byte)
QColor colorFromText(QStringView text);
// reads a number with either "," or "." as decimal point; 0 when it is none
double numberFromText(QStringView text);

} // namespace Widgets
