#include "FuzzSupport.h"

#include "link/TelegramCodec.h"
#include "model/Recording.h"
#include "model/TimeText.h"

#include <QCoreApplication>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Fuzz {

void EnsureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "qt8800-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

void Fail(const char *target, const QString &what)
{
    std::fprintf(stderr, "%s: %s\n", target, qPrintable(what));
    std::fflush(stderr);
    std::abort();
}

Lines SplitFirstLine(const QByteArray &bytes)
{
    const qsizetype lf = bytes.indexOf('\n');
    if (lf < 0)
        return {bytes, {}};
    return {bytes.left(lf), bytes.mid(lf + 1)};
}

CoreFieldView::CoreFieldView(Model::FieldTable &fields, const Model::StatusTables &status)
    : m_fields(fields)
    , m_status(status)
{
}

void CoreFieldView::Dat2Form(int index, int slot)
{
    if (!m_fields.isValid(index))
        Fail("field view", QStringLiteral("field index %1 out of the table").arg(index));
    ++shown;
    const Model::TVComp &field = m_fields[index];
    const QString text = slot == Model::FileSlot ? field.FileText : field.TelegramText;
    switch (field.Kind) {
    case 2:
    case 7:
        // dates go through the same token splitting the window uses
        for (int part = 1; part <= 3; ++part)
            (void)Link::GetToken(text, u".", part).value_or(QString()).toInt();
        break;
    case 3:
    case 8: {
        const auto time = slot == Model::FileSlot ? Model::ReadFileTime(text, u'.')
                                                  : Model::ReadTelegramTime(text, field.Kind == 8 ? 2 : 3);
        if (time && !time->isValid())
            Fail("field view", QStringLiteral("time '%1' read as an invalid time").arg(text));
        break;
    }
    case 17:
        (void)Model::ReadSpanText(text, slot == Model::FileSlot ? u'.' : u':');
        break;
    case 9:
        if (Model::ValidDuration(text.trimmed())) {
            const Model::MemoryStop stop = Model::ComputeMemoryStop(2, 46000, 0.5, 416.0, 0, 0, -1, -1);
            FUZZ_EXPECT(std::isfinite(stop.stop), "field view", QStringLiteral("stop not finite"));
            (void)Model::DurationText(stop.duration);
        }
        break;
    case 13:
        m_state.ProgramLanguage = index % 2;
        Model::DecodeAlarmMask(m_status, text, m_state);
        FUZZ_EXPECT(m_state.AlarmTexts.size() <= 8, "field view", QStringLiteral("more than eight alarm texts"));
        break;
    case 14:
        (void)m_status.RangeName(text);
        break;
    default:
        (void)text.trimmed().toInt();
        break;
    }
}

Fixture::Fixture()
{
    Link::BuildTables(tables);
}

Fixture &Shared()
{
    static Fixture fixture;
    return fixture;
}

} // namespace Fuzz
