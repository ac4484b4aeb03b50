#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <functional>

class QProcess;
class QTimer;

namespace Xlsx {

// Converts an old binary workbook (.xls) into a package (.xlsx) with LibreOffice, in a
// process of its own: the caller's event loop goes on meanwhile. The original is copied first,
// so the conversion neither locks nor writes anything beside it, and each file (by its size
// and time) is converted once per run.
class TemplateConverter : public QObject
{
    Q_OBJECT
public:
    explicit TemplateConverter(QObject *parent = nullptr);
    ~TemplateConverter() override;

    // the converting program; empty when none is installed
    static QString Program();

    // the package converted earlier from this very file, or empty
    QString converted(const QString &binary) const;
    bool busy() const { return m_process != nullptr; }

    // `done` gets the converted package's path, or an empty one when the conversion failed.
    // A conversion still running is given up for the new one.
    void convert(const QString &binary, std::function<void(const QString &package)> done);

    void setTimeoutMs(int ms) { m_timeoutMs = ms; }

private:
    static QString key(const QString &path);
    void finish(const QString &package);

    QTemporaryDir m_dir;
    QHash<QString, QString> m_done;     // key of a file → its package
    QProcess *m_process = nullptr;
    QTimer *m_timer = nullptr;
    QString m_key;
    QString m_output;
    std::function<void(const QString &)> m_callback;
    int m_runs = 0;
    int m_timeoutMs = 120000;
};

} // namespace Xlsx
