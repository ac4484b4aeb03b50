#include "link/TelegramCodec.h"

#include "model/Win1252.h"

namespace Link {

std::optional<QString> GetToken(QStringView text, QStringView separators, int number)
{
    if (text.isEmpty() || separators.isEmpty() || number < 1)
        return std::nullopt;
    qsizetype start = 0;
    int count = 0;
    // the text is read as if the first separator were appended, so the last token ends too
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !separators.contains(text[i]))
            continue;
        if (++count == number)
            return text.mid(start, i - start).toString();
        start = i + 1;
    }
    return std::nullopt;
}

int TokenCount(QStringView text, QStringView separators)
{
    if (text.isEmpty() || separators.isEmpty())
        return 0;
    int count = 1;
    for (QChar c : text)
        if (separators.contains(c))
            ++count;
    return count;
}

int ByteSum(QByteArrayView bytes)
{
    int sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    return sum;
}

QByteArray AppendChecksum(QByteArray body)
{
    // five low-order digits with leading zeros
    body += QByteArray::number(ByteSum(body) + 100000).mid(1, 5);
    body += "\r\n";
    return body;
}

QByteArray ComposeRequest(const Tables &tables, Order order, const QString &parameter)
{
    const TTXTab &entry = orderInfo(order);
    QByteArray body = QByteArray(entry.code) + ';';
    if (!parameter.isEmpty()) {
        body += TextToTelegram(parameter) + ';';
    } else {
        for (Model::Field field : entry.fields) {
            tables.Fields.Form2Dat(field, Model::TelegramSlot);
            body += TextToTelegram(tables.Fields[field].TelegramText) + ';';
        }
    }
    return AppendChecksum(std::move(body));
}

std::optional<Reply> IdentifyReply(QStringView text)
{
    const auto code = GetToken(text, u";", 1);
    if (!code)
        return std::nullopt;
    for (const TRXTab &reply : ReplyTable)
        if (code->compare(QLatin1StringView(reply.code), Qt::CaseInsensitive) == 0)
            return reply.id;
    return std::nullopt;
}

ReplyCheck CheckReply(const QByteArray &telegram)
{
    ReplyCheck check;
    const qsizetype length = telegram.size();
    if (length <= 7)
        return check;

    bool ok = false;
    const int sum = telegram.mid(length - 7, 5).toInt(&ok);
    const QByteArray body = telegram.left(length - 7);
    check.text = TelegramToText(body);
    if (!ok) {
        check.status = ReplyStatus::NoChecksum;
        return check;
    }
    if (sum != ByteSum(body)) {
        check.status = ReplyStatus::BadChecksum;
        return check;
    }
    if (body.contains('?')) {
        check.status = ReplyStatus::Refused;
        return check;
    }
    check.reply = IdentifyReply(check.text);
    check.status = check.reply ? ReplyStatus::Ok : ReplyStatus::Unknown;
    return check;
}

QString TelegramToText(QByteArrayView bytes)
{
    return Model::FromWin1252(bytes);
}

QByteArray TextToTelegram(QStringView text)
{
    return Model::ToWin1252(text);
}

} // namespace Link
