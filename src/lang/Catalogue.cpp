#include "lang/Catalogue.h"

#include "lang/Texts.h"

#include <QStringDecoder>
#include <QStringTokenizer>

#include <algorithm>

namespace Lang {

namespace {

// a number of one to nine ASCII digits, so it never overflows
std::optional<int> readNumber(QStringView s)
{
    if (s.isEmpty() || s.size() > 9)
        return std::nullopt;
    int n = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

QString unescape(QStringView s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\\' && i + 1 < s.size() && (s[i + 1] == u'n' || s[i + 1] == u'\\')) {
            out += s[i + 1] == u'n' ? QChar(u'\n') : QChar(u'\\');
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

bool hasControlCharacter(QStringView s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) {
        return (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7f;
    });
}

} // namespace

Catalogue ParseCatalogue(const QByteArray &bytes)
{
    Catalogue result;
    if (bytes.size() > kMaxModuleBytes) {
        result.failure = Text(TxModuleTooLarge);
        return result;
    }
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    if (view.trimmed().isEmpty()) {
        result.failure = Text(TxModuleEmpty);
        return result;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(view);
    if (decoder.hasError() || view.contains('\0')) {
        result.failure = Text(TxModuleBinary);
        return result;
    }

    auto problem = [&result](const QString &what) {
        if (result.problemCount++ < kMaxProblems)
            result.problems << what;
    };
    QHash<int, int> lineOf;
    int lineNumber = 0;
    for (QStringView line : QStringTokenizer{text, u'\n'}) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const QString number = QString::number(lineNumber);
        const qsizetype eq = line.indexOf(u'=');
        const std::optional<int> id = eq < 0 ? std::nullopt : readNumber(line.first(eq).trimmed());
        if (!id) {
            problem(Format(Text(TxModuleBadLine), {number}));
            continue;
        }
        if (!IsKnownText(*id)) {
            problem(Format(Text(TxModuleUnknownId), {number, QString::number(*id)}));
            continue;
        }
        if (const auto first = lineOf.constFind(*id); first != lineOf.constEnd()) {
            problem(Format(Text(TxModuleDuplicateId), {number, QString::number(*id), QString::number(*first)}));
            continue;
        }
        const QStringView value = line.sliced(eq + 1);
        // an empty entry would blank a caption: it counts as missing and the German text stays
        if (value.trimmed().isEmpty())
            continue;
        if (hasControlCharacter(value)) {
            problem(Format(Text(TxModuleControlChars), {number}));
            continue;
        }
        lineOf.insert(*id, lineNumber);
        result.texts.insert(*id, unescape(value));
    }
    if (result.texts.isEmpty()) {
        result.failure = Text(TxModuleNoTexts);
        return result;
    }
    const QList<int> known = KnownTextIds();
    result.missing = int(std::count_if(known.begin(), known.end(), [&](int id) { return !result.texts.contains(id); }));
    return result;
}

QByteArray WriteCatalogue(const QHash<int, QString> &texts)
{
    QList<int> ids = texts.keys();
    std::sort(ids.begin(), ids.end());
    QString out;
    for (int id : ids) {
        QString value = texts.value(id);
        value.replace(u'\\', QLatin1String("\\\\")).replace(u'\n', QLatin1String("\\n"));
        out += QString::number(id) + u'=' + value + u'\n';
    }
    return out.toUtf8();
}

} // namespace Lang
