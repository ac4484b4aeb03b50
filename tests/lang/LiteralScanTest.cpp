// Captions, hints and messages come from the numbered texts: a literal handed to a control or
// to the status line is a text the English module can never replace.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cctype>

namespace {

struct Finding
{
    int line;
    QString literal;
};

// 1'000 is a number, u'x' a character
bool isDigitSeparator(const QString &code, qsizetype i)
{
    return i > 0 && i + 1 < code.size() && code.at(i - 1).isDigit() && code.at(i + 1).isLetterOrNumber();
}

// Comments blanked out, line breaks kept, so positions still give line numbers.
QString withoutComments(const QString &source)
{
    QString out = source;
    enum { Code, Line, Block, String, Char } state = Code;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        const QChar next = i + 1 < out.size() ? out.at(i + 1) : QChar();
        switch (state) {
        case Code:
            if (c == u'/' && next == u'/')
                state = Line;
            else if (c == u'/' && next == u'*')
                state = Block;
            else if (c == u'"')
                state = String;
            else if (c == u'\'' && !isDigitSeparator(out, i))
                state = Char;
            if (state == Line || state == Block) {
                out[i] = u' ';
                out[i + 1] = u' ';
                ++i;
            }
            break;
        case Line:
            if (c == u'\n')
                state = Code;
            else
                out[i] = u' ';
            break;
        case Block:
            if (c == u'*' && next == u'/') {
                out[i] = out[i + 1] = u' ';
                ++i;
                state = Code;
            } else if (c != u'\n') {
                out[i] = u' ';
            }
            break;
        case String:
        case Char:
            if (c == u'\\')
                ++i;
            else if ((state == String && c == u'"') || (state == Char && c == u'\''))
                state = Code;
            break;
        }
    }
    return out;
}

struct Literal
{
    qsizetype begin;    // the opening quote
    qsizetype end;      // one past the closing quote
    QString text;
};

std::vector<Literal> literals(const QString &code)
{
    std::vector<Literal> out;
    bool inChar = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (inChar) {
            if (c == u'\\')
                ++i;
            else if (c == u'\'')
                inChar = false;
            continue;
        }
        if (c == u'\'' && !isDigitSeparator(code, i)) {
            inChar = true;
            continue;
        }
        if (c != u'"')
            continue;
        Literal l{i, i, {}};
        for (++i; i < code.size() && code.at(i) != u'"'; ++i) {
            if (code.at(i) != u'\\' || i + 1 >= code.size()) {
                l.text += code.at(i);
                continue;
            }
            // a byte given by number reads as no letter
            const QChar escaped = code.at(++i);
            if (escaped == u'x' || (escaped >= u'0' && escaped <= u'7')) {
                const bool hex = escaped == u'x';
                while (i + 1 < code.size()
                       && (hex ? isxdigit(code.at(i + 1).toLatin1()) : (code.at(i + 1) >= u'0' && code.at(i + 1) <= u'7')))
                    ++i;
                l.text += QChar(1);
            } else {
                l.text += escaped == u'n' ? QChar(u'\n') : escaped;
            }
        }
        l.end = i + 1;
        out.push_back(l);
    }
    return out;
}

// Words a person reads; format placeholders, separators, symbols and date-time patterns are none.
bool hasWords(const QString &text)
{
    static const QRegularExpression format(QStringLiteral("%[-+ 0#]*\\d*(\\.\\d+)?(l{0,2}[sdfuxXgce%])|%\\d"));
    static const QRegularExpression dateTime(
        QStringLiteral("^(?:[^A-Za-z]|d{1,4}|M{1,4}|yyyy|yy|HH?|hh?|mm?|ss?|z{1,3}|AP|ap)*$"));
    static const QRegularExpression twoLetters(QStringLiteral("\\p{L}\\p{L}"));
    QString rest = text;
    rest.remove(format);
    return twoLetters.match(rest).hasMatch() && !dateTime.match(rest).hasMatch();
}

// object and property names, keys, file names, paths and resources are no texts
bool isName(const QString &text)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    static const QRegularExpression fileName(QStringLiteral("\\.[A-Za-z0-9]{1,4}$"));
    return identifier.match(text).hasMatch() || text.contains(u'/') || text.startsWith(u':')
           || fileName.match(text).hasMatch();
}

bool isGerman(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter() && c.unicode() > 0x7f; });
}

