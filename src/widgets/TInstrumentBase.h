#pragma once

#include "widgets/TRahmen.h"

#include <QPixmap>

// The frame of the instrument controls. Instruments are updated often from live
// readings, so the static face (frame, scale, colour zones, captions) is painted
// once into a pixmap in device pixels; a new reading only redraws the moving parts
// over it.
class TInstrumentBase : public TRahmen
{
    Q_OBJECT

public:
    explicit TInstrumentBase(QWidget *parent = nullptr);

    bool hasCachedFace() const { return !m_face.isNull(); }
    // the pixel ratio the cached face was painted at; 0 without a face
    qreal cachedFaceRatio() const { return m_face.isNull() ? 0.0 : m_face.devicePixelRatio(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void faceChanged() override;

    // the static face inside the frame; called only when the cache is rebuilt
    virtual void drawFace(QPainter &painter, const QRect &inner);
    // pointers, LEDs, digits: drawn over the cached face at every paint
    virtual void drawDynamic(QPainter &painter, const QRect &inner);

private:
    QPixmap m_face;
};
