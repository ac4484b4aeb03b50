// The program's parameter file as it may lie in the folder: read, written back, read again.
#include "FuzzSupport.h"

#include "files/ParameterFile.h"

#include <QFile>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *kTarget = "parameter_file";
    const QString dir = Fuzz::Shared().dir.path();
    {
        QFile file(Files::ParameterFileName(dir));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            Fuzz::Fail(kTarget, QStringLiteral("cannot write the input file"));
    }
    Files::ParamRecord param;
    Files::SelectionRecord selection;
    const Files::ParamReadResult read = Files::ReadParameterFile(dir, param, selection);
    FUZZ_EXPECT(!read.ParamMessage.isEmpty(), kTarget, QStringLiteral("read without a message"));
    // the window turns these into timer periods
    for (float seconds : {param.StatusInterval, param.MeasureInterval})
        FUZZ_EXPECT(std::isfinite(seconds) && std::fabs(seconds) * 1000.0 < 2147483647.0, kTarget,
                     QStringLiteral("interval %1").arg(double(seconds)));

    // whatever the program holds, it must read back what it writes
    Files::ParamRecord written = param;
    Files::SelectionRecord writtenSelection = selection;
    FUZZ_EXPECT(Files::WriteParameterFile(dir, written, writtenSelection), kTarget, QStringLiteral("write failed"));
    Files::ParamRecord again;
    Files::SelectionRecord againSelection;
    const Files::ParamReadResult reread = Files::ReadParameterFile(dir, again, againSelection);
    FUZZ_EXPECT(!reread.Failed, kTarget, QStringLiteral("its own file reads as bad: %1").arg(reread.ParamMessage));
    // a text read as Windows-1252 may grow as UTF-8 beyond what a short string holds
    for (QString *text : {&written.MeasureDir, &written.ConfigDir, &written.LogDir, &written.TemplateFile})
        *text = Files::FitShortString(*text);
    FUZZ_EXPECT(again == written && againSelection == writtenSelection, kTarget,
                 QStringLiteral("its own file reads back different"));
    return 0;
}
