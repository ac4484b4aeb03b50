#include "files/TIniEditor.h"

#include "model/Win1252.h"

#include <QFile>
#include <QFileInfo>

namespace Files {

namespace {

// cut on a code-point boundary, so a character outside the BMP never loses half of itself
QString cutValue(QString value)
{
    if (value.size() <= TIniEditor::kMaxValueLength)
        return value;
    qsizetype cut = TIniEditor::kMaxValueLength;
    if (value.at(cut).isLowSurrogate() && value.at(cut - 1).isHighSurrogate())
        --cut;
    value.truncate(cut);
    return value;
}

} // namespace

QString TIniEditor::lookupKey(const QString &section, const QString &key)
{
    // a line break cannot occur inside a section or key name, so it separates them safely
    return section.trimmed().toCaseFolded() + u'\n' + key.trimmed().toCaseFolded();
}

TIniEditor::LoadStatus TIniEditor::setFileName(const QString &fileName)
{
    m_fileName = fileName;
    m_values.clear();
    QFile file(fileName);
    // a directory opens on Linux but reads nothing useful
    if (QFileInfo(fileName).isDir() || !file.open(QIODevice::ReadOnly))
        return m_status = LoadStatus::CannotOpen;
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return m_status = LoadStatus::CannotOpen;
    if (bytes.size() > kMaxFileBytes)
        return m_status = LoadStatus::TooLarge;
    parse(bytes);
    return m_status = LoadStatus::Loaded;
}

void TIniEditor::parse(QByteArrayView bytes)
{
    m_values.clear();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);

    QString section;
    bool inSection = false;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QString line = Model::DecodeUtf8OrWin1252(bytes.sliced(pos, end - pos)).trimmed();
        pos = end + 1;
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            section = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            inSection = true;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inSection || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (key.isEmpty())
            continue;
        const QString lookup = lookupKey(section, key);
        if (!m_values.contains(lookup))
            m_values.insert(lookup, cutValue(line.mid(eq + 1).trimmed()));
    }
}

QString TIniEditor::ReadStr(const QString &section, const QString &key, const QString &defaultValue) const
{
    const auto it = m_values.constFind(lookupKey(section, key));
    return it == m_values.constEnd() ? defaultValue : *it;
}

} // namespace Files
