#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <sys/types.h>

namespace Model {

// Writes a file whole or not at all. A file (or a name not there yet) is written to a hidden
// temporary file beside it, synced and renamed over it, so a failure at any point leaves the
// previous file as it was; the file keeps its permissions and owner, a symbolic link stays a
// link to the new file. A device, a pipe or a named descriptor ("-") is written directly, as it
// cannot be replaced; a folder and a disk device are refused. Errors keep the system's number,
// so the message can give the reason in the program's language.
class WholeFile
{
public:
    explicit WholeFile(QString path);
    ~WholeFile();       // a file not committed is discarded
    WholeFile(const WholeFile &) = delete;
    WholeFile &operator=(const WholeFile &) = delete;

    bool open();
    bool write(QByteArrayView bytes);
    // a file is written to its temporary file, which can seek; a stream cannot
    bool canSeek() const { return m_fd >= 0 && !m_temporary.isEmpty(); }
    bool seek(qint64 position);
    bool commit();
    void cancel();

    // errno, or one of the errors of FileTargets.h; 0 while nothing failed
    int error() const { return m_error; }
    QString errorText() const;

private:
    bool fail(int error);
    void closeDescriptor();

    QString m_path;
    QByteArray m_target;        // the file renamed over, links resolved
    QByteArray m_temporary;     // empty when written directly
    int m_fd = -1;
    int m_error = 0;
    bool m_existed = false;
    mode_t m_mode = 0;
    uid_t m_uid = 0;
    gid_t m_gid = 0;
};

// The whole of `bytes` as the file `path`; false with the reason in `reason`.
bool WriteWholeFile(const QString &path, QByteArrayView bytes, QString *reason = nullptr);

} // namespace Model
