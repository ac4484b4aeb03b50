#pragma once

#include "cli/DeviceCommands.h"

#include "files/DownloadState.h"
#include "measure/MemoryReader.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>

#include <vector>

namespace Cli {

class CliSession;

// download: the directory, then each chosen block into its own text file or workbook, as the
// windows write them. Every name, every field choice and every existing file is checked before
// the first record is asked for, so a refused download leaves nothing behind.
class DownloadCommand : public QObject, public Measure::MemoryView
{
    Q_OBJECT
public:
    DownloadCommand(CliSession &session, Finish finish, QObject *parent = nullptr);
    ~DownloadCommand() override;

    void start();

    // "QT8800_yyyymmddhhnnss.csv" (or "xlsx", "xlsm"): the block's first record time.
    static QString FileNameFor(const Measure::TBlockHeader &block, const QString &suffix);

private:
    struct Job
    {
        int index = 0;              // in the directory
        qint32 blockNr = 0;
        QList<bool> marks;
        QString path;
        // --new
        qint64 skip = 0;            // records taken by earlier runs
        qint64 keepBytes = -1;      // >= 0: the rows go after this much of the file there
        bool open = false;          // the instrument records into it
        QString start;
    };

    void readDirectory();
    void directoryRead();
    bool planJobs();
    void readNext();
    void blockRead();
    bool saveBlock(const Job &job);
    bool appendBlock(const Job &job);
    // --new: the state file, refused (false, done) when unusable
    bool loadState();
    // --new: the blocks to read, those the state has seen whole left out; false when done
    bool newBlocks(QList<int> &indices);
    bool saveState(const Job &job);
    bool toStandardOutput() const;
    // 1 for a run that skipped an unusable directory entry but went well otherwise
    int finalCode(int code);
    void done(int code);

    // MemoryView
    void DirectoryCleared() override {}
    void DirectoryRowAdded(int) override {}
    void DirectoryFinished() override {}
    void FieldListBuilt(int) override {}
    void ReadStarted(const Measure::TBlockHeader &block) override;
    void RowsWritten(int rows) override;
    void ReadEnded() override {}
    void showCount(bool force);

    CliSession &m_session;
    Finish m_finish;
    Measure::MemoryReader m_reader;
    Measure::TextSink m_text;
    Measure::WorkbookSink m_workbook{true};
    Measure::RecordSink *m_sink;        // the one of the two the options chose
    std::vector<Job> m_jobs;
    std::size_t m_next = 0;
    qint32 m_readingBlock = 0;
    qint64 m_rows = 0;
    bool m_entriesSkipped = false;
    QElapsedTimer m_shown;
    Files::DownloadState m_state;
    QString m_memoryUse;                // --new: as the instrument reports it now
    QString m_template;                 // the workbook to fill (a converted copy of an old one)
};

} // namespace Cli
