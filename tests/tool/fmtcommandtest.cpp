#include "tool/toolrun.h"

#include "support/golden.h"

namespace {

const QString kLayoutData = QStringLiteral(WDLC_TEST_DATA "/layout/");

// -i rewrites the wizard and the file it includes, each as the golden layout has it.
TEST(FmtCommand, InPlaceRewritesTheWizardAndItsIncludes)
{
    WizardFiles files;
    files.copyTree(kLayoutData + QStringLiteral("input"));
    const ToolRun run = runToolIn(files.dir(),
                                  {QStringLiteral("fmt"), QStringLiteral("-i"), QStringLiteral("main.wdl")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString() + run.err.toStdString(), "");
    for (const char *name : {"main.wdl", "texts/shared.wdl"})
        EXPECT_EQ(readFile(files.path(QLatin1String(name))),
                  readFile(kLayoutData + QStringLiteral("expected/") + QLatin1String(name)))
            << name;
    // Untouched: it is no wizard's include.
    EXPECT_EQ(readFile(files.path(QStringLiteral("blocks.wdl"))),
              readFile(kLayoutData + QStringLiteral("input/blocks.wdl")));
    EXPECT_EQ(
        runToolIn(files.dir(), {QStringLiteral("fmt"), QStringLiteral("--check"), QStringLiteral("main.wdl")}).status,
        0);
}

// One wizard that cannot be formatted keeps every file of the run as it was.
TEST(FmtCommand, InPlaceRewritesNothingWhenOneWizardFails)
{
    WizardFiles files;
    files.copyTree(kLayoutData + QStringLiteral("input"));
    const ToolRun run = runToolIn(files.dir(), {QStringLiteral("fmt"), QStringLiteral("--in-place"),
                                                QStringLiteral("main.wdl"), QStringLiteral("none.wdl")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.toStdString(),
              "wdltool fmt: none.wdl: cannot be read: No such file or directory\nwdltool fmt: nothing rewritten\n");
    EXPECT_EQ(readFile(files.path(QStringLiteral("main.wdl"))),
              readFile(kLayoutData + QStringLiteral("input/main.wdl")));
}

// -o onto the wizard itself replaces it with its formatted text.
TEST(FmtCommand, OutputMayBeTheWizardItself)
{
    WizardFiles files;
    files.copyTree(kLayoutData + QStringLiteral("input"));
    const ToolRun run = runToolIn(files.dir(), {QStringLiteral("fmt"), QStringLiteral("main.wdl"), QStringLiteral("-o"),
                                                QStringLiteral("main.wdl")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(readFile(files.path(QStringLiteral("main.wdl"))),
              readFile(kLayoutData + QStringLiteral("expected/main.wdl")));
}

} // namespace
