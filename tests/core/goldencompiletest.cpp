// Whole compiles against golden folders: tests/data/compile/<case>/input/ holds
// the files a run starts with (WDL, includes, translations, CSIV files) and
// expected/ every file the run must leave besides them, under its real name.
// An optional file "args" beside them gives the command line, one argument per
// line (default: main.wdl). WDLC_UPDATE_GOLDEN=1 rewrites expected/ from the
// output; review that diff like code.

#include "core/commandline.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

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

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

// Where two byte arrays first differ, with the bytes around it.
std::string firstDifference(const QByteArray &actual, const QByteArray &expected)
{
    int at = 0;
    while (at < actual.size() && at < expected.size() && actual.at(at) == expected.at(at))
        ++at;
    const int from = qMax(0, at - 8);
    return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size())
           + ", first difference at offset " + std::to_string(at) + "\n  actual:   "
           + hex(actual.mid(from, 24)) + "\n  expected: " + hex(expected.mid(from, 24))
           + "\n  (both from offset " + std::to_string(from) + ")";
}

class GoldenCompile : public ::testing::TestWithParam<QString>
{
};

TEST_P(GoldenCompile, LeavesExactlyTheExpectedFiles)
{
    const QString caseDir = kCompileData + QLatin1Char('/') + GetParam();
    QTemporaryDir work;
    const QStringList inputs = filesBelow(caseDir + QStringLiteral("/input"));
    for (const QString &name : inputs)
        writeAll(work.filePath(name), readAll(caseDir + QStringLiteral("/input/") + name));

    QStringList args{QStringLiteral("main.wdl")};
    const QByteArray argsFile = readAll(caseDir + QStringLiteral("/args"));
    if (!argsFile.isEmpty())
        args = QString::fromUtf8(argsFile).split(QLatin1Char('\n'), Qt::SkipEmptyParts);

    const QString previous = QDir::currentPath();
    QDir::setCurrent(work.path());
    CommandLine::run(args);
    QDir::setCurrent(previous);

    QStringList produced = filesBelow(work.path());
    for (const QString &name : inputs)
        produced.removeOne(name);

    const QString expectedDir = caseDir + QStringLiteral("/expected");
    if (qEnvironmentVariableIsSet("WDLC_UPDATE_GOLDEN")) {
        QDir(expectedDir).removeRecursively();
        for (const QString &name : produced)
            writeAll(expectedDir + QLatin1Char('/') + name, readAll(work.filePath(name)));
        return;
    }
    const QStringList expected = filesBelow(expectedDir);
    ASSERT_EQ(produced, expected);
    for (const QString &name : expected) {
        const QByteArray actualBytes = readAll(work.filePath(name));
        const QByteArray expectedBytes = readAll(expectedDir + QLatin1Char('/') + name);
        EXPECT_TRUE(actualBytes == expectedBytes) << name.toStdString() << ": "
                                                  << firstDifference(actualBytes, expectedBytes);
    }
}

QStringList goldenCases()
{
    return QDir(kCompileData).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

std::string caseName(const ::testing::TestParamInfo<QString> &info)
{
    return info.param.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCompile, ::testing::ValuesIn(goldenCases()), caseName);

} // namespace
