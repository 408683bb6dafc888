// Every example of the documents under docs/ compiles to exactly the outcome
// the document states, so that the documents cannot go stale. The convention
// a document follows is in documentexamples.h; in short:
//
//   ```wdl                      the wizard, main.wdl
//   ```wdl file=common/x.wdl    another file of the same example
//   ```xml file=translation_German.xml, ```hex file=files/curve.csiv
//   ```wdl fragment             shown for its shape, skipped here
//   ```wdl file=header.wdl shared   beside every later example
//
// closed by <!-- outcome: clean -->, by a ```warnings block holding what
// `wdltool check main.wdl` prints ("..." for any lines), or by an ```errors
// block holding the warnings file `wdlc main.wdl` writes. With an error
// among check's lines wdlc writes no image; with warnings only it does.

#include "docs/documentexamples.h"

#include "core/commandline.h"
#include "inspect/sasimagereader.h"
#include "support/wizardfiles.h"
#include "tool/toolrun.h"

#include <QRegularExpression>

namespace {

const QStringList kDocuments = {QStringLiteral("language.md"), QStringLiteral("diagnostics.md")};

QString docsDir()
{
    return QStringLiteral(WDLC_SOURCE_DIR "/docs/");
}

DocumentExamples allExamples()
{
    DocumentExamples all;
    for (const QString &document : kDocuments) {
        QFile file(docsDir() + document);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const DocumentExamples one = extractDocumentExamples(document, QString::fromUtf8(file.readAll()));
        all.examples += one.examples;
        all.problems += one.problems;
    }
    return all;
}

// The lines stated, where a line "..." stands for any number of lines.
::testing::AssertionResult sameLines(const QStringList &actual, const QStringList &stated)
{
    if (!stated.contains(QStringLiteral("...")))
        return sameWarnings(actual, stated);
    QString pattern;
    for (const QString &line : stated)
        pattern += line == QLatin1String("...") ? QStringLiteral("(?:[^\\n]*\\n)*")
                                                : QRegularExpression::escape(line) + QStringLiteral("\\n");
    if (QRegularExpression(QStringLiteral("\\A") + pattern + QStringLiteral("\\z"))
            .match(actual.join(QLatin1Char('\n')) + QLatin1Char('\n'))
            .hasMatch())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "actual:\n  " << actual.join(QStringLiteral("\n  ")).toStdString()
                                         << "\nstated:\n  " << stated.join(QStringLiteral("\n  ")).toStdString();
}

bool isTranslationFile(const QString &name)
{
    return name.startsWith(QLatin1String("translation_")) && name.endsWith(QLatin1String(".xml"))
           && name != QLatin1String("translation_template.xml");
}

TEST(DocumentExamples, FollowTheConvention)
{
    const DocumentExamples all = allExamples();
    EXPECT_TRUE(all.problems.isEmpty()) << all.problems.join(QLatin1Char('\n')).toStdString();
    int complete = 0;
    for (const DocumentExample &example : all.examples)
        complete += example.outcome != DocumentExample::Outcome::Fragment;
    // An extractor that finds nothing would pass every example it finds.
    EXPECT_GE(complete, 40);
}

class DocumentExampleRun : public ::testing::TestWithParam<DocumentExample>
{
};

TEST_P(DocumentExampleRun, GivesTheStatedOutcome)
{
    const DocumentExample &example = GetParam();
    if (example.outcome == DocumentExample::Outcome::Fragment)
        GTEST_SKIP() << "a fragment, shown for its shape";

    WizardFiles files;
    int translations = 0;
    int csivFiles = 0;
    for (const DocumentExample::File &file : example.files) {
        files.writeBytes(file.name, file.bytes);
        translations += isTranslationFile(file.name);
        csivFiles += file.name.endsWith(QLatin1String(".csiv"));
    }

    const ToolRun check = runToolIn(files.dir(), {QStringLiteral("check"), QStringLiteral("main.wdl")});
    {
        WorkingDirectory cd(files.dir());
        CommandLine::run({QStringLiteral("main.wdl")});
    }
    if (example.outcome == DocumentExample::Outcome::WarningsFile) {
        const QString written = QString::fromUtf8(readFile(files.path(QStringLiteral("main.wdl_errors.txt"))));
        EXPECT_TRUE(sameLines(
            QString(written).replace(files.dir(), QStringLiteral("<dir>")).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            example.checkOutput));
        return;
    }
    const QStringList stated = example.outcome == DocumentExample::Outcome::Clean
                                   ? QStringList{QStringLiteral("no problems")}
                                   : example.checkOutput;
    EXPECT_TRUE(sameLines(
        QString(check.out).replace(files.dir(), QStringLiteral("<dir>")).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
        stated));
    const QByteArray image = readFile(files.path(QStringLiteral("main.wdl.sas")));
    // An error in a WDL file keeps wdlc from writing the image; one of a
    // CSIV file and the warnings do not.
    static const QRegularExpression wizardError(QStringLiteral("\\.wdl:\\d+(:\\d+)?: error: "));
    const bool refused = check.out.contains(wizardError);
    if (refused) {
        EXPECT_TRUE(image.isEmpty()) << "wdlc wrote an image";
        return;
    }
    ASSERT_FALSE(image.isEmpty()) << "wdlc wrote no image";
    // What check warns about may well be missing from the image.
    if (example.outcome == DocumentExample::Outcome::Warnings)
        return;
    // Problems with translation files and CSIV files come up only while the
    // image is built, and wdlc writes the image all the same.
    EXPECT_TRUE(sameWarnings(warningLines(WdlWizard::instance()), {}));
    const SasImage read = SasImageReader::read(image);
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.dictionaries.size(), 1 + translations);
    EXPECT_EQ(read.csivFiles.size(), csivFiles);
}

