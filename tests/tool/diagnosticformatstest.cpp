// The three ways check prints its diagnostics: the line compilers print, one
// JSON document, and SARIF 2.1.0 in the structure code-scanning services read.

#include "tool/diagnosticformats.h"
#include "tool/checkcommand.h"
#include "validation/lintrules.h"

#include "support/testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const Diagnostic kError{
    QStringLiteral("main.wdl"), 0,         0,
    Diagnostic::Error,          QString(), QStringLiteral("Meta info tag \"FILE_NAME\" is missing.")};
const Diagnostic kWarning{
    QStringLiteral("common/screens.wdl"),           13, 8, Diagnostic::Warning, QStringLiteral("undefined-screen"),
    QStringLiteral("Next screen x is not defined.")};
const Diagnostic kLines{
    QStringLiteral("dir with blank/translation_German.xml"),   3, 0, Diagnostic::Warning, QStringLiteral("translation"),
    QStringLiteral("Unknown language.\nBahasa,\nTurkish.\n\n")};

struct LineRow
{
    const char *name;
    Diagnostic diagnostic;
    const char *expected;

    friend void PrintTo(const LineRow &row, std::ostream *os) { *os << row.name; }
};

class DiagnosticLine : public ::testing::TestWithParam<LineRow>
{
};

