#include "app/ChartWindow.h"

#include "lang/Texts.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QSet>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

ChartWindow::ChartWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormChart"));
    m_view = new QChartView(new QChart, this);
    m_view->setObjectName(QStringLiteral("chtMeasure"));
    m_view->setRenderHint(QPainter::Antialiasing);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    resize(720, 480);
    ApplyLanguageTexts();
}

void ChartWindow::ApplyLanguageTexts()
{
    setWindowTitle(Lang::Text(Lang::TxChartWinCaption));
}

QChart *ChartWindow::chart() const
{
    return m_view->chart();
}

void ChartWindow::showChart(const Measure::ChartPlan &plan, const Measure::ChartData &data)
{
    auto *chart = new QChart;
    chart->setTitle(plan.title);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignTop);

    const int count = int(data.categories.size());
    auto *xAxis = new QCategoryAxis;
    xAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    xAxis->setTitleText(plan.xAxisTitle);
    xAxis->setGridLineVisible(true);
    xAxis->setMinorGridLineVisible(false);
    xAxis->setLabelsAngle(-60);             // date and time labels are long
    const int spacing = std::max(1, plan.tickSpacing);
    QSet<QString> used;
    for (int i = 0; i < count; i += spacing) {
        // the axis wants distinct labels; a repeated one (a date column alone) gets invisible marks
        QString label = data.categories.at(i);
        while (used.contains(label))
            label += QChar(0x200B);
        used.insert(label);
        xAxis->append(label, i);
    }
    xAxis->setRange(0, std::max(1, count - 1));
    chart->addAxis(xAxis, Qt::AlignBottom);

    auto *yAxis = new QValueAxis;
    yAxis->setTitleText(plan.yAxisTitle);
    yAxis->setGridLineVisible(true);
    yAxis->setMinorGridLineVisible(false);
    double low = 0, high = 0;
    bool any = false;
    for (const auto &series : data.series) {
        auto *line = new QLineSeries;
        line->setName(series.name);
        QList<QPointF> points;
        points.reserve(qsizetype(series.values.size()));
        for (std::size_t i = 0; i < series.values.size(); ++i) {
            // an empty cell (the other polarity's column) is left out
            if (!series.values[i] || !std::isfinite(*series.values[i]))
                continue;
            const double v = *series.values[i];
            low = any ? std::min(low, v) : v;
            high = any ? std::max(high, v) : v;
            any = true;
            points.append(QPointF(double(i), v));
        }
        line->replace(points);
        chart->addSeries(line);
        line->attachAxis(xAxis);
    }
    if (!any || low == high) {
        low -= 1;
        high += 1;
    }
    yAxis->setRange(low, high);
    yAxis->applyNiceNumbers();
    // the value axis joins the chart once its range is known; a series can only take an axis the chart has
    chart->addAxis(yAxis, Qt::AlignLeft);
    for (QAbstractSeries *series : chart->series())
        series->attachAxis(yAxis);

    QChart *old = m_view->chart();
    m_view->setChart(chart);
    delete old;
    m_view->setAccessibleName(plan.title.isEmpty() ? windowTitle() : plan.title);
    QStringList names;
    for (const auto &series : data.series)
        names.append(series.name);
    m_view->setAccessibleDescription(names.join(QStringLiteral(", ")));
}
