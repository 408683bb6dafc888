#include "base/diagnostics.h"

#include "support/testsupport.h"
#include "validation/lintrules.h"

#include <QRegularExpression>
#include <QSet>

namespace {

TEST(Diagnostics, EveryKeyNamesItsOwnEntry)
{
    for (int i = 0; i < Diagnostics::kCount; ++i) {
        const auto id = Diagnostics::Id(i);
        EXPECT_EQ(Diagnostics::entry(id).id, id) << i;
        EXPECT_EQ(Diagnostics::fromKey(Diagnostics::key(id)), i) << i;
    }
    EXPECT_EQ(Diagnostics::fromKey(QStringLiteral("Diagnostics::ScreenDefinedTwice")), -1);
}

// Each piece inserted is named, once, so that the documentation and explain
// can show it; no %n is left without a piece.
TEST(Diagnostics, EveryPieceOfATextIsNamed)
{
    static const QRegularExpression piece(QStringLiteral("%(\\d)"));
    for (int i = 0; i < Diagnostics::kCount; ++i) {
        const Diagnostics::Entry &entry = Diagnostics::entry(Diagnostics::Id(i));
        QSet<int> used;
        for (QRegularExpressionMatchIterator it = piece.globalMatch(entry.text); it.hasNext();)
            used.insert(it.next().captured(1).toInt());
        QSet<int> named;
        for (int n = 1; n <= entry.arguments.size(); ++n)
            named.insert(n);
        EXPECT_EQ(used, named) << Diagnostics::key(entry.id).toStdString();
    }
}

// A warning is a rule's: check prints its name, -W turns it off.
TEST(Diagnostics, WarningsBelongToRulesAndEveryRuleHasMessages)
{
    QSet<QString> withMessages;
    for (int i = 0; i < Diagnostics::kCount; ++i) {
        const Diagnostics::Entry &entry = Diagnostics::entry(Diagnostics::Id(i));
        EXPECT_EQ(entry.level == Diagnostics::Warning, !entry.rule.isEmpty());
        if (!entry.rule.isEmpty()) {
            EXPECT_TRUE(Diagnostics::rule(entry.rule)) << entry.rule.toStdString();
            withMessages.insert(entry.rule);
        }
    }
    QStringList names;
    for (const Diagnostics::Rule &rule : Diagnostics::rules()) {
        names.append(rule.name);
        EXPECT_TRUE(withMessages.contains(rule.name)) << rule.name.toStdString();
    }
    // check runs, lists and switches exactly the catalogue's rules, in its order.
    QStringList checked;
    for (const LintRules::Rule &rule : LintRules::rules()) {
        checked.append(rule.name);
        EXPECT_EQ(rule.summary, Diagnostics::rule(rule.name)->summary);
    }
    EXPECT_EQ(checked, names);
}

struct TextRow
{
    const char *name;
    Diagnostics::Id id;
    QStringList pieces;
    const char *text;

