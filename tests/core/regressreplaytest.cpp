// Replays every input that a fuzz target once found a fault with; each must
// now run to its end without a sanitizer report.

#include "core/commandline.h"
#include "inspect/sasimagereader.h"
#include "lsp/lspsession.h"
#include "output/wdlsourceformatter.h"
#include "reader/wdlsourcefile.h"
#include "support/wizardfiles.h"

namespace {

const QString kRegress = QStringLiteral(WDLC_TEST_DATA "/regress/");

const QString kSmallWizard =
    QString::fromUtf8(kHeaderTags)
    + QStringLiteral(
        "T: hello \"Hello\"\nH: hello \"Help\"\nSCREEN_OVERLAY: s\n{\n   OVERLAY: o\n   {\n      T: hello\n"
        "      OK_ACTION: EXIT_WIZARD\n   }\n}\n");

QStringList inputs(const QString &target)
{
    QStringList out;
    const QDir dir(kRegress + target);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        out.append(dir.filePath(name));
    return out;
}

// A pipeline input is the wizard; a translation input sits beside a small one,
// which must still compile.
TEST(RegressReplay, BuildInputsRunToTheirEnd)
{
    for (const QString &target : {QStringLiteral("pipeline"), QStringLiteral("translation")}) {
        const bool translation = target == QLatin1String("translation");
        for (const QString &input : inputs(target)) {
            SCOPED_TRACE(input.toStdString());
            WizardFiles files;
            files.writeBytes(QStringLiteral("main.wdl"), translation ? kSmallWizard.toUtf8() : readFile(input));
            if (translation)
                files.writeBytes(QStringLiteral("translation_German.xml"), readFile(input));
            WorkingDirectory cd(files.dir());
            EXPECT_EQ(CommandLine::run({QStringLiteral("main.wdl")}), 0);
            EXPECT_TRUE(!translation || QFile::exists(files.path(QStringLiteral("main.wdl.sas"))));
        }
    }
}

TEST(RegressReplay, ImageInputsAreDecodedWithinTheirBytes)
{
    for (const QString &input : inputs(QStringLiteral("image"))) {
        SCOPED_TRACE(input.toStdString());
        SasImageReader::read(readFile(input));
    }
}

TEST(RegressReplay, SourceInputsFormatAsTheirFormattedText)
{
    for (const QString &input : inputs(QStringLiteral("source"))) {
        SCOPED_TRACE(input.toStdString());
        const WdlSourceFile file = WdlSourceFile::fromBytes(readFile(input));
        EXPECT_EQ(file.bytes(), readFile(input));
        for (const auto blankLines : {WdlSourceFormatter::CollapseBlankLines, WdlSourceFormatter::KeepLineNumbers}) {
            const QByteArray once = WdlSourceFormatter::format(file, blankLines);
            EXPECT_EQ(WdlSourceFormatter::format(WdlSourceFile::fromBytes(once), blankLines), once);
        }
    }
}

// A language server input is a wizard's text, opened in the server: its
// diagnostics come out and every kind of request on every line is answered.
TEST(RegressReplay, LspInputsAreAnswered)
{
    const char *const methods[] = {
        "textDocument/hover",         "textDocument/definition",     "textDocument/references",
        "textDocument/completion",    "textDocument/documentSymbol", "textDocument/formatting",
        "textDocument/prepareRename", "textDocument/rename",         "textDocument/codeAction"};
    for (const QString &input : inputs(QStringLiteral("lsp"))) {
        SCOPED_TRACE(input.toStdString());
        WizardFiles files;
        files.writeBytes(QStringLiteral("main.wdl"), readFile(input));
        const QString main = files.path(QStringLiteral("main.wdl"));
        LspSession session;
        session.initialize();
        session.open(main);
        session.server().flush();
        bool published = false;
        for (const QJsonObject &m : qAsConst(session.received()))
            published = published
                        || m.value(QStringLiteral("method")) == QLatin1String("textDocument/publishDiagnostics");
        EXPECT_TRUE(published);
        const int lines = int(readFile(input).count('\n')) + 1;
        for (int line = 0; line < lines; ++line) {
            QJsonObject params = LspSession::at(main, line, 4);
            params.insert(QStringLiteral("range"),
                          QJsonObject{{QStringLiteral("start"), params.value(QStringLiteral("position"))},
                                      {QStringLiteral("end"), params.value(QStringLiteral("position"))}});
            params.insert(QStringLiteral("newName"), QStringLiteral("renamed"));
            params.insert(QStringLiteral("context"), QJsonObject{{QStringLiteral("includeDeclaration"), true}});
            params.insert(QStringLiteral("options"), QJsonObject{{QStringLiteral("tabSize"), 3}});
            for (const char *method : methods) {
                const QJsonObject answer = session.call(QString::fromLatin1(method), params);
                EXPECT_TRUE(answer.contains(QStringLiteral("result")) || answer.contains(QStringLiteral("error")))
                    << method << " on line " << line;
            }
        }
    }
}

} // namespace
