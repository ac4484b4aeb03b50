// A language module as it may lie beside the program: parsed, written back, parsed again, and
// loaded from a file as the program loads it.
#include "FuzzSupport.h"

#include "lang/Catalogue.h"
#include "lang/LanguageModule.h"
#include "lang/Texts.h"

#include <QFile>

#include <algorithm>

namespace {

const char *const kTarget = "language_module";

bool sameCatalogue(const Lang::Catalogue &a, const Lang::Catalogue &b)
{
    return a.texts == b.texts && a.failure == b.failure && a.problems == b.problems
           && a.problemCount == b.problemCount && a.missing == b.missing;
}

// the program shows these in labels and message boxes and fills their placeholders
void checkTexts(const Lang::Catalogue &c)
{
    for (auto it = c.texts.cbegin(); it != c.texts.cend(); ++it) {
        FUZZ_EXPECT(Lang::IsKnownText(it.key()), kTarget, QStringLiteral("unknown number %1 taken").arg(it.key()));
        const bool control = std::any_of(it->begin(), it->end(), [](QChar ch) {
            return (ch.unicode() < 0x20 && ch != u'\t' && ch != u'\n') || ch.unicode() == 0x7f;
        });
        FUZZ_EXPECT(!control, kTarget, QStringLiteral("control character in text %1").arg(it.key()));
        const QString filled = Lang::Format(*it, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        FUZZ_EXPECT(filled.size() <= it->size() + 3, kTarget, QStringLiteral("text %1 grew when filled").arg(it.key()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const Lang::Catalogue c = Lang::ParseCatalogue(bytes);
    FUZZ_EXPECT(sameCatalogue(c, Lang::ParseCatalogue(bytes)), kTarget, QStringLiteral("two reads differ"));

    if (!c.failure.isEmpty()) {
        FUZZ_EXPECT(c.texts.isEmpty(), kTarget, QStringLiteral("texts taken from a refused module"));
    } else {
        FUZZ_EXPECT(!c.texts.isEmpty(), kTarget, QStringLiteral("a module without texts taken"));
        checkTexts(c);
        static const QList<int> known = Lang::KnownTextIds();
        const int missing = int(std::count_if(known.begin(), known.end(), [&](int id) { return !c.texts.contains(id); }));
        FUZZ_EXPECT(c.missing == missing, kTarget, QStringLiteral("%1 missing counted, %2 missing").arg(c.missing).arg(missing));

        // what the program writes reads back the same, without a complaint
        const Lang::Catalogue again = Lang::ParseCatalogue(Lang::WriteCatalogue(c.texts));
        FUZZ_EXPECT(again.failure.isEmpty() && again.problemCount == 0, kTarget,
                    QStringLiteral("its own module refused: %1 %2").arg(again.failure, again.problems.value(0)));
        FUZZ_EXPECT(again.texts == c.texts, kTarget, QStringLiteral("its own module reads back different"));
    }
    FUZZ_EXPECT(c.problemCount >= 0 && c.problems.size() == std::min(c.problemCount, Lang::kMaxProblems), kTarget,
                QStringLiteral("%1 problems kept of %2").arg(c.problems.size()).arg(c.problemCount));

    // from a file beside the program: taken exactly when the parse takes it, and then in force
    const QString program = Fuzz::Shared().dir.filePath(QStringLiteral("qt8800"));
    {
        QFile file(Lang::ModuleFileName(program, QStringLiteral("ENU")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            Fuzz::Fail(kTarget, QStringLiteral("cannot write the input file"));
    }
    const Lang::ModuleLoad load = Lang::LoadLanguageModule(1033, program);
    FUZZ_EXPECT(load.loaded == c.failure.isEmpty(), kTarget, QStringLiteral("loaded %1: %2").arg(load.loaded).arg(load.message));
    FUZZ_EXPECT(load.loaded || load.message.contains(c.failure), kTarget, QStringLiteral("refused without its reason"));
    if (load.loaded) {
        for (auto it = c.texts.cbegin(); it != c.texts.cend(); ++it)
            FUZZ_EXPECT(Lang::Text(it.key()) == *it, kTarget, QStringLiteral("text %1 not the module's").arg(it.key()));
        // a number the module lacks keeps its German text
        for (int id : {int(Lang::TxCliNoCommand), int(Lang::TxModuleUnusable), int(Lang::TxBaudNotSupported)})
            FUZZ_EXPECT(c.texts.contains(id) || Lang::Text(id) == Lang::GermanText(id), kTarget,
                        QStringLiteral("text %1 not German").arg(id));
    }
    Lang::SetCatalogue({});
    return 0;
}