    friend void PrintTo(const TextRow &row, std::ostream *os) { *os << row.name; }
};

class DiagnosticsText : public ::testing::TestWithParam<TextRow>
{
};

TEST_P(DiagnosticsText, FillsThePiecesInOnePass)
{
    EXPECT_EQ(Diagnostics::text(GetParam().id, GetParam().pieces).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DiagnosticsText,
    ::testing::Values(
        TextRow{"OnePiece", Diagnostics::ScreenDefinedTwice, {"pick"}, "Screen pick is defined more than once."},
        // An id from the wizard that holds a piece's mark stays as written.
        TextRow{"PieceHoldingAMark", Diagnostics::UnknownScreenTag, {"%2", "s%1"}, "Unknown tag \"%2\" in screen s%1"},
        TextRow{"OnePieceTwice",
                Diagnostics::VpValueNotANumber,
                {"MIN"},
                "Value of attribute MIN is not a number. Please check text MIN"},
        TextRow{"DoubledBlankKept", Diagnostics::UnusedLocalParameter, {"lp"}, "Local Parameter  \"lp\" is not used."},
        TextRow{"PieceRunTogether",
                Diagnostics::TranslationXmlError,
                {"Premature end of document.", "t.xml"},
                "Premature end of document.Error was detected in file t.xml"},
        TextRow{"LineBreakKept",
                Diagnostics::CsivNameMismatch,
                {"f.csiv", "A", "B"},
                "FILE: f.csiv does not contain CSIV file with name \"A\". \nFlash file name is actually \"B\"."},
        TextRow{"EmptyPiece",
                Diagnostics::NextScreenNotDefined,
                {"x", ""},
                "Next screen x is not defined: the image stores screen 0, a dead end on the panel."},
        TextRow{"NoPieces", Diagnostics::MissingBrace, {}, "ERROR with parenthesis!"},
        // A piece not given keeps its mark, so that the gap shows.
        TextRow{"PieceMissing",
                Diagnostics::TooFewArguments,
                {"2"},
                "Too few arguments. There should be at least 2 arguments, but there are %2 arguments"},
        TextRow{
            "PieceEndingInPercent", Diagnostics::UnknownScreenTag, {"50%", "s"}, "Unknown tag \"50%\" in screen s"}),
    rowName<TextRow>);

TEST(Diagnostics, PatternNamesThePieces)
{
    EXPECT_EQ(Diagnostics::pattern(Diagnostics::UnknownScreenTag).toStdString(),
              "Unknown tag \"<tag>\" in screen <screen>");
    EXPECT_EQ(Diagnostics::pattern(Diagnostics::IncompleteText).toStdString(),
              "ERROR in wdl texts from line <line> to line <next line>");
}

struct MatchRow
{
    const char *name;
    const char *message;
    const char *rule;
    // The key found, or "" for none; then the pieces, "|"-separated.
    const char *key;
    const char *pieces;

    friend void PrintTo(const MatchRow &row, std::ostream *os) { *os << row.name; }
};

class DiagnosticsMatch : public ::testing::TestWithParam<MatchRow>
{
};

TEST_P(DiagnosticsMatch, FindsTheMostSpecificText)
{
    const MatchRow &row = GetParam();
    const Diagnostics::Match m = Diagnostics::match(QString::fromUtf8(row.message), QString::fromUtf8(row.rule));
    EXPECT_EQ(m.id < 0 ? std::string() : Diagnostics::key(Diagnostics::Id(m.id)).toStdString(), row.key);
    EXPECT_EQ(m.arguments.join(QLatin1Char('|')).toStdString(), row.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DiagnosticsMatch,
    ::testing::Values(
        MatchRow{"Exact", "Screen pick is defined more than once.", "", "ScreenDefinedTwice", "pick"},
        // "Unknown tag <tag>" fits as well, with more left to the piece.
        MatchRow{"MoreFixedTextWins", "Unknown tag in VP DEFAULT", "", "UnknownVpTag", "DEFAULT"},
        MatchRow{"LongerOfTwoNotFound", "Parameter lp was not found. See script line 0 in script s", "",
                 "CopySourceNotFound", "lp|0|s"},
        MatchRow{"ShorterOfTwoNotFound", "Parameter lp was not found. See script s", "", "ParameterNotFound", "lp|s"},
        MatchRow{"BlanksAsPasted", "Local Parameter \"lp\"   is\nnot used.", "", "UnusedLocalParameter", "lp"},
        MatchRow{"OneBlankForTwo", "Parameter \"p\" is not used.", "", "UnusedParameter", "p"},
        MatchRow{"PieceWithBlanks", "Screen \"a b\" is not used.", "", "UnusedScreen", "a b"},
        MatchRow{"TextOfSeveralLines",
                 "FILE: x.csiv does not contain CSIV file with name \"A\".\n"
                 "Flash file name is actually \"B\".",
                 "", "CsivNameMismatch", "x.csiv|A|B"},
        MatchRow{"RuleNarrowsTheSearch", "Text t is given again; this text replaces the one at a.wdl:3.", "redefined",
                 "RedefinedText", "t|a.wdl:3"},
        MatchRow{"RuleWithoutThatText", "Screen pick is defined more than once.", "label", "", ""},
        MatchRow{"TextCutShort", "Screen pick is defined", "", "", ""},
        MatchRow{"NoSuchText", "1 error in 1 file", "", "", ""}),
    rowName<MatchRow>);

} // namespace
