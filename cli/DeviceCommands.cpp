#include "cli/DeviceCommands.h"

#include "cli/CliSession.h"

#include "files/ConfigFiles.h"
#include "lang/Texts.h"
#include "measure/MemoryReader.h"
#include "model/FileTargets.h"
#include "model/StatusTables.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <cmath>
#include <memory>

namespace Cli {

namespace {

using namespace Lang;

// Configuration files through the session: messages on stderr, no questions asked.
Files::ConfigFileHooks fileHooks(CliSession &session)
{
    Files::ConfigFileHooks hooks;
    hooks.ReportMessage = [&session](const QString &text, bool error) { session.StatusMessage(text, error); };
    hooks.ShowStatusText = [&session](const QString &text) { session.StatusMessage(text, false); };
    hooks.StatusMessage = [&session](const QString &text, bool error) { session.StatusMessage(text, error); };
    hooks.Now = [] { return QDateTime::currentDateTime(); };
    return hooks;
}

// After a sequence: 1 when the instrument failed or sent a value that does not convert.
bool sequenceFailed(CliSession &session)
{
    const bool rejected = session.reportRejectedValues(Model::TelegramSlot);
    return session.hasErrors() || rejected;
}

// Fields that some request carries: a configuration file must hold them before it is sent.
bool sentToInstrument(Model::Field field)
{
    for (const Link::TTXTab &order : Link::OrderTable)
        if (order.fields.contains(field))
            return true;
    return false;
}

const QString kIsoDateTime = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

// The instrument's clock ("dd.MM.yyyy", "HH:mm:ss") as ISO 8601; the texts as they are when
// they are no date and time.
QString isoClock(const QString &date, const QString &time)
{
    const QDateTime when(QDate::fromString(date, QStringLiteral("dd.MM.yyyy")), QTime::fromString(time, QStringLiteral("HH:mm:ss")));
    return when.isValid() ? when.toString(kIsoDateTime) : (date + u' ' + time).trimmed();
}

QString clockLine(CliSession &session, TextId pattern, const QString &date, const QString &time)
{
    if (session.options().iso)
        return Format(Text(pattern), {isoClock(date, time), QString()}).trimmed();
    return Format(Text(pattern), {date, time});
}

// A number the instrument sends as text; null when it is none.
QJsonValue jsonNumber(const QString &text)
{
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok);
    return ok ? QJsonValue(n) : QJsonValue();
}

void printJson(CliSession &session, const QJsonObject &object)
{
    session.console().result(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)).trimmed());
}

// The configuration keys of the fields an order carries.
QStringList keysOf(CliSession &session, Link::Order order)
{
    QStringList keys;
    for (Model::Field field : Link::orderInfo(order).fields)
        if (!Model::fileKey(field, 0).isEmpty())
            keys << session.fieldName(field);
    return keys;
}

// After the configuration went out: what the instrument took and what it did not, when it did
// not take everything.
int reportConfigWritten(CliSession &session)
{
    const QList<Link::Order> failed = session.takeFailedOrders();
    const bool rejected = session.reportRejectedValues(Model::TelegramSlot);
    const bool errors = !session.takeErrors().isEmpty();
    // after silence or a lost line the queue was dropped: nothing behind the failure went out
    const bool dropped = session.engine().NoAnswerCount() > 0 || !session.lineUp();
    QStringList taken, notTaken;
    bool behind = false;
    for (Link::Order order : Link::kConfigWriteOrders) {
        const bool lost = behind || failed.contains(order);
        behind = behind || (dropped && failed.contains(order));
        (lost ? notTaken : taken) << keysOf(session, order);
    }
    if (!notTaken.isEmpty())
        session.console().message(Format(Text(TxCliConfigPartly), {taken.isEmpty() ? Text(TxCliNothing) : taken.join(QStringLiteral(", ")),
                                                                    notTaken.join(QStringLiteral(", "))}));
    return errors || rejected ? ExitInstrument : ExitDone;
}

} // namespace

