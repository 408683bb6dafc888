#include "lsp/lspsession.h"
#include "support/testsupport.h"

#include <QDir>
#include <QJsonArray>
#include <QMap>
#include <QVector>

#include <algorithm>
#include <tuple>

namespace {

QString headerAnd(const QString &rest)
{
    return QString::fromUtf8(kHeaderTags) + rest;
}

// Problems come from the editor's texts, not the files on disk: an included
// file open in the editor is read as it stands there, and each problem lies on
// the word it is about.
TEST(LspDiagnostics, ComeFromTheEditorsTextsOfEveryFile)
{
    WizardFiles files;
    const QString main = files.write(QStringLiteral("main.wdl"), headerAnd(QStringLiteral("INCLUDE texts.wdl\n"
                                                                                          "SCREEN_OVERLAY: start\n"
                                                                                          "{\n"
                                                                                          "   OVERLAY: o_start\n"
                                                                                          "   {\n"
                                                                                          "      T: hello\n"
                                                                                          "   }\n"
                                                                                          "}\n")));
    const QString texts = files.write(QStringLiteral("texts.wdl"), QStringLiteral("T: hello \"Hello\"\n"));
    LspSession session;
    session.initialize(files.dir());
    session.open(main);
    EXPECT_EQ(session.diagnostics(main), QStringList());
    EXPECT_EQ(session.diagnostics(texts), QStringList());

    // Unsaved in the editor: the text is renamed and a spare one added.
    session.open(texts, QStringLiteral("T: hullo \"Hello\"\nT: spare \"Spare\"\n"));
    EXPECT_EQ(session.diagnostics(main),
              QStringList({"13:9-14 Text hello is not defined.", "11:12-19 Overlay o_start is missing text."}));
    EXPECT_EQ(session.diagnostics(texts),
              QStringList({"1:3-8 Text \"hullo\" is not used.", "2:3-8 Text \"spare\" is not used."}));

    // Closed unsaved: the file on disk counts again.
    session.notify(QStringLiteral("textDocument/didClose"),
                   QJsonObject{{QStringLiteral("textDocument"),
                                QJsonObject{{QStringLiteral("uri"), LspServer::uriOfPath(texts)}}}});
    EXPECT_EQ(session.diagnostics(main), QStringList());
    EXPECT_EQ(session.diagnostics(texts), QStringList());
}

// An edit's problems go out once, before the server indexes the files when
// they can be placed without the index; when the edit brought a new file, the
// index places them anew and they go out again.
TEST(LspDiagnostics, GoOutOncePerEditAndAgainWhenTheIndexPlacesThemAnew)
{
    WizardFiles files;
    const auto wizard = [](const QString &next, const QString &rest) {
        return headerAnd(QStringLiteral("T: hello \"Hello\"\n"
                                        "SCREEN_OVERLAY: start\n"
                                        "{\n"
                                        "   OVERLAY: o_start\n"
                                        "   {\n"
                                        "      T: hello\n"
                                        "   }\n"
                                        "   NS: ")
                         + next + QStringLiteral("\n}\n") + rest);
    };
    const QString main = files.write(QStringLiteral("main.wdl"), wizard(QStringLiteral("lost"), QString()));
    const QString more = files.write(QStringLiteral("more.wdl"), QStringLiteral("SCREEN_OVERLAY: other\n"
                                                                                "{\n"
                                                                                "   OVERLAY: o_start\n"
                                                                                "   NS: nowhere\n"
                                                                                "}\n"));
    LspSession session;
    session.initialize();
    session.open(main);
    const auto publications = [&session](const QString &path) {
        session.server().flush();
        int n = 0;
        for (const QJsonObject &m : qAsConst(session.received())) {
            n += m.value(QStringLiteral("method")) == QLatin1String("textDocument/publishDiagnostics")
                 && m[QStringLiteral("params")][QStringLiteral("uri")] == LspServer::uriOfPath(path);
        }
        return n;
    };
    const QString lost = QStringLiteral("15:7-11 Next screen lost is not defined: the image stores screen 0, a dead "
                                        "end on the panel.");
    EXPECT_EQ(session.diagnostics(main), QStringList({lost}));
    const int opened = publications(main);

    session.change(
        main, wizard(QStringLiteral("lost"), QStringLiteral("SCREEN_OVERLAY: lst\n{\n   OVERLAY: o_start\n}\n")), 2);
    EXPECT_EQ(publications(main), opened + 1);
    EXPECT_EQ(session.diagnostics(main), QStringList({QStringLiteral("17:16-19 Screen \"lst\" is not used."),
                                                      lost + QStringLiteral(" Did you mean lst?")}));

    // Problems without check's column go on the word their message names.
    const int before = publications(main);
    session.change(main,
                   wizard(QStringLiteral("lost"), QString())
                       .replace(QStringLiteral("T: hello\n   }"), QStringLiteral("T: helo\n   }")),
                   3);
    EXPECT_EQ(publications(main), before + 1);
    EXPECT_EQ(session.diagnostics(main).join(QLatin1Char('\n')).toStdString(),
              "13:9-13 Text helo is not defined.\n11:12-19 Overlay o_start is missing text.\n8:3-8 Text \"hello\" "
              "is not used.\n"
                  + lost.toStdString());

    // The finding in the included file lies on its word once the index knows the file.
    session.change(main, wizard(QStringLiteral("other"), QStringLiteral("INCLUDE more.wdl\n")), 4);
    EXPECT_EQ(session.diagnostics(more),
              QStringList({QStringLiteral("4:7-14 Next screen nowhere is not defined: the image stores screen 0, a "
                                          "dead end on the panel.")}));
    EXPECT_EQ(session.diagnostics(main), QStringList());
}

// An included file opened alone is checked as part of the wizard that
// includes it, found beside it or in a folder next to it.
TEST(LspDiagnostics, AnIncludedFileOpenedAloneBelongsToItsWizard)
{
    WizardFiles files;
    const QString main = files.write(QStringLiteral("wizard/main.wdl"),
                                     headerAnd(QStringLiteral("INCLUDE ../common/texts.wdl\n"
                                                              "SCREEN_OVERLAY: start\n"
                                                              "{\n"
                                                              "   OVERLAY: o_start\n"
                                                              "   {\n"
                                                              "      T: hello\n"
                                                              "   }\n"
                                                              "}\n")));
    const QString texts = files.write(QStringLiteral("common/texts.wdl"), QStringLiteral("T: hello \"Hello\"\n"));
    LspSession session;
    session.initialize();
    session.open(texts, QStringLiteral("T: hello \"Hello\"\nT: spare \"Spare\"\n"));
    EXPECT_EQ(session.diagnostics(texts), QStringList({"2:3-8 Text \"spare\" is not used."}));
    EXPECT_EQ(session.diagnostics(main), QStringList());
    // Definitions answer from the wizard too.
    const QJsonValue hover = session.result(QStringLiteral("textDocument/hover"), LspSession::at(texts, 0, 4));
    EXPECT_TRUE(hover[QStringLiteral("contents")][QStringLiteral("value")].toString().startsWith(
        QStringLiteral("**text** `hello`, number 1")));
}

struct DiagnosticsRow
{
    const char *name;
    const char *wdl;
    const char *expected;