INSTANTIATE_TEST_SUITE_P(Docs, DocumentExampleRun, ::testing::ValuesIn(allExamples().examples),
                         [](const ::testing::TestParamInfo<DocumentExample> &info) {
                             return info.param.name.toStdString();
                         });

// The extractor on small documents: what it finds, and the breaches of the
// convention it must not let pass, since a breach would hide an example.
struct ConventionRow
{
    const char *name;
    const char *markdown;
    // "<outcome> <line> <files>" per example, then "! <problem>" per problem.
    const char *expected;

    friend void PrintTo(const ConventionRow &row, std::ostream *os) { *os << row.name; }
};

class DocumentConvention : public ::testing::TestWithParam<ConventionRow>
{
};

TEST_P(DocumentConvention, FindsTheExamplesAndTheBreaches)
{
    const DocumentExamples found = extractDocumentExamples(QStringLiteral("d.md"),
                                                           QString::fromUtf8(GetParam().markdown));
    QStringList summary;
    for (const DocumentExample &example : found.examples) {
        QStringList names;
        for (const DocumentExample::File &file : example.files)
            names.append(file.name + QLatin1Char('=') + QString::fromLatin1(file.bytes.toHex()));
        const char *outcome = example.outcome == DocumentExample::Outcome::Clean          ? "clean"
                              : example.outcome == DocumentExample::Outcome::Warnings     ? "warnings"
                              : example.outcome == DocumentExample::Outcome::WarningsFile ? "errors"
                                                                                          : "fragment";
        QStringList parts = {QLatin1String(outcome), QString::number(example.line), names.join(QLatin1Char(','))};
        if (!example.checkOutput.isEmpty())
            parts.append(example.checkOutput.join(QLatin1Char('|')));
        summary.append(parts.join(QLatin1Char(' ')));
    }
    for (const QString &problem : found.problems)
        summary.append(QStringLiteral("! ") + problem);
    EXPECT_EQ(summary.join(QLatin1Char('\n')).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DocumentConvention,
    ::testing::Values(
        ConventionRow{"CleanWithIncludeAndShared",
                      "```wdl file=h.wdl shared\nA\n```\ntext\n```wdl file=c.wdl\nB\n```\n```wdl\nC\n```\n"
                      "<!-- outcome: clean -->\n",
                      "clean 5 c.wdl=420a,main.wdl=430a,h.wdl=410a"},
        ConventionRow{"WarningsAndHex",
                      "```hex file=f.csiv\n0A ff\n```\n```wdl\nX\n```\n```warnings\nmain.wdl:1: warning: W\n\n"
                      "1 warning in 1 file\n```\n",
                      "warnings 1 f.csiv=0aff,main.wdl=580a main.wdl:1: warning: W|1 warning in 1 file"},
        // The convention at the top of a document shows fences inside a comment.
        ConventionRow{"FencesInACommentAreProse",
                      "<!--\n```wdl\nA\n```\n-->\n```wdl\nB\n```\n<!-- outcome: clean -->\n", "clean 6 main.wdl=420a"},
        ConventionRow{"FragmentNeedsNoOutcome", "```wdl fragment\nP: x 1\n```\n```sh\nwdlc x\n```\n",
                      "fragment 1 main.wdl=503a207820310a"},
        ConventionRow{"MissingOutcomeIsCaughtByTheNextExample",
                      "```wdl\nA\n```\n```wdl\nB\n```\n<!-- outcome: clean -->\n",
                      "clean 1 main.wdl=410a,main.wdl=420a\n"
                      "! d.md:4: the example already has a file main.wdl (is an outcome missing above?)"},
        ConventionRow{"MissingOutcomeAtTheEnd", "```wdl\nA\n```\n", "! d.md:1: the example has no outcome"},
        ConventionRow{"OutcomeWithoutExample", "<!-- outcome: clean -->\n",
                      "! d.md:1: an outcome without an example above it"},
        ConventionRow{"MisspeltOutcome", "```wdl\nA\n```\n<!-- outcome: cleen -->\n<!-- outcome: clean -->\n",
                      "clean 1 main.wdl=410a\n"
                      "! d.md:4: an outcome comment reads <!-- outcome: clean --> on a line of its own"},
        ConventionRow{"BadInfoStrings",
                      "```xml\n<a/>\n```\n```hex file=b\nxyz\n```\n```wdl framgent\nA\n```\n<!-- outcome: clean -->\n",
                      "clean 1 main.wdl=3c612f3e0a,b=,main.wdl=410a\n"
                      "! d.md:1: a xml block needs file=NAME\n"
                      "! d.md:4: a hex block holds pairs of hex digits only\n"
                      "! d.md:7: unknown words in the info string: framgent\n"
                      "! d.md:7: the example already has a file main.wdl (is an outcome missing above?)"},
        ConventionRow{"WarningsFile", "```wdl\nX\n```\n```errors\nmain.wdl\t0\n\tE\n```\n",
                      "errors 1 main.wdl=580a main.wdl\t0|\tE"},
        ConventionRow{"UnclosedBlock", "```wdl\nA\n",
                      "! d.md:1: the block is never closed\n! d.md:1: the example has no outcome"}),
    rowName<ConventionRow>);

} // namespace
