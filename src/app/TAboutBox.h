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
    void ApplyLanguageTexts();

    // what the running system is, read once; the lines name it in the current language
    struct Figures
    {
        QString cpu, mhz, os, kernelType, kernelVersion;
        qint64 memoryMB = -1, freeMemoryMB = -1;
        qint64 diskBytes = -1, freeDiskBytes = -1;
    };
    static Figures ReadFigures(const QString &diskPath);
    static QStringList FigureLines(const Figures &figures);
    // "label: value" lines read from the running system
    static QStringList SystemFigures(const QString &diskPath) { return FigureLines(ReadFigures(diskPath)); }

private:
    QLabel *m_heading;
    QLabel *m_version;
    QLabel *m_picture;
    QLabel *m_notice;
    QLabel *m_figures;
    QString m_versionNumber = QStringLiteral("?");
    Figures m_system;
};
