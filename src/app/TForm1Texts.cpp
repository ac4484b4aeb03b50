// Switching the language: the module beside the program, and every text of every window re-applied.
#include "app/MemoryDataPage.h"
#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "app/TFormEXCEL.h"
#include "app/TFormMeasure.h"
#include "lang/LanguageModule.h"
#include "lang/Texts.h"
#include "widgets/TTextSpin.h"

#include <QCoreApplication>
#include <QSignalBlocker>

QString TForm1::programFile() const
{
    return m_options.programFile.isEmpty() ? QCoreApplication::applicationFilePath() : m_options.programFile;
}

void TForm1::SelectLanguage(int index)
{
    if (index < 0 || index >= int(Lang::kProgramLanguages.size()))
        return;
    const int locale = Lang::kProgramLanguages[std::size_t(index)];
    Lang::ModuleLoad load = Lang::LoadLanguageModule(locale, programFile());
    // German is compiled in; any other language without a module stays unshown, and the selector
    // goes back to the language the texts are in
    if (index != 0 && !load.found) {
        load.message = Lang::Format(Lang::Text(Lang::TxModuleNotFound),
                                    {Lang::ModuleFileName(programFile(), Lang::LanguageAbbreviation(locale))});
        const int inForce = languageInForce();
        m_param.ProgramLanguage = inForce;
        const QSignalBlocker block(tsProgLang);
        tsProgLang->setPosition(inForce);
    }
    if (!load.message.isEmpty()) {
        // before the first activation the parameter file's message would hide it
        if (m_firstActivation)
            m_languageMessage = load.message;
        else
            ReportMessage(load.message, true);
    }
    if (load.loaded)
        ApplyLanguageTexts();
    m_qtTranslations.select(languageInForce());
}

int TForm1::languageInForce() const
{
    const QString module = Lang::CurrentModuleFile();
    for (std::size_t i = 1; i < Lang::kProgramLanguages.size(); ++i) {
        const QString abbreviation = Lang::LanguageAbbreviation(Lang::kProgramLanguages[i]);
        if (!module.isEmpty() && (module == Lang::ModuleFileName(programFile(), abbreviation)
                                  || module == Lang::ModuleFileName(programFile(), abbreviation.left(2))))
            return int(i);
    }
    return 0;
}

void TForm1::ApplyLanguageTexts()
{
    m_texts.apply();
    updatePortHint();
    m_memoryPage->ApplyLanguageTexts();
    for (const auto &apply : m_pageTexts)
        apply();
}

void TForm1::tsProgLangChanged()
{
    m_param.ProgramLanguage = tsProgLang->Position();
    SelectLanguage(m_param.ProgramLanguage);
    applyWindowTexts();
}

void TForm1::applyWindowTexts()
{
    for (const auto &apply : m_windowTexts)
        apply();
    m_about->ApplyLanguageTexts();
    m_memoryPage->formExcel()->ApplyLanguageTexts();
    m_memoryPage->formMeasure()->ApplyLanguageTexts();
}

void TForm1::updatePortHint()
{
    // the selector names a port; where it leads depends on what lies in the base directory
    const QString name = tsComPort->PosString().trimmed();
    const QString device = Link::SerialLink::ResolvePortName(m_baseDir, name);
    const QString hint = Lang::Text(Lang::TxHintTsComPort) + u'\n' + Lang::Format(Lang::Text(Lang::TxPortHint), {device})
                         + m_serial->PortNotes(name);
    tsComPort->setToolTip(hint);
    tsComPort->setAccessibleDescription(hint);
}
