#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace Files {

// What `download --new` took from one instrument: per block (number and first record time) how
// many records went into which file and how long that file was then. The directory does not
// tell how many records a block holds, and the instrument refuses to be read while it records:
// the last block is kept open, as a recording may go on in it, and is read on from its first
// new record once the memory in use has changed or a later block has begun.
struct DownloadState
{
    static constexpr int kFormat = 1;

    struct Block
    {
        int nr = 0;
        QString start;          // first record time, "yyyy-MM-ddTHH:mm:ss"
        qint64 records = 0;     // records of the block passed to the file, skipped ones included
        QString file;           // name inside the output folder
        qint64 bytes = 0;       // the file's length after them
        bool open = false;      // the last block when read: a recording may add to it
    };

    QString serial;
    QString memoryUse;          // as the instrument reported it after the last complete run
    QList<Block> blocks;

    Block *find(int nr, const QString &start);
    // replaces the entry of the same block or adds one
    void put(const Block &block);
    QByteArray toJson() const;

    enum class Load { Ok, Missing, Damaged, Future };
    // A missing file is an empty state; anything else that is not a state of this format or
    // an older one is refused, so it is never overwritten.
    static Load read(const QString &path, DownloadState &state);
};

} // namespace Files
