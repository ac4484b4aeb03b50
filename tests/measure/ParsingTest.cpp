// Header, record and live-value replies, token by token.
#include "measure/ColumnLayout.h"
#include "measure/CurrentValues.h"
#include "measure/RecordParsing.h"

#include <gtest/gtest.h>

using namespace Measure;

namespace {

const QString kHeader = QStringLiteral("TFH;1;0;5;1;0;128;01.02.2003;10:00;0:10:00;3;");

QString withToken(const QString &reply, int number, const QString &value)
{
    QStringList tokens = reply.split(u';');
    tokens[number - 1] = value;
    return tokens.join(u';');
}

QString stamp(double days)
{
    return FormatDateTime(days, QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

} // namespace

TEST(BlockHeader, GoodHeaderGivesMasksCountsAndTheOldestRecordTime)
{
    const HeaderParse p = ParseBlockHeader(kHeader);
    ASSERT_EQ(p.kind, HeaderParse::Header) << qPrintable(p.errorText);
    const TBlockHeader &h = p.header;
    EXPECT_EQ(h.BlockNr, 1);
    EXPECT_EQ(h.HumCount, 3);
    EXPECT_EQ(h.TempCount, 1);
    EXPECT_EQ(h.OverwriteCount, 3);
    EXPECT_EQ(stamp(h.StartDate + h.StartTime), "01.02.2003 10:00:00");
    // three overwritten records of ten minutes
    EXPECT_EQ(stamp(h.FirstRecordTime), "01.02.2003 10:30:00");
    EXPECT_EQ(h.RecordTime, h.FirstRecordTime);

    const HeaderParse odd = ParseBlockHeader(withToken(withToken(kHeader, 10, " 0:5:0 "), 9, "10:00:37") + "extra;");
    ASSERT_EQ(odd.kind, HeaderParse::Header) << qPrintable(odd.errorText);
    EXPECT_EQ(odd.header.IntervalText, "0:5:0");                   // shown as received, trimmed
    EXPECT_DOUBLE_EQ(odd.header.Interval * 1440, 5.0);
    EXPECT_EQ(stamp(odd.header.StartTime), "30.12.1899 10:00:00");  // seconds are not part of the start
}

TEST(BlockHeader, ZeroMissingOrUnreadableBlockNumberEndsTheDirectory)
{
    for (const char *reply : {"TNH;0;", "TNH;", "TNH", "TNH; ;5;"}) {
        const HeaderParse p = ParseBlockHeader(QString::fromLatin1(reply));
        EXPECT_EQ(p.kind, HeaderParse::EndOfDirectory) << reply;
        EXPECT_TRUE(p.errorText.isEmpty()) << reply;
    }
    // a number that is there but unreadable also ends it, and says why
    for (const char *nr : {"x", "-2", "99999999999", "1.5"}) {
        const HeaderParse p = ParseBlockHeader(withToken(kHeader, 2, QString::fromLatin1(nr)));
        EXPECT_EQ(p.kind, HeaderParse::EndOfDirectory) << nr;
        EXPECT_EQ(p.errorText, "ConvertError: Record-Nr.") << nr;
    }
}

TEST(BlockHeader, EveryMissingTokenIsNamedInOrder)
{
    const HeaderParse p = ParseBlockHeader(QStringLiteral("TFH;1;"));
    EXPECT_EQ(p.kind, HeaderParse::Faulty);
    // token 3 is there but empty (the reply ends in ";"), the rest is missing
    EXPECT_EQ(p.errorText, " ConvertError: AnalogToken  No HumidityCount Token  No HumidityCount Token"
                           "  No Temp-Count Token  No TempCount Token  No StartDate Token  No StartTime Token"
                           "  No IntervallTime Token  No OverWrite Token");
    EXPECT_EQ(RecordErrorMessage(QStringLiteral("  No OverWrite Token"), u"TFH;1;"),
              "  No OverWrite TokenRecord: TFH;1;");
}

struct BadToken
{
    int number;
    const char *value;
    const char *text;
};

class BlockHeaderBadToken : public testing::TestWithParam<BadToken>
{
};

TEST_P(BlockHeaderBadToken, IsReportedWithItsOwnText)
{
    const BadToken &c = GetParam();
    const HeaderParse p = ParseBlockHeader(withToken(kHeader, c.number, QString::fromUtf8(c.value)));
    EXPECT_EQ(p.kind, HeaderParse::Faulty);
    EXPECT_EQ(p.errorText, QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(Tokens, BlockHeaderBadToken, testing::Values(
    BadToken{3, "2", " ConvertError: AnalogToken"},
    BadToken{3, "ein", " ConvertError: AnalogToken"},
    BadToken{4, "256", " ConvertError: HumidityCount"},
    BadToken{5, "-1", " ConvertError: HumidityCount"},
    BadToken{6, "0x1", " ConvertError: Temp-Count"},
    BadToken{7, "", " ConvertError: TempCount"},
    BadToken{8, "31.02.2003", " Convert Error Start-Date "},
    BadToken{8, "01.02", " Convert Error Start-Date "},
    BadToken{8, "01.02.2003.1", " Convert Error Start-Date "},
    BadToken{8, "01/02/2003", " Convert Error Start-Date "},
    BadToken{9, "24:00", " Convert Error Start-Time "},
    BadToken{9, "10", " Convert Error Start-Time "},
    BadToken{9, "10:", " Convert Error Start-Time "},
    BadToken{10, "0:5", " Convert Error Intervall-Time "},
    BadToken{10, "0:60:00", " Convert Error Intervall-Time "},
    BadToken{10, "0:1,5:0", " Convert Error Intervall-Time "},
    BadToken{11, "-3", " Convert Error OverWriteCount "},
    BadToken{11, "99999999999", " Convert Error OverWriteCount "},
    BadToken{11, "3 Sätze", " Convert Error OverWriteCount "}));

TEST(FieldList, MasksGiveSensorFieldsWithConsecutiveTokens)
{
    TBlockHeader h = ParseBlockHeader(kHeader).header;
    MeasureFields f = BuildFieldList(h, QStringLiteral("Druck"));
    QStringList captions;
    for (const TField &field : f)
        captions << field.Caption + '@' + QString::number(field.TokenNr);
    EXPECT_EQ(captions, (QStringList{" Datum  @0", "  Zeit  @0", "Ionen Min@6", "Ionen Avg@7", "Ionen Max@8", "F 0@9",
                                     "F 2@10", "F 8@11", "T F@12"}));
    EXPECT_EQ(f[8].Kind, KindTemperature);

    h.HasAnalog = 1;
    h.HumMaskLow = h.HumMaskHigh = h.TempMaskLow = h.TempMaskHigh = 255;
    f = BuildFieldList(h, QStringLiteral("Druck"));
    ASSERT_EQ(int(f.size()), kMaxFields);
    EXPECT_EQ(f[5].Caption, "Druck-Min");
    EXPECT_TRUE(f[5].IsMin && f[7].IsMax && !f[6].IsMin && !f[6].IsMax);
    EXPECT_EQ(f[7].TokenNr, 11);
    EXPECT_EQ(f[8].TokenNr, 12);
    EXPECT_EQ(f[23].Caption, "F F");
    EXPECT_EQ(f[39].Caption, "T F");
    EXPECT_EQ(f[39].TokenNr, 43);
}

class RecordTest : public testing::Test
{
protected:
    MeasureFields fields;
    RecordOptions options;

    void SetUp() override
    {
        TBlockHeader h;
        h.BlockNr = 2;
        h.HasAnalog = 1;
        h.HumMaskLow = 5;       // F 0, F 2
        h.TempMaskLow = 1;      // T 0
        fields = BuildFieldList(h, QStringLiteral("Ana"));
        select({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    }
    void select(std::initializer_list<int> positions)
    {
        for (TField &f : fields)
            f.Selected = false;
        for (int p : positions)
            fields[std::size_t(p)].Selected = true;
    }
    RecordParse parse(const QString &reply) { return ParseMeasureRecord(reply, 2, fields, options); }
};

TEST_F(RecordTest, ValuesLandInTheirFields)
{
    const RecordParse p = parse("TFM;2;0;0;-;100;200;300;1.000;2,500;-3.25;0:45.6;2:51,5;16:21.0;");
    ASSERT_EQ(p.kind, RecordParse::Record) << qPrintable(p.errorText);
    EXPECT_TRUE(p.first);
    EXPECT_FALSE(p.skipped);
    EXPECT_EQ(fields[3].IonValue, 200);
    EXPECT_TRUE(fields[3].Negative);
    EXPECT_FLOAT_EQ(fields[6].FloatValue, 2.5f);
    EXPECT_FLOAT_EQ(fields[7].FloatValue, -3.25f);
    EXPECT_FLOAT_EQ(fields[9].FloatValue, 51.5f);
    EXPECT_FLOAT_EQ(fields[10].FloatValue, 21.0f);

    // anything but "-" is positive
    ASSERT_EQ(parse("TNM;2;0;0;x;1;2;3;1;2;3;0:1;2:2;16:3;").kind, RecordParse::Record);
    EXPECT_FALSE(fields[2].Negative);
    EXPECT_FALSE(parse("TNM;2;0;0;x;1;2;3;1;2;3;0:1;2:2;16:3;").first);
}

TEST_F(RecordTest, UnselectedTokensAreNeitherReadNorRequired)
{
    select({3});
    const RecordParse p = parse("TNM;2;0;0;+;junk;734;");
    EXPECT_EQ(p.kind, RecordParse::Record) << qPrintable(p.errorText);
    EXPECT_EQ(fields[3].IonValue, 734);
}

TEST_F(RecordTest, ScalingUsesTheCalibrationOrItsFallbacks)
{
    select({6});
    options.scaleAnalog = true;
    options.valueAtZero = "0";
    options.valueAtTen = "1000";
    ASSERT_EQ(parse("TNM;2;0;0;+;1;2;3;1;2,5;3;").kind, RecordParse::Record);
    EXPECT_FLOAT_EQ(fields[6].FloatValue, 250.0f);
    EXPECT_FLOAT_EQ(ScaleAnalog(2.5f, u"abc", u""), 2.5f);        // 0 V → 0, 10 V → 10
    EXPECT_FLOAT_EQ(ScaleAnalog(5.0f, u"-10", u"10,0"), 0.0f);
}

// found by fuzzing: a reading scaled beyond the float range became an infinity, which the text
// row then showed with digits from memory it never wrote
TEST_F(RecordTest, AReadingScaledBeyondTheFloatRangeIsAConvertError)
{
    select({6});
    options.scaleAnalog = true;
    options.valueAtZero = "0";
    options.valueAtTen = "340000000000000000000000000000000000000";
    RecordParse p = parse("TNM;2;0;0;+;1;2;3;1;10;3;");
    EXPECT_EQ(p.kind, RecordParse::Faulty);
    EXPECT_EQ(p.errorText, " Convert-Error at Ana-Avg");
    options.valueAtZero = "-340000000000000000000000000000000000000";
    p = parse("TNM;2;0;0;+;1;0;3;1;0;3;");
    EXPECT_EQ(p.kind, RecordParse::Faulty);
    // within the range it is a value like any other
    options.valueAtZero = "0";
    p = parse("TNM;2;0;0;+;1;2;3;1;0,5;3;");
    ASSERT_EQ(p.kind, RecordParse::Record);
    EXPECT_FLOAT_EQ(fields[6].FloatValue, 1.7e37f);
}

TEST_F(RecordTest, AlarmRecordsAreSkippedOnlyWhenAsked)
{
    EXPECT_FALSE(parse("TNM;2;0;1;+;1;2;3;1;2;3;0:1;2:2;16:3;").skipped);
    options.skipAlarm = true;
    const RecordParse p = parse("TNM;2;0;1;+;1;2;3;1;2;3;0:1;2:2;16:3;");
    EXPECT_EQ(p.kind, RecordParse::Record);
    EXPECT_TRUE(p.skipped);
    EXPECT_FALSE(parse("TNM;2;0;0;+;1;2;3;1;2;3;0:1;2:2;16:3;").skipped);
}

TEST_F(RecordTest, EndOfBlockAndBlockNumbers)
{
    for (const char *reply : {"TNM;0;", "TNM;", "TNM", "TNM;  ;"})
        EXPECT_EQ(parse(QString::fromLatin1(reply)).kind, RecordParse::EndOfBlock) << reply;
    RecordParse p = parse("TNM;3;0;0;+;1;2;3;1;2;3;0:1;2:2;16:3;");
    EXPECT_EQ(p.kind, RecordParse::Faulty);
    EXPECT_EQ(p.errorText, "Block-Nr. not valid");
    // unreadable, but not the end: the instrument has stepped past this record
    p = parse("TNM;2x;0;0;+;1;2;3;1;2;3;0:1;2:2;16:3;");
    EXPECT_EQ(p.kind, RecordParse::Faulty);
    EXPECT_EQ(p.errorText, "ConvertError: Record-Nr.");
}

struct BadRecord
{
    const char *reply;
    const char *text;
};

class RecordBadToken : public RecordTest, public testing::WithParamInterface<BadRecord>
{
};

TEST_P(RecordBadToken, IsReportedAndNothingIsWritten)
{
    const RecordParse p = parse(QString::fromUtf8(GetParam().reply));
    EXPECT_EQ(p.kind, RecordParse::Faulty);
    EXPECT_EQ(p.errorText, QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Tokens, RecordBadToken, testing::Values(
    BadRecord{"TNM;2;0", " No Alarm - Token No Polarity - Token Token-Error at Ionen Min Token-Error at Ionen Avg"
                         " Token-Error at Ionen Max Token-Error at Ana-Min Token-Error at Ana-Avg Token-Error at Ana-Max"
                         " Token-Error at F 0 Token-Error at F 2 Token-Error at T 0"},
    BadRecord{"TNM;2;0;0;+;1;2;3;1;2;3;0:1;2:2", " Token-Error at T 0"},
    BadRecord{"TNM;2;0;0;+;1;;3;1;2;3;0:1;2:2;16:3;", " Convert-Error at Ionen Avg"},
    BadRecord{"TNM;2;0;0;+;-1;2;3;1;2;3;0:1;2:2;16:3;", " Convert-Error at Ionen Min"},
    BadRecord{"TNM;2;0;0;+;1;2;99999999999;1;2;3;0:1;2:2;16:3;", " Convert-Error at Ionen Max"},
    BadRecord{"TNM;2;0;0;+;1;2;3;1e3;2;3;0:1;2:2;16:3;", " Convert-Error at Ana-Min"},
    BadRecord{"TNM;2;0;0;+;1;2;3;1;2.5.1;3;0:1;2:2;16:3;", " Convert-Error at Ana-Avg"},
    BadRecord{"TNM;2;0;0;+;1;2;3;1;2;3;0:1:5;2:2;16:3;", " Convert-Error at F 0"},
    BadRecord{"TNM;2;0;0;+;1;2;3;1;2;3;0:1;2:x;16:3;", " Convert-Error at F 2"},
    BadRecord{"TNM;2;0;0;+;1;2;3;1;2;3;0:1;2:2;;", " Convert-Error at T 0"},
    BadRecord{"TNM;2;0;0;+;1;2;3;1;2;3;0:1;2:2;16:1" "000000000000000000000000000000000000000.0;",
              " Convert-Error at T 0"}));

TEST(SensorToken, FormsAndResults)
{
    SensorToken s = ParseSensorToken(u"3:45,6");
    EXPECT_EQ(s.result, SensorToken::Humidity);
    EXPECT_EQ(s.address, 3);
    EXPECT_FLOAT_EQ(s.value, 45.6f);
    s = ParseSensorToken(u"19:21.5");
    EXPECT_EQ(s.result, SensorToken::Temperature);
    EXPECT_EQ(s.address, 19);
    EXPECT_FLOAT_EQ(s.value, 21.5f);
    s = ParseSensorToken(u"+1.5");
    EXPECT_EQ(s.result, SensorToken::Analog);
    EXPECT_FLOAT_EQ(s.value, 1.5f);
    EXPECT_FLOAT_EQ(ParseSensorToken(u"-0,25").value, -0.25f);
    EXPECT_EQ(ParseSensorToken(u"").result, SensorToken::Invalid);
    EXPECT_EQ(ParseSensorToken(u"+").result, SensorToken::Invalid);
    EXPECT_EQ(ParseSensorToken(u"3:x").result, SensorToken::Invalid);
    EXPECT_EQ(ParseSensorToken(u"a:1").result, SensorToken::Invalid);
    EXPECT_EQ(ParseSensorToken(u"1:2:3").result, SensorToken::Unknown);
    EXPECT_EQ(ParseSensorToken(u"45.6").result, SensorToken::Unknown);
    EXPECT_EQ(ParseSensorToken(u"32:1").result, SensorToken::Unknown);
    EXPECT_EQ(ParseSensorToken(u"-1:1").result, SensorToken::Invalid);   // a signed token is an analogue reading
}

TEST(Numbers, BothSeparatorsAndNothingElse)
{
    EXPECT_EQ(NormalizeDecimal(u"1.5;2,5", u','), "1,5;2,5");
    EXPECT_EQ(NormalizeDecimal(u"1.5;2,5", u'.'), "1.5;2.5");
    EXPECT_EQ(ToNumber(u" 2,5 "), 2.5);
    EXPECT_EQ(ToNumber(u"-.5"), -0.5);
    EXPECT_EQ(ToNumber(u"7."), 7.0);
    for (const char16_t *bad : {u"", u".", u"1,2,3", u"1.2,3", u"inf", u"nan", u"1e5", u"0x10", u"1 2", u"--1"})
        EXPECT_FALSE(ToNumber(bad)) << QString::fromUtf16(bad).toStdString();
    EXPECT_EQ(ToInteger(u" +12 "), 12);
    EXPECT_EQ(ToInteger(u"-2147483648"), std::numeric_limits<qint32>::min());
    EXPECT_FALSE(ToInteger(u"2147483648"));
    EXPECT_FALSE(ToInteger(u"12.0"));
}

TEST(CurrentValues, AGoodReplyCarriesEveryValue)
{
    const CurrentValuesParse p = ParseCurrentValues(u"TAM;3;-;1520;+2.500;03:45.6;19:21,5;");
    ASSERT_TRUE(p.ok) << qPrintable(p.errorText);
    EXPECT_EQ(p.values.range, 3);
    EXPECT_EQ(p.values.polarity, 1);
    EXPECT_EQ(p.values.ionValue, 1520);
    ASSERT_TRUE(p.values.analogVolts);
    EXPECT_FLOAT_EQ(*p.values.analogVolts, 2.5f);
    ASSERT_EQ(p.values.sensors.size(), 2u);
    EXPECT_TRUE(p.values.sensors[0].humidity);
    EXPECT_EQ(p.values.sensors[0].sensor, 3);
    EXPECT_FALSE(p.values.sensors[1].humidity);
    EXPECT_EQ(p.values.sensors[1].sensor, 3);
    EXPECT_FLOAT_EQ(p.values.sensors[1].value, 21.5f);
}

TEST(CurrentValues, FixedTokensReplaceTheErrorValueTokensAddToIt)
{
    EXPECT_EQ(ParseCurrentValues(u"TAM;x;?;;").errorText, "ConvertError: ValueToken");
    EXPECT_EQ(ParseCurrentValues(u"TAM;x;?;5;").errorText, "ConvertError: PolarityToken");
    EXPECT_EQ(ParseCurrentValues(u"TAM;12;+;5;").errorText, "ConvertError: RangeToken");
    EXPECT_EQ(ParseCurrentValues(u"TAM;1;+").errorText, "No ValueToken No 4");
    EXPECT_EQ(ParseCurrentValues(u"TAM").errorText, "No ValueToken No 4");
    const CurrentValuesParse p = ParseCurrentValues(u"TAM;1;+;5;+x;1:2:3;40:5;3:1,5;");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.errorText, "Error Value: +x, Token: 5 Unknown Measure Type: 1:2:3, Token: 6 "
                           "Unknown Measure Type: 40:5, Token: 7 ");
}

TEST(CurrentValues, MissingSensorsShowQuestionMarks)
{
    EXPECT_EQ(SensorCellText(true, 999.0f, u'.'), "???");
    EXPECT_EQ(SensorCellText(true, 998.0f, u'.'), "998.0");
    EXPECT_EQ(SensorCellText(true, 1000.0f, u'.'), "1000.0");
    EXPECT_EQ(SensorCellText(false, 99.9f, u'.'), "???");
    EXPECT_EQ(SensorCellText(false, 99.8f, u'.'), "???");
    EXPECT_EQ(SensorCellText(false, 99.7f, u','), " 99,7");
    EXPECT_EQ(SensorCellText(false, -5.0f, u'.'), " -5.0");
}