// the calls and constructors that show a text to the user
const QRegularExpression &sinks()
{
    static const QRegularExpression re(QStringLiteral(
        "\\b(?:set(?:Text|Title|WindowTitle|ToolTip|StatusTip|WhatsThis|PlaceholderText|TabText|Caption1?|PosText"
        "|HorizontalHeaderLabels|VerticalHeaderLabels|LabelText|InformativeText|DetailedText)"
        "|add(?:Tab|Menu|Action|Item|Items)|insertTab|StatusMessage|ReportMessage|ShowStatusText|StatusPortText"
        "|MirrorMessage|programError|ask|question|critical|warning|information"
        "|(?:QLabel|QPushButton|QCheckBox|QGroupBox|QRadioButton|QToolButton|QAction|QMenu|QMessageBox)\\b\\s*(?:\\w+\\s*)?)"
        "\\s*\\("));
    return re;
}

std::vector<Finding> scan(const QString &source)
{
    const QString code = withoutComments(source);
    const std::vector<Literal> all = literals(code);
    auto lineOf = [&](qsizetype pos) { return int(code.left(pos).count(u'\n')) + 1; };
    std::vector<Finding> found;
    std::vector<bool> flagged(all.size(), false);
    for (const auto &m : sinks().globalMatch(code)) {
        // the call's arguments: up to the matching parenthesis, literals skipped whole
        qsizetype pos = m.capturedEnd();
        int depth = 1;
        size_t lit = 0;
        while (lit < all.size() && all[lit].begin < pos)
            ++lit;
        while (pos < code.size() && depth > 0) {
            if (lit < all.size() && all[lit].begin == pos) {
                if (!flagged[lit] && hasWords(all[lit].text)) {
                    flagged[lit] = true;
                    found.push_back({lineOf(pos), all[lit].text});
                }
                pos = all[lit++].end;
                continue;
            }
            if (code.at(pos) == u'(')
                ++depth;
            else if (code.at(pos) == u')')
                --depth;
            ++pos;
        }
    }
    // anywhere else: words that are no name, and anything German
    for (size_t i = 0; i < all.size(); ++i)
        if (!flagged[i] && ((hasWords(all[i].text) && !isName(all[i].text)) || isGerman(all[i].text)))
            found.push_back({lineOf(all[i].begin), all[i].text});
    std::sort(found.begin(), found.end(), [](const Finding &a, const Finding &b) { return a.line < b.line; });
    return found;
}

// Text id enumerators that take their number from the one before: a text inserted ahead of them
// would move them, and the English module names every text by its number.
std::vector<Finding> unnumbered(const QString &source)
{
    static const QRegularExpression body(QStringLiteral("\\benum\\s+\\w+\\s*:\\s*int\\s*\\{([^}]*)\\}"));
    const QString code = withoutComments(source);
    std::vector<Finding> found;
    for (const auto &m : body.globalMatch(code)) {
        qsizetype pos = m.capturedStart(1);
        for (const QString &entry : m.captured(1).split(u',')) {
            const QString name = entry.trimmed();
            if (!name.isEmpty() && !name.contains(u'='))
                found.push_back({int(code.left(pos + entry.indexOf(name)).count(u'\n')) + 1, name});
            pos += entry.size() + 1;
        }
    }
    return found;
}

QStringList literalsOf(const std::vector<Finding> &found)
{
    QStringList out;
    for (const Finding &f : found)
        out << f.literal;
    return out;
}

// Literals with words that nobody reads as a caption, hint or message, each with its reason.
const std::pair<const char *, const char *> kNoTexts[] = {
    {"MemoView.cpp", "Courier New"},                // a font family
    {"StatusLine.cpp", "COM8 -  38400"},            // measures the widest port text
    {"TAboutBox.cpp", "model name"},                // keys of /proc/cpuinfo
    {"TAboutBox.cpp", "cpu MHz"},
    {"ChartWindow.cpp", "<br>"},                    // the line break in an axis label
    {"PortLock.cpp", "QT8800Run-"},                 // the name of a lock file
    {"LiveJson.cpp", "value_json.analog.value"},    // templates and ids a home-automation peer reads
    {"LiveJson.cpp", "value_json.%1['%2']"},
    {"LiveJson.cpp", "QT 8800 "},                   // the instrument's model name, as announced to a peer
    {"LiveJson.cpp", "QT 8800"},
    {"LiveJson.cpp", "qt8800_%1_%2"},
    {"main.cpp", "qt8800 "},                        // the program's name before its version
    {"main.cpp", "--help"},                         // options on the command line
    {"main.cpp", "--version"},
};

