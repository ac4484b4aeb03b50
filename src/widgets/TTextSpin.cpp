#include "widgets/TTextSpin.h"

#include "widgets/WidgetAccessibility.h"

#include <QFocusEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

using Widgets::TextSpinItem;
using Widgets::TTextAdjust;

namespace {

constexpr int kFirstRepeatMs = 500;
constexpr int kMinRepeatMs = 50;
constexpr int kMaxRepeatMs = 2001;

bool sameNumber(double a, double b)
{
    return a == b || std::abs(a - b) <= 1e-12 * std::max(std::abs(a), std::abs(b));
}

} // namespace

TTextSpin::TTextSpin(QWidget *parent)
    : TRahmen(parent)
    , m_repeat([this] { repeatStep(); })
{
    setBevWidth(1);
    setBordWidth(1);
    setFontAutom(false);
    setFontColor(Qt::yellow);
    setFocusPolicy(Qt::StrongFocus);
    setPosText({QStringLiteral("1 usec | 23 | 1e-6"), QStringLiteral("10 usec | 100 | 1e-5"),
                QStringLiteral("100 usec | 56 | 1e-4"), QStringLiteral("1 msec | 345 | 0.001"),
                QStringLiteral("10 msec | clGreen | 0.01"), QStringLiteral("100 msec | clRed | 0.1")});
    resize(100, 30);
}

void TTextSpin::setPosText(const QStringList &lines)
{
    const QString before = PosString();
    m_lines = lines;
    m_items.clear();
    m_items.reserve(size_t(lines.size()));
    for (const QString &line : lines)
        m_items.push_back(TextSpinItem::parse(line));
    updateGeometry();
    update();
    if (PosString() != before)
        positionChanged(before);
}

const TextSpinItem *TTextSpin::item(int index) const
{
    return index >= 0 && index < count() ? &m_items[size_t(index)] : nullptr;
}

int TTextSpin::boundPosition(int position) const
{
    const int last = count() - 1;
    if (m_limiter) {
        if (position > last)
            position = last;
        if (position < 0)
            position = 0;
    } else {
        if (position > last)
            position = 0;
        else if (position < 0)
            position = last;
    }
    // not qBound: a LimitDown above LimitUp must not trip an assertion
    if (position > m_limitUp)
        position = m_limitUp;
    if (position < m_limitDown)
        position = m_limitDown;
    return position;
}

void TTextSpin::setPosition(int position)
{
    const int bound = boundPosition(position);
    if (bound == m_position)
        return;
    const QString before = PosString();
    m_position = bound;
    update();
    positionChanged(before);
}

void TTextSpin::positionChanged(const QString &captionBefore)
{
    Widgets::announceValue(this, m_position);
    Widgets::announceText(this, captionBefore, PosString());
    emit positionMoved(m_position);
}

void TTextSpin::setLimitUp(int limit)
{
    m_limitUp = limit;
    setPosition(m_position);
}

void TTextSpin::setLimitDown(int limit)
{
    m_limitDown = limit;
    setPosition(m_position);
}

void TTextSpin::selectFirst(const std::function<bool(const TextSpinItem &)> &match)
{
    const auto found = std::find_if(m_items.begin(), m_items.end(), match);
    if (found != m_items.end())
        setPosition(int(found - m_items.begin()));
}

QString TTextSpin::PosString() const
{
    const TextSpinItem *current = item(m_position);
    return current ? current->caption : QString();
}

void TTextSpin::setPosString(const QString &caption)
{
    selectFirst([&](const TextSpinItem &i) { return i.caption == caption; });
}

QColor TTextSpin::PosColor() const
{
    const TextSpinItem *current = item(m_position);
    return current ? current->colour : QColor(Qt::black);
}

void TTextSpin::setPosColor(const QColor &colour)
{
    selectFirst([&](const TextSpinItem &i) { return i.colour.rgb() == colour.rgb(); });
}

int TTextSpin::PosInteger() const
{
    const TextSpinItem *current = item(m_position);
    return current ? current->integer : 0;
}

void TTextSpin::setPosInteger(int value)
{
    selectFirst([&](const TextSpinItem &i) { return i.integer == value; });
}

double TTextSpin::PosFloat() const
{
    const TextSpinItem *current = item(m_position);
    return current ? current->value : 0.0;
}

void TTextSpin::setPosFloat(double value)
{
    selectFirst([&](const TextSpinItem &i) { return sameNumber(i.value, value); });
}

void TTextSpin::setSolidArrow(bool on)
{
    m_solidArrow = on;
    update();
}

void TTextSpin::setTextAdjust(TTextAdjust adjust)
{
    m_textAdjust = adjust;
    update();
}

