#include "reader/wdlsourcefile.h"

#include "reader/linesource.h"
#include "reader/wdlline.h"
#include "support/wizardfiles.h"
#include "wizardgenerator.h"

#include <QDirIterator>

namespace {

// Every .wdl file of the repository (sources, tests, examples), build trees left out.
QStringList repositoryWdlFiles()
{
    QStringList out;
    QDirIterator it(QStringLiteral(WDLC_SOURCE_DIR), {QStringLiteral("*.wdl")}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(QStringLiteral(WDLC_SOURCE_DIR)).relativeFilePath(path);
        if (!relative.startsWith(QLatin1String("build")) && !relative.startsWith(QLatin1Char('.')))
            out.append(path);
    }
    out.sort();
    return out;
}

// Bytes that decoding or line splitting could lose.
const QByteArray kAwkwardFiles[] = {
    QByteArray(),
    QByteArray("\n"),
    QByteArray("T: a \"x\""),
    QByteArray("T: a \"x\"\r\nT: b \"y\"\r\n"),
    QByteArray("T: a \"x\"\rT: b \"y\"\r"),
    QByteArray("\xEF\xBB\xBFT: a \"x\"\n"),
    QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\r\xEF\xBB\xBFT: a \"x\"\n"),
    QByteArray("T: a \"\xC3\x28\xFF\"\n# \xE2\x80\n"),
    QByteArray("T:\0a \"x\0y\"\n\0\n", 14),
    QByteArray("\t\tSUBROUTINE: s\n\t{\n\tSET\tx  1 \t\n}\n\n\n"),
    QByteArray("T: a\xE2\r\x80\x83\"x\"\n"),
    QByteArray("\r\r\n\r"),
};

// Physical lines as the reader reads them.
QStringList readerLines(const QByteArray &bytes)
{
    WizardFiles files;
    files.writeBytes(QStringLiteral("f.wdl"), bytes);
    LineSource source;
    source.open(files.path(QStringLiteral("f.wdl")));
    QStringList lines;
    while (!source.atEnd())
        lines.append(source.readLine());
    return lines;
}

// The layer and the reader agree on every line: its text, its code (what is
// left without the comment) and its words.
::testing::AssertionResult agreesWithReader(const QByteArray &bytes)
{
    const WdlSourceFile file = WdlSourceFile::fromBytes(bytes);
    const QStringList expected = readerLines(bytes);
    if (file.lines().size() != expected.size())
        return ::testing::AssertionFailure() << file.lines().size() << " lines, the reader reads " << expected.size();
    for (int i = 0; i < expected.size(); ++i) {
        const WdlSourceFile::Line &line = file.lines().at(i);
        QStringList words;
        for (const WdlSourceFile::Word &word : line.words)
            words.append(word.text);
        const QString code = WdlLine::significant(expected.at(i));
        if (line.text() != expected.at(i) || line.code() != code || words != WdlLine::words(code))
            return ::testing::AssertionFailure() << "line " << i + 1 << ": " << line.text().toStdString();
    }
    return ::testing::AssertionSuccess();
}

TEST(WdlSourceFile, GivesBackEveryFileOfTheRepositoryByteForByte)
{
    const QStringList paths = repositoryWdlFiles();
    ASSERT_GT(paths.size(), 30);
    for (const QString &path : paths) {
        WdlSourceFile file;
        ASSERT_TRUE(WdlSourceFile::read(path, &file)) << path.toStdString();
        EXPECT_EQ(file.bytes(), readFile(path)) << path.toStdString();
        EXPECT_TRUE(agreesWithReader(readFile(path))) << path.toStdString();
    }
}

TEST(WdlSourceFile, GivesBackAwkwardBytesAndAgreesWithTheReader)
{
    for (const QByteArray &bytes : kAwkwardFiles) {
        EXPECT_EQ(WdlSourceFile::fromBytes(bytes).bytes(), bytes) << hex(bytes);
        EXPECT_TRUE(agreesWithReader(bytes)) << hex(bytes);
    }
    const QByteArray generated = WizardGenerator::wdlText(1).toUtf8();
    EXPECT_EQ(WdlSourceFile::fromBytes(generated).bytes(), generated);
}

TEST(WdlSourceFile, ReadFailsOnAPathThatIsNoFile)
{
    WdlSourceFile file;
    EXPECT_FALSE(WdlSourceFile::read(QStringLiteral("/nonexistent/w.wdl"), &file));
    EXPECT_FALSE(WdlSourceFile::read(QDir::tempPath(), &file));
}

struct SourceRow
{
    const char *name;
    const char *text;
    // One entry per line: "<depth><s when in a script> <kind> [code] {comment}
    // word@column ...", the offset of the line after a slash.
    const char *expected;

    friend void PrintTo(const SourceRow &row, std::ostream *os) { *os << row.text; }
};

