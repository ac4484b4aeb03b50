#pragma once

#include <QString>

#include <utility>

// Scale arithmetic shared by the round and the panel meter, free of any painting.
namespace Widgets {

// A logarithmic scale needs a positive begin and an end above it: a begin not above
// 0 becomes 0.001, an end not above the begin 100 times the begin, an end above 1000
// is cut to 1000 unless that would put it below the begin.
std::pair<double, double> logScaleRange(double start, double end);

// Where v lies on the scale, 0 at the begin and 1 at the end, not limited; 0 for a
// scale without length. On a logarithmic scale a value not above 0 lies before the
// begin.
double rawScaleFraction(double start, double end, double v, bool logarithmic);
// the same, limited to 0 ... 1: the pointer rests at either end outside the scale
double scaleFraction(double start, double end, double v, bool logarithmic);
// the value at a fraction of the scale (for the scale numbers)
double scaleValueAt(double start, double end, double fraction, bool logarithmic);

// one damping step of a shown value s toward v: (damping * s + v) / (damping + 1)
double dampStep(double shown, double target, int damping);

// +1 when the step from before to after crosses the limit upward, -1 downward, else 0
int limitCrossing(double before, double after, double limit);

// decimals of a digital display: 3 within (-10, 10), 2 within (-100, 100), 1 within
// (-1000, 1000), else 0; for the whole scale or for the shown value
int displayDecimals(double start, double end, double shown, bool fixedPoint);

// a scale number with no more decimals than it needs (at most 3)
QString scaleNumber(double v, QChar decimalSeparator = u'.');

} // namespace Widgets
