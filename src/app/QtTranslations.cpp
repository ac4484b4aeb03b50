#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

QtTranslations::~QtTranslations()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

void QtTranslations::select(int language)
{
    if (language == m_language)
        return;
    m_language = language;
    const bool german = language == 0;
    if (german && !m_loaded)
        m_loaded = m_translator.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // without the file Qt's English stays: nothing to report
    const bool wanted = german && m_loaded;
    if (wanted == m_installed)
        return;
    m_installed = wanted ? QCoreApplication::installTranslator(&m_translator)
                         : !QCoreApplication::removeTranslator(&m_translator);
}