bool isNoText(const QString &file, const QString &literal)
{
    return std::any_of(std::begin(kNoTexts), std::end(kNoTexts), [&](const auto &entry) {
        return file.endsWith(QLatin1Char('/') + QLatin1String(entry.first))
               && literal == QString::fromUtf8(entry.second).replace(QStringLiteral("\\x01"), QChar(1));
    });
}

} // namespace

TEST(LiteralScan, FindsCaptionsHintsAndMessagesButNotNamesFormatsOrComments)
{
    const QString source = QStringLiteral(R"src(
        label->setText(QStringLiteral("Hallo Welt"));
        auto *b = named(new QPushButton(QStringLiteral("&Ende"), bottom), "btnEnd");
        box->setTitle(
            QString::fromUtf8("Messwerte"));
        edit->setText(QString::asprintf("%5.1f", value));
        b->setToolTip(QStringLiteral("?"));
        b->setObjectName(QStringLiteral("btnInfo1"));
        // label->setText("only a comment");
        /* ReportMessage("a block comment", true); */
        clock->setText(now.toString(QStringLiteral("dd.MM.yyyy HH'%1'mm")).arg(sep));
        const char *table[] = {"Schließen"};
        ReportMessage(Lang::Format(Lang::Text(Lang::TxPortHint), {name}) + QStringLiteral(" (COM)"), true);
        QMessageBox box(QMessageBox::Warning, title, QStringLiteral("Datei fehlt"));
        char quote = '"'; label->setText(QStringLiteral("after a quote"));
        label->setText(QStringLiteral("%1 %")).arg(n);
        int big = 1'000; label->setText("digit separators");
        QGroupBox *range = group(texts, page, "gbRange", QStringLiteral("Measuring range"));
        spin->setPosText({QStringLiteral("Auto|clBlue|0")});
        QPixmap(QStringLiteral(":/about.jpg")); QFile(dir + QStringLiteral("/book.xlsx"));
        m_panel->setAccessibleName(QStringLiteral("stb1"));
    )src");
    EXPECT_EQ(literalsOf(scan(source)),
              (QStringList{"Hallo Welt", "&Ende", "Messwerte", "Schließen", " (COM)", "Datei fehlt", "after a quote",
                           "digit separators", "Measuring range", "Auto|clBlue|0"}));
    EXPECT_EQ(scan(source).at(2).line, 5);     // where the literal is, not where the call begins
}

namespace {

struct SourceRule
{
    const char *name;
    QStringList folders, filters;
    int atLeastFiles;
    std::vector<Finding> (*scan)(const QString &);
    const char *sample;             // what the rule must find something in
    QStringList sampleFindings;
    const char *advice;
};

void PrintTo(const SourceRule &rule, std::ostream *os) { *os << rule.name; }

class Sources : public testing::TestWithParam<SourceRule> {};

} // namespace

TEST_P(Sources, FollowTheRule)
{
    const SourceRule &rule = GetParam();
    EXPECT_EQ(literalsOf(rule.scan(QString::fromUtf8(rule.sample))), rule.sampleFindings);
    QStringList report;
    int files = 0;
    for (const QString &folder : rule.folders) {
        QDirIterator it(QStringLiteral(QT8800_SOURCE_DIR "/") + folder, rule.filters, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
            ++files;
            for (const Finding &f : rule.scan(QString::fromUtf8(file.readAll())))
                if (!isNoText(file.fileName(), f.literal))
                    report << QStringLiteral("%1:%2: \"%3\"").arg(file.fileName()).arg(f.line).arg(f.literal);
        }
    }
    EXPECT_GE(files, rule.atLeastFiles);
    EXPECT_TRUE(report.isEmpty()) << rule.advice << ":\n" << report.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    LiteralScan, Sources,
    testing::Values(
        SourceRule{"TheProgramsWindowsAndMeasurementCodeShowOnlyNumberedTexts", {"app", "measure"}, {"*.cpp", "*.h"}, 21,
                   scan, "label->setText(\"Hallo\");", {"Hallo"},
                   "literal texts outside the catalogue (give them a number in src/lang; a literal nobody reads as "
                   "text goes into kNoTexts with its reason)"},
        SourceRule{"EveryTextIdHasANumberOfItsOwn", {"lang"}, {"*TextIds.h"}, 9, unnumbered,
                   "enum A : int {\n    TxA = 1, // one\n    TxB,\n    TxC = TxA + 2\n};", {"TxB"},
                   "text ids numbered by their place (write \"= number\": a text inserted before them would move them)"}),
    [](const testing::TestParamInfo<SourceRule> &info) { return std::string(info.param.name); });
