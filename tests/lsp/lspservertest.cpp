#include "lsp/lspsession.h"
#include "support/testsupport.h"

#include <QJsonArray>

namespace {

const QString kWizard = QStringLiteral(WDLC_TEST_DATA "/lsp/wizard");

QString wizardFile(const QString &name)
{
    return kWizard + QLatin1Char('/') + name;
}

// A place in the test wizard named by its text: the file, a snippet of the
// line and the word in it.
struct Place
{
    const char *file;
    const char *snippet;
    const char *word;

    QJsonObject params() const
    {
        return placeOf(wizardFile(QLatin1String(file)), QString::fromUtf8(snippet), QString::fromUtf8(word));
    }
};

class OpenWizard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session.initialize(kWizard);
        session.open(wizardFile(QStringLiteral("main.wdl")));
    }
    LspSession session;
};

struct DefinitionRow
{
    const char *name;
    Place place;
    const char *expected;

    friend void PrintTo(const DefinitionRow &row, std::ostream *os) { *os << row.name; }
};

class Definition : public OpenWizard, public ::testing::WithParamInterface<DefinitionRow>
{
};

// Every kind of id leads to the word that defines it, in the included file
// too; an INCLUDE line leads to the file.
TEST_P(Definition, LeadsToTheDefiningWord)
{
    const QJsonValue result = session.result(QStringLiteral("textDocument/definition"), GetParam().place.params());
    EXPECT_EQ(result.isNull() ? QStringLiteral("none") : locationText(result, kWizard),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Lsp, Definition,
    ::testing::Values(
        DefinitionRow{"text_of_an_included_file", {"main.wdl", "T: title", "title"}, "texts/shared.wdl:2:3-8"},
        DefinitionRow{"text_override", {"main.wdl", "TO: mode_name", "mode_name"}, "texts/shared.wdl:4:3-12"},
        DefinitionRow{"choice_list_entry", {"main.wdl", "   no", "no"}, "texts/shared.wdl:7:3-5"},
        DefinitionRow{"default_choice_without_its_star", {"main.wdl", "yes*", "yes"}, "texts/shared.wdl:6:3-6"},
        DefinitionRow{"unit_text", {"main.wdl", "UT: rpm", "rpm"}, "main.wdl:12:3-6"},
        DefinitionRow{"filter", {"main.wdl", "      CLF: f_modes", "f_modes"}, "main.wdl:13:5-12"},
        DefinitionRow{
            "local_parameter_in_a_script", {"main.wdl", "CPY speed lp_limit", "lp_limit"}, "main.wdl:14:4-12"},
        DefinitionRow{"parameter_before_its_block", {"main.wdl", "CPY speed[1]", "speed"}, "main.wdl:34:7-12"},
        DefinitionRow{"copy_target_with_setups", {"main.wdl", "speed[2,3]", "speed"}, "main.wdl:34:7-12"},
        DefinitionRow{"script_by_call", {"main.wdl", "CALL sr_clamp", "sr_clamp"}, "main.wdl:16:12-20"},
        DefinitionRow{"screen_by_ns", {"main.wdl", "NS: limit", "limit"}, "main.wdl:32:19-24"},
        DefinitionRow{"screen_by_sns", {"main.wdl", "SNS confirm", "confirm"}, "main.wdl:59:21-28"},
        DefinitionRow{"definition_itself", {"main.wdl", "OVERLAY: o_intro", "o_intro"}, "main.wdl:24:12-19"},
        DefinitionRow{"include_line", {"main.wdl", "INCLUDE texts", "texts"}, "texts/shared.wdl:1:0-0"},
        DefinitionRow{"keyword", {"main.wdl", "OK_ACTION", "OK_ACTION"}, "none"},
        DefinitionRow{"number", {"main.wdl", "MAX: 3000", "3000"}, "none"},
        DefinitionRow{"comment", {"texts/shared.wdl", "# Texts", "Texts"}, "none"}),
    rowName<DefinitionRow>);

TEST_F(OpenWizard, ReferencesSpanTheIncludedFiles)
{
    QJsonObject params = Place{"main.wdl", "T: title", "title"}.params();
    params.insert(QStringLiteral("context"), QJsonObject{{QStringLiteral("includeDeclaration"), false}});
    QStringList found;
    for (const QJsonValue &location : session.result(QStringLiteral("textDocument/references"), params).toArray())
        found.append(locationText(location, kWizard));
    EXPECT_EQ(found, QStringList({"texts/shared.wdl:3:3-8", "main.wdl:26:9-14"}));

    params = Place{"main.wdl", "VP: speed", "speed"}.params();
    found.clear();
    for (const QJsonValue &location : session.result(QStringLiteral("textDocument/references"), params).toArray())
        found.append(locationText(location, kWizard));
    EXPECT_EQ(found, QStringList({"main.wdl:18:7-12", "main.wdl:18:16-21", "main.wdl:34:7-12", "main.wdl:44:13-18"}));
}

struct HoverRow
{
    const char *name;
    Place place;
    const char *expected;

    friend void PrintTo(const HoverRow &row, std::ostream *os) { *os << row.name; }
};

class Hover : public OpenWizard, public ::testing::WithParamInterface<HoverRow>
{
};

TEST_P(Hover, SaysWhatTheIdIs)
{
    const QJsonValue result = session.result(QStringLiteral("textDocument/hover"), GetParam().place.params());
    EXPECT_EQ(result[QStringLiteral("contents")][QStringLiteral("value")].toString().toStdString(),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lsp, Hover,
    ::testing::Values(
        HoverRow{"text_with_its_translation",
                 {"main.wdl", "T: title", "title"},
                 "**text** `title`, number 1\n\nEnglish:\n\n> Set the speed limit\n\nhelp:\n\n> OK goes on.\n\n"
                 "German:\n\n> Drehzahlgrenze einstellen\n\nGerman help:\n\n> OK geht weiter."},
        HoverRow{"virtual_parameter",
                 {"main.wdl", "CPY speed lp", "speed"},
                 "**virtual parameter** `speed`\n\nname: `speed_name` \"Speed limit\"\n\nminimum 0, maximum 3000, "
                 "default 1500, scale 0\n\nunit: `rpm` \"rpm\"\n\nwrite script: `ws_speed`"},
        HoverRow{"drive_parameter",
                 {"main.wdl", "P: mode", "mode"},
                 "**drive parameter** `mode`, number 100\n\nname: `mode_name` \"Control mode\"\n\n"
                 "choice-list filter: `f_modes`"},
        HoverRow{"screen_with_its_next_screens",
                 {"main.wdl", "NS: limit", "limit"},
                 "**screen** `limit` (SCREEN_DUAL_PARAM)\n\nparameters: `speed`, `mode`\n\nnext-screen script: "
                 "`nss_limit`\n\nnext screens: `confirm`"},
        HoverRow{"script_with_its_commands",
                 {"main.wdl", "CALL sr_clamp", "sr_clamp"},
                 "**script** `sr_clamp` (SUBROUTINE), 2 commands\n\n```wdl\nCPY speed[1] speed[2,3]\nRET\n```"},
        HoverRow{"choice_list",
                 {"main.wdl", "CL: yes_no", "yes_no"},
                 "**choice list** `yes_no`\n- `yes` \"Yes\" (default)\n- `no` \"No\""},
        HoverRow{
            "filter", {"main.wdl", "CLF: f_modes \"", "f_modes"}, "**choice-list filter** `f_modes`\n\nindexes: 0, 2"},
        HoverRow{"overlay",
                 {"main.wdl", "OVERLAY: o_intro", "o_intro"},
                 "**overlay** `o_intro`\n\ntext: `title` \"Set the speed limit\"\n- OK_ACTION: GOTO_NEXT_SCREEN"},
        HoverRow{"local_parameter", {"main.wdl", "LP: lp_limit", "lp_limit"}, "**local parameter** `lp_limit` = 1500"}),
    rowName<HoverRow>);

struct CompletionRow
{
    const char *name;
    // The line as typed, "|" standing for the cursor, put in place of the
    // line that holds snippet.
    const char *snippet;
    const char *typed;
    const char *expected;

    friend void PrintTo(const CompletionRow &row, std::ostream *os) { *os << row.name; }
};

class Completion : public OpenWizard, public ::testing::WithParamInterface<CompletionRow>
{
};

// What is offered at a place, the labels in order (a row lists the first few
// when there are many).
TEST_P(Completion, OffersWhatTheGrammarExpects)
{
    const QString path = wizardFile(QStringLiteral("main.wdl"));
    QStringList lines = QString::fromUtf8(readFile(path)).split(QLatin1Char('\n'));
    const QString typed = QString::fromUtf8(GetParam().typed);
    int line = 0;
    while (line < lines.size() && !lines.at(line).contains(QString::fromUtf8(GetParam().snippet)))
        ++line;
    ASSERT_LT(line, lines.size());
    lines[line] = QString(typed).remove(QLatin1Char('|'));
    session.change(path, lines.join(QLatin1Char('\n')));
    const QJsonValue result = session.result(QStringLiteral("textDocument/completion"),
                                             LspSession::at(path, line, typed.indexOf(QLatin1Char('|'))));
    QStringList labels;
    for (const QJsonValue &item : result.toArray())
        labels.append(item[QStringLiteral("label")].toString());
    const QStringList expected = QString::fromUtf8(GetParam().expected).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    EXPECT_EQ(labels.mid(0, expected.size()), expected) << labels.join(QLatin1Char(' ')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Lsp, Completion,
    ::testing::Values(
        CompletionRow{"screen_after_ns", "NS: limit", "   NS: |", "intro limit confirm"},
        CompletionRow{"screen_after_ns_with_a_prefix", "NS: limit", "   NS:li|", "intro limit confirm"},
        CompletionRow{"text_in_an_overlay", "T: title", "      T: |",
                      "title mode_name save_name yes no speed_name rpm"},
        CompletionRow{"tags_of_a_screen", "NS: limit", "   |", "P VP VCP OVERLAY NS NSS PSS PRE_SCREEN_SCRIPT WS"},
        CompletionRow{
            "tags_of_an_overlay", "T: title", "      |",
            "T H OK_ACTION CANCEL_ACTION BACK_ACTION INFO_ACTION UP_ACTION DOWN_ACTION LEFT_ACTION RIGHT_ACTION"},
        CompletionRow{"actions_of_a_key", "OK_ACTION", "      OK_ACTION: |",
                      "PROCEED_TO_WIZARD_WITH_RESET EXIT_FUNCTION_SETUP EXIT_TO_STATUS"},
        CompletionRow{"mnemonics", "CALL sr_clamp", "         |", "BRA BEQ BNE BLT"},
        CompletionRow{"script_operand_of_call", "CALL sr_clamp", "         CALL |", "sr_clamp ws_speed nss_limit"},
        CompletionRow{"screen_operand_of_sns", "SNS confirm", "      SNS |", "intro limit confirm"},
        CompletionRow{"parameter_operand", "CALL sr_clamp", "         CPY speed |", "lp_limit speed mode save"},
        CompletionRow{"filter_in_a_drive_parameter", "      CLF: f_modes", "      CLF: |", "f_modes"},
        CompletionRow{"label_operand_offers_nothing", "CALL sr_clamp", "         BRA |", ""},
        CompletionRow{"nothing_in_a_comment", "NS: limit", "   # NS: |", ""},
        CompletionRow{"nothing_in_a_text", "T: rpm", "T: rpm \"r|\"", ""}),
    rowName<CompletionRow>);

// The outline: the items each file defines, nested in the blocks they stand in.
TEST_F(OpenWizard, DocumentSymbolsNestAsTheBlocks)
{
    const QJsonValue result = session.result(
        QStringLiteral("textDocument/documentSymbol"),
        QJsonObject{
            {QStringLiteral("textDocument"),
             QJsonObject{{QStringLiteral("uri"), LspServer::uriOfPath(wizardFile(QStringLiteral("main.wdl")))}}}});
    std::function<QString(const QJsonArray &)> outline = [&outline](const QJsonArray &symbols) {
        QStringList out;
        for (const QJsonValue &s : symbols) {
            QString item = s[QStringLiteral("name")].toString();
            if (s.toObject().contains(QStringLiteral("children")))
                item += QStringLiteral(" (") + outline(s[QStringLiteral("children")].toArray()) + QLatin1Char(')');
            out.append(item);
        }
        return out.join(QStringLiteral(", "));
    };
    EXPECT_EQ(outline(result.toArray()).toStdString(),
              "speed_name, rpm, f_modes, lp_limit, sr_clamp, intro (o_intro), limit (speed (ws_speed), mode, "
              "nss_limit), confirm (save (yes_no))");
}

TEST_F(OpenWizard, RenameChangesEveryFileThatUsesTheId)
{
    QJsonObject params = Place{"main.wdl", "T: title", "title"}.params();
    params.insert(QStringLiteral("newName"), QStringLiteral("heading"));
    const QJsonObject changes =
        session.result(QStringLiteral("textDocument/rename"), params)[QStringLiteral("changes")].toObject();
    QStringList edits;
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
        for (const QJsonValue &edit : it.value().toArray())
            edits.append(locationText(QJsonObject{{QStringLiteral("uri"), it.key()},
                                                  {QStringLiteral("range"), edit[QStringLiteral("range")]}},
                                      kWizard)
                         + QLatin1Char(' ') + edit[QStringLiteral("newText")].toString());
    }
    edits.sort();
    EXPECT_EQ(edits, QStringList({"main.wdl:26:9-14 heading", "texts/shared.wdl:2:3-8 heading",
                                  "texts/shared.wdl:3:3-8 heading"}));
}

struct RenameErrorRow
{
    const char *name;
    const char *newName;
    const char *error;

    friend void PrintTo(const RenameErrorRow &row, std::ostream *os) { *os << row.name; }
};

class RenameRefused : public OpenWizard, public ::testing::WithParamInterface<RenameErrorRow>
{
};

TEST_P(RenameRefused, SaysWhy)
{
    QJsonObject params = Place{"main.wdl", "NS: limit", "limit"}.params();
    params.insert(QStringLiteral("newName"), QString::fromUtf8(GetParam().newName));
    const QJsonObject response = session.call(QStringLiteral("textDocument/rename"), params);
    EXPECT_EQ(response[QStringLiteral("error")][QStringLiteral("message")].toString().toStdString(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Lsp, RenameRefused,
    ::testing::Values(RenameErrorRow{"taken", "confirm", "The screen confirm exists already."},
                      RenameErrorRow{"blank", "two words",
                                     "\"two words\" cannot be an id: it must be one word without colons, quotes, "
                                     "brackets, comment signs or a final star."},
                      RenameErrorRow{"colon", "a:b",
                                     "\"a:b\" cannot be an id: it must be one word without colons, quotes, brackets, "
                                     "comment signs or a final star."},
                      RenameErrorRow{"star", "x*",
                                     "\"x*\" cannot be an id: it must be one word without colons, quotes, brackets, "
                                     "comment signs or a final star."}),
    rowName<RenameErrorRow>);

} // namespace
