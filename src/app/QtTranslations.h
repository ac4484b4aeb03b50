#pragma once

#include <QTranslator>

// Qt's own texts (standard buttons, file dialogs) in the program's language. Qt speaks English
// by itself; for German its translations are installed, if the system has them.
class QtTranslations
{
public:
    QtTranslations() = default;
    QtTranslations(const QtTranslations &) = delete;
    QtTranslations &operator=(const QtTranslations &) = delete;
    ~QtTranslations();

    // index in the program's language list: 0 German, others English
    void select(int language);

private:
    QTranslator m_translator;
    int m_language = -1;
    bool m_loaded = false;
    bool m_installed = false;
};
