#include "files/DownloadState.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Files {

DownloadState::Block *DownloadState::find(int nr, const QString &start)
{
    for (Block &b : blocks)
        if (b.nr == nr && b.start == start)
            return &b;
    return nullptr;
}

void DownloadState::put(const Block &block)
{
    if (Block *b = find(block.nr, block.start))
        *b = block;
    else
        blocks.append(block);
}

QByteArray DownloadState::toJson() const
{
    QJsonArray list;
    for (const Block &b : blocks)
        list.append(QJsonObject{{QStringLiteral("nr"), b.nr},
                                {QStringLiteral("start"), b.start},
                                {QStringLiteral("records"), b.records},
                                {QStringLiteral("file"), b.file},
                                {QStringLiteral("bytes"), b.bytes},
                                {QStringLiteral("open"), b.open}});
    const QJsonObject root{{QStringLiteral("format"), kFormat},
                           {QStringLiteral("serial"), serial},
                           {QStringLiteral("memoryUse"), memoryUse},
                           {QStringLiteral("blocks"), list}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

DownloadState::Load DownloadState::read(const QString &path, DownloadState &state)
{
    state = {};
    QFile file(path);
    if (!file.exists())
        return Load::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return Load::Damaged;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return Load::Damaged;
    const QJsonObject root = doc.object();
    const QJsonValue format = root.value(QStringLiteral("format"));
    if (!format.isDouble() || format.toDouble() < 1 || format.toDouble() != double(format.toInt()))
        return Load::Damaged;
    if (format.toInt() > kFormat)
        return Load::Future;
    const QJsonValue serial = root.value(QStringLiteral("serial"));
    const QJsonValue list = root.value(QStringLiteral("blocks"));
    if (!serial.isString() || !list.isArray())
        return Load::Damaged;
    state.serial = serial.toString();
    state.memoryUse = root.value(QStringLiteral("memoryUse")).toString();
    for (const QJsonValue &v : list.toArray()) {
        const QJsonObject o = v.toObject();
        Block b;
        b.nr = o.value(QStringLiteral("nr")).toInt(-1);
        b.start = o.value(QStringLiteral("start")).toString();
        b.records = qint64(o.value(QStringLiteral("records")).toDouble(-1));
        b.file = o.value(QStringLiteral("file")).toString();
        b.bytes = qint64(o.value(QStringLiteral("bytes")).toDouble(-1));
        b.open = o.value(QStringLiteral("open")).toBool();
        // a name with a folder in it would write outside the output folder
        if (b.nr < 1 || b.start.isEmpty() || b.records < 0 || b.bytes < 0 || b.file.isEmpty() || b.file.contains(u'/'))
            return state = {}, Load::Damaged;
        state.blocks.append(b);
    }
    return Load::Ok;
}

} // namespace Files