void TTextSpin::setColTxtBack(const QColor &colour)
{
    m_colTxtBack = colour;
    update();
}

void TTextSpin::setColDisabled(const QColor &colour)
{
    m_colDisabled = colour;
    update();
}

bool TTextSpin::Step(Arrow arrow)
{
    // an empty list has nothing to step to, not even the "last item" -1
    if (arrow == Arrow::None || m_items.empty())
        return false;
    const int candidate = m_position + (arrow == Arrow::Up ? 1 : -1);
    if (m_limiter && (candidate < 0 || candidate > count() - 1))
        return false;
    // landing on the same item (a one-item list, or held by LimitUp or LimitDown) still
    // counts: the user pressed, and the program answers, with immediate transfer by
    // sending the value again
    setPosition(candidate);
    return true;
}

bool TTextSpin::UserStep(Arrow arrow)
{
    if (!isEnabled() || !Step(arrow))
        return false;
    emit onChanging();
    emit onChanged();
    return true;
}

bool TTextSpin::UserSelect(int position)
{
    if (!isEnabled() || position < 0 || position >= count())
        return false;
    setPosition(position);
    emit onChanging();
    emit onChanged();
    return true;
}

void TTextSpin::repeatStep()
{
    if (m_held == Arrow::None) {
        m_repeat.stop();
        return;
    }
    if (Step(m_held)) {
        m_changed = true;
        emit onChanging();
    }
    const int period = m_repSpeed % kMaxRepeatMs;
    if (period < kMinRepeatMs)
        m_repeat.stop();
    else
        m_repeat.setInterval(period);
}

void TTextSpin::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        TRahmen::mousePressEvent(event);
        return;
    }
    m_changed = false;
    const Geometry g = spinGeometry();
    const QPoint pos = event->position().toPoint();
    m_held = g.upBox.contains(pos) ? Arrow::Up : g.downBox.contains(pos) ? Arrow::Down : Arrow::None;
    if (m_held == Arrow::None)
        return;
    update();
    if (Step(m_held)) {
        m_changed = true;
        emit onChanging();
    }
    if (m_repSpeed >= kMinRepeatMs)
        m_repeat.start(kFirstRepeatMs);
}

void TTextSpin::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        TRahmen::mouseReleaseEvent(event);
        return;
    }
    m_repeat.stop();
    if (m_held != Arrow::None) {
        m_held = Arrow::None;
        update();
    }
    if (m_changed) {
        m_changed = false;
        emit onChanged();
    }
}

void TTextSpin::keyPressEvent(QKeyEvent *event)
{
    const Arrow arrow = event->key() == Qt::Key_Up ? Arrow::Up
        : event->key() == Qt::Key_Down             ? Arrow::Down
                                                   : Arrow::None;
    if (arrow == Arrow::None) {
        TRahmen::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        m_changed = false;
    if (Step(arrow)) {
        m_changed = true;
        emit onChanging();
    }
}

void TTextSpin::keyReleaseEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && !event->isAutoRepeat()) {
        if (m_changed) {
            m_changed = false;
            emit onChanged();
        }
        return;
    }
    TRahmen::keyReleaseEvent(event);
}

void TTextSpin::focusInEvent(QFocusEvent *event)
{
    update();
    TRahmen::focusInEvent(event);
}

void TTextSpin::focusOutEvent(QFocusEvent *event)
{
    update();
    TRahmen::focusOutEvent(event);
}

TTextSpin::Geometry TTextSpin::GeometryFor(const QRect &inner)
{
    Geometry g;
    if (inner.width() <= 0 || inner.height() <= 0)
        return g;
    g.margin = int(std::lround(inner.height() * 0.04));
    const int m = g.margin;
    QRect field(inner.left() + m, inner.top() + m, inner.width() - 2 * m, inner.height() - 2 * m);
    if (field.width() <= 0 || field.height() <= 0)
        return g;
    const int h = field.height() / 2;
    // a tall control keeps its width for the caption: the arrows grow no wider than 0.6 of the
    // field's height; a narrow one keeps them inside the field rather than past its left edge
    const int w = std::min({(3 * h) / 2, std::max(12, field.height() * 3 / 5), field.width()});
    const int arrowLeft = field.left() + field.width() - w;
    g.upBox = QRect(arrowLeft, field.top(), w, h);
    g.downBox = QRect(arrowLeft, field.top() + h, w, field.height() - h);
    field.setWidth(std::max(0, arrowLeft - 3 * m - field.left()));
    g.field = field;
    return g;
}

