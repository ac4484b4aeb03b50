#include "FakePort.h"

#include "link/TrafficLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using Link::TrafficLog;

namespace {

QByteArrayList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArrayList lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

struct LogFixture : testing::Test
{
    QTemporaryDir dir;
    RecordingSink sink;
    TrafficLog log{sink};
    QDateTime clock{QDate(2026, 12, 7), QTime(23, 16, 22, 45)};
    void SetUp() override
    {
        log.setDirectory(dir.path());
        log.setVersion("1.0.0");
        log.setClock([this] { return clock; });
    }
};

} // namespace

TEST_F(LogFixture, WritesHeaderEntriesAndFooterAsWindowsText)
{
    log.OpenTrafficLog();
    ASSERT_TRUE(log.isOpen());
    EXPECT_EQ(log.fileName(), dir.path() + "/QT8800_20261207231622.txt");
    log.WriteTrafficLine("PC", QByteArrayView("GIN;00281\r\n"));
    log.WriteTrafficText("Con", QStringLiteral("Prüfsummenfehler. ä"));
    log.CloseTrafficLog();

    const QByteArrayList lines = readLines(dir.path() + "/QT8800_20261207231622.txt");
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[0], "Ionometer QT 8800       Protokolldatei Datenverkehr  - Vers.: 1.0.0\r");
    EXPECT_EQ(lines[1], " \r");
    EXPECT_EQ(lines[2], "Protokollstart am 07.12.2026 um  23:16:22 Uhr \r");
    EXPECT_EQ(lines[4], "Sender \tZeit   \tDaten\r");
    EXPECT_EQ(lines[5], QByteArray(74, '-') + '\r');
    EXPECT_EQ(lines[6], "PC\t23:16:22:045\tGIN;00281<13><10>\r");
    EXPECT_EQ(lines[7], "Con\t23:16:22:045\tPr<252>fsummenfehler. <228>\r");
    EXPECT_EQ(lines[8], "Ende Protokoll am 07.12.2026 um  23:16:22 Uhr \r");
    EXPECT_EQ(sink.messages.last(), "I:Protokolldatei: " + log.fileName() + " geöffnet");

    // another run started in the same second gets a file of its own
    TrafficLog second{sink};
    second.setDirectory(dir.path());
    second.setClock([this] { return clock; });
    second.OpenTrafficLog();
    EXPECT_EQ(second.fileName(), dir.path() + "/QT8800_20261207231622_2.txt");
    second.CloseTrafficLog();
    EXPECT_EQ(readLines(dir.path() + "/QT8800_20261207231622.txt"), lines);
}

TEST_F(LogFixture, TickingAgainWhileOpenAddsARestartLine)
{
    log.OpenTrafficLog();
    clock = clock.addSecs(5);
    log.OpenTrafficLog();
    log.CloseTrafficLog();
    const QByteArrayList lines = readLines(log.fileName());
    EXPECT_EQ(lines[6], "Protokollstart am 07.12.2026 um  23:16:27 Uhr \r");
}

TEST_F(LogFixture, EmptyDirectoryMeansTheCurrentOne)
{
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    log.setDirectory(QString());
    EXPECT_TRUE(log.WriteTrafficLine("QT8800", QByteArrayView("TIN;1;2;3;00621\r\n")));
    EXPECT_EQ(log.directory(), QStringLiteral("."));
    log.CloseTrafficLog();
    QDir::setCurrent(old);
    const QByteArrayList lines = readLines(dir.path() + "/QT8800_20261207231622.txt");
    ASSERT_GE(lines.size(), 7);
    EXPECT_EQ(lines[6], "QT8800\t23:16:22:045\tTIN;1;2;3;00621<13><10>\r");
}

TEST_F(LogFixture, MissingDirectoryReportsEveryAttemptAndWritesNothing)
{
    log.setDirectory(dir.path() + "/missing");
    EXPECT_FALSE(log.WriteTrafficLine("PC", QByteArrayView("GIN;00281\r\n")));
    EXPECT_FALSE(log.WriteTrafficLine("PC", QByteArrayView("GIN;00281\r\n")));
    EXPECT_FALSE(log.isOpen());
    ASSERT_EQ(sink.errors().size(), 2);
    EXPECT_EQ(sink.errors()[0],
              "Datei >>" + dir.path() + "/missing/QT8800_20261207231622.txt<< konnte nicht geöffnet werden! (Datei oder Ordner fehlt)");
}