void RunInfo(CliSession &session, Finish finish)
{
    Link::ProtocolEngine &engine = session.engine();
    engine.setNoAnswerCount(0);
    engine.CyclicStatusRead();
    session.whenIdle([&session, finish] {
        if (sequenceFailed(session))
            return finish(ExitInstrument);
        const Model::FieldStore &store = session.store();
        Model::DeviceState state;
        state.ProgramLanguage = session.param().ProgramLanguage;
        Model::DecodeAlarmMask(session.tables().Status, store.value(Model::Field::AlarmInfo), state);
        QStringList alarms;
        for (const QString &a : std::as_const(state.AlarmTexts))
            alarms << a.trimmed();
        using Model::Field;
        const bool timerStart = store.value(Field::StartModeStatus) == QLatin1String("1");
        // what the adapter runs at after the open asked for low latency; nothing for other ports
        const std::optional<int> latency = session.serial().LatencyTimer(session.serial().device());
        if (session.options().json) {
            printJson(session, {{QStringLiteral("serialNumber"), store.value(Field::SerialNumber).trimmed()},
                                {QStringLiteral("version"), store.value(Field::FirmwareVersion).trimmed()},
                                {QStringLiteral("operatingHours"), jsonNumber(store.value(Field::OperatingHours))},
                                {QStringLiteral("clock"), isoClock(store.value(Field::DeviceDate), store.value(Field::DeviceTime))},
                                {QStringLiteral("recording"), store.RecordingRunning()},
                                {QStringLiteral("startMode"), timerStart ? QStringLiteral("timer") : QStringLiteral("manual")},
                                {QStringLiteral("memoryUsePercent"), jsonNumber(store.value(Field::MemoryUse))},
                                {QStringLiteral("alarmMask"), jsonNumber(store.value(Field::AlarmInfo))},
                                {QStringLiteral("alarms"), QJsonArray::fromStringList(alarms)},
                                {QStringLiteral("latencyTimerMs"), latency ? QJsonValue(*latency) : QJsonValue()}});
            return finish(ExitDone);
        }
        Console &out = session.console();
        out.result(Format(Text(TxCliInfoSerial), {store.value(Field::SerialNumber)}));
        out.result(Format(Text(TxCliInfoVersion), {store.value(Field::FirmwareVersion)}));
        out.result(Format(Text(TxCliInfoHours), {store.value(Field::OperatingHours)}));
        out.result(clockLine(session, TxCliInfoClock, store.value(Field::DeviceDate), store.value(Field::DeviceTime)));
        out.result(Format(Text(TxCliInfoRecording), {Text(store.RecordingRunning() ? TxCliOn : TxCliOff)}));
        out.result(Format(Text(TxCliInfoStartMode), {Text(timerStart ? TxCliStartTimer : TxCliStartManual)}));
        out.result(Format(Text(TxCliInfoMemoryUse), {store.value(Field::MemoryUse).trimmed()}));
        out.result(Format(Text(TxCliInfoAlarms), {alarms.isEmpty() ? Text(TxCliNoAlarms) : alarms.join(QStringLiteral(", "))}));
        if (latency)
            out.result(Format(Text(TxCliInfoLatency), {QString::number(*latency)}));
        finish(ExitDone);
    });
}

void RunReadConfig(CliSession &session, Finish finish)
{
    // decided before the instrument is asked, so that its answer is not lost on a file kept
    const QString name = session.options().file;
    const Model::TargetInfo target = Model::InspectTarget(name);
    if (target.kind == Model::TargetKind::Refused || (target.exists && !session.options().force)) {
        session.StatusMessage(target.exists ? Format(Text(TxCliFileExists), {name})
                                            : CliSession::cannotWrite(name, Model::SystemReason(target.error)),
                              true);
        return finish(ExitFile);
    }
    session.engine().ReadConfigFromDevice();
    session.whenIdle([&session, finish, name] {
        // a configuration the instrument did not deliver whole is not saved
        if (sequenceFailed(session))
            return finish(ExitInstrument);
        Files::ConfigFiles files(session.tables().Fields, session.param(), QDir::currentPath(), fileHooks(session));
        session.StatusMessage(Format(Text(TxSavingConfigTo), {name}), false);
        finish(files.WriteConfigFile(name) ? ExitDone : ExitFile);
    });
}

