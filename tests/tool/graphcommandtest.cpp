#include "tool/toolrun.h"

#include "support/golden.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString kGraphData = QStringLiteral(WDLC_TEST_DATA "/tool/graph");

TEST(GraphCommand, DrawsTheFlowWithTheUnreachableScreenInRed)
{
    const ToolRun run = runToolIn(kGraphData, {QStringLiteral("graph"), QStringLiteral("unreachable.wdl")});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(matchesGolden(run.out, QStringLiteral("tool/graph/unreachable.dot")));
    // The unreachable screen is also an unused one: the graph says so on the side.
    EXPECT_EQ(run.err, QStringLiteral("wdltool graph: unreachable.wdl has 1 warning; wdltool check lists them\n"));
}

TEST(GraphCommand, OutputOptionWritesTheFileInstead)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("flow.dot"));
    const ToolRun run = runToolIn(kGraphData, {QStringLiteral("graph"), QStringLiteral("unreachable.wdl"),
                                               QStringLiteral("-o"), target});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, QString());
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(matchesGolden(QString::fromUtf8(file.readAll()), QStringLiteral("tool/graph/unreachable.dot")));
}

TEST(GraphCommand, UnwritableOutputFails)
{
    const ToolRun run = runToolIn(kGraphData, {QStringLiteral("graph"), QStringLiteral("unreachable.wdl"),
                                               QStringLiteral("--output"),
                                               QStringLiteral("/nonexistent/dir/flow.dot")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("wdltool graph: cannot write /nonexistent/dir/flow.dot: ")))
        << run.err.toStdString();
}

class GraphRendering : public ::testing::TestWithParam<QString>
{
};

// Every example's graph is valid DOT: Graphviz renders it.
TEST_P(GraphRendering, DotRendersTheGraph)
{
    const QString dot = QStandardPaths::findExecutable(QStringLiteral("dot"));
    if (dot.isEmpty())
        GTEST_SKIP() << "Graphviz dot is not installed";
    const ToolRun run = runTool({QStringLiteral("graph"), GetParam()});
    ASSERT_EQ(run.status, 0);
    QProcess process;
    process.start(dot, {QStringLiteral("-Tsvg")});
    ASSERT_TRUE(process.waitForStarted());
    process.write(run.out.toUtf8());
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(process.readAllStandardOutput().contains("<svg"));
}

INSTANTIATE_TEST_SUITE_P(Wizards, GraphRendering,
                         ::testing::Values(kGraphData + QStringLiteral("/unreachable.wdl"),
                                           QStringLiteral(WDLC_SOURCE_DIR "/examples/motor/motor_data.wdl"),
                                           QStringLiteral(WDLC_SOURCE_DIR "/examples/pump/pump_commissioning.wdl")));

} // namespace
