#pragma once

#include <QObject>

// Enumerations shared by the instrument widgets. The value names are the ones the
// window definitions and the field conversions use, so they stay as they are.
namespace Widgets {
Q_NAMESPACE

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
Q_ENUM_NS(TBevelCut)

enum class TTextAdjust { ttCenter, ttLeft, ttRight };
Q_ENUM_NS(TTextAdjust)

// the side a meter's scale arc sits on, the direction of an arrow, the side of a caption
enum class TOrientation { orTop, orBottom, orLeft, orRight };
Q_ENUM_NS(TOrientation)

enum class TMeterShape { smtRectangle, smtRoundrect };
Q_ENUM_NS(TMeterShape)

enum class TPeakMode { ppNone, ppPeak, ppDrag };
Q_ENUM_NS(TPeakMode)

enum class TButtonStyle { tsNone, tsPush, tsPushPull };
Q_ENUM_NS(TButtonStyle)

enum class TButtonMode { tbmPush, tbmPushPull, tbmLocked };
Q_ENUM_NS(TButtonMode)

// numbered as the shape numbers the recording state is shown with (0 arrow, 1 circle, 2 square)
enum class TArrowShape { taArrow, taCircle, taSquare };
Q_ENUM_NS(TArrowShape)

enum class TLedShape { ledCircle, ledRectangle };
Q_ENUM_NS(TLedShape)

enum class TCheckMode { lcNone, lcButton, lcCheckBox, lcRadioBtn };
Q_ENUM_NS(TCheckMode)

// swPos2 is 0: a switch in position value 0 shows TextPos1, in value 1 TextPos2
enum class TSwitchPos { swPos2 = 0, swPos1 = 1 };
Q_ENUM_NS(TSwitchPos)

} // namespace Widgets
