#pragma once

#include "model/FieldTable.h"

#include <QWidget>

#include <bitset>

namespace Link {
class ProtocolEngine;
}

// What the configuration and recording-settings pages share: a touched control goes back to
// the window's colour, a changed one may be sent at once, and both report to the binder.
class SettingsPage : public QWidget
{
    Q_OBJECT
public:
    // a change is sent at once only while the settings page asks for it
    void setTransferAtOnce(bool on) { m_transferAtOnce = on; }

signals:
    // the user touched a value control: it leaves the instrument's or the file's colour
    void touched(QWidget *control);
    // the page wrote a value of its own into a control, with the control's signals blocked
    void programSet(QWidget *control);

protected:
    explicit SettingsPage(Link::ProtocolEngine &engine, QWidget *parent = nullptr);

    QColor base() const { return palette().color(QPalette::Base); }
    // the window's colour, and the control counts as touched
    void touch(QWidget *control);
    void queueForControl(QObject *control);
    void mark(Model::Field field) { m_changed.set(std::size_t(field)); }
    bool marked(Model::Field field) const { return m_changed.test(std::size_t(field)); }

    Link::ProtocolEngine &m_engine;
    std::bitset<std::size_t(Model::Field::Count)> m_changed;   // changed since the control was entered
    bool m_transferAtOnce = false;
};
