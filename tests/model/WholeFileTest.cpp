// Files written whole or not at all, and what is not a file written directly or refused.
#include "FileSizeLimit.h"

#include "model/FileTargets.h"
#include "model/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Model;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

TEST(WholeFile, ReplacesThroughALinkKeepingModeAndLeavesNothingBehind)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("real.csv"), link = dir.filePath("link.csv");
    ASSERT_TRUE(WriteWholeFile(file, "old"));
    ::chmod(QFile::encodeName(file).constData(), 0640);
    ASSERT_TRUE(QFile::link(file, link));
    QString reason;
    ASSERT_TRUE(WriteWholeFile(link, "new", &reason)) << qPrintable(reason);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contents(file), "new");
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);

    // a disk that takes only part of it: the old file stays whole, no temporary file stays
    bool written = true;
    {
        FileSizeLimit limit(1024);
        written = WriteWholeFile(file, QByteArray(8192, 'x'), &reason);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(reason, "Datei zu groß");
    EXPECT_EQ(contents(file), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

TEST(WholeFile, WhatIsNoFileIsWrittenDirectlyOrRefusedWithTheReason)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case
    {
        QString path;
        const char *reason;     // nullptr: written
    } cases[] = {
        {QStringLiteral("/dev/full"), "Datenträger voll"},
        {dir.path(), "ist ein Ordner"},
        {dir.filePath("gone/x.csv"), "Datei oder Ordner fehlt"},
        {fifo, "niemand liest aus der Pipe, oder das Gerät fehlt"},
    };
    for (const Case &c : cases) {
        QString reason;
        EXPECT_FALSE(WriteWholeFile(c.path, "row\r\n", &reason)) << qPrintable(c.path);
        EXPECT_EQ(reason, QString::fromUtf8(c.reason)) << qPrintable(c.path);
    }
    EXPECT_EQ(InspectTarget(QStringLiteral("/dev/full")).kind, TargetKind::Stream);

    // with a reader the pipe gets the bytes and stays a pipe
    QByteArray got;
    std::thread reader([&] {
        QFile in(fifo);
        if (in.open(QIODevice::ReadOnly))
            got = in.readAll();
    });
    bool written = false;
    for (int attempt = 0; attempt < 200 && !written; ++attempt) {
        written = WriteWholeFile(fifo, "row\r\n");
        if (!written)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    reader.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(got, "row\r\n");
    struct stat st = {};
    EXPECT_TRUE(::stat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
}

TEST(FileTargets, DescriptorNamesAndFoldersTakenBack)
{
    EXPECT_EQ(NamedDescriptor("-"), 1);
    EXPECT_EQ(NamedDescriptor("/dev/stdout"), 1);
    EXPECT_EQ(NamedDescriptor("/proc/self/fd/7"), 7);
    EXPECT_EQ(NamedDescriptor("./-"), std::nullopt);

    QTemporaryDir dir;
    MadeFolders made;
    int error = 0;
    ASSERT_TRUE(made.make(dir.filePath("a/b"), &error));
    ASSERT_TRUE(made.make(dir.filePath("c"), &error));
    EXPECT_TRUE(WriteWholeFile(dir.filePath("c/kept.csv"), "x"));
    EXPECT_FALSE(made.make(dir.filePath("c/kept.csv/d"), &error));
    EXPECT_EQ(error, ENOTDIR);
    made.removeEmpty();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("c/kept.csv")));
}