TEST_P(DiagnosticLine, IsTheCompilersLine)
{
    EXPECT_EQ(DiagnosticFormats::line(GetParam().diagnostic).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DiagnosticLine,
    ::testing::Values(
        LineRow{"ErrorOfTheWholeWizard", kError, "main.wdl:0: error: Meta info tag \"FILE_NAME\" is missing."},
        LineRow{"WarningWithColumn", kWarning,
                "common/screens.wdl:13:8: warning: Next screen x is not defined. [-Wundefined-screen]"},
        LineRow{"WarningMadeAnError",
                {kWarning.file, 13, 0, Diagnostic::Error, kWarning.rule, kWarning.message},
                "common/screens.wdl:13: error: Next screen x is not defined. [-Werror=undefined-screen]"},
        // The rule stays on the line that tools read; the final line feeds go.
        LineRow{"MessageOfSeveralLines", kLines,
                "dir with blank/translation_German.xml:3: warning: Unknown language. [-Wtranslation]\nBahasa,\n"
                "Turkish."}),
    rowName<LineRow>);

TEST(DiagnosticText, EndsWithTheSummary)
{
    EXPECT_EQ(DiagnosticFormats::text({}, 0).toStdString(), "no problems\n");
    EXPECT_EQ(DiagnosticFormats::text({kWarning}, 1).toStdString(),
              "common/screens.wdl:13:8: warning: Next screen x is not defined. [-Wundefined-screen]\n"
              "1 warning in 1 file\n");
    EXPECT_TRUE(DiagnosticFormats::text({kError, kWarning, kLines}, 2)
                    .endsWith(QLatin1String("\n1 error and 2 warnings in 2 files\n")));
    EXPECT_TRUE(DiagnosticFormats::text({kError, kError}, 1).endsWith(QLatin1String("\n2 errors in 1 file\n")));
}

TEST(DiagnosticJson, HoldsEveryFieldWithItsType)
{
    const QJsonDocument doc = QJsonDocument::fromJson(DiagnosticFormats::json({kError, kWarning}).toUtf8());
    ASSERT_TRUE(doc.isObject());
    ASSERT_EQ(doc.object().keys(), QStringList{QStringLiteral("diagnostics")});
    const QJsonArray list = doc.object().value(QStringLiteral("diagnostics")).toArray();
    ASSERT_EQ(list.size(), 2);
    const QJsonObject error = list.at(0).toObject();
    EXPECT_EQ(error.value(QStringLiteral("file")).toString(), QStringLiteral("main.wdl"));
    EXPECT_EQ(error.value(QStringLiteral("line")), QJsonValue(0));
    EXPECT_EQ(error.value(QStringLiteral("column")), QJsonValue(0));
    EXPECT_EQ(error.value(QStringLiteral("level")).toString(), QStringLiteral("error"));
    EXPECT_TRUE(error.value(QStringLiteral("rule")).isNull());
    EXPECT_EQ(error.value(QStringLiteral("message")).toString(), kError.message);
    const QJsonObject warning = list.at(1).toObject();
    EXPECT_EQ(warning.keys().size(), 6);
    EXPECT_EQ(warning.value(QStringLiteral("line")), QJsonValue(13));
    EXPECT_EQ(warning.value(QStringLiteral("column")), QJsonValue(8));
    EXPECT_EQ(warning.value(QStringLiteral("level")).toString(), QStringLiteral("warning"));
    EXPECT_EQ(warning.value(QStringLiteral("rule")).toString(), QStringLiteral("undefined-screen"));
}

// The parts of SARIF 2.1.0 that code-scanning services need to show a finding
// on its line: version and schema, the tool with its rules, and each result
// with its rule, level, message and physical location.
TEST(DiagnosticSarif, FollowsTheSarif210Structure)
{
    const QJsonDocument doc = QJsonDocument::fromJson(DiagnosticFormats::sarif({kError, kWarning, kLines}).toUtf8());
    ASSERT_TRUE(doc.isObject());
    const QJsonObject log = doc.object();
    EXPECT_EQ(log.value(QStringLiteral("version")).toString(), QStringLiteral("2.1.0"));
    EXPECT_TRUE(log.value(QStringLiteral("$schema")).toString().endsWith(QLatin1String("sarif-schema-2.1.0.json")));
    const QJsonArray runs = log.value(QStringLiteral("runs")).toArray();
    ASSERT_EQ(runs.size(), 1);

    const QJsonObject driver = runs.at(0)[QStringLiteral("tool")][QStringLiteral("driver")].toObject();
    EXPECT_EQ(driver.value(QStringLiteral("name")).toString(), QStringLiteral("wdltool"));
    EXPECT_FALSE(driver.value(QStringLiteral("version")).toString().isEmpty());
    const QJsonArray rules = driver.value(QStringLiteral("rules")).toArray();
    QStringList ids;
    for (const QJsonValue &rule : rules) {
        ids.append(rule[QStringLiteral("id")].toString());
        EXPECT_FALSE(rule[QStringLiteral("shortDescription")][QStringLiteral("text")].toString().isEmpty());
    }
    QStringList expectedIds{QStringLiteral("wdlc")};
    for (const LintRules::Rule &rule : LintRules::rules())
        expectedIds.append(rule.name);
    EXPECT_EQ(ids, expectedIds);

    const QJsonArray results = runs.at(0)[QStringLiteral("results")].toArray();
    ASSERT_EQ(results.size(), 3);
    struct Expected
    {
        const char *ruleId;
        const char *level;
        const char *uri;
        int startLine;   // 0: no region
        int startColumn; // 0: none
    };
    const Expected expected[] = {{"wdlc", "error", "main.wdl", 0, 0},
                                 {"undefined-screen", "warning", "common/screens.wdl", 13, 8},
                                 {"translation", "warning", "dir%20with%20blank/translation_German.xml", 3, 0}};
    for (int i = 0; i < 3; ++i) {
        const QJsonObject result = results.at(i).toObject();
        const Expected &e = expected[i];
        EXPECT_EQ(result.value(QStringLiteral("ruleId")).toString(), QLatin1String(e.ruleId)) << i;
        EXPECT_EQ(ids.value(result.value(QStringLiteral("ruleIndex")).toInt(-1)), QLatin1String(e.ruleId)) << i;
        EXPECT_EQ(result.value(QStringLiteral("level")).toString(), QLatin1String(e.level)) << i;
        EXPECT_FALSE(result[QStringLiteral("message")][QStringLiteral("text")].toString().isEmpty()) << i;
        const QJsonArray locations = result.value(QStringLiteral("locations")).toArray();
        ASSERT_EQ(locations.size(), 1) << i;
        const QJsonObject physical = locations.at(0)[QStringLiteral("physicalLocation")].toObject();
        EXPECT_EQ(physical[QStringLiteral("artifactLocation")][QStringLiteral("uri")].toString(), QLatin1String(e.uri))
            << i;
        const QJsonValue region = physical.value(QStringLiteral("region"));
        EXPECT_EQ(region.isUndefined(), e.startLine == 0) << i;
        EXPECT_EQ(region[QStringLiteral("startLine")].toInt(), e.startLine) << i;
        EXPECT_EQ(region[QStringLiteral("startColumn")].isUndefined(), e.startColumn == 0) << i;
        EXPECT_EQ(region[QStringLiteral("startColumn")].toInt(), e.startColumn) << i;
    }
}

struct SwitchRow
{
    const char *name;
    const char *switches;
    // The rules left on, sorted, or "refused"; "+error" when warnings become errors.
    const char *expected;

    friend void PrintTo(const SwitchRow &row, std::ostream *os) { *os << row.switches; }
};

class CheckSwitches : public ::testing::TestWithParam<SwitchRow>
{
};

TEST_P(CheckSwitches, ApplyLeftToRight)
{
    CheckCommand::Warnings warnings{CheckCommand::defaultRules(), false};
    for (const QString &name : QString::fromUtf8(GetParam().switches).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!CheckCommand::applySwitch(name, &warnings)) {
            EXPECT_STREQ("refused", GetParam().expected);
            return;
        }
    }
    QStringList on = warnings.enabled.values();
    on.sort();
    if (warnings.asErrors)
        on.append(QStringLiteral("+error"));
    EXPECT_EQ(on.join(QLatin1Char(' ')).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckSwitches,
    ::testing::Values(SwitchRow{"OneRuleOnly", "no-all label", "label"},
                      SwitchRow{"AllAfterNone", "no-all all no-range no-truncated error",
                                "default-choice empty-translation label ns-nss redefined translated-file-name "
                                "translation undefined-screen unknown-action unreachable +error"},
                      SwitchRow{"ErrorTakenBack", "no-all ns-nss error no-error", "ns-nss"},
                      SwitchRow{"UnknownRule", "labels", "refused"},
                      SwitchRow{"UnknownNegation", "no-labels", "refused"},
                      SwitchRow{"NoSwitches", "",
                                "default-choice empty-translation label ns-nss range redefined "
                                "translated-file-name translation truncated undefined-screen "
                                "unknown-action unreachable"}),
    rowName<SwitchRow>);

TEST(CheckSort, ByFileThenLineAndColumnKeepingTheOrderFound)
{
    QList<Diagnostic> list{{QStringLiteral("b.wdl"), 2, 0, Diagnostic::Error, QString(), QStringLiteral("1")},
                           {QStringLiteral("a.wdl"), 9, 3, Diagnostic::Error, QString(), QStringLiteral("2")},
                           {QStringLiteral("b.wdl"), 0, 0, Diagnostic::Error, QString(), QStringLiteral("3")},
                           {QStringLiteral("a.wdl"), 9, 1, Diagnostic::Error, QString(), QStringLiteral("4")},
                           {QStringLiteral("b.wdl"), 2, 0, Diagnostic::Error, QString(), QStringLiteral("5")}};
    CheckCommand::sort(list);
    QString order;
    for (const Diagnostic &d : qAsConst(list))
        order += d.message;
    EXPECT_EQ(order.toStdString(), "42315");
}

} // namespace
