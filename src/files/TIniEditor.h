#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace Files {

// Reads a sections-and-keys file the way configuration files were always read: "[section]"
// headers, key=value lines, names compared without regard to case, values of at most 255
// characters, the first occurrence of a key counting. Every line is decoded on its own, as
// UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise, so files from either system read.
class TIniEditor
{
public:
    enum class LoadStatus { Loaded, CannotOpen, TooLarge };

    static constexpr int kMaxValueLength = 255;
    // far above any configuration file; the bound keeps a wrongly chosen file from being read whole
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;

    // Reads and parses the file at once; the name is used unchanged.
    LoadStatus setFileName(const QString &fileName);
    QString FileName() const { return m_fileName; }
    LoadStatus status() const { return m_status; }

    void parse(QByteArrayView bytes);

    // The key's value, or `defaultValue` when the section or the key is missing.
    QString ReadStr(const QString &section, const QString &key, const QString &defaultValue) const;

private:
    static QString lookupKey(const QString &section, const QString &key);

    QString m_fileName;
    LoadStatus m_status = LoadStatus::CannotOpen;
    QHash<QString, QString> m_values;   // folded "section\nkey" -> value
};

} // namespace Files
