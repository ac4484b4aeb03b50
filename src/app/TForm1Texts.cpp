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

QString TForm1::programFile() const
{
    return m_options.programFile.isEmpty() ? QCoreApplication::applicationFilePath() : m_options.programFile;
}

void TForm1::SelectLanguage(int index)
{
    if (index < 0 || index >= int(Lang::kProgramLanguages.size()))
        return;
    const Lang::ModuleLoad load = Lang::LoadLanguageModule(Lang::kProgramLanguages[std::size_t(index)], programFile());
    if (!load.message.isEmpty()) {
        // before the first activation the parameter file's message would hide it
        if (m_firstActivation)
            m_languageMessage = load.message;
        else
            ReportMessage(load.message, true);
    }
    if (load.loaded)
        ApplyLanguageTexts();
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
