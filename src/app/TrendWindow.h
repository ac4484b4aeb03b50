#pragma once

#include "measure/ColumnLayout.h"
#include "measure/CurrentValues.h"
#include "measure/LiveRecorder.h"
#include "measure/TrendBuffer.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class TrendPlot;

// The live values plotted over time as they arrive, with a pause that only holds the picture
// and a recording of every value to a CSV file. A top-level window of its own; while it is
// shown the main window keeps asking for live values.
class TrendWindow : public QWidget, public Measure::CurrentValuesSink
{
    Q_OBJECT
public:
    struct Links
    {
        std::function<Measure::DisplayFormats()> formats;
        std::function<QString()> analogName;        // the analogue input's name, may be empty
        std::function<int()> intervalMsecs;         // how often values are asked for
        // asks for the file to record to; `done` gets it, or an empty name when the user cancels
        std::function<void(QWidget *parent, const QString &suggestion, std::function<void(const QString &)> done)>
            chooseRecordFile;
        std::function<QString()> recordFolder;      // where a new recording is suggested
    };

    static constexpr qint64 kSpans[] = {60'000, 300'000, 900'000, 3'600'000, 7'200'000};
    static constexpr int kDefaultSpan = 1;

    explicit TrendWindow(Links links, int capacity = Measure::TrendBuffer::kDefaultCapacity);
    ~TrendWindow() override;

    // captions, items and hints from the current texts; called again after a language switch
    void ApplyLanguageTexts();

    void ShowCurrentValues(const Measure::CurrentValues &values) override;

    bool paused() const { return m_paused; }
    void setPaused(bool paused);
    bool recording() const { return m_recorder.isOpen(); }
    // false, with the reason in the status line, when the file cannot be written
    bool StartRecording(const QString &path);
    void StopRecording();
    qint64 recordedRows() const { return m_recorder.rows(); }
    void setSpanIndex(int index);
    void setRecordFileChooser(decltype(Links::chooseRecordFile) choose) { m_links.chooseRecordFile = std::move(choose); }

    const Measure::TrendBuffer &buffer() const { return m_buffer; }
    QString statusText() const;

    TrendPlot *plot = nullptr;
    QPushButton *btnPause = nullptr, *btnRecord = nullptr, *btnClose = nullptr;
    QComboBox *cboSpan = nullptr;
    QLabel *lblSpan = nullptr, *lblStatus = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void recordClicked();
    void scroll();
    void showStatus(const QString &text, bool error = false);
    void reportRecorderFailure(const QString &file);
    void refreshStatus();
    qint64 now() const;
    QString analogCaption() const;
    void applyFormats();

    Links m_links;
    Measure::TrendBuffer m_buffer;
    Measure::LiveRecorder m_recorder;
    QElapsedTimer m_clock;          // stamps for the plot: steady when the system clock is set
    qint64 m_clockBase = 0;
    QTimer m_scroll;
    bool m_paused = false;
    bool m_error = false;
    QString m_message;              // the last recording message; kept until the next one
};
