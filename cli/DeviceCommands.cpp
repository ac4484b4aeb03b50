#include "cli/DeviceCommands.h"

#include "cli/CliSession.h"

#include "files/ConfigFiles.h"
#include "lang/Texts.h"
#include "measure/MemoryReader.h"
#include "model/StatusTables.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

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
bool sentToInstrument(const Link::Tables &tables, int field)
{
    for (const Link::TTXTab &order : tables.Orders)
        if (order.Fields.contains(field))
            return true;
    return false;
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
        Model::DecodeAlarmMask(session.tables().Status, store.value(27), state);
        Console &out = session.console();
        out.result(Format(Text(TxCliInfoSerial), {store.value(0)}));
        out.result(Format(Text(TxCliInfoVersion), {store.value(1)}));
        out.result(Format(Text(TxCliInfoHours), {store.value(2)}));
        out.result(Format(Text(TxCliInfoClock), {store.value(3), store.value(4)}));
        out.result(Format(Text(TxCliInfoRecording), {Text(store.RecordingRunning() ? TxCliOn : TxCliOff)}));
        out.result(Format(Text(TxCliInfoStartMode),
                          {Text(store.value(34) == QLatin1String("1") ? TxCliStartTimer : TxCliStartManual)}));
        out.result(Format(Text(TxCliInfoMemoryUse), {store.value(29).trimmed()}));
        QStringList alarms;
        for (const QString &a : std::as_const(state.AlarmTexts))
            alarms << a.trimmed();
        out.result(Format(Text(TxCliInfoAlarms), {alarms.isEmpty() ? Text(TxCliNoAlarms) : alarms.join(QStringLiteral(", "))}));
        finish(ExitDone);
    });
}

void RunReadConfig(CliSession &session, Finish finish)
{
    session.engine().ReadConfigFromDevice();
    session.whenIdle([&session, finish] {
        // a configuration the instrument did not deliver whole is not saved
        if (sequenceFailed(session))
            return finish(ExitInstrument);
        Files::ConfigFiles files(session.tables().FieldTable, session.param(), QDir::currentPath(), fileHooks(session));
        const QString name = session.options().file;
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
        for (int i = 0; i < tables.FieldTable.size(); ++i)
            if (missing.contains(tables.FieldTable[i].Keys.value(own)) && sentToInstrument(tables, i))
                missingSent << tables.FieldTable[i].Keys.value(own);
        if (missingSent.isEmpty())
            session.console().message(Format(Text(TxCliKeysMissingKept), {missing.join(QStringLiteral(", "))}));
        return missingSent.isEmpty();
    };
    Files::ConfigFiles files(tables.FieldTable, session.param(), QDir::currentPath(), hooks);
    const Files::ConfigReadResult read = files.ReadConfigFile(name);
    session.takeErrors();    // the reader's "not taken" is said better below
    if (read.outcome != Files::ConfigReadResult::Taken) {
        session.StatusMessage(Format(Text(TxCliKeysMissing), {name, missingSent.join(QStringLiteral(", "))}), true);
        return finish(ExitFile);
    }
    if (session.reportRejectedValues(Model::FileSlot))
        return finish(ExitFile);

    session.engine().WriteConfigToDevice();
    session.whenIdle([&session, finish] { finish(sequenceFailed(session) ? ExitInstrument : ExitDone); });
}

void RunSetClock(CliSession &session, Finish finish)
{
    // on the next full second, so the instrument's clock is not up to a second behind
    const int wait = 1000 - QTime::currentTime().msec();
    QTimer::singleShot(wait, Qt::PreciseTimer, &session, [&session, finish] {
        const QDateTime now = QDateTime::currentDateTime();
        Model::FieldStore &store = session.store();
        store.setValue(3, now.toString(QStringLiteral("dd.MM.yyyy")));
        store.setValue(4, now.toString(QStringLiteral("HH:mm:ss")));
        session.engine().setNoAnswerCount(0);
        session.engine().QueueOrderByIndex(Link::Orders::SDA);
        session.whenIdle([&session, finish] {
            if (sequenceFailed(session))
                return finish(ExitInstrument);
            session.console().result(Format(Text(TxCliClockSet), {session.store().value(3), session.store().value(4)}));
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
        if (sequenceFailed(session))
            return finish(ExitInstrument);
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
        finish(ExitDone);
    });
}

} // namespace Cli
