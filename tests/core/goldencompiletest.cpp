// Whole compiles against the golden folders of tests/data/compile/ (see the
// README there); WDLC_UPDATE_GOLDEN=1 rewrites expected/ from the output.

#include "core/commandline.h"
#include "support/wizardfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

const QString kCompileData = QStringLiteral(WDLC_TEST_DATA "/compile");

QStringList filesBelow(const QString &root)
{
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(QDir(root).relativeFilePath(it.next()));
    out.sort();
    return out;
}

// Where two byte arrays first differ, with the bytes around it.
std::string firstDifference(const QByteArray &actual, const QByteArray &expected)
{
    int at = 0;
    while (at < actual.size() && at < expected.size() && actual.at(at) == expected.at(at))
        ++at;
    const int from = qMax(0, at - 8);
    return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size())
           + ", first difference at offset " + std::to_string(at) + "\n  actual:   " + hex(actual.mid(from, 24))
           + "\n  expected: " + hex(expected.mid(from, 24)) + "\n  (both from offset " + std::to_string(from) + ")";
}

class GoldenCompile : public ::testing::TestWithParam<QString>
{
};

TEST_P(GoldenCompile, LeavesExactlyTheExpectedFiles)
{
    const QString caseDir = kCompileData + QLatin1Char('/') + GetParam();
    WizardFiles work;
    const QStringList inputs = filesBelow(caseDir + QStringLiteral("/input"));
    for (const QString &name : inputs)
        work.writeBytes(name, readFile(caseDir + QStringLiteral("/input/") + name));
    const QByteArray args = readFile(caseDir + QStringLiteral("/args"));
    {
        WorkingDirectory cd(work.dir());
        CommandLine::run(args.isEmpty() ? QStringList{QStringLiteral("main.wdl")}
                                        : QString::fromUtf8(args).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    }
    QStringList produced = filesBelow(work.dir());
    for (const QString &name : inputs)
        produced.removeOne(name);

    const QString expectedDir = caseDir + QStringLiteral("/expected/");
    if (qEnvironmentVariableIsSet("WDLC_UPDATE_GOLDEN")) {
        QDir(expectedDir).removeRecursively();
        for (const QString &name : produced) {
            QDir().mkpath(QFileInfo(expectedDir + name).absolutePath());
            QFile::copy(work.path(name), expectedDir + name);
        }
        return;
    }
    ASSERT_EQ(produced, filesBelow(expectedDir));
    for (const QString &name : produced) {
        const QByteArray actual = readFile(work.path(name));
        const QByteArray expected = readFile(expectedDir + name);
        EXPECT_TRUE(actual == expected) << name.toStdString() << ": " << firstDifference(actual, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCompile,
                         ::testing::ValuesIn(QDir(kCompileData).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)),
                         [](const ::testing::TestParamInfo<QString> &info) { return info.param.toStdString(); });

} // namespace
