#include "widgets/ScaleMath.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace Widgets {

std::pair<double, double> logScaleRange(double start, double end)
{
    if (!(start > 0.0) || !std::isfinite(start))
        start = 0.001;
    if (!(end > start) || !std::isfinite(end))
        end = start * 100.0;
    if (end > 1000.0 && start < 1000.0)
        end = 1000.0;
    return {start, end};
}

double rawScaleFraction(double start, double end, double v, bool logarithmic)
{
    if (std::isnan(v))
        return 0.0;
    double a = start, b = end, x = v;
    if (logarithmic) {
        const auto range = logScaleRange(start, end);
        if (!(v > 0.0))
            return -1.0;
        a = std::log10(range.first);
        b = std::log10(range.second);
        x = std::log10(v);
    }
    const double span = b - a;
    if (span == 0.0 || !std::isfinite(span))
        return 0.0;
    const double f = (x - a) / span;
    return std::isnan(f) ? 0.0 : f;
}

double scaleFraction(double start, double end, double v, bool logarithmic)
{
    return std::clamp(rawScaleFraction(start, end, v, logarithmic), 0.0, 1.0);
}

double scaleValueAt(double start, double end, double fraction, bool logarithmic)
{
    if (logarithmic) {
        const auto [a, b] = logScaleRange(start, end);
        return std::pow(10.0, std::log10(a) + fraction * (std::log10(b) - std::log10(a)));
    }
    return start + fraction * (end - start);
}

double dampStep(double shown, double target, int damping)
{
    if (damping <= 0)
        return target;
    return (damping * shown + target) / (damping + 1);
}

int limitCrossing(double before, double after, double limit)
{
    if (before < limit && after >= limit)
        return 1;
    if (before >= limit && after < limit)
        return -1;
    return 0;
}

int displayDecimals(double start, double end, double shown, bool fixedPoint)
{
    const double low = fixedPoint ? std::min(start, end) : -std::abs(shown);
    const double high = fixedPoint ? std::max(start, end) : std::abs(shown);
    if (low > -10.0 && high < 10.0)
        return 3;
    if (low > -100.0 && high < 100.0)
        return 2;
    if (low > -1000.0 && high < 1000.0)
        return 1;
    return 0;
}

QString scaleNumber(double v, QChar decimalSeparator)
{
    if (!std::isfinite(v))
        return QString();
    int decimals = 0;
    while (decimals < 3) {
        const double scaled = v * std::pow(10.0, decimals);
        if (std::abs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, std::abs(scaled)))
            break;
        ++decimals;
    }
    if (std::abs(v) < 0.5 * std::pow(10.0, -decimals))
        v = 0.0;   // no "-0"
    QString text = QLocale::c().toString(v, 'f', decimals);
    if (decimalSeparator != u'.')
        text.replace(u'.', decimalSeparator);
    return text;
}

} // namespace Widgets