    friend void PrintTo(const DiagnosticsRow &row, std::ostream *os) { *os << row.name; }
};

class LspDiagnosticRanges : public ::testing::TestWithParam<DiagnosticsRow>
{
};

// Where a problem lands: on the word its message names, else over the
// line's words; a problem of the whole wizard on the first line.
TEST_P(LspDiagnosticRanges, LandOnTheWordTheyName)
{
    WizardFiles files;
    const QString main = files.write(QStringLiteral("main.wdl"), QString::fromUtf8(GetParam().wdl));
    LspSession session;
    session.initialize();
    session.open(main);
    EXPECT_EQ(session.diagnostics(main).join(QLatin1Char('\n')).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lsp, LspDiagnosticRanges,
    ::testing::Values(
        DiagnosticsRow{"unknown_tag", "FILE_FORMAT_VERSION: 1.0\nSCREEN_OVERLAPP: s\n",
                       "2:0-15 Unknown tag SCREEN_OVERLAPP\n1:0-24 Meta info tag \"FILE_VERSION\" is missing."},
        DiagnosticsRow{"no_screens", kHeaderTags,
                       "1:0-24 WDL file has not been loaded or is invalid. SAS file can't be saved."},
        DiagnosticsRow{"script_command", "SUBROUTINE: sr\n{\n   CVP x 1\n}\n",
                       "1:0-14 Meta info tag \"FILE_FORMAT_VERSION\" is missing.\n"
                       "3:3-6 Command's CVP argument number 1 must a number.\n"
                       "3:9-10 Parameter 1 was not found. See script sr\n"
                       "1:12-14 Script \"sr\" is not used."}),
    rowName<DiagnosticsRow>);

// Every finding of check reaches the editor, on the line and column check
// gives it: wdlc's refusals as errors, each rule's findings as warnings with
// the rule's -W name as their code. The folder is check's own, where every
// rule finds something.
TEST(LspDiagnostics, PublishCheckFindingsWithTheirRuleNames)
{
    const QString dir = QStringLiteral(WDLC_TEST_DATA "/tool/check/lint");
    LspSession session;
    session.initialize(dir);
    session.open(dir + QStringLiteral("/main.wdl"));
    session.server().flush();
    // File to its last publication, each as (line, column, "severity code").
    QMap<QString, QVector<std::tuple<int, int, QString>>> published;
    for (const QJsonObject &message : qAsConst(session.received())) {
        if (message.value(QStringLiteral("method")).toString() != QLatin1String("textDocument/publishDiagnostics"))
            continue;
        const QJsonObject params = message.value(QStringLiteral("params")).toObject();
        auto &out =
            published[QDir(dir).relativeFilePath(LspServer::pathOfUri(params.value(QStringLiteral("uri")).toString()))];
        out.clear();
        for (const QJsonValue &d : params.value(QStringLiteral("diagnostics")).toArray()) {
            const QJsonObject start = d[QStringLiteral("range")][QStringLiteral("start")].toObject();
            out.append(
                {start[QStringLiteral("line")].toInt() + 1, start[QStringLiteral("character")].toInt() + 1,
                 (d[QStringLiteral("severity")].toInt() == 1 ? QStringLiteral("error ") : QStringLiteral("warning "))
                     + d[QStringLiteral("code")].toString()});
        }
    }
    // In check's order: by file, line and column.
    QStringList all;
    for (auto it = published.begin(); it != published.end(); ++it) {
        std::stable_sort(it.value().begin(), it.value().end());
        for (const auto &d : qAsConst(it.value()))
            all.append(it.key() + QLatin1Char(':') + QString::number(std::get<0>(d)) + QLatin1Char(':')
                       + QString::number(std::get<1>(d)) + QLatin1Char(' ') + std::get<2>(d));
    }
    // check_lint.txt, line for line; what check puts at line 0 of a file is
    // on its first line, and a translation file's finding at its line's start.
    EXPECT_EQ(all.join(QLatin1Char('\n')).toStdString(), "files/curve.csiv:1:1 error \n"
                                                         "main.wdl:5:15 warning -Wredefined\n"
                                                         "main.wdl:8:4 warning -Wredefined\n"
                                                         "main.wdl:22:11 warning -Wtruncated\n"
                                                         "main.wdl:23:11 warning -Wlabel\n"
                                                         "main.wdl:30:22 warning -Wunknown-action\n"
                                                         "main.wdl:31:18 warning -Wredefined\n"
                                                         "main.wdl:38:17 warning -Wtruncated\n"
                                                         "main.wdl:42:12 warning -Wrange\n"
                                                         "main.wdl:46:9 warning -Wns-nss\n"
                                                         "screens.wdl:10:10 warning -Wdefault-choice\n"
                                                         "screens.wdl:13:8 warning -Wundefined-screen\n"
                                                         "screens.wdl:17:22 warning -Wunreachable\n"
                                                         "screens.wdl:23:22 warning -Wunreachable\n"
                                                         "translation_French.xml:3:1 warning -Wtranslation\n"
                                                         "translation_German.xml:5:1 warning -Wempty-translation\n"
                                                         "translation_German.xml:6:1 warning -Wtranslated-file-name");
}

struct WarningsRow
{
    const char *name;
    // Separated by blanks.
    const char *switches;
    const char *expected;
    const char *message;

    friend void PrintTo(const WarningsRow &row, std::ostream *os) { *os << row.name; }
};

class LspWarningSwitches : public ::testing::TestWithParam<WarningsRow>
{
};

// The client chooses the rules as check's -W switches do, left to right, in
// the option "warnings" of initialize; a switch check does not know is said
// once and left out.
TEST_P(LspWarningSwitches, ChooseTheRulesAsCheckDoes)
{
    WizardFiles files;
    const QString main = files.write(QStringLiteral("main.wdl"), headerAnd(QStringLiteral("T: hello \"Hello\"\n"
                                                                                          "SCREEN_OVERLAY: start\n"
                                                                                          "{\n"
                                                                                          "   OVERLAY: o_start\n"
                                                                                          "   {\n"
                                                                                          "      T: hello\n"
                                                                                          "   }\n"
                                                                                          "   NS: finsh\n"
                                                                                          "}\n"
                                                                                          "SCREEN_OVERLAY: lost\n"
                                                                                          "{\n"
                                                                                          "   OVERLAY: o_start\n"
                                                                                          "   NS: found\n"
                                                                                          "}\n"
                                                                                          "SCREEN_OVERLAY: found\n"
                                                                                          "{\n"
                                                                                          "   OVERLAY: o_start\n"
                                                                                          "   NS: lost\n"
                                                                                          "}\n")));
    QJsonArray switches;
    for (const QString &name : QString::fromUtf8(GetParam().switches).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        switches.append(name);
    LspSession session;
    session.call(QStringLiteral("initialize"), QJsonObject{{QStringLiteral("capabilities"), QJsonObject()},
                                                           {QStringLiteral("initializationOptions"),
                                                            QJsonObject{{QStringLiteral("warnings"), switches}}}});
    session.notify(QStringLiteral("initialized"), QJsonObject());
    session.open(main);
    session.server().flush();
    QStringList published;
    QStringList messages;
    for (const QJsonObject &m : qAsConst(session.received())) {
        const QJsonObject params = m.value(QStringLiteral("params")).toObject();
        if (m.value(QStringLiteral("method")).toString() == QLatin1String("window/showMessage"))
            messages.append(params.value(QStringLiteral("message")).toString());
        if (m.value(QStringLiteral("method")).toString() != QLatin1String("textDocument/publishDiagnostics"))
            continue;
        published.clear();
        for (const QJsonValue &d : params.value(QStringLiteral("diagnostics")).toArray())
            published.append(
                QString::number(d[QStringLiteral("range")][QStringLiteral("start")][QStringLiteral("line")].toInt() + 1)
                + (d[QStringLiteral("severity")].toInt() == 1 ? QStringLiteral(" error ") : QStringLiteral(" warning "))
                + d[QStringLiteral("code")].toString());
    }
    EXPECT_EQ(published.join(QLatin1Char('\n')).toStdString(), GetParam().expected);
    EXPECT_EQ(messages.join(QLatin1Char('\n')).toStdString(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Lsp, LspWarningSwitches,
    ::testing::Values(WarningsRow{"every_rule_by_default", "",
                                  "15 warning -Wundefined-screen\n17 warning -Wunreachable\n22 warning -Wunreachable",
                                  ""},
                      WarningsRow{"one_rule_off", "-Wno-unreachable", "15 warning -Wundefined-screen", ""},
                      WarningsRow{"all_off_then_one_on", "-Wno-all -Wunreachable",
                                  "17 warning -Wunreachable\n22 warning -Wunreachable", ""},
                      WarningsRow{"as_errors", "-Werror",
                                  "15 error -Wundefined-screen\n17 error -Wunreachable\n22 error -Wunreachable", ""},
                      WarningsRow{"unknown_switches_left_out", "-Wno-unreachable -Wunreachble unreachable",
                                  "15 warning -Wundefined-screen",
                                  "wdltool lsp: unknown warning switch -Wunreachble, unreachable, left out."}),
    rowName<WarningsRow>);

// Quick fixes where the fix is plain: a misspelt id becomes the nearest
// defined one or the one check's finding proposes, a missing text is defined
// before the item that uses it. Each names the problems it fixes.
TEST(LspCodeActions, FixMisspeltAndMissingIds)
{
    WizardFiles files;
    const QString main = files.write(QStringLiteral("main.wdl"),
                                     headerAnd(QStringLiteral("T: hello \"Hello\"\n"
                                                              "SCREEN_OVERLAY: start\n"
                                                              "{\n"
                                                              "   OVERLAY: o_start\n"
                                                              "   {\n"
                                                              "      T: helo\n"
                                                              "      OK_ACTION: GOTO_NEXT_SCRN\n"
                                                              "   }\n"
                                                              "   NS: finsh\n"
                                                              "}\n"
                                                              "SCREEN_OVERLAY: finish\n"
                                                              "{\n"
                                                              "   OVERLAY: o_start\n"
                                                              "}\n")));
    LspSession session;
    session.initialize();
    session.open(main);
    const auto actions = [&](int line) {
        QStringList out;
        const QJsonObject params{
            {QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), LspServer::uriOfPath(main)}}},
            {QStringLiteral("range"),
             QJsonObject{{QStringLiteral("start"),
                          QJsonObject{{QStringLiteral("line"), line}, {QStringLiteral("character"), 0}}},
                         {QStringLiteral("end"),
                          QJsonObject{{QStringLiteral("line"), line}, {QStringLiteral("character"), 0}}}}},
            {QStringLiteral("context"), QJsonObject{{QStringLiteral("diagnostics"), QJsonArray()}}}};
        for (const QJsonValue &a : session.result(QStringLiteral("textDocument/codeAction"), params).toArray()) {
            const QJsonArray edits =
                a[QStringLiteral("edit")][QStringLiteral("changes")][LspServer::uriOfPath(main)].toArray();
            const QJsonObject start = edits.first()[QStringLiteral("range")][QStringLiteral("start")].toObject();
            QStringList fixed;
            for (const QJsonValue &d : a[QStringLiteral("diagnostics")].toArray())
                fixed.append(d[QStringLiteral("code")].toString(QStringLiteral("error")));
            out.append(a[QStringLiteral("title")].toString() + QStringLiteral(" @")
                       + QString::number(start[QStringLiteral("line")].toInt() + 1) + QLatin1Char(':')
                       + QString::number(start[QStringLiteral("character")].toInt()) + QStringLiteral(" ")
                       + edits.first()[QStringLiteral("newText")].toString() + QStringLiteral(" [")
                       + fixed.join(QLatin1Char(' ')) + QLatin1Char(']'));
        }
        return out;
    };
    EXPECT_EQ(actions(12),
              QStringList({"Change to hello @13:9 hello [error]", "Define text helo @9:0 T: helo \"helo\"\n [error]"}));
    EXPECT_EQ(actions(13), QStringList({"Change to GOTO_NEXT_SCREEN @14:17 GOTO_NEXT_SCREEN [-Wunknown-action]"}));
    // Check proposes the screen too: one action, with check's finding.
    EXPECT_EQ(actions(15), QStringList({"Change to finish @16:7 finish [-Wundefined-screen]"}));
    EXPECT_EQ(actions(8), QStringList());
}

// Formatting is fmt's layout, as one edit over the lines that change.
TEST(LspFormatting, GivesFmtsLayoutAsOneEdit)
{
    WizardFiles files;
    // The header as fmt spells it, so that only the screen changes.
    const QString text = QStringLiteral("FILE_FORMAT_VERSION: 1.0\nFILE_VERSION: 1.00\nRUN_MODE: 0\nPRODUCT_TYPE: 417\n"
                                        "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: 1.00\nFILE_NAME: \"w\"\n"
                                        "T: hello \"Hello\"\n"
                                        "SCREEN_OVERLAY: start\n"
                                        "{\n"
                                        "OVERLAY:o_start\n"
                                        "  {\n"
                                        "        T:hello\n"
                                        "  }\n"
                                        "}\n");
    const QString main = files.write(QStringLiteral("main.wdl"), text);
    LspSession session;
    session.initialize();
    session.open(main);
    const QJsonArray edits = session
                                 .result(QStringLiteral("textDocument/formatting"),
                                         QJsonObject{{QStringLiteral("textDocument"),
                                                      QJsonObject{{QStringLiteral("uri"), LspServer::uriOfPath(main)}}},
                                                     {QStringLiteral("options"),
                                                      QJsonObject{{QStringLiteral("tabSize"), 3},
                                                                  {QStringLiteral("insertSpaces"), true}}}})
                                 .toArray();
    ASSERT_EQ(edits.size(), 1);
    EXPECT_EQ(
        edits.first()[QStringLiteral("range")].toObject(),
        (QJsonObject{
            {QStringLiteral("start"), QJsonObject{{QStringLiteral("line"), 10}, {QStringLiteral("character"), 0}}},
            {QStringLiteral("end"), QJsonObject{{QStringLiteral("line"), 13}, {QStringLiteral("character"), 3}}}}));
    EXPECT_EQ(edits.first()[QStringLiteral("newText")].toString().toStdString(),
              "   OVERLAY: o_start\n   {\n      T: hello\n   }");
}

} // namespace
