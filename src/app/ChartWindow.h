#pragma once

#include "measure/ColumnLayout.h"
#include "measure/Workbook.h"

#include <QPen>
#include <QWidget>

#include <optional>
#include <vector>

class QCategoryAxis;
class QChart;
class QChartView;
class QLabel;
class QListWidget;

// The workbook's line chart in a window of the program: the same title, axis titles and
// series, one per data column, over the rows written when the chart was built. The rows stand
// on a time axis when they carry date and time, else side by side under their category texts.
// An empty cell is a gap in its line; the legend above the plot names every series.
class ChartWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ChartWindow(QWidget *parent = nullptr);

    void ApplyLanguageTexts();
    // `formats` give the axis labels their date and time patterns and the value axis its
    // decimal separator
    void showChart(const Measure::ChartPlan &plan, const Measure::ChartData &data,
                   const Measure::DisplayFormats &formats = {});

    QChart *chart() const;
    QChartView *chartView() const { return m_view; }

    // The n-th series' pen: a colour of its own for each of the first 40, then the colours
    // again, dashed.
    static QPen SeriesPen(int index);

    QLabel *lblTitle = nullptr;
    QListWidget *lstLegend = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // labels as many places on the category axis as its width has room for
    void labelAxis();
    void fitLegend();

    QChartView *m_view = nullptr;
    QCategoryAxis *m_xAxis = nullptr;                   // the chart's
    std::vector<std::optional<double>> m_positions;     // where each category stands
    double m_first = 0, m_last = 0;                     // the first and last position
    QStringList m_categories;
    bool m_timeAxis = false;                            // positions are seconds, else indexes
    Measure::DisplayFormats m_formats;
    int m_labelPlaces = 0;                               // what the axis was last labelled for
    QStringList m_axisWords;                             // the catalogue's axis words the titles were made of
};
