#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace Model {

// One instrument value: the control that shows it, how its text converts, where it is
// stored in configuration files, and the two transfer texts.
struct TVComp
{
    QObject *Control = nullptr;     // bound by the main window; not owned
    QString ControlName;            // component name, also the binding key
    int Kind = 0;
    QStringList Keys;               // [German key, English key]; both empty: not in files
    QString FileText;               // slot 0
    QString TelegramText;           // slot 1
    int TokenPos = 0;               // read from reply token TokenPos + 1; 0: never read
};

enum Slot : int { FileSlot = 0, TelegramSlot = 1 };

// How a field's text reaches its control and back; the main window implements it.
class FieldView
{
public:
    virtual ~FieldView() = default;
    virtual void Dat2Form(int field, int slot) = 0;
    virtual void Form2Dat(int field, int slot) = 0;
};

class FieldTable
{
public:
    static constexpr int kFieldCount = 40;

    void BuildFieldTable();
    void AddField(const QString &controlName, int kind, const QStringList &keys, int tokenPos);

    int size() const { return int(m_fields.size()); }
    bool isValid(int index) const { return index >= 0 && index < size(); }
    TVComp &operator[](int index) { return m_fields.at(std::size_t(index)); }
    const TVComp &operator[](int index) const { return m_fields.at(std::size_t(index)); }

    // first entry whose control it is, or -1
    int FindByControl(const QObject *control) const;
    // binds every entry that names this component
    void BindControl(const QString &controlName, QObject *control);

    void setView(FieldView *view) { m_view = view; }
    FieldView *view() const { return m_view; }

    // Without a view the texts stay as they are: the core works on them alone.
    void Dat2Form(int field, int slot) const;
    void Form2Dat(int field, int slot) const;

private:
    std::vector<TVComp> m_fields;
    FieldView *m_view = nullptr;
};

} // namespace Model
