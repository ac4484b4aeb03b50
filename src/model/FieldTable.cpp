#include "model/FieldTable.h"

namespace Model {

void FieldTable::AddField(const QString &controlName, int kind, const QStringList &keys, int tokenPos)
{
    TVComp field;
    field.ControlName = controlName;
    field.Kind = kind;
    field.Keys = keys;
    field.TokenPos = tokenPos;
    m_fields.push_back(std::move(field));
}

void FieldTable::BuildFieldTable()
{
    m_fields.clear();
    m_fields.reserve(kFieldCount);
    const QStringList none{QString(), QString()};
    auto keys = [](const char *de, const char *en) { return QStringList{QString::fromUtf8(de), QString::fromUtf8(en)}; };

    AddField("lblSerNr", 1, none, 1);                                               // 0
    AddField("lblVersion", 1, none, 2);
    AddField("lblTime", 1, none, 3);
    AddField("dtpQTDate", 2, none, 1);
    AddField("iseQTTime", 3, none, 2);
    AddField("tsRange", 4, keys("Messbereich", "Range"), 1);                        // 5
    AddField("tsPol", 4, keys("Polarität", "Polarity"), 1);
    AddField("isePolInter", 17, keys("PolInter", "PolInter"), 1);
    AddField("tsZeroAtStart", 4, keys("NullpunktNachStart", "ZeroAdjustOnStart"), 1);
    AddField("tsAnaOut", 4, keys("AnalogAusgang", "AnalogOut"), 1);
    AddField("tsOutMeas", 5, keys("Ausgabe", "Output"), 1);                         // 10
    AddField(QString(), 3, none, 1);
    AddField("tsQTLanguage", 4, keys("Sprache", "Languages"), 1);
    AddField("tsAnaIn", 4, keys("AnalogEingang", "AnalogInput"), 1);
    AddField("tsMemEnd", 4, keys("Speichermodus", "MemoryMode"), 1);
    AddField("dtpStartDate", 7, keys("StartDatum", "MemoyStartDate"), 1);           // 15
    AddField("iseStartTime", 8, keys("StartZeit", "MemoyStartTime"), 2);
    AddField("iseDuration", 9, keys("SpeicherDauer", "MemoryDuration"), 1);
    AddField("iseMeasInt", 17, keys("Speicherintervall", "MemInterTime"), 1);
    AddField("txtAnaName", 1, keys("NameAnalogEingang", "AnalogInputName"), 0);
    AddField("txtAnaUnit", 1, keys("EinheitAnalogEingang", "AnalogInputUnit"), 0);  // 20
    AddField("txtAnaValZero", 10, keys("NullwertAnalogEingang", "AnalogInputZero"), 0);
    AddField("txtAnaVal10", 10, keys("EndwertAnalogEingang", "AnalogInputEnd"), 0);
    AddField("btnMemClear", 6, none, 1);
    AddField("btnStart", 11, none, 1);
    AddField("ledStatMem", 16, none, 1);                                            // 25
    AddField("btnZero", 12, none, 1);
    AddField("lblInfo", 13, none, 4);
    AddField("lblAlarm", 13, none, 4);
    AddField("lblMemUse", 1, none, 5);
    AddField("tsPolAlter", 4, keys("PolAlter", "PolAlter"), 1);                     // 30
    AddField("lblRange", 14, none, 1);
    AddField("lblPol", 15, none, 1);
    AddField("tsStartMode", 4, keys("TimerAktiv", "TimerActive"), 1);
    AddField("tsStartMode", 4, none, 2);
    AddField("txtScaleZero", 10, keys("SkalaAnfang", "ScaleBegin"), 0);             // 35
    AddField("txtScaleEnd", 10, keys("SkalaEnde", "ScaleEnd"), 0);
    AddField("txtScaleParts", 10, keys("Skalenteilung", "ScaleParts"), 0);
    AddField("txtValueScaleZero", 10, keys("WertSkalaAnfang", "ValueScaleBegin"), 0);
    AddField("txtValueScaleEnd", 10, keys("WertSkalaEnde", "ValueScaleEnd"), 0);
}

int FieldTable::FindByControl(const QObject *control) const
{
    if (!control)
        return -1;
    for (int i = 0; i < size(); ++i)
        if (m_fields[std::size_t(i)].Control == control)
            return i;
    return -1;
}

void FieldTable::BindControl(const QString &controlName, QObject *control)
{
    for (TVComp &field : m_fields)
        if (!field.ControlName.isEmpty() && field.ControlName == controlName)
            field.Control = control;
}

void FieldTable::Dat2Form(int field, int slot) const
{
    if (m_view)
        m_view->Dat2Form(field, slot);
}

void FieldTable::Form2Dat(int field, int slot) const
{
    if (m_view)
        m_view->Form2Dat(field, slot);
}

} // namespace Model