QString describe(const WdlSourceFile &file)
{
    static const char *const kinds[] = {"blank", "comment", "code", "open", "close"};
    QStringList out;
    for (const WdlSourceFile::Line &line : file.lines()) {
        QString d = QString::number(line.depth) + QLatin1String(line.inScript ? "s " : " ")
                    + QLatin1String(kinds[line.kind]) + QLatin1Char('/') + QString::number(line.offset);
        if (line.kind >= WdlSourceFile::Code)
            d += QStringLiteral(" [") + line.code() + QLatin1Char(']');
        if (line.hasComment())
            d += QStringLiteral(" {") + QString::fromUtf8(line.commentBytes()) + QLatin1Char('}');
        for (const WdlSourceFile::Word &word : line.words)
            d += QLatin1Char(' ') + word.text + QLatin1Char('@') + QString::number(word.column);
        if (line.quoteStart >= 0)
            d += QStringLiteral(" \"@") + QString::number(line.quoteStart);
        out.append(d);
    }
    return out.join(QLatin1Char('\n'));
}

class WdlSourceFileLines : public ::testing::TestWithParam<SourceRow>
{
};

TEST_P(WdlSourceFileLines, SplitAndNestAsTheReaderDoes)
{
    EXPECT_EQ(describe(WdlSourceFile::fromBytes(GetParam().text)).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WdlSourceFileLines,
    ::testing::Values(
        SourceRow{"CommentAfterCode", "  T: a \"b c\"  # d  ",
                  "0 code/0 [T: a \"b c\"] {# d  } T:@3 a@6 \"b@8 c\"@11 \"@7"},
        // A comment starts at "#" or "//" even inside quotes, as the reader has it.
        SourceRow{"CommentInsideQuotes", "T: a \"x // y\"", "0 code/0 [T: a \"x] {// y\"} T:@1 a@4 \"x@6 \"@5"},
        SourceRow{"BlankAndCommentOnly", "\t \n//c\n", "0 blank/0\n0 comment/3 {//c}"},
        // Columns count UTF-16 units of the decoded line; offsets count bytes.
        SourceRow{"ColumnsAfterWideCharacters", "T: \xC3\xA4\xF0\x9F\x98\x80 x\nNS: y",
                  "0 code/0 [T: \xC3\xA4\xF0\x9F\x98\x80 x] T:@1 \xC3\xA4\xF0\x9F\x98\x80@4 x@8\n0 code/12 [NS: y] "
                  "NS:@1 y@5"},
        // A no-break space separates words as any white space does for the reader.
        SourceRow{"NoBreakSpaceSeparates", "P:\xC2\xA0x 1", "0 code/0 [P:\xC2\xA0x 1] P:@1 x@4 1@6"},
        SourceRow{"Blocks", "SCREEN_OVERLAY: s\n{\nNSS: n\n{\n# c\nSNS s\n}\nNS: t\n}\n",
                  "0 code/0 [SCREEN_OVERLAY: s] SCREEN_OVERLAY:@1 s@17\n0 open/18 [{] {@1\n1 code/20 [NSS: n] NSS:@1 "
                  "n@6\n1 open/27 [{] {@1\n2s comment/29 {# c}\n2s code/33 [SNS s] SNS@1 s@5\n1 close/39 [}] }@1\n1 "
                  "code/41 [NS: t] NS:@1 t@5\n0 close/47 [}] }@1"},
        // At top level only a block's head opens a block; a brace after
        // another line is a line of its own, as is a "}" with nothing open.
        SourceRow{"StrayBracesAtTopLevel", "T: a \"x\"\n{\nP: p 1\n}\nCL\n{",
                  "0 code/0 [T: a \"x\"] T:@1 a@4 \"x\"@6 \"@5\n0 open/9 [{] {@1\n0 code/11 [P: p 1] P:@1 p@4 1@6\n0 "
                  "close/18 [}] }@1\n0 code/20 [CL] CL@1\n0 open/23 [{] {@1"},
        // Either view of the keyword makes a script: "N:SS" is NSS at top level.
        SourceRow{"ScriptHeadInEitherView", "N:SS x\n{\nA\tb\n}\nVP: v\n{\nWS:w\n{\nX\n}\n}",
                  "0 code/0 [N:SS x] N:SS@1 x@6\n0 open/7 [{] {@1\n1s code/9 [A\tb] A@1 b@3\n0 close/13 [}] }@1\n0 "
                  "code/15 [VP: v] VP:@1 v@5\n0 open/21 [{] {@1\n1 code/23 [WS:w] WS:w@1\n1 open/28 [{] {@1\n2s "
                  "code/30 [X] X@1\n1 close/32 [}] }@1\n0 close/34 [}] }@1"},
        SourceRow{"UnclosedBlock", "CL: c\n{\na\n{\n",
                  "0 code/0 [CL: c] CL:@1 c@5\n0 open/6 [{] {@1\n1 code/8 [a] "
                  "a@1\n1 open/10 [{] {@1"}),
    rowName<SourceRow>);

} // namespace
