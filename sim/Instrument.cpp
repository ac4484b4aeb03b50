#include "sim/Instrument.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace Sim {

namespace {

int byteSum(const QByteArray &bytes)
{
    int sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    return sum;
}

bool inRange(const QString &text, int low, int high, int *out = nullptr)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return false;
    if (out)
        *out = value;
    return true;
}

bool isTime(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\d{1,2}:\\d{1,2}:\\d{1,2}$"));
    return re.match(text).hasMatch();
}

bool isDuration(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\d{1,4}(:\\d{0,2})?$"));
    return re.match(text).hasMatch();
}

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

} // namespace

bool Faults::parse(const QString &text)
{
    const QStringList parts = text.split(u':');
    const QString kind = parts.value(0).trimmed().toLower();
    bool ok = true;
    const int count = parts.size() > 1 ? parts[1].toInt(&ok) : 1;
    if (!ok || count < 0)
        return false;
    if (kind == QLatin1String("silence")) silence = count;
    else if (kind == QLatin1String("badsum")) badChecksum = count;
    else if (kind == QLatin1String("error")) errorTelegram = count;
    else if (kind == QLatin1String("garbage")) garbage = count;
    else if (kind == QLatin1String("noise")) noise = count;
    else if (kind == QLatin1String("split")) split = count;
    else if (kind == QLatin1String("trailing")) trailing = count;
    else if (kind == QLatin1String("duplicate")) duplicate = count;
    else if (kind == QLatin1String("truncate")) truncate = count;
    else if (kind == QLatin1String("delay")) delayMs = count;
    else if (kind == QLatin1String("close")) closeLine = true;
    else return false;
    return true;
}

Instrument::Instrument() = default;

QByteArray Instrument::frame(const QByteArray &body)
{
    return body + QByteArray::number(byteSum(body) + 100000).mid(1, 5) + "\r\n";
}

QByteArray Instrument::answer(const QString &code, const QStringList &values)
{
    QByteArray body = code.toLatin1() + ';';
    for (const QString &v : values)
        body += v.toLatin1() + ';';
    return frame(body);
}

void Instrument::fillDemoMemory(int records)
{
    blocks.clear();
    const QDateTime day(QDate(2026, 11, 30), QTime(9, 0));
    Block ions;
    ions.number = 1;
    ions.start = day;
    ions.intervalSeconds = 600;
    for (int i = 0; i < 24; ++i) {
        const int avg = 1200 + 40 * i;
        ions.records.push_back({i == 5, false, avg - 80, avg, avg + 90, 0, 0, 0, {}});
    }
    blocks.push_back(ions);

    Block climate;
    climate.number = 2;
    climate.analog = 1;
    climate.humLow = 5;          // sensors 0 and 2
    climate.tempLow = 1;         // sensor 0
    climate.start = day.addDays(1);
    climate.intervalSeconds = 300;
    climate.overwriteCount = 3;
    for (int i = 0; i < records; ++i) {
        const double wave = std::sin(i / 6.0);
        const int avg = 2500 + int(400 * wave);
        climate.records.push_back({false, true, avg - 150, avg, avg + 170, 1.0 + wave, 2.0 + wave, 3.0 + wave,
                                   {45.0 + wave, 51.5 - wave, 21.0 + wave / 2}});
    }
    blocks.push_back(climate);

    Block sensors;
    sensors.number = 3;
    sensors.humLow = 5;          // sensors 0 and 2
    sensors.humHigh = 1;         // sensor 8
    sensors.tempHigh = 128;      // sensor 15
    sensors.start = QDateTime(QDate(2026, 12, 2), QTime(14, 0));
    sensors.intervalSeconds = 3600;
    sensors.overwriteCount = 2;
    for (int i = 0; i < 12; ++i) {
        const int avg = 900 + 25 * i;
        sensors.records.push_back({i == 4, i % 2 == 1, avg - 50, avg, avg + 60, 0, 0, 0,
                                   {40.0 + i, 55.5 - i / 2.0, 61.4, 18.5 + i * 0.3}});
    }
    blocks.push_back(sensors);
}

