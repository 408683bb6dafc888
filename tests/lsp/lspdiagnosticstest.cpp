#include "lsp/lspsession.h"
#include "support/testsupport.h"

#include <QJsonArray>

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

// Quick fixes where the fix is plain: a misspelt id becomes the nearest
// defined one, a missing text is defined before the item that uses it.
TEST(LspCodeActions, FixMisspeltAndMissingIds)
{
    WizardFiles files;
    const QString main = files.write(QStringLiteral("main.wdl"), headerAnd(QStringLiteral("T: hello \"Hello\"\n"
                                                                                          "SCREEN_OVERLAY: start\n"
                                                                                          "{\n"
                                                                                          "   OVERLAY: o_start\n"
                                                                                          "   {\n"
                                                                                          "      T: helo\n"
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
            out.append(a[QStringLiteral("title")].toString() + QStringLiteral(" @")
                       + QString::number(start[QStringLiteral("line")].toInt() + 1) + QLatin1Char(':')
                       + QString::number(start[QStringLiteral("character")].toInt()) + QStringLiteral(" ")
                       + edits.first()[QStringLiteral("newText")].toString());
        }
        return out;
    };
    EXPECT_EQ(actions(12), QStringList({"Change to hello @13:9 hello", "Define text helo @9:0 T: helo \"helo\"\n"}));
    EXPECT_EQ(actions(14), QStringList({"Change to finish @15:7 finish"}));
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
