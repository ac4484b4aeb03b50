#include "lang/Texts.h"

#include "lang/GermanTexts.h"

#include <QHash>

namespace Lang {

namespace {

const QHash<int, QString> &german()
{
    static const QHash<int, QString> texts = [] {
        QHash<int, QString> all;
        for (const auto *area : {&LinkTexts(), &FilesTexts(), &MeasureTexts(), &AppTexts(), &MemoryUiTexts(),
                                  &DeviceViewTexts(), &CliTexts()})
            for (const auto &[id, text] : *area)
                all.insert(id, QString::fromUtf8(text));
        return all;
    }();
    return texts;
}

QHash<int, QString> &catalogue()
{
    static QHash<int, QString> texts;
    return texts;
}

} // namespace

QString Text(TextId id)
{
    if (auto it = catalogue().constFind(id); it != catalogue().constEnd())
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

void SetCatalogue(const QHash<int, QString> &texts)
{
    catalogue() = texts;
}

} // namespace Lang
