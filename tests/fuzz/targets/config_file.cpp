// A device configuration file as the user may pick it: read in either program language, the
// values taken through the value conversions, written back and read again.
#include "FuzzSupport.h"

#include "files/ConfigFiles.h"
#include "files/ParamRecord.h"

#include <QFile>

namespace {

const char *kTarget = "config_file";

bool plainAscii(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::Fixture &fixture = Fuzz::Shared();
    Model::FieldSlots &fields = fixture.tables.Fields;
    static Fuzz::CoreFieldView view(fields, fixture.tables.Status);
    fields.setView(&view);
    const QString input = fixture.dir.filePath(QStringLiteral("input.QT8"));
    const QString output = fixture.dir.filePath(QStringLiteral("output.QT8"));
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            Fuzz::Fail(kTarget, QStringLiteral("cannot write the input file"));
    }

    Files::ParamRecord param;
    Files::ConfigFileHooks hooks;
    hooks.ConfirmMissingKeys = [](const QString &question, const QStringList &) { return !question.isEmpty(); };
    Files::ConfigFiles files(fields, param, fixture.dir.path(), hooks);
    for (int language : {1, 0}) {
        param.ProgramLanguage = language;
        const Files::ConfigReadResult read = files.ReadConfigFile(input);
        FUZZ_EXPECT(read.outcome == Files::ConfigReadResult::Taken, kTarget, QStringLiteral("not taken though confirmed"));
        for (Model::Field field : read.TakenFields)
            FUZZ_EXPECT(!fields[field].FileText.isEmpty() && fields[field].FileText.size() <= 255, kTarget,
                         QStringLiteral("field %1 taken with '%2'").arg(int(field)).arg(fields[field].FileText));
    }

    // the file the program writes from what it read gives the same values back
    QStringList values;
    for (const Model::TVComp &info : Model::FieldTable)
        values << fields[info.id].FileText;
    FUZZ_EXPECT(files.WriteConfigFile(output), kTarget, QStringLiteral("write failed"));
    (void)files.ReadConfigFile(output);
    for (const Model::TVComp &info : Model::FieldTable) {
        const QString &value = values[int(info.id)];
        if (!plainAscii(value))
            continue;
        const QString &back = fields[info.id].FileText;
        FUZZ_EXPECT(back == value, kTarget,
                     QStringLiteral("field %1 wrote '%2', read back '%3'").arg(int(info.id)).arg(value, back));
    }
    fields.setView(nullptr);
    return 0;
}
