#include "app/TFormSens.h"

#include "lang/Texts.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kRows = 3;
constexpr int kColumns = 1 + TFormSens::kSensors;
constexpr int kRowHeight = 24;
constexpr int kTitleWidth = 95;
constexpr int kCellWidth = 30;

} // namespace

TFormSens::TFormSens()
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("FormSens"));
    // the main window's close ends the program even while this one is open
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(Lang::Text(Lang::TxSensCreateCaption));
    resize(613, 139);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    sg1 = new QTableWidget(kRows, kColumns, this);
    sg1->setObjectName(QStringLiteral("sg1"));
    sg1->setFrameShape(QFrame::NoFrame);
    sg1->horizontalHeader()->hide();
    sg1->verticalHeader()->hide();
    sg1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sg1->setSelectionMode(QAbstractItemView::NoSelection);
    sg1->setTextElideMode(Qt::ElideNone);
    sg1->setWordWrap(false);
    sg1->verticalHeader()->setMinimumSectionSize(1);
    sg1->horizontalHeader()->setMinimumSectionSize(1);
    sg1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sg1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // a table to read, not to work: no cell takes the highlight when the window gets the focus
    sg1->setFocusPolicy(Qt::NoFocus);
    for (int row = 0; row < kRows; ++row)
        sg1->setRowHeight(row, kRowHeight);
    // the titles sit in fixed cells; the value cells start empty and keep their last text
    const QColor fixed = palette().color(QPalette::Button);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            auto *item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled);
            if (row == 0 || column == 0)
                item->setBackground(fixed);
            // addresses stand over their values, right-aligned like them
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            sg1->setItem(row, column, item);
        }
    for (int column = 1; column < kColumns; ++column)
        setTitle(column, 0, QString::number(column - 1, 16).toUpper());
    layout->addWidget(sg1, 1);

    panBottom = new QWidget(this);
    panBottom->setObjectName(QStringLiteral("panBottom"));
    auto *bottom = new QHBoxLayout(panBottom);
    bottom->setContentsMargins(6, 4, 6, 6);
    bottom->addStretch(1);
    btnClose = new QPushButton(panBottom);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    bottom->addWidget(btnClose);
    layout->addWidget(panBottom);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::hide);

    ApplyLanguageTexts();
}

void TFormSens::setTitle(int column, int row, const QString &text)
{
    if (QTableWidgetItem *item = sg1->item(row, column); item && item->text() != text)
        item->setText(text);
}

void TFormSens::ApplyLanguageTexts()
{
    setWindowTitle(Lang::Text(Lang::TxSensCaption));
    btnClose->setText(Lang::Text(Lang::TxSensClose));
    btnClose->setToolTip(Lang::Text(Lang::TxSensCloseHint));
    sg1->setAccessibleName(Lang::Text(Lang::TxSensGridName));
    setTitle(0, 0, Lang::Text(Lang::TxSensAddress));
    setTitle(0, kHumidityRow, Lang::Text(Lang::TxSensHumidity));
    setTitle(0, kTemperatureRow, Lang::Text(Lang::TxSensTemperature));
    fitColumns();
}

void TFormSens::fitColumns()
{
    // 95 and 30 pixels, or wider where this desktop's font needs it: a value cut to "..." tells
    // nothing. The cells are as wide as the widest reading a sensor can send, out of bounds
    // included (the item view keeps a focus margin and a pixel on each side of a text).
    const QFontMetrics metrics(sg1->font());
    const int padding = 2 * (sg1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, sg1) + 1) + 2;
    int titles = kTitleWidth;
    for (int row = 0; row < kRows; ++row)
        titles = std::max(titles, metrics.horizontalAdvance(cellText(0, row)) + padding);
    const int cells = std::max(kCellWidth, metrics.horizontalAdvance(QStringLiteral("1000.0")) + padding);
    sg1->setColumnWidth(0, titles);
    for (int column = 1; column < kColumns; ++column)
        sg1->setColumnWidth(column, cells);
    // the window holds the grid exactly: no band under the rows, no space beside them
    resize(titles + kSensors * cells, kRows * kRowHeight + panBottom->sizeHint().height());
}

void TFormSens::ShowSensor(bool humidity, int sensor, const QString &text)
{
    if (sensor < 0 || sensor >= kSensors)
        return;
    setTitle(sensor + 1, humidity ? kHumidityRow : kTemperatureRow, text);
}

QString TFormSens::cellText(int column, int row) const
{
    const QTableWidgetItem *item = sg1->item(row, column);
    return item ? item->text() : QString();
}

void TFormSens::showEvent(QShowEvent *event)
{
    ApplyLanguageTexts();
    sg1->setCurrentCell(-1, -1);
    if (!m_placed) {
        m_placed = true;
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
        }
    }
    QWidget::showEvent(event);
}

void TFormSens::hideEvent(QHideEvent *event)
{
    // a minimised window is still open; only hiding it counts
    if (!event->spontaneous() && m_onHidden)
        m_onHidden();
    QWidget::hideEvent(event);
}

void TFormSens::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F7) {
        emit cycleViews();
        return;
    }
    QWidget::keyPressEvent(event);
}
