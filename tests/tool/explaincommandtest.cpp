#include "tool/explaincommand.h"

#include "base/diagnostics.h"
#include "tool/diagnostic.h"
#include "tool/diagnosticformats.h"
#include "tool/toolrun.h"

namespace {

ToolRun explain(const QStringList &arguments)
{
    return runToolIn(QDir::currentPath(), QStringList{QStringLiteral("explain")} + arguments);
}

// Pieces unlike the document's examples, holding a piece's mark that a
// second pass of filling in would replace.
QStringList oddPieces(const Diagnostics::Entry &entry)
{
    QStringList pieces;
    for (int i = 0; i < entry.arguments.size(); ++i)
        pieces.append(QStringLiteral("q%1_") + QString::number(i + 7));
    return pieces;
}

// What check prints for the message, pasted whole: place, level, rule.
QString checkLine(Diagnostics::Id id, const QStringList &pieces)
{
    const Diagnostics::Entry &entry = Diagnostics::entry(id);
    Diagnostic d;
    d.file = QStringLiteral("wizards/pump.wdl");
    d.line = 12;
    d.column = 4;
    d.level = entry.level == Diagnostics::Error ? Diagnostic::Error : Diagnostic::Warning;
    d.rule = entry.rule;
    d.message = Diagnostics::text(id, pieces);
    return DiagnosticFormats::line(d);
}

TEST(ExplainCommand, FindsEveryDiagnosticFromCheckOutputWithOtherPieces)
{
    for (int i = 0; i < Diagnostics::kCount; ++i) {
        const auto id = Diagnostics::Id(i);
        const QString key = Diagnostics::key(id);
        const QStringList pieces = oddPieces(Diagnostics::entry(id));
        const ToolRun run = explain({checkLine(id, pieces)});
        EXPECT_EQ(run.status, 0) << key.toStdString() << ": " << run.err.toStdString();
        const QStringList lines = run.out.split(QLatin1Char('\n'));
        EXPECT_EQ(lines.value(0).toStdString(),
                  Diagnostics::pattern(id).split(QLatin1Char('\n')).value(0).toStdString());
        EXPECT_TRUE(run.out.contains(QLatin1Char('(') + key + QStringLiteral(")\n"))) << key.toStdString();
        for (int p = 0; p < pieces.size(); ++p) {
            const QString shown = QStringLiteral("  <") + Diagnostics::entry(id).arguments.at(p)
                                  + QStringLiteral("> = ") + pieces.at(p) + QLatin1Char('\n');
            EXPECT_TRUE(run.out.contains(shown)) << key.toStdString() << ": " << shown.toStdString();
        }
        // By its key, as the document names it.
        EXPECT_TRUE(explain({key}).out.startsWith(Diagnostics::pattern(id) + QLatin1Char('\n'))) << key.toStdString();
    }
}

TEST(ExplainCommand, FindsEveryRuleByItsNameAndSwitch)
{
    for (const Diagnostics::Rule &rule : Diagnostics::rules()) {
        const QString head = QStringLiteral("-W") + rule.name + QStringLiteral(": ") + rule.summary + QLatin1Char('\n');
        for (const QString &form : {rule.name, QStringLiteral("-W") + rule.name, QStringLiteral("-Wno-") + rule.name,
                                    QStringLiteral("[-Werror=") + rule.name + QLatin1Char(']')}) {
            const ToolRun run = explain({form});
            EXPECT_EQ(run.status, 0) << form.toStdString();
            EXPECT_TRUE(run.out.startsWith(head)) << form.toStdString() << "\n" << run.out.toStdString();
        }
        const QString out = explain({rule.name}).out;
        for (int i = 0; i < Diagnostics::kCount; ++i) {
            const auto id = Diagnostics::Id(i);
            if (Diagnostics::entry(id).rule == rule.name) {
                EXPECT_TRUE(out.contains(QStringLiteral("\n  ") + Diagnostics::pattern(id) + QLatin1Char('\n')))
                    << rule.name.toStdString() << ": " << Diagnostics::key(id).toStdString();
            }
        }
    }
}

// A message typed into several arguments, as a shell splits it unquoted.
TEST(ExplainCommand, TakesAMessageSplitIntoWords)
{
    const ToolRun run = explain({QStringLiteral("Screen"), QStringLiteral("pick"), QStringLiteral("is"),
                                 QStringLiteral("defined"), QStringLiteral("more"), QStringLiteral("than"),
                                 QStringLiteral("once.")});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("Screen <screen> is defined more than once.\n"
                                                  "error, raised by the reader (ScreenDefinedTwice)\n"
                                                  "  <screen> = pick\n\n")))
        << run.out.toStdString();
}

} // namespace
