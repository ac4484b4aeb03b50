#include "app/TrendWindow.h"

#include "app/TrendPlot.h"
#include "lang/Texts.h"

#include <QAccessible>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Lang;

TrendWindow::TrendWindow(Links links, int capacity)
    : QWidget(nullptr, Qt::Window)
    , m_links(std::move(links))
    , m_buffer(capacity)
{
    setObjectName(QStringLiteral("FormTrend"));
    // the main window's close ends the program even while this one is open
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(820, 560);
    m_clock.start();
    m_clockBase = QDateTime::currentMSecsSinceEpoch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto *bar = new QHBoxLayout;
    btnPause = new QPushButton(this);
    btnPause->setObjectName(QStringLiteral("btnPause"));
    btnPause->setCheckable(true);
    btnRecord = new QPushButton(this);
    btnRecord->setObjectName(QStringLiteral("btnRecord"));
    btnRecord->setCheckable(true);
    lblSpan = new QLabel(this);
    lblSpan->setObjectName(QStringLiteral("lblSpan"));
    cboSpan = new QComboBox(this);
    cboSpan->setObjectName(QStringLiteral("cboSpan"));
    lblSpan->setBuddy(cboSpan);
    bar->addWidget(btnPause);
    bar->addWidget(btnRecord);
    bar->addSpacing(12);
    bar->addWidget(lblSpan);
    bar->addWidget(cboSpan);
    bar->addStretch(1);
    layout->addLayout(bar);

    plot = new TrendPlot(m_buffer, this);
    layout->addWidget(plot, 1);

    auto *bottom = new QHBoxLayout;
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    btnClose = new QPushButton(this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    bottom->addWidget(lblStatus, 1);
    bottom->addWidget(btnClose);
    layout->addLayout(bottom);

    connect(btnPause, &QPushButton::toggled, this, &TrendWindow::setPaused);
    connect(btnRecord, &QPushButton::clicked, this, &TrendWindow::recordClicked);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(cboSpan, &QComboBox::currentIndexChanged, this, &TrendWindow::setSpanIndex);
    // the axis moves on when no value comes, so a silent instrument shows as a line that ends
    m_scroll.setInterval(1000);
    connect(&m_scroll, &QTimer::timeout, this, &TrendWindow::scroll);

    ApplyLanguageTexts();
    setSpanIndex(kDefaultSpan);
}

TrendWindow::~TrendWindow() = default;

qint64 TrendWindow::now() const
{
    return m_clockBase + m_clock.elapsed();
}

void TrendWindow::ApplyLanguageTexts()
{
    setWindowTitle(Text(TxTrendTitle));
    btnPause->setText(Text(m_paused ? TxTrendResume : TxTrendPause));
    btnRecord->setText(Text(recording() ? TxTrendStopRecord : TxTrendRecord));
    btnClose->setText(Text(TxTrendClose));
    lblSpan->setText(Text(TxTrendSpanLabel));
    const int index = cboSpan->currentIndex();
    {
        const QSignalBlocker block(cboSpan);
        cboSpan->clear();
        cboSpan->addItems(Text(TxTrendSpans).split(u'\n'));
        cboSpan->setCurrentIndex(index < 0 ? kDefaultSpan : index);
    }
    btnPause->setToolTip(Text(TxTrendHintPause));
    btnRecord->setToolTip(Text(TxTrendHintRecord));
    cboSpan->setToolTip(Text(TxTrendHintSpan));
    plot->setToolTip(Text(TxTrendHintPlot));
    plot->setAccessibleName(Text(TxTrendPlotName));
    plot->setAccessibleDescription(Text(TxTrendHintPlot));
    plot->setLaneTitle(TrendPlot::IonLane, Text(TxTrendIonLane));
    plot->setLaneTitle(TrendPlot::AnalogLane, analogCaption());
    plot->setLaneTitle(TrendPlot::HumidityLane, Text(TxTrendHumidityLane));
    plot->setLaneTitle(TrendPlot::TemperatureLane, Text(TxTrendTemperatureLane));
    plot->setEmptyText(Text(TxTrendWaiting));
    refreshStatus();
}

QString TrendWindow::analogCaption() const
{
    const QString name = m_links.analogName ? m_links.analogName().trimmed() : QString();
    return name.isEmpty() ? Text(TxTrendAnalogLane) : name + QStringLiteral(" [V]");
}

void TrendWindow::applyFormats()
{
    const Measure::DisplayFormats f = m_links.formats ? m_links.formats() : Measure::DisplayFormats{};
    plot->setTimeFormat(f.timeFormat);
    plot->setDecimalSeparator(f.decimalSep);
    const qint64 interval = m_links.intervalMsecs ? m_links.intervalMsecs() : 500;
    plot->setGapMsecs(std::max<qint64>(3000, 3 * interval));
}

void TrendWindow::setSpanIndex(int index)
{
    if (index < 0 || index >= int(std::size(kSpans)))
        return;
    if (cboSpan->currentIndex() != index)
        cboSpan->setCurrentIndex(index);
    plot->setSpan(kSpans[index]);
}

void TrendWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    applyFormats();
    plot->setLaneTitle(TrendPlot::AnalogLane, analogCaption());
    if (!m_paused) {
        plot->setEnd(now());
        m_scroll.start();
    }
}

void TrendWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // a window that is gone must not go on writing behind the user's back
    if (!event->spontaneous()) {
        StopRecording();
        m_scroll.stop();
    }
}

void TrendWindow::ShowCurrentValues(const Measure::CurrentValues &values)
{
    const qint64 stamp = now();
    m_buffer.Add(stamp, values);
    if (recording()) {
        const QString file = m_recorder.fileName();
        const Measure::DisplayFormats formats = m_links.formats ? m_links.formats() : Measure::DisplayFormats{};
        if (!m_recorder.Append(QDateTime::currentDateTime(), values, analogCaption(), formats)) {
            reportRecorderFailure(file);
            const QSignalBlocker block(btnRecord);
            btnRecord->setChecked(false);
            btnRecord->setText(Text(TxTrendRecord));
        }
    }
    if (!m_paused)
        plot->setEnd(stamp);
    refreshStatus();
}

void TrendWindow::scroll()
{
    const qint64 t = now();
    if (!m_paused && (m_buffer.size() == 0 || t - m_buffer.newest().msecs > 1500))
        plot->setEnd(t);
}

void TrendWindow::setPaused(bool paused)
{
    if (m_paused == paused)
        return;
    m_paused = paused;
    {
        const QSignalBlocker block(btnPause);
        btnPause->setChecked(paused);
    }
    btnPause->setText(Text(paused ? TxTrendResume : TxTrendPause));
    if (!paused) {
        plot->setEnd(now());
        if (isVisible())
            m_scroll.start();
    } else {
        m_scroll.stop();
    }
    refreshStatus();
}

void TrendWindow::recordClicked()
{
    if (recording()) {
        StopRecording();
        return;
    }
    const QSignalBlocker block(btnRecord);
    btnRecord->setChecked(false);
    const QString folder = m_links.recordFolder ? m_links.recordFolder() : QDir::homePath();
    const QString suggestion = QDir(folder).filePath(
        QStringLiteral("QT8800_live_%1.csv").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"))));
    if (!m_links.chooseRecordFile)
        return;
    btnRecord->setEnabled(false);       // one question at a time
    m_links.chooseRecordFile(this, suggestion, [this](const QString &path) {
        btnRecord->setEnabled(true);
        if (!path.isEmpty() && isVisible())
            StartRecording(path);
    });
}

bool TrendWindow::StartRecording(const QString &path)
{
    StopRecording();
    if (!m_recorder.Open(path)) {
        reportRecorderFailure(path);
        return false;
    }
    m_message.clear();
    m_error = false;
    const QSignalBlocker block(btnRecord);
    btnRecord->setChecked(true);
    btnRecord->setText(Text(TxTrendStopRecord));
    refreshStatus();
    return true;
}

void TrendWindow::StopRecording()
{
    if (!recording())
        return;
    const QString file = QDir::toNativeSeparators(m_recorder.fileName());
    const qint64 rows = m_recorder.rows();
    m_recorder.Close();
    {
        const QSignalBlocker block(btnRecord);
        btnRecord->setChecked(false);
        btnRecord->setText(Text(TxTrendRecord));
    }
    showStatus(Format(Text(TxTrendRecordEnded), {QString::number(rows), file}));
}

void TrendWindow::reportRecorderFailure(const QString &path)
{
    const QString file = QDir::toNativeSeparators(path);
    using Failure = Measure::LiveRecorder::Failure;
    switch (m_recorder.failure()) {
    case Failure::None: return;
    case Failure::CannotRead:
        return showStatus(Format(Text(TxTrendCannotRead), {file, m_recorder.failureReason()}), true);
    case Failure::NotWritable:
    case Failure::NotOurs:
    case Failure::WriteFailed:
        return showStatus(Format(Text(TxTrendCannotWrite), {file, m_recorder.failureReason()}), true);
    }
}

void TrendWindow::showStatus(const QString &text, bool error)
{
    m_message = text;
    m_error = error;
    refreshStatus();
    if (error) {
        QAccessibleEvent alert(lblStatus, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

QString TrendWindow::statusText() const
{
    if (recording())
        return Format(Text(TxTrendRecording), {QDir::toNativeSeparators(m_recorder.fileName()),
                                               QString::number(m_recorder.rows())});
    if (!m_message.isEmpty())
        return m_message;
    if (m_paused)
        return Text(TxTrendPaused);
    if (m_buffer.size() == 0)
        return Text(TxTrendWaiting);
    return Format(Text(TxTrendLatest),
                  {QDateTime::fromMSecsSinceEpoch(m_buffer.newest().msecs)
                       .time()
                       .toString(m_links.formats ? m_links.formats().timeFormat : QStringLiteral("HH:mm:ss"))});
}

void TrendWindow::refreshStatus()
{
    const QString text = statusText();
    if (lblStatus->text() != text)
        lblStatus->setText(text);
    const bool red = m_error && !recording() && text == m_message;
    const QColor colour = red ? QColor(Qt::red) : palette().color(QPalette::WindowText);
    if (lblStatus->palette().color(QPalette::WindowText) != colour) {
        QPalette p = lblStatus->palette();
        p.setColor(QPalette::WindowText, colour);
        lblStatus->setPalette(p);
    }
}
