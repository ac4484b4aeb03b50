#pragma once

#include "cli/CliOptions.h"
#include "cli/Console.h"

#include "files/ParamRecord.h"
#include "link/Session.h"
#include "link/TelegramTables.h"
#include "measure/ColumnLayout.h"
#include "model/FieldStore.h"
#include "model/FileTargets.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

namespace Cli {

// The program's link without a window: the same tables and link session as the window, with the
// field values in a FieldStore and the status line on stderr. Every message the link reports as
// an error is remembered, so a command can tell its caller that it failed.
class CliSession : public QObject
{
    Q_OBJECT
public:
    CliSession(const CliOptions &options, Console &console, QObject *parent = nullptr);
    ~CliSession() override;

    // Opens the traffic log (when asked for) and the port; ExitDone, or the code to end with.
    int open();

    // Calls `then` from the event loop once the engine's queue has run empty or was dropped.
    void whenIdle(std::function<void()> then);

    // Errors reported since the last call.
    QStringList takeErrors() { return std::exchange(m_errors, {}); }
    bool hasErrors() const { return !m_errors.isEmpty(); }
    // The orders whose errors were reported since the last call, in order.
    QList<Link::Order> takeFailedOrders() { return std::exchange(m_failedOrders, {}); }
    // Reports the field values of this slot that did not convert, as errors; true if there were any.
    bool reportRejectedValues(Model::Slot slot);

    // the status line: errors are collected and shown, progress only on a terminal
    void StatusMessage(const QString &text, bool error);

    Link::Tables &tables() { return m_tables; }
    Model::FieldStore &store() { return m_store; }
    Link::Session &session() { return *m_session; }
    Link::ProtocolEngine &engine() { return m_session->engine(); }
    Link::SerialLink &serial() { return m_session->serial(); }
    Link::TrafficLog &log() { return m_session->log(); }
    bool lineUp() const { return m_session->serial().PortReady(); }
    Console &console() { return m_console; }
    const CliOptions &options() const { return m_options; }
    Files::ParamRecord &param() { return m_param; }
    // Dates and times as the system shows them, numbers with the chosen separator; with --iso
    // ISO 8601 dates and times and "." whatever the locale.
    const Measure::DisplayFormats &formats() const { return m_formats; }
    // Folders made for this run's output; a run that fails takes back the empty ones.
    Model::MadeFolders &folders() { return m_folders; }
    // Makes `dir` for output, or says why not (ExitFile); ExitDone when it is a folder now.
    int makeFolder(const QString &dir);

    // "The file %s cannot be written: reason", or that stdout cannot be written.
    static QString cannotWrite(const QString &path, const QString &reason);

    // The configuration key of a field in the program's language, or its control name.
    QString fieldName(Model::Field field) const;

private:
    const CliOptions &m_options;
    Console &m_console;
    Files::ParamRecord m_param;
    Measure::DisplayFormats m_formats;
    Link::Tables m_tables;
    Model::FieldStore m_store;
    std::unique_ptr<Link::Session> m_session;
    QStringList m_errors;
    QList<Link::Order> m_failedOrders;
    Model::MadeFolders m_folders;
};

} // namespace Cli
