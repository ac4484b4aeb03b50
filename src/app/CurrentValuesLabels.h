#pragma once

#include "measure/CurrentValues.h"

class QLabel;
class TTextSpin;

namespace Model {
struct DeviceState;
struct StatusTables;
}

// Where the instrument's live values show until the device view takes them: the range,
// polarity and ion value labels of the device page.
class CurrentValuesLabels : public Measure::CurrentValuesSink
{
public:
    CurrentValuesLabels(const Model::StatusTables &tables, const Model::DeviceState &state, const TTextSpin *tsPol,
                        QLabel *lblRange, QLabel *lblPol, QLabel *lblAlarm);

    void ShowCurrentValues(const Measure::CurrentValues &values) override;

private:
    const Model::StatusTables &m_tables;
    const Model::DeviceState &m_state;
    const TTextSpin *m_tsPol;
    QLabel *m_lblRange;
    QLabel *m_lblPol;
    QLabel *m_lblAlarm;
};
