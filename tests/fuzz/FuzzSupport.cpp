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

CoreFieldView::CoreFieldView(Model::FieldSlots &fields, const Model::StatusTables &status)
    : m_fields(fields)
    , m_status(status)
{
}

void CoreFieldView::Dat2Form(Model::Field index, Model::Slot slot)
{
    using Kind = Model::FieldKind;
    if (std::size_t(index) >= Model::FieldTable.size())
        Fail("field view", QStringLiteral("field index %1 out of the table").arg(int(index)));
    ++shown;
    const Model::FieldSlot &field = m_fields[index];
    const Kind kind = Model::fieldInfo(index).kind;
    const QString text = slot == Model::FileSlot ? field.FileText : field.TelegramText;
    switch (kind) {
    case Kind::Date:
    case Kind::DayMonth:
        // dates go through the same token splitting the window uses
        for (int part = 1; part <= 3; ++part)
            (void)Link::GetToken(text, u".", part).value_or(QString()).toInt();
        break;
    case Kind::ClockTime:
    case Kind::HourMinute: {
        const auto time = slot == Model::FileSlot ? Model::ReadFileTime(text, u'.')
                                                  : Model::ReadTelegramTime(text, kind == Kind::HourMinute ? 2 : 3);
        if (time && !time->isValid())
            Fail("field view", QStringLiteral("time '%1' read as an invalid time").arg(text));
        break;
    }
    case Kind::Span:
        (void)Model::ReadSpanText(text, slot == Model::FileSlot ? u'.' : u':');
        break;
    case Kind::Duration:
        if (Model::ValidDuration(text.trimmed())) {
            const Model::MemoryStop stop = Model::ComputeMemoryStop(2, 46000, 0.5, 416.0, 0, 0, -1, -1);
            FUZZ_EXPECT(std::isfinite(stop.stop), "field view", QStringLiteral("stop not finite"));
            (void)Model::DurationText(stop.duration);
        }
        break;
    case Kind::AlarmMask:
        m_state.ProgramLanguage = int(index) % 2;
        Model::DecodeAlarmMask(m_status, text, m_state);
        FUZZ_EXPECT(m_state.AlarmTexts.size() <= 8, "field view", QStringLiteral("more than eight alarm texts"));
        break;
    case Kind::RangeName:
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
