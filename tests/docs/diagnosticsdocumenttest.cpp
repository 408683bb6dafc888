// docs/diagnostics.md has one entry per message of the catalogue, under the
// heading of where the message arises, headed by the message itself, and
// with an example whose stated outcome shows that very message, unless the
// entry says that no wizard brings it about. (documentexamplestest.cpp
// proves that each example gives the outcome stated.)

#include "docs/documentexamples.h"

#include "base/diagnostics.h"
#include "support/testsupport.h"
#include "tool/diagnosticsdocument.h"

#include <QFile>
#include <QMetaEnum>
#include <QRegularExpression>

namespace {

QString documentPath()
{
    return QStringLiteral(WDLC_SOURCE_DIR "/docs/diagnostics.md");
}

QString sourceDocument()
{
    return QString::fromUtf8(readFile(documentPath()));
}

// The messages an example states, each with its level and rule: the lines of
// check's output (a message of several lines joined again), or the messages
// of the warnings file.
struct Stated
{
    QString level;
    QString rule;
    QString message;
};

QList<Stated> statedMessages(const DocumentExample &example)
{
    static const QRegularExpression checkLine(
        QStringLiteral("\\A\\S+?:\\d+(?::\\d+)?: (error|warning): (.*?)(?: \\[-W(?:error=)?([a-z-]+)\\])?\\z"));
    QList<Stated> out;
    // check's last line is its summary, which a message never runs into.
    QStringList lines = example.checkOutput;
    if (example.outcome == DocumentExample::Outcome::Warnings && !lines.isEmpty())
        lines.removeLast();
    for (const QString &line : qAsConst(lines)) {
        if (example.outcome == DocumentExample::Outcome::WarningsFile) {
            if (line.startsWith(QLatin1Char('\t')))
                out.append({QStringLiteral("error"), QString(), line.mid(1)});
            continue;
        }
        const QRegularExpressionMatch m = checkLine.match(line);
        if (m.hasMatch())
            out.append({m.captured(1), m.captured(3), m.captured(2)});
        else if (!out.isEmpty() && line != QLatin1String("..."))
            out.last().message += QLatin1Char('\n') + line;
    }
    return out;
}

QString heading(Diagnostics::Id id)
{
    return QLatin1Char('`') + Diagnostics::pattern(id).replace(QLatin1Char('\n'), QStringLiteral("\\n"))
           + QLatin1Char('`');
}

TEST(DiagnosticsDocument, HasAnEntryWithAnExampleForEveryDiagnostic)
{
    const QString markdown = sourceDocument();
    const DiagnosticsDocument document(markdown);
    const QList<DocumentExample> examples =
        extractDocumentExamples(QStringLiteral("diagnostics.md"), markdown).examples;
    const QMetaEnum origins = QMetaEnum::fromType<Diagnostics::Origin>();
    for (int i = 0; i < Diagnostics::kCount; ++i) {
        const auto id = Diagnostics::Id(i);
        const Diagnostics::Entry &diagnostic = Diagnostics::entry(id);
        const std::string key = Diagnostics::key(id).toStdString();
        const DiagnosticsDocument::Entry *entry = document.diagnostic(Diagnostics::key(id));
        if (!entry) {
            ADD_FAILURE() << "no entry for " << key;
            continue;
        }
        EXPECT_EQ(entry->heading.toStdString(), heading(id).toStdString()) << key;
        EXPECT_EQ(entry->origin.toStdString(), origins.valueToKey(diagnostic.origin)) << key;

        // The examples of the entry and the messages they state of it.
        int shown = 0;
        for (const DocumentExample &example : examples) {
            if (example.line < entry->line || example.line >= entry->endLine)
                continue;
            for (const Stated &stated : statedMessages(example)) {
                const Diagnostics::Match m = Diagnostics::match(stated.message, stated.rule);
                if (m.id != i)
                    continue;
                ++shown;
                EXPECT_EQ(stated.level.toStdString(), diagnostic.level == Diagnostics::Error ? "error" : "warning")
                    << key;
                EXPECT_EQ(stated.rule.toStdString(), diagnostic.rule.toStdString()) << key;
            }
        }
        if (entry->hasExample)
            EXPECT_GT(shown, 0) << key << ": no example of the entry at line " << entry->line << " shows it";
        else
            EXPECT_EQ(shown, 0) << key << " is marked \"no example\" but has one";
    }
}

TEST(DiagnosticsDocument, HasAnEntryForEveryRuleAndNoneBeyond)
{
    const DiagnosticsDocument document(sourceDocument());
    QStringList rules;
    for (const Diagnostics::Rule &rule : Diagnostics::rules()) {
        rules.append(rule.name);
        const DiagnosticsDocument::Entry *entry = document.rule(rule.name);
        ASSERT_TRUE(entry) << rule.name.toStdString();
        EXPECT_EQ(entry->heading, QStringLiteral("-W") + rule.name + QStringLiteral(": ") + rule.summary);
        EXPECT_EQ(entry->origin, QStringLiteral("Lint"));
    }
    QStringList keys;
    for (int i = 0; i < Diagnostics::kCount; ++i)
        keys.append(Diagnostics::key(Diagnostics::Id(i)));
    QStringList documented = document.diagnosticKeys();
    QStringList documentedRules = document.ruleNames();
    documented.sort();
    documentedRules.sort();
    keys.sort();
    rules.sort();
    EXPECT_EQ(documented, keys);
    EXPECT_EQ(documentedRules, rules);
    EXPECT_TRUE(document.duplicates().isEmpty()) << document.duplicates().join(QLatin1Char(' ')).toStdString();
}

// wdltool explain reads the document compiled into it: a build that missed
// an edit would explain with stale words.
TEST(DiagnosticsDocument, CompiledInIsTheSourceDocument)
{
    DiagnosticsDocument::builtIn();
    QFile compiled(QStringLiteral(":/docs/diagnostics.md"));
    ASSERT_TRUE(compiled.open(QIODevice::ReadOnly));
    EXPECT_TRUE(compiled.readAll() == readFile(documentPath()));
}

// The reader of the entries on small documents: a heading without its
// marker is prose, a heading inside a code block is code, and an entry ends
// at the next heading of any level.
TEST(DiagnosticsDocument, ReadsEntriesUpToTheNextHeading)
{
    const DiagnosticsDocument document(QStringLiteral("# Title\n"
                                                      "## Reader\n"
                                                      "<!-- origin: Reader -->\n"
                                                      "### `Text <text> is not defined.`\n"
                                                      "<!-- diagnostic: TextNotDefined -->\n"
                                                      "\n"
                                                      "Meaning.\n"
                                                      "```\n"
                                                      "# not a heading\n"
                                                      "```\n"
                                                      "\n"
                                                      "### -Wlabel: branches\n"
                                                      "<!-- rule: label -->\n"
                                                      "<!-- no example -->\n"
                                                      "Labels.\n"
                                                      "### Prose\n"
                                                      "### `X`\n"
                                                      "<!-- diagnostic: TextNotDefined -->\n"));
    const DiagnosticsDocument::Entry *text = document.diagnostic(QStringLiteral("TextNotDefined"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->heading.toStdString(), "`Text <text> is not defined.`");
    EXPECT_EQ(text->body.toStdString(), "Meaning.\n```\n# not a heading\n```");
    EXPECT_EQ(text->line, 4);
    EXPECT_EQ(text->endLine, 12);
    EXPECT_TRUE(text->hasExample);
    EXPECT_EQ(text->origin.toStdString(), "Reader");
    const DiagnosticsDocument::Entry *label = document.rule(QStringLiteral("label"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->body.toStdString(), "Labels.");
    EXPECT_FALSE(label->hasExample);
    EXPECT_EQ(document.duplicates(), QStringList{QStringLiteral("TextNotDefined")});
}

} // namespace
