#pragma once

#include "files/ConfigFiles.h"

#include <QMessageBox>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// The questions and dialogs of the measurement page and its windows. Each seam may be left
// empty: a real dialog is then opened without blocking (no nested event loop, so the protocol
// engine keeps reading), and the answer arrives through the callback. Tests fill the seams.
struct MemoryDialogs
{
    // the chosen file, or nothing when the user cancelled
    std::function<std::optional<QString>(const Files::FileDialogSetup &setup, bool save)> chooseFile;
    // one of `buttons`
    std::function<QMessageBox::StandardButton(const QString &question, QMessageBox::StandardButtons buttons)> ask;
    // hands a saved workbook to the desktop's application; false when there is none. Empty:
    // QDesktopServices, except on the offscreen platform, where nobody could see it
    std::function<bool(const QString &path)> openExternal;

    // setup.Directory may name a file: the dialog then offers that name
    void chooseSaveFile(QWidget *parent, const Files::FileDialogSetup &setup,
                        std::function<void(std::optional<QString>)> done) const;
    // Yes/No/Cancel or Yes/No; closing the box answers Cancel, or No where there is no Cancel
    void askAsync(QWidget *parent, const QString &question, QMessageBox::StandardButtons buttons,
                  std::function<void(QMessageBox::StandardButton)> done) const;
    bool showExternal(const QString &path) const;
};