QByteArray Instrument::header(const char *code, std::size_t index) const
{
    if (index >= blocks.size())
        return frame(QByteArray(code) + ";0;");
    const Block &b = blocks[index];
    const int iv = b.intervalSeconds;
    const QString interval = QStringLiteral("%1:%2:%3").arg(iv / 3600).arg(iv / 60 % 60, 2, 10, QChar(u'0')).arg(iv % 60, 2, 10, QChar(u'0'));
    const QStringList values{QString::number(b.number), QString::number(b.analog), QString::number(b.humLow),
                             QString::number(b.humHigh), QString::number(b.tempLow), QString::number(b.tempHigh),
                             b.start.toString(QStringLiteral("dd.MM.yyyy")), b.start.toString(QStringLiteral("HH:mm")),
                             interval, QString::number(b.overwriteCount)};
    QByteArray body = QByteArray(code) + ';';
    for (const QString &v : values)
        body += v.toLatin1() + ';';
    return frame(body);
}

QByteArray Instrument::record(const char *code, const Block &b, std::size_t index) const
{
    if (index >= b.records.size())
        return frame(QByteArray(code) + ";0;");
    const Record &r = b.records[index];
    QStringList values{QString::number(b.number), QStringLiteral("0"), r.alarm ? QStringLiteral("1") : QStringLiteral("0"),
                       r.negative ? QStringLiteral("-") : QStringLiteral("+"), QString::number(r.ionMin),
                       r.garbled ? QStringLiteral("12x4") : QString::number(r.ionAvg), QString::number(r.ionMax)};
    if (b.analog == 1)
        values << number(r.anaMin, 3) << number(r.anaAvg, 3) << number(r.anaMax, 3);
    std::size_t sensor = 0;
    const int masks[4] = {b.humLow, b.humHigh, b.tempLow, b.tempHigh};
    for (int m = 0; m < 4; ++m) {
        for (int bit = 0; bit < 8; ++bit) {
            if (!(masks[m] & (1 << bit)))
                continue;
            const int address = (m >= 2 ? 16 : 0) + (m % 2) * 8 + bit;
            const double value = sensor < r.sensors.size() ? r.sensors[sensor] : 0.0;
            values << QStringLiteral("%1:%2").arg(address).arg(number(value, 1));
            ++sensor;
        }
    }
    QByteArray body = QByteArray(code) + ';';
    for (const QString &v : values)
        body += v.toLatin1() + ';';
    return frame(body);
}

QByteArray Instrument::handle(const QByteArray &request)
{
    ++requests;
    QByteArray line = request;
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    m_served = Served{};
    m_served.code = line.left(3).toUpper();
    const QByteArray reply = serve(line);
    m_served.answered = !reply.isEmpty();
    m_served.refused = reply.contains('?');
    m_served.intact = m_served.answered && !m_served.faults.contains(QLatin1String("truncate"))
                      && !m_served.faults.contains(QLatin1String("badsum"));
    return reply;
}

