#pragma once

#include "link/TelegramTables.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace Link {

// Token `number` (from 1) of `text` split at any character of `separators`; adjacent
// separators give empty tokens. Nothing when the text, the separators or the token is missing.
std::optional<QString> GetToken(QStringView text, QStringView separators, int number);
// The number of tokens, 0 for an empty text.
int TokenCount(QStringView text, QStringView separators);

// Sum of the byte values; the instrument's checksum.
int ByteSum(QByteArrayView bytes);

// Appends the five checksum digits and CR LF to a request body ("GIN;").
QByteArray AppendChecksum(QByteArray body);

// A request for `order`: an explicit parameter replaces the order's fields; otherwise each
// field's text is refreshed from its control first.
QByteArray ComposeRequest(const Tables &tables, Order order, const QString &parameter = {});

enum class ReplyStatus {
    Ok,             // identified; `reply` set
    Incomplete,     // 7 characters or fewer
    NoChecksum,     // the checksum digits are not a number
    BadChecksum,
    Refused,        // error telegram, contains "?"
    Unknown,        // no such reply code
};

struct ReplyCheck
{
    ReplyStatus status = ReplyStatus::Incomplete;
    QString text;           // the reply without checksum and terminator
    std::optional<Reply> reply;
};

std::optional<Reply> IdentifyReply(QStringView text);

// Framing, checksum, refusal and identification of a received telegram.
ReplyCheck CheckReply(const QByteArray &telegram);

// Telegram bytes as text: the line is 8-bit, and Windows-1252 is what the instrument's peers use.
QString TelegramToText(QByteArrayView bytes);
QByteArray TextToTelegram(QStringView text);

} // namespace Link
