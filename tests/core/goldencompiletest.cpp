// Whole compiles against the golden folders of tests/data/compile/ (see the
// README there); WDLC_UPDATE_GOLDEN=1 rewrites expected/ from the output.

#include "core/commandline.h"
#include "support/golden.h"
#include "support/wizardfiles.h"

namespace {

const QString kCompileData = QStringLiteral(WDLC_TEST_DATA "/compile/");

class GoldenCompile : public ::testing::TestWithParam<QString>
{
};

TEST_P(GoldenCompile, LeavesExactlyTheExpectedFiles)
{
    const QString input = kCompileData + GetParam() + QStringLiteral("/input");
    WizardFiles work;
    work.copyTree(input);
    const QByteArray args = readFile(kCompileData + GetParam() + QStringLiteral("/args"));
    {
        WorkingDirectory cd(work.dir());
        CommandLine::run(args.isEmpty() ? QStringList{QStringLiteral("main.wdl")}
                                        : QString::fromUtf8(args).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    }
    QStringList produced = filesBelow(work.dir());
    for (const QString &name : filesBelow(input))
        produced.removeOne(name);

    const QString expected = GetParam() + QStringLiteral("/expected/");
    if (qEnvironmentVariableIsSet("WDLC_UPDATE_GOLDEN"))
        QDir(kCompileData + expected).removeRecursively();
    else
        ASSERT_EQ(produced, filesBelow(kCompileData + expected));
    for (const QString &name : produced)
        EXPECT_TRUE(matchesGolden(readFile(work.path(name)), QStringLiteral("compile/") + expected + name));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GoldenCompile,
    ::testing::ValuesIn(QDir(kCompileData).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)),
    [](const ::testing::TestParamInfo<QString> &info) { return info.param.toStdString(); });

} // namespace
