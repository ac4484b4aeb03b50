#pragma once

#include "widgets/WidgetTimerService.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

namespace WidgetTest {

// Tests drive the service tick by tick; the system timer would add ticks of its own.
inline WidgetTimerService &manualTicks()
{
    WidgetTimerService &service = WidgetTimerService::instance();
    service.setSystemTimerEnabled(false);
    return service;
}

inline void ticks(int count)
{
    for (int i = 0; i < count; ++i)
        WidgetTimerService::instance().tick();
}

// the widget as it appears on a screen with the given pixel ratio
inline QImage renderAt(QWidget &widget, qreal dpr, const QColor &background = Qt::magenta)
{
    const QSize size(std::max(1, int(widget.width() * dpr + 0.999)), std::max(1, int(widget.height() * dpr + 0.999)));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(background);
    widget.render(&image);
    return image;
}

// the pixel under a logical point
inline QColor pixelAt(const QImage &image, QPointF logical)
{
    const qreal dpr = image.devicePixelRatio();
    const int x = std::clamp(int(logical.x() * dpr), 0, image.width() - 1);
    const int y = std::clamp(int(logical.y() * dpr), 0, image.height() - 1);
    return image.pixelColor(x, y);
}

inline bool near(const QColor &a, const QColor &b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// any pixel within radius (logical) of a point close to the colour: antialiased lines
// may straddle pixels
inline bool colourAround(const QImage &image, QPointF logical, const QColor &colour, qreal radius = 1.0)
{
    const qreal dpr = image.devicePixelRatio();
    const int r = std::max(1, int(radius * dpr));
    const int cx = int(logical.x() * dpr), cy = int(logical.y() * dpr);
    for (int y = cy - r; y <= cy + r; ++y)
        for (int x = cx - r; x <= cx + r; ++x)
            if (x >= 0 && y >= 0 && x < image.width() && y < image.height() && near(image.pixelColor(x, y), colour))
                return true;
    return false;
}

inline bool saveScreen(const QImage &image, const QString &name)
{
    const QString dir = QStringLiteral(QT8800_SCREENS_DIR);
    QDir().mkpath(dir);
    return image.save(dir + name + QStringLiteral(".png"));
}

} // namespace WidgetTest
