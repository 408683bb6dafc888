#include "tool/toolrun.h"

#include "support/testsupport.h"
#include "support/sasimage.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QFileInfo>

namespace {

const QString kFmtData = QStringLiteral(WDLC_TEST_DATA "/fmt");
const QString kCheckData = QStringLiteral(WDLC_TEST_DATA "/tool/check");

TEST(FmtCommand, FormatsAWizardInPlace)
{
    WizardFiles files;
    files.writeBytes(QStringLiteral("w.wdl"), readFile(kFmtData + QStringLiteral("/shared_items.wdl")));
    const ToolRun run = runToolIn(files.dir(), {QStringLiteral("fmt"), QStringLiteral("w.wdl"), QStringLiteral("-o"),
                                                QStringLiteral("w.wdl")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(readFile(files.path(QStringLiteral("w.wdl"))),
              readFile(kFmtData + QStringLiteral("/shared_items.expected.wdl")));
}

TEST(FmtCommand, RefusesAWizardWithWarnings)
{
    WizardFiles files;
    const QString target = files.path(QStringLiteral("main.wdl"));
    const ToolRun run =
        runToolIn(kCheckData, {QStringLiteral("fmt"), QStringLiteral("main.wdl"), QStringLiteral("-o"), target});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, QString());
    // The warnings as check prints them, on standard error.
    QString expected = QString::fromUtf8(readFile(kCheckData + QStringLiteral("/main.expected.txt")));
    expected.replace(QStringLiteral("5 warnings in 1 file\n"),
                     QStringLiteral("wdltool fmt: main.wdl: 5 warnings, nothing written\n"));
    EXPECT_EQ(run.err, expected);
    EXPECT_FALSE(QFileInfo::exists(target));
}

// A doubled quote is no escape: the text reads as the line up to its last
// quotes, an odd number of quotes in it, which one quoted line cannot hold.
// fmt reads its output back before writing it, and refuses.
TEST(FmtCommand, RefusesATextThatWouldNotReadBack)
{
    WizardFiles files;
    files.write(QStringLiteral("w.wdl"),
                QStringLiteral("FILE_FORMAT_VERSION: 1.0\nFILE_VERSION: 1.5\nRUN_MODE: 0\nPRODUCT_TYPE: 417\n"
                               "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: 2.0\nFILE_NAME: \"w\"\n"
                               "T: quote \"Say \"\"OK\"\"\"\n"
                               "SCREEN_OVERLAY: first\n{\n   OVERLAY: o_first\n   {\n      T: quote\n"
                               "      OK_ACTION: EXIT_WIZARD\n   }\n}\n"));
    const ToolRun run = runToolIn(files.dir(), {QStringLiteral("fmt"), QStringLiteral("w.wdl"), QStringLiteral("-o"),
                                                QStringLiteral("out.wdl")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(run.err, QStringLiteral("wdltool fmt: w.wdl: its canonical form would not open as the same wizard (read "
                                      "back, it gives 3 warnings, the first at its line 15: ERROR in wdl texts from "
                                      "line 15 to line 16); nothing written\n"));
    EXPECT_FALSE(QFileInfo::exists(files.path(QStringLiteral("out.wdl"))));
}

} // namespace
