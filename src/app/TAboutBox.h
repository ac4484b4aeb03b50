#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;

// Version, picture, notice and what the PC is; the figures help a service technician on the phone.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);

    void setVersion(const QString &version);
    QString version() const;
    bool hasPicture() const;

    // "label: value" lines read from the running system
    static QStringList SystemFigures(const QString &diskPath);

private:
    QLabel *m_version;
    QLabel *m_picture;
    QLabel *m_figures;
};
