#pragma once

#include "link/TelegramTables.h"
#include "model/FieldStore.h"
#include "app/SettingsPage.h"

#include <functional>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class TArrowBtn;
class TInterSpinEdit;
class TTextSpin;
class TextBindings;

namespace Link {
class ProtocolEngine;
}


// When and how the instrument records: start, stop and duration, interval, memory, outputs
// and the analogue input's scale.
class RecordingSettingsPage : public SettingsPage
{
    Q_OBJECT
public:
    RecordingSettingsPage(TextBindings &texts, Link::ProtocolEngine &engine,
                          std::function<bool(const QString &question)> ask, QWidget *parent = nullptr);

    void setInitialColours();
    // today's start an hour ahead, two hours' duration, a minute's interval
    void setDefaults();
    // Keeps start, stop and duration consistent. mode 0: the start moved, 1: the stop moved,
    // 2: the duration moved. Returns the duration in days.
    double ComputeMemoryStop(int mode);
    // start, duration and stop follow what the instrument or a file puts into the store
    void follow(Model::FieldStore &store);
    // typed "." and "," become this separator
    void setDecimalSeparator(QChar sep) { m_decimalSep = sep; }

    QDateEdit *dtpStartDate = nullptr, *dtpStopDate = nullptr;
    TInterSpinEdit *iseStartTime = nullptr, *iseStopTime = nullptr, *iseDuration = nullptr, *iseMeasInt = nullptr;
    TTextSpin *tsStartMode = nullptr, *tsMemEnd = nullptr, *tsOutMeas = nullptr, *tsAnaIn = nullptr;
    QLabel *lblMemUse = nullptr;
    QPushButton *btnInfo1 = nullptr;
    TArrowBtn *btnMemClear = nullptr, *btnStart = nullptr;
    QLineEdit *txtAnaName = nullptr, *txtAnaUnit = nullptr, *txtAnaValZero = nullptr, *txtAnaVal10 = nullptr,
              *txtScaleZero = nullptr, *txtScaleEnd = nullptr, *txtScaleParts = nullptr,
              *txtValueScaleZero = nullptr, *txtValueScaleEnd = nullptr;

signals:
    void statusMessage(const QString &text, bool error);
    void statusCleared();
    // a manual start or stop: the status is asked again shortly after
    void statusQueryWanted();

private:
    void build(TextBindings &texts);
    void connectHandlers();
    // the order that changes what the user edited, then the start mode's echo
    void queueWithStartMode(Link::Order order);
    void startChanged(QWidget *control, Model::Field field);
    void durationLeft();
    void stopLeft();
    void numberLeft(QLineEdit *edit);
    void btnMemClearClick();

    std::function<bool(const QString &)> m_ask;
    double m_lastDuration = -1.0;
    double m_lastEnd = -1.0;
    QChar m_decimalSep = u'.';
};