QByteArray Instrument::serve(const QByteArray &line)
{
    if (faults.silence > 0) {
        --faults.silence;
        m_served.faults << QStringLiteral("silence");
        return {};
    }
    if (line.size() < 9)
        return frame("?;");
    const QByteArray body = line.left(line.size() - 5);
    bool ok = false;
    if (line.right(5).toInt(&ok) != byteSum(body) % 100000 || !ok)
        return frame("?;");
    const QString code = QString::fromLatin1(body.left(3)).toUpper();
    const QStringList args = QString::fromLatin1(body).split(u';').mid(1, body.count(';') - 1);
    const QString a1 = args.value(0), a2 = args.value(1);

    if (faults.errorTelegram > 0) {
        --faults.errorTelegram;
        m_served.faults << QStringLiteral("error");
        return frame(code.toLatin1() + ";?;");
    }

    auto refuse = [&] { return frame(code.toLatin1() + ";?;"); };
    auto setInt = [&](int &target, int low, int high, const char *reply) {
        if (!inRange(a1, low, high, &target))
            return refuse();
        return answer(QString::fromLatin1(reply), {QString::number(target)});
    };
    auto setText = [&](QString &target, bool valid, const char *reply) {
        if (!valid)
            return refuse();
        target = a1;
        return answer(QString::fromLatin1(reply), {target});
    };
    QByteArray reply;
    if (code == QLatin1String("GIN")) reply = answer("TIN", {serial, version, hours});
    else if (code == QLatin1String("GDA")) {
        // read only here: the clock costs a time-zone lookup, which long memory reads do not need
        const QDateTime clock = now().addSecs(clockOffsetSecs);
        reply = answer("TDA", {clock.toString("dd.MM.yyyy"), clock.toString("HH:mm:ss")});
    }
    else if (code == QLatin1String("SDA")) {
        const QDateTime set(QDate::fromString(a1, QStringLiteral("dd.MM.yyyy")), QTime::fromString(a2, QStringLiteral("HH:mm:ss")));
        if (!set.isValid())
            return refuse();
        clockOffsetSecs = now().secsTo(set);
        reply = answer("TDA", {set.toString("dd.MM.yyyy"), set.toString("HH:mm:ss")});
    }
    else if (code == QLatin1String("GAO")) reply = answer("TAO", {QString::number(anaOut)});
    else if (code == QLatin1String("SAO")) reply = setInt(anaOut, 0, 3, "TAO");
    else if (code == QLatin1String("GAT")) reply = answer("TAT", {polInter});
    else if (code == QLatin1String("SAT")) reply = setText(polInter, isTime(a1), "TAT");
    else if (code == QLatin1String("GDO")) reply = answer("TDO", {QString::number(outMeas)});
    else if (code == QLatin1String("SDO")) reply = setInt(outMeas, 1, 3, "TDO");
    else if (code == QLatin1String("GMT")) reply = answer("TMT", {QString::number(memEnd)});
    else if (code == QLatin1String("SMT")) reply = setInt(memEnd, 0, 1, "TMT");
    else if (code == QLatin1String("GDM")) reply = answer("TDM", {duration});
    else if (code == QLatin1String("SDM")) reply = setText(duration, isDuration(a1), "TDM");
    else if (code == QLatin1String("GRA")) reply = answer("TRA", {QString::number(range)});
    else if (code == QLatin1String("SRA")) reply = setInt(range, 0, 9, "TRA");
    else if (code == QLatin1String("GLA")) reply = answer("TLA", {QString::number(language)});
    else if (code == QLatin1String("SLA")) reply = setInt(language, 0, 1, "TLA");
    else if (code == QLatin1String("GZI")) reply = answer("TZI", {zi});
    else if (code == QLatin1String("SZI")) reply = setText(zi, isTime(a1), "TZI");
    else if (code == QLatin1String("GSM")) reply = answer("TSM", {startDate, startTime});
    else if (code == QLatin1String("SSM")) {
        if (!QRegularExpression(QStringLiteral("^\\d{1,2}\\.\\d{1,2}$")).match(a1).hasMatch() || !isTime(a2))
            return refuse();
        startDate = a1;
        startTime = a2;
        reply = answer("TSM", {startDate, startTime});
    }
    else if (code == QLatin1String("GTI")) reply = answer("TTI", {measInt});
    else if (code == QLatin1String("STI")) reply = setText(measInt, isTime(a1), "TTI");
    else if (code == QLatin1String("CME")) {
        blocks.clear();
        memUse = 0;
        reply = answer("CME", {QStringLiteral("1")});
    }
    else if (code == QLatin1String("SZA")) reply = answer("SZA", {QStringLiteral("1")});
    else if (code == QLatin1String("GIP")) reply = answer("TIP", {QString::number(polarity)});
    else if (code == QLatin1String("SIP")) reply = setInt(polarity, 0, 1, "TIP");
    else if (code == QLatin1String("GMM")) reply = answer("TMM", {recording ? "1" : "0"});
    else if (code == QLatin1String("SMM")) {
        int on = 0;
        if (!inRange(a1, 0, 1, &on))
            return refuse();
        recording = on == 1;
        reply = answer("TMM", {recording ? "1" : "0"});
    }
    else if (code == QLatin1String("GAE")) reply = answer("TAE", {QString::number(anaIn)});
    else if (code == QLatin1String("SAE")) reply = setInt(anaIn, 0, 1, "TAE");
    else if (code == QLatin1String("GST"))
        reply = answer("TST", {recording ? "1" : "0", timerStarted ? "1" : "0", QStringLiteral("0"),
                               QString::number(alarmMask), QString::number(memUse)});
    else if (code == QLatin1String("GPT")) reply = answer("TPT", {QString::number(polAlter)});
    else if (code == QLatin1String("SPT")) reply = setInt(polAlter, 0, 1, "TPT");
    else if (code == QLatin1String("GTM")) reply = answer("TTM", {QString::number(startMode)});
    else if (code == QLatin1String("STM")) reply = setInt(startMode, 0, 1, "TTM");
    else if (code == QLatin1String("GZP")) reply = answer("TZP", {QString::number(zeroAtStart)});
    else if (code == QLatin1String("SZP")) reply = setInt(zeroAtStart, 0, 1, "TZP");
    else if (code == QLatin1String("GAM")) {
        // a slow wave so a live view has something to show
        const double phase = requests / 10.0;
        const int value = std::max(0, ionValue + int(ionValue * 0.2 * std::sin(phase)));
        QStringList values{QString::number(std::max(1, range)), polarity ? QStringLiteral("-") : QStringLiteral("+"),
                           QString::number(value)};
        if (anaIn)
            values << QStringLiteral("+%1").arg(number(analogVolts + 0.5 * std::sin(phase), 3));
        for (const auto &[address, v] : liveSensors)
            values << QStringLiteral("%1:%2").arg(address, 2, 10, QChar(u'0')).arg(number(v, 1));
        reply = answer("TAM", values);
    }
    else if (code == QLatin1String("GFH")) {
        if (recording)
            return refuse();
        reply = header("TFH", 0);
        m_nextHeader = 1;
        m_served.block = blocks.empty() ? 0 : blocks[0].number;
    }
    else if (code == QLatin1String("GNH")) {
        reply = header("TNH", m_nextHeader);
        m_served.block = m_nextHeader < blocks.size() ? blocks[m_nextHeader].number : 0;
        ++m_nextHeader;
    }
    else if (code == QLatin1String("GFM") || code == QLatin1String("GNM")) {
        const bool first = code == QLatin1String("GFM");
        if (first && recording)
            return refuse();
        const int number = a1.toInt();
        const auto block = std::find_if(blocks.begin(), blocks.end(), [&](const Block &b) { return b.number == number; });
        if (block == blocks.end())
            return frame(first ? "TFM;0;" : "TNM;0;");
        if (first || m_readBlock != number) {
            m_readBlock = number;
            m_nextRecord = 0;
        }
        m_served.block = number;
        if (m_nextRecord < block->records.size())
            m_served.record = int(m_nextRecord);
        reply = record(first ? "TFM" : "TNM", *block, m_nextRecord++);
    }
    else
        return refuse();

    if (faults.truncate > 0) {
        --faults.truncate;
        const QByteArray body = reply.left(reply.size() - 7);
        const qsizetype second = body.indexOf(';', body.indexOf(';') + 1);
        const QByteArray cut = frame(second > 0 ? body.left(second + 1) : body);
        if (cut != reply)
            m_served.faults << QStringLiteral("truncate");
        reply = cut;
    }
    if (faults.badChecksum > 0) {
        --faults.badChecksum;
        m_served.faults << QStringLiteral("badsum");
        // spoil one checksum digit
        const qsizetype digit = reply.size() - 3;
        reply[digit] = reply[digit] == '9' ? '0' : char(reply[digit] + 1);
    }
    return reply;
}

} // namespace Sim
