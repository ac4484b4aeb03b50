#include "lang/Texts.h"

#include "lang/GermanTexts.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace Lang {

namespace {

// every area once; a new area is added here
std::vector<const TextTable *> areas()
{
    return {&LinkTexts(),       &FilesTexts(),      &MeasureTexts(),    &AppTexts(),
            &MainWindowTexts(), &MemoryUiTexts(),   &DeviceViewTexts(), &CliTexts(),
            &TrendTexts()};
}

const QHash<int, QString> &german()
{
    static const QHash<int, QString> texts = [] {
        QHash<int, QString> all;
        for (const auto *area : areas())
            for (const auto &[id, text] : *area)
                all.insert(id, QString::fromUtf8(text));
        return all;
    }();
    return texts;
}

struct Current
{
    QHash<int, QString> texts;
    QString moduleFile;
};

Current &current()
{
    static Current c;
    return c;
}

} // namespace

QString Text(TextId id)
{
    const QHash<int, QString> &catalogue = current().texts;
    if (auto it = catalogue.constFind(id); it != catalogue.constEnd())
        return *it;
    return german().value(id, QStringLiteral("?%1?").arg(int(id)));
}

QString Format(const QString &pattern, const QStringList &args)
{
    QString out;
    out.reserve(pattern.size() + 32);
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != u'%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        const QChar kind = pattern.at(i + 1);
        if (kind == u'%') {
            out += u'%';
            ++i;
        } else if (kind == u's' || kind == u'd') {
            if (next < args.size())
                out += args.at(next);
            ++next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

void SetCatalogue(const QHash<int, QString> &texts, const QString &moduleFile)
{
    current().texts = texts;
    current().moduleFile = texts.isEmpty() ? QString() : moduleFile;
}

QString CurrentModuleFile()
{
    return current().moduleFile;
}

bool IsKnownText(TextId id)
{
    return german().contains(id);
}

QList<TextId> KnownTextIds()
{
    QList<TextId> ids = german().keys();
    std::sort(ids.begin(), ids.end());
    return ids;
}

QString GermanText(TextId id)
{
    return german().value(id);
}

QList<TextId> DuplicateTextIds()
{
    QHash<int, int> seen;
    for (const auto *area : areas())
        for (const auto &entry : *area)
            ++seen[entry.first];
    QList<TextId> twice;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        if (it.value() > 1)
            twice << it.key();
    std::sort(twice.begin(), twice.end());
    return twice;
}

} // namespace Lang
