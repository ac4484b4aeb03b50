#pragma once

#include <QLineEdit>

class SpinButton;

// An edit box for a time of day ("hh:nn:ss") or a duration ("hhhh:nn") with a spin
// button. The user types the text or steps the part that holds the caret; the value
// is a day fraction, as the instrument's date-time values are.
class TInterSpinEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(double Value READ Value WRITE setValue)
    Q_PROPERTY(QString StringValue READ StringValue WRITE setStringValue)
    Q_PROPERTY(bool DurationTyp READ DurationTyp WRITE setDurationTyp)
    Q_PROPERTY(double MinValue READ MinValue WRITE setMinValue)
    Q_PROPERTY(double MaxValue READ MaxValue WRITE setMaxValue)
    Q_PROPERTY(int Increment READ Increment WRITE setIncrement)
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE setEditorEnabled)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)

public:
    static constexpr int kMaxDurationHours = 9999;

    struct TimeParts {
        qint64 hours = 0;
        qint64 minutes = 0;
        qint64 seconds = 0;
        friend bool operator==(const TimeParts &, const TimeParts &) = default;
    };

    explicit TInterSpinEdit(QWidget *parent = nullptr);

    double Value() const;
    // clamped to MinValue ... MaxValue when those differ; writes the text in the mode's format
    void setValue(double days);
    QString StringValue() const { return text(); }
    // the text as it is, unchecked
    void setStringValue(const QString &value) { writeText(value); }
    bool DurationTyp() const { return m_duration; }
    // rewrites the current text in the new format
    void setDurationTyp(bool duration);
    double MinValue() const { return m_minValue; }
    void setMinValue(double days) { m_minValue = days; }
    double MaxValue() const { return m_maxValue; }
    void setMaxValue(double days) { m_maxValue = days; }
    int Increment() const { return m_increment; }
    void setIncrement(int step);
    bool EditorEnabled() const { return m_editorEnabled; }
    void setEditorEnabled(bool on);
    QColor Color() const;
    void setColor(const QColor &colour);

    // step the part at the caret; a read-only control beeps and keeps its text
    void stepUp();
    void stepDown();
    // a step as the spin button makes it: the control takes the focus first
    void spinStep(bool up);
    // select the n-th ":"-separated part (1 hours, 2 minutes, 3 seconds)
    void selectPart(int part);
    int partAtCaret() const { return PartAt(text(), cursorPosition()); }
    SpinButton *spinButton() const { return m_button; }

    // text and value arithmetic, shared by the control and its tests
    static TimeParts ReadText(QStringView text);
    static QString WriteText(const TimeParts &parts, bool duration);
    static TimeParts PartsFromValue(double days);
    static double ValueFromParts(const TimeParts &parts);
    static int PartAt(QStringView text, int caret);
    // start and length of the n-th part; an absent part gives the text's end
    static std::pair<int, int> PartRange(QStringView text, int part);
    static TimeParts Stepped(TimeParts parts, int part, int increment, bool up, bool duration);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void OnChange();
    void OnClick();
    void OnEnter();
    void OnExit();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // text the program sets leaves the caret at the start, so the spin button steps the
    // hours until the user puts the caret elsewhere
    void writeText(const QString &text);
    void step(bool up);
    double clamped(double days) const;
    int maxPart() const { return m_duration ? 2 : 3; }
    void placeButton();

    SpinButton *m_button = nullptr;
    bool m_duration = false;
    double m_minValue = 0.0;
    double m_maxValue = 0.0;
    int m_increment = 1;
    bool m_editorEnabled = true;
    QPoint m_pressPos;
};
