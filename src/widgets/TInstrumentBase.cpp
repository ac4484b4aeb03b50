#include "widgets/TInstrumentBase.h"

#include <QPaintEngine>
#include <QPainter>

#include <cmath>

TInstrumentBase::TInstrumentBase(QWidget *parent)
    : TRahmen(parent)
{
}

void TInstrumentBase::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    // the target's ratio, not the window's: rendering into a 2x image must be sharp too
    const qreal dpr = painter.paintEngine() && painter.paintEngine()->paintDevice()
        ? painter.paintEngine()->paintDevice()->devicePixelRatioF()
        : devicePixelRatioF();
    const QSize pixels(int(std::ceil(width() * dpr)), int(std::ceil(height() * dpr)));
    const QRect inner = InnerRect();
    if (m_face.isNull() || m_face.size() != pixels || m_face.devicePixelRatio() != dpr) {
        m_face = QPixmap(pixels);
        m_face.setDevicePixelRatio(dpr);
        m_face.fill(Qt::transparent);
        QPainter face(&m_face);
        DrawFrame(face, rect(), frameStyle(), palette(), m_colBtnBord, ColBgnd());
        if (!inner.isEmpty()) {
            face.setClipRect(inner);
            drawFace(face, inner);
        }
    }
    painter.drawPixmap(0, 0, m_face);
    if (!inner.isEmpty()) {
        painter.setClipRect(inner);
        drawDynamic(painter, inner);
    }
    painter.end();
    emit OnRepaint();
}

void TInstrumentBase::resizeEvent(QResizeEvent *event)
{
    m_face = QPixmap();
    TRahmen::resizeEvent(event);
}

void TInstrumentBase::faceChanged()
{
    m_face = QPixmap();
    update();
}

void TInstrumentBase::drawFace(QPainter &, const QRect &)
{
}

void TInstrumentBase::drawDynamic(QPainter &, const QRect &)
{
}