QPolygon TTextSpin::ArrowPolygon(const QRect &box, bool up)
{
    const int q = box.width() / 4;
    const int f = box.height() / 5;
    const int left = box.left(), right = box.right(), top = box.top(), bottom = box.bottom();
    const int centre = (left + right) / 2;
    if (up)
        return QPolygon({QPoint(left + q, bottom - f), QPoint(right - q, bottom - f), QPoint(centre, top + f)});
    return QPolygon({QPoint(left + q, top + f), QPoint(right - q, top + f), QPoint(centre, bottom - f)});
}

QPoint TTextSpin::CaptionOrigin(const QRect &field, int textWidth, int fontPixelHeight, TTextAdjust adjust)
{
    const int top = field.top() + field.height() / 2 - (2 * fontPixelHeight) / 3;
    int left = field.left() + field.width() / 2 - textWidth / 2;
    if (adjust == TTextAdjust::ttLeft)
        left = field.left() + 2;
    else if (adjust == TTextAdjust::ttRight)
        left = field.left() + field.width() - textWidth - 1;
    return QPoint(left, top);
}

QFont TTextSpin::captionFont() const
{
    if (!FontAutom())
        return font();
    const int height = spinGeometry().field.height();
    if (height != m_autoFontHeight || m_autoFontBase != font()) {
        m_autoFont = AutoFont(font(), height);
        m_autoFontBase = font();
        m_autoFontHeight = height;
    }
    return m_autoFont;
}

void TTextSpin::drawArrowBox(QPainter &painter, const QRect &box, bool up, bool pressed) const
{
    if (box.width() <= 0 || box.height() <= 0)
        return;
    const QPalette &pal = palette();
    painter.fillRect(box.adjusted(-1, -1, 1, 1), Qt::black);
    painter.fillRect(box, pal.color(QPalette::Button));
    const QColor light = pal.color(QPalette::Light), dark = pal.color(QPalette::Dark);
    if (pressed)
        DrawBevel(painter, box, 1, dark, light);
    else
        DrawBevel(painter, box, 1, light, dark);

    QPolygon arrow = ArrowPolygon(box, up);
    if (pressed)
        arrow.translate(1, 1);
    const QColor colour = isEnabled() ? QColor(Qt::black) : pal.color(QPalette::Dark);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(colour);
    painter.setBrush(m_solidArrow ? QBrush(colour) : QBrush(Qt::NoBrush));
    painter.setClipRect(box, Qt::IntersectClip);
    painter.drawPolygon(arrow);
    painter.restore();
}

void TTextSpin::drawContent(QPainter &painter, const QRect &inner)
{
    const Geometry g = GeometryFor(inner);
    drawArrowBox(painter, g.upBox, true, m_held == Arrow::Up);
    drawArrowBox(painter, g.downBox, false, m_held == Arrow::Down);
    if (g.field.width() <= 0 || g.field.height() <= 0)
        return;

    const QPalette &pal = palette();
    DrawBevel(painter, g.field, 1, pal.color(QPalette::Dark), pal.color(QPalette::Light));
    const QRect text = g.field.adjusted(1, 1, -1, -1);
    if (text.isEmpty())
        return;
    painter.fillRect(text, isEnabled() ? m_colTxtBack : m_colDisabled);

    if (const TextSpinItem *current = item(m_position)) {
        const QFont f = captionFont();
        const QFontMetrics fm(f);
        const int pixelHeight = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
        const QPoint origin = CaptionOrigin(g.field, fm.horizontalAdvance(current->caption),
                                            pixelHeight, m_textAdjust);
        painter.save();
        painter.setClipRect(text, Qt::IntersectClip);
        painter.setFont(f);
        painter.setPen(fontColor());
        painter.drawText(origin + QPoint(0, fm.ascent()), current->caption);
        painter.restore();
    }
    if (hasFocus()) {
        painter.save();
        QPen pen(fontColor(), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(text.adjusted(1, 1, -2, -2));
        painter.restore();
    }
}

QSize TTextSpin::sizeHint() const
{
    const QFontMetrics fm(font());
    int widest = fm.horizontalAdvance(QStringLiteral("0000"));
    for (const TextSpinItem &i : m_items)
        widest = std::max(widest, fm.horizontalAdvance(i.caption));
    const int f = 2 * frameExtent();
    const int fieldHeight = fm.height() + 6;
    const int arrows = (3 * (fieldHeight / 2)) / 2;
    return QSize(widest + 12 + arrows + f, fieldHeight + 2 + f);
}

QSize TTextSpin::minimumSizeHint() const
{
    const QFontMetrics fm(font());
    const int f = 2 * frameExtent();
    return QSize(fm.height() * 3 + f, fm.height() + 4 + f);
}
