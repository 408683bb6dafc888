#include "output/wdlsourceformatter.h"

#include "core/commandline.h"
#include "reader/wdlline.h"
#include "reader/wdlsourcefile.h"
#include "support/golden.h"
#include "support/wizardfiles.h"
#include "wizardgenerator.h"

#include <QDirIterator>

namespace {

const QString kLayoutData = QStringLiteral(WDLC_TEST_DATA "/layout/");

QByteArray format(const QByteArray &bytes,
                  WdlSourceFormatter::BlankLines blankLines = WdlSourceFormatter::CollapseBlankLines)
{
    return WdlSourceFormatter::format(WdlSourceFile::fromBytes(bytes), blankLines);
}

// Every file below layout/input/ formatted is its namesake below layout/expected/.
TEST(WdlSourceFormatter, FormatsTheGoldenFiles)
{
    const QStringList inputs = filesBelow(kLayoutData + QStringLiteral("input"));
    ASSERT_FALSE(inputs.isEmpty());
    for (const QString &name : inputs) {
        const QByteArray formatted = format(readFile(kLayoutData + QStringLiteral("input/") + name));
        EXPECT_TRUE(matchesGolden(formatted, QStringLiteral("layout/expected/") + name));
        EXPECT_EQ(format(formatted), formatted) << name.toStdString();
    }
}

struct LayoutRow
{
    const char *name;
    const char *input;
    const char *expected;

