#include "model/FieldTable.h"

namespace Model {

QString controlName(Field field)
{
    return QString::fromLatin1(fieldInfo(field).controlName);
}

QString fileKey(Field field, int language)
{
    const TVComp &info = fieldInfo(field);
    return QString::fromUtf8(language == 1 ? info.keyEn : info.keyDe);
}

std::optional<Field> FieldSlots::FindByControl(const QObject *control) const
{
    if (!control)
        return std::nullopt;
    for (const TVComp &info : FieldTable)
        if ((*this)[info.id].Control == control)
            return info.id;
    return std::nullopt;
}

void FieldSlots::BindControl(const QString &controlName, QObject *control)
{
    for (const TVComp &info : FieldTable)
        if (info.controlName && controlName == QLatin1StringView(info.controlName))
            (*this)[info.id].Control = control;
}

void FieldSlots::Dat2Form(Field field, Slot slot) const
{
    if (m_view)
        m_view->Dat2Form(field, slot);
}

void FieldSlots::Form2Dat(Field field, Slot slot) const
{
    if (m_view)
        m_view->Form2Dat(field, slot);
}

} // namespace Model
