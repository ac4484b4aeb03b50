#pragma once

#include "measure/Workbook.h"

#include <QWidget>

class QChart;
class QChartView;

// The workbook's line chart in a window of the program: the same title, axis titles and
// series, one per data column, over the rows written when the chart was built.
class ChartWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ChartWindow(QWidget *parent = nullptr);

    void ApplyLanguageTexts();
    void showChart(const Measure::ChartPlan &plan, const Measure::ChartData &data);

    QChart *chart() const;
    QChartView *chartView() const { return m_view; }

private:
    QChartView *m_view = nullptr;
};
