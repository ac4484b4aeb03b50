#include "app/CurrentValuesLabels.h"

#include "model/StatusTables.h"
#include "widgets/TTextSpin.h"

#include <QLabel>

CurrentValuesLabels::CurrentValuesLabels(const Model::StatusTables &tables, const Model::DeviceState &state,
                                         const TTextSpin *tsPol, QLabel *lblRange, QLabel *lblPol, QLabel *lblAlarm)
    : m_tables(tables)
    , m_state(state)
    , m_tsPol(tsPol)
    , m_lblRange(lblRange)
    , m_lblPol(lblPol)
    , m_lblAlarm(lblAlarm)
{
}

void CurrentValuesLabels::ShowCurrentValues(const Measure::CurrentValues &values)
{
    m_lblRange->setText(m_tables.RangeName(QString::number(values.range)));
    // the polarity selector's own caption, without moving the selector
    m_lblPol->setText(m_tsPol->PosText().value(values.polarity).section(u'|', 0, 0).trimmed());
    if (m_state.AlarmTexts.isEmpty()) {
        m_lblAlarm->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_lblAlarm->setText(QString::asprintf("%d     ", values.ionValue));
    }
}
