#include "app/MemoryDialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QUrl>

void MemoryDialogs::chooseSaveFile(QWidget *parent, const Files::FileDialogSetup &setup,
                                   std::function<void(std::optional<QString>)> done) const
{
    if (chooseFile) {
        done(chooseFile(setup, true));
        return;
    }
    auto *dialog = new QFileDialog(parent, setup.Title, setup.Directory, setup.Filter);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(setup.DefaultSuffix);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done = std::move(done)](int result) {
        const QStringList files = dialog->selectedFiles();
        if (result == QDialog::Accepted && !files.isEmpty())
            done(files.first());
        else
            done(std::nullopt);
    });
    dialog->open();
}

void MemoryDialogs::askAsync(QWidget *parent, const QString &question, QMessageBox::StandardButtons buttons,
                            std::function<void(QMessageBox::StandardButton)> done) const
{
    if (ask) {
        done(ask(question, buttons));
        return;
    }
    const QMessageBox::StandardButton escape = buttons & QMessageBox::Cancel ? QMessageBox::Cancel : QMessageBox::No;
    auto *box = new QMessageBox(QMessageBox::Question, parent ? parent->windowTitle() : QString(), question, buttons,
                                parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(escape);
    QObject::connect(box, &QMessageBox::finished, box, [box, escape, done = std::move(done)](int) {
        const QMessageBox::StandardButton answer = box->standardButton(box->clickedButton());
        done(answer == QMessageBox::NoButton ? escape : answer);
    });
    box->open();
}

bool MemoryDialogs::showExternal(const QString &path) const
{
    if (openExternal)
        return openExternal(path);
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return false;
    // hands the file to the desktop and returns at once
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::cleanPath(path)));
}