void RunWriteConfig(CliSession &session, Finish finish)
{
    const QString name = session.options().file;
    const QFileInfo info(name);
    QFile probe(name);
    if (!info.isFile() || !probe.open(QIODevice::ReadOnly)) {
        session.StatusMessage(Format(Text(TxCliCannotRead), {name}), true);
        return finish(ExitFile);
    }
    probe.close();

    // Keys of values that only the program keeps may be missing; the instrument's own may
    // not, as nothing else would stand in for them.
    Link::Tables &tables = session.tables();
    QStringList missingSent;
    Files::ConfigFileHooks hooks = fileHooks(session);
    hooks.ConfirmMissingKeys = [&](const QString &, const QStringList &missing) {
        const int own = Files::ConfigFiles::OwnLanguage(session.param().ProgramLanguage);
        for (const Model::TVComp &info : Model::FieldTable)
            if (missing.contains(Model::fileKey(info.id, own)) && sentToInstrument(info.id))
                missingSent << Model::fileKey(info.id, own);
        if (missingSent.isEmpty())
            session.console().message(Format(Text(TxCliKeysMissingKept), {missing.join(QStringLiteral(", "))}));
        return missingSent.isEmpty();
    };
    Files::ConfigFiles files(tables.Fields, session.param(), QDir::currentPath(), hooks);
    const Files::ConfigReadResult read = files.ReadConfigFile(name);
    session.takeErrors();    // the reader's "not taken" is said better below
    if (read.outcome != Files::ConfigReadResult::Taken) {
        session.StatusMessage(Format(Text(TxCliKeysMissing), {name, missingSent.join(QStringLiteral(", "))}), true);
        return finish(ExitFile);
    }
    // every value the instrument would refuse is named, and none is sent
    if (session.reportRejectedValues(Model::FileSlot))
        return finish(ExitFile);

    session.takeFailedOrders();
    session.engine().WriteConfigToDevice();
    session.whenIdle([&session, finish] { finish(reportConfigWritten(session)); });
}

void RunSetClock(CliSession &session, Finish finish)
{
    // on the next full second, so the instrument's clock is not up to a second behind
    const int wait = 1000 - QTime::currentTime().msec();
    QTimer::singleShot(wait, Qt::PreciseTimer, &session, [&session, finish] {
        const QDateTime now = QDateTime::currentDateTime();
        Model::FieldStore &store = session.store();
        store.setValue(Model::Field::DeviceDate, now.toString(QStringLiteral("dd.MM.yyyy")));
        store.setValue(Model::Field::DeviceTime, now.toString(QStringLiteral("HH:mm:ss")));
        session.engine().setNoAnswerCount(0);
        session.engine().QueueOrder(Link::Order::SDA);
        session.whenIdle([&session, finish] {
            if (sequenceFailed(session))
                return finish(ExitInstrument);
            session.console().result(clockLine(session, TxCliClockSet, session.store().value(Model::Field::DeviceDate),
                                                     session.store().value(Model::Field::DeviceTime)));
            finish(ExitDone);
        });
    });
}

void RunDirectory(CliSession &session, Finish finish)
{
    auto reader = std::make_shared<Measure::MemoryReader>(session.engine());
    session.engine().setAbandonBlockRead([reader] { reader->AbandonBlockRead(); });
    reader->LoadDirectory();
    session.whenIdle([&session, finish, reader] {
        session.engine().setAbandonBlockRead({});
        // an entry the reader skipped was reported; the others are shown, the status says 1
        const bool rejected = session.reportRejectedValues(Model::TelegramSlot);
        const bool skipped = !session.takeErrors().isEmpty();
        if (rejected || (skipped && !reader->lastDirectoryComplete()))
            return finish(ExitInstrument);
        if (session.options().json) {
            QJsonArray blocks;
            for (const Measure::TBlockHeader &b : reader->directory())
                blocks.append(QJsonObject{
                    {QStringLiteral("block"), b.BlockNr},
                    {QStringLiteral("start"), Measure::DaysToDateTime(b.StartDate + b.StartTime).toString(kIsoDateTime)},
                    {QStringLiteral("intervalSeconds"), qint64(std::llround(b.Interval * 86400.0))},
                    {QStringLiteral("analog"), b.HasAnalog != 0},
                    {QStringLiteral("humiditySensors"), b.HumCount},
                    {QStringLiteral("temperatureSensors"), b.TempCount},
                    {QStringLiteral("overwritten"), qint64(b.OverwriteCount)},
                    {QStringLiteral("firstRecord"), Measure::DaysToDateTime(b.FirstRecordTime).toString(kIsoDateTime)}});
            printJson(session, {{QStringLiteral("blocks"), blocks}});
        } else {
            QStringList headings;
            for (const QString &h : Measure::DirectoryHeadings())
                headings << h.trimmed();
            session.console().result(headings.join(u';'));
            for (const Measure::TBlockHeader &block : reader->directory()) {
                QStringList cells;
                for (const QString &c : Measure::DirectoryRowTexts(block, session.formats()))
                    cells << c.trimmed();
                session.console().result(cells.join(u';'));
            }
        }
        if (skipped)
            session.StatusMessage(Text(TxCliEntriesSkipped), true);
        finish(skipped ? ExitInstrument : ExitDone);
    });
}

} // namespace Cli