    friend void PrintTo(const LayoutRow &row, std::ostream *os) { *os << row.input; }
};

class WdlSourceFormatterLines : public ::testing::TestWithParam<LayoutRow>
{
};

TEST_P(WdlSourceFormatterLines, LaysOutTheLines)
{
    const QByteArray formatted = format(GetParam().input);
    EXPECT_EQ(formatted.toStdString(), GetParam().expected);
    EXPECT_EQ(format(formatted).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WdlSourceFormatterLines,
    ::testing::Values(
        LayoutRow{"Empty", "", ""}, LayoutRow{"OnlyBlankLines", "\n \n\t\n", ""},
        LayoutRow{"FinalLineEnd", "T: a \"x\"", "T: a \"x\"\n"},
        LayoutRow{"CrLfAndLoneCr", "T: a \"x\"\r\nT: b \"y\r\"\rT: c \"z\"\r", "T: a \"x\"\nT: b \"y\"T: c \"z\"\n"},
        LayoutRow{"ByteOrderMarkStays", "\xEF\xBB\xBF  T: a \"x\"\n", "\xEF\xBB\xBFT: a \"x\"\n"},
        LayoutRow{"BlankRunsCollapse", "\n\nT: a \"x\"\n\n\n\nT: b \"y\"\n\n\n", "T: a \"x\"\n\nT: b \"y\"\n"},
        // A comment keeps its spelling, one blank from the code, none at its end.
        LayoutRow{"CommentsStay", "  T:  a \"x\"#  note  \t\n   // alone\n", "T: a \"x\" #  note\n// alone\n"},
        LayoutRow{"QuotedTextUntouched", "T:\ta   \"  two  \t blanks \"  ", "T: a \"  two  \t blanks \"\n"},
        // Glued to the quote, the word stays glued: the reader would split it otherwise.
        LayoutRow{"WordGluedToQuote", "T: a\"x\"", "T: a\"x\"\n"},
        // Empty quotes make the text the line before them: its blanks stay.
        LayoutRow{"EmptyQuotesKeepTheLine", "T:  a  \"\"", "T:  a  \"\"\n"},
        // At top level a colon is part of its word: "T:a" is the tag "Ta".
        LayoutRow{"TopLevelColonsStay", "T:a \"x\"\nT :  b \"y\"", "T:a \"x\"\nT : b \"y\"\n"},
        // The editor's spelling: "1.5" is minor 5, written "1.05".
        LayoutRow{"VersionSpelling",
                  "FILE_VERSION: 01.050\nDATABASE_VERSION:  2.0\nFILE_VERSION: 1.5\n"
                  "FILE_FORMAT_VERSION: 01.00\nFILE_FORMAT_VERSION: 1.x\nFILE_VERSION: 1.70000",
                  "FILE_VERSION: 1.50\nDATABASE_VERSION: 2.00\nFILE_VERSION: 1.05\nFILE_FORMAT_VERSION: 1.0\n"
                  "FILE_FORMAT_VERSION: 1.x\nFILE_VERSION: 1.70000\n"},
        LayoutRow{"ItemColons", "VP: v\n{\nMIN:-5\n  MAX :  7\nT :z \"t\"\nUT:: u\n}\n",
                  "VP: v\n{\n   MIN: -5\n   MAX: 7\n   T: z \"t\"\n   UT:: u\n}\n"},
        // A script reads only blanks as separators: a tab is part of a word.
        LayoutRow{"ScriptTabsStay", "WS: w\n{\n\tSET\tx   1  \n  CPY  a \t b\n}\n",
                  "WS: w\n{\n   SET\tx 1\n   CPY a \t b\n}\n"},
        LayoutRow{"BlankLinesAtBlockEnds", "CL: c\n{\n\n  a\n\n\n  b\n\n}\n", "CL: c\n{\n   a\n\n   b\n}\n"},
        LayoutRow{"TextAfterABraceStays", "CL: c\n{  x  y\na\n}   z\n", "CL: c\n{ x y\n   a\n} z\n"},
        LayoutRow{"UnclosedBlockIndentsToTheEnd", "CL: c\n{\na\n{\nb", "CL: c\n{\n   a\n   {\n      b\n"},
        // Invalid UTF-8 in the tag: the colon is found among the bytes as they are.
        LayoutRow{"TagColonAfterInvalidUtf8",
                  "VP: v\n{\nA\xC0\xAF\x01"
                  "B :0:\n}\n",
                  "VP: v\n{\n   A\xC0\xAF\x01"
                  "B: 0:\n}\n"},
        LayoutRow{"InvalidUtf8AndNulKept", "T: a\xFF \"x\xC3\"  # \xE2\x80\n", "T: a\xFF \"x\xC3\" # \xE2\x80\n"}),
    rowName<LayoutRow>);

TEST(WdlSourceFormatter, KeepsLineNumbersWhenAsked)
{
    const QByteArray input("\n\nCL: c\n{\n\n  a\n\n\n");
    EXPECT_EQ(format(input, WdlSourceFormatter::KeepLineNumbers), QByteArray("\n\nCL: c\n{\n\n   a\n\n\n"));
}

TEST(WdlSourceFormatter, NulBytesStayInTheirWords)
{
    const QByteArray input("T:\0a   \"x\0y\"\n", 13);
    EXPECT_EQ(format(input), QByteArray("T:\0a \"x\0y\"\n", 11));
}

TEST(WdlSourceFormatter, IndentationStopsGrowingPastAnyRealDepth)
{
    QByteArray input("CL: c\n");
    for (int i = 0; i < 2000; ++i)
        input += "{\n";
    const QByteArray formatted = format(input);
    EXPECT_LT(formatted.size(), 2000 * 100);
    EXPECT_TRUE(formatted.endsWith(QByteArray(32 * 3, ' ') + "{\n"));
}

// --- Whole wizards: formatting keeps comments, INCLUDE lines and the image.

struct Wizard
{
    QString name;
    QString root;      // copied whole
    QString directory; // where the run starts, below root
    QStringList arguments;
};

QList<Wizard> wizards()
{
    QList<Wizard> out;
    const QString source = QStringLiteral(WDLC_SOURCE_DIR "/examples");
    out.append({QStringLiteral("pump"), source, QStringLiteral("pump"), {QStringLiteral("pump_commissioning.wdl")}});
    out.append({QStringLiteral("motor"), source, QStringLiteral("motor"), {QStringLiteral("motor_data.wdl")}});
    const QString compile = QStringLiteral(WDLC_TEST_DATA "/compile/");
    for (const QString &dir : QDir(compile).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QByteArray args = readFile(compile + dir + QStringLiteral("/args"));
        out.append({dir, compile + dir + QStringLiteral("/input"), QString(),
                    args.isEmpty() ? QStringList{QStringLiteral("main.wdl")}
                                   : QString::fromUtf8(args).split(QLatin1Char('\n'), Qt::SkipEmptyParts)});
    }
    // Every other WDL file of the test data as a wizard of its own, beside
    // the files of its directory (an included file alone has warnings).
    const QString data = QStringLiteral(WDLC_TEST_DATA "/");
    for (const QString &name : filesBelow(data, {QStringLiteral("*.wdl")})) {
        if (!name.startsWith(QLatin1String("compile/")))
            out.append({name, QFileInfo(data + name).absolutePath(), QString(), {QFileInfo(name).fileName()}});
    }
    return out;
}

// Runs wdlc in dir and returns every file it left that was not there before.
QMap<QString, QByteArray> build(const QString &dir, const QStringList &arguments)
{
    const QStringList before = filesBelow(dir);
    {
        WorkingDirectory cd(dir);
        CommandLine::run(arguments);
    }
    QMap<QString, QByteArray> out;
    for (const QString &name : filesBelow(dir)) {
        if (!before.contains(name))
            out.insert(name, readFile(QDir(dir).filePath(name)));
    }
    return out;
}

QStringList comments(const WdlSourceFile &file)
{
    QStringList out;
    for (const WdlSourceFile::Line &line : file.lines()) {
        if (line.hasComment())
            out.append(QString::fromUtf8(line.commentBytes()).remove(QLatin1Char('\r')).trimmed());
    }
    return out;
}

QStringList includeLines(const WdlSourceFile &file)
{
    QStringList out;
    for (const WdlSourceFile::Line &line : file.lines()) {
        if (!line.words.isEmpty()
            && QString(line.words.first().text).remove(QLatin1Char(':')) == QLatin1String("INCLUDE"))
            out.append(WdlLine::words(line.code()).join(QLatin1Char(' ')));
    }
    return out;
}

// Formats every WDL file below dir in place, each on its own; a wizard with
// warnings keeps its line numbers, as wdltool fmt does.
void formatAll(const QString &dir, WdlSourceFormatter::BlankLines blankLines)
{
    for (const QString &name : filesBelow(dir, {QStringLiteral("*.wdl")})) {
        const QString path = QDir(dir).filePath(name);
        const WdlSourceFile before = WdlSourceFile::fromBytes(readFile(path));
        const QByteArray formatted = WdlSourceFormatter::format(before, blankLines);
        const WdlSourceFile after = WdlSourceFile::fromBytes(formatted);
        EXPECT_EQ(comments(after), comments(before)) << path.toStdString();
        EXPECT_EQ(includeLines(after), includeLines(before)) << path.toStdString();
        EXPECT_EQ(WdlSourceFormatter::format(after, blankLines), formatted) << path.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(formatted);
    }
}

bool hasWarnings(const QMap<QString, QByteArray> &built)
{
    for (auto it = built.cbegin(); it != built.cend(); ++it) {
        if (it.key().endsWith(QLatin1String("_errors.txt")) && !it.value().isEmpty())
            return true;
    }
    return false;
}

// Returns whether the build wrote an image, so that the comparison is not empty.
bool expectSameBuild(const QString &root, const QString &directory, const QStringList &arguments)
{
    WizardFiles original;
    original.copyTree(root);
    WizardFiles formatted;
    formatted.copyTree(root);
    const QMap<QString, QByteArray> expected = build(original.path(directory), arguments);
    formatAll(formatted.dir(),
              hasWarnings(expected) ? WdlSourceFormatter::KeepLineNumbers : WdlSourceFormatter::CollapseBlankLines);
    const QMap<QString, QByteArray> actual = build(formatted.path(directory), arguments);
    EXPECT_EQ(actual.keys(), expected.keys());
    bool image = false;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        EXPECT_TRUE(actual.value(it.key()) == it.value()) << it.key().toStdString();
        image = image || it.key().endsWith(QLatin1String(".sas"));
    }
    return image;
}

TEST(WdlSourceFormatter, EveryWizardBuildsTheSameAfterFormatting)
{
    int images = 0;
    for (const Wizard &wizard : wizards()) {
        SCOPED_TRACE(wizard.name.toStdString());
        images += expectSameBuild(wizard.root, wizard.directory, wizard.arguments) ? 1 : 0;
    }
    EXPECT_GE(images, 15);
}

TEST(WdlSourceFormatter, GeneratedStressWizardBuildsTheSameAfterFormatting)
{
    WizardFiles generated;
    const QString main = WizardGenerator::write(generated.dir(), 1, 1);
    EXPECT_TRUE(expectSameBuild(generated.dir(), QString(), {QFileInfo(main).fileName()}));
}

} // namespace
