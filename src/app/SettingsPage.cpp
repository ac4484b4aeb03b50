#include "app/SettingsPage.h"

#include "app/PageControls.h"
#include "link/ProtocolEngine.h"

SettingsPage::SettingsPage(Link::ProtocolEngine &engine, QWidget *parent)
    : QWidget(parent)
    , m_engine(engine)
{
}

void SettingsPage::touch(QWidget *control)
{
    PageControls::setControlColour(control, base());
    emit touched(control);
}

void SettingsPage::queueForControl(QObject *control)
{
    m_engine.ShowStatusText(QString());
    m_engine.QueueOrdersForControl(control);
}
