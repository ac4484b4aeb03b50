#pragma once

#include "lang/Texts.h"

#include <QStatusBar>

#include <optional>
#include <utility>

class QLabel;

// The one-panel status bar of the text and workbook windows. A screen reader hears the
// panel's text, and the bar is named by it, as the main window's status line is.
class WindowStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit WindowStatusBar(QWidget *parent = nullptr);

    void setText(const QString &text);
    // a text of the catalogue, shown again in the new language after a switch
    void setText(Lang::TextId id, const QStringList &args = {});
    QString text() const;
    // a catalogue text is said again in the language now in force; any other text came in
    // the previous language and goes
    void ApplyLanguageTexts();

private:
    void showText(const QString &text);

    QLabel *m_panel = nullptr;
    std::optional<std::pair<Lang::TextId, QStringList>> m_source;
};
