#include "model/Win1252.h"

#include <gtest/gtest.h>

using namespace Model;

TEST(Win1252, RoundTripsTheCodePageAndReplacesWhatItCannotHold)
{
    const QString text = QStringLiteral("Prüfung € – “ÄÖÜß”");
    const QByteArray bytes = ToWin1252(text);
    EXPECT_EQ(bytes, QByteArray("Pr\xfc" "fung \x80 \x96 \x93\xc4\xd6\xdc\xdf\x94"));
    EXPECT_EQ(FromWin1252(bytes), text);
    EXPECT_EQ(ToWin1252(QStringLiteral("Ω")), QByteArray("?"));
}

TEST(Win1252, ValidUtf8IsReadAsUtf8AndAnythingElseAsWindowsText)
{
    EXPECT_EQ(DecodeUtf8OrWin1252(QByteArray("Gr\xc3\xb6\xc3\x9f" "e")), QStringLiteral("Größe"));
    EXPECT_EQ(DecodeUtf8OrWin1252(QByteArray("Gr\xf6\xdf" "e")), QStringLiteral("Größe"));
}
