// Input no engineer meant to write: every run ends, with warnings, and leaves
// nothing but the warnings file.

#include "core/commandline.h"
#include "support/qtprinters.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

struct HostileCase
{
    const char *name;
    std::function<void(WizardFiles &)> make;
    // The warnings file's lines, "{dir}" for the temporary directory.
    QStringList warningsFile;
};

void PrintTo(const HostileCase &c, std::ostream *os)
{
    *os << c.name;
}

const QString kHeader = QStringLiteral("FILE_FORMAT_VERSION: 1.0\nFILE_VERSION: 1.0\nRUN_MODE: 0\nPRODUCT_TYPE: 1\n"
                                       "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: 1.0\nFILE_NAME: \"h\"\n");

QStringList missingMeta(const QString &file = QStringLiteral("main.wdl"))
{
    return {file + QStringLiteral("\t0"), QStringLiteral("\tMeta info tag \"FILE_FORMAT_VERSION\" is missing.")};
}

class HostileInput : public ::testing::TestWithParam<HostileCase>
{
};

TEST_P(HostileInput, EndsWithWarningsAndNoImage)
{
    WizardFiles files;
    GetParam().make(files);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(files.dir());
    EXPECT_EQ(CommandLine::run({QStringLiteral("main.wdl")}), 0);
    QDir::setCurrent(previous);

    QFile errors(files.path(QStringLiteral("main.wdl_errors.txt")));
    ASSERT_TRUE(errors.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(errors.readAll()).split(QLatin1Char('\n'));
    lines.removeLast();
    QStringList expected = GetParam().warningsFile;
    expected.replaceInStrings(QStringLiteral("{dir}"), files.dir());
    EXPECT_TRUE(sameWarnings(lines, expected));
    EXPECT_FALSE(QFile::exists(files.path(QStringLiteral("main.wdl.sas"))));
}

std::string caseName(const ::testing::TestParamInfo<HostileCase> &info)
{
    return info.param.name;
}

const HostileCase kCases[] = {
    {"EmptyFile", [](WizardFiles &f) { f.write(QStringLiteral("main.wdl"), QString()); }, missingMeta()},
    {"DirectoryAsArgument", [](WizardFiles &f) { QDir(f.dir()).mkdir(QStringLiteral("main.wdl")); },
     {QStringLiteral("main.wdl\t0"), QStringLiteral("\tOpening of file:///main.wdl failed")}},
    {"NulBytesAndInvalidUtf8",
     [](WizardFiles &f) {
         f.writeBytes(QStringLiteral("main.wdl"),
                      QByteArray("\0\0\xFF\xFE\xC3(\n", 7) + QByteArray("FOO \x80\x81\n") + QByteArray(3, '\0'));
     },
     {QStringLiteral("main.wdl\t1"),
      QStringLiteral("\tToo few arguments. There should be at least 2 arguments, but there are 1 arguments"),
      QStringLiteral("main.wdl\t2"), QStringLiteral("\tUnknown tag FOO"), QStringLiteral("main.wdl\t3"),
      QStringLiteral("\tToo few arguments. There should be at least 2 arguments, but there are 1 arguments"),
      missingMeta().at(0), missingMeta().at(1)}},
    {"MegabyteLine",
     [](WizardFiles &f) {
         f.write(QStringLiteral("main.wdl"), kHeader + QStringLiteral("T: t \"") + QString(1 << 20, QLatin1Char('x'))
                                                 + QStringLiteral("\"\n"));
     },
     {QStringLiteral("main.wdl\t8"), QStringLiteral("\tText \"t\" is not used.")}},
    {"CarriageReturnsOnly",
     [](WizardFiles &f) { f.write(QStringLiteral("main.wdl"), QString(kHeader).replace(QLatin1Char('\n'), QLatin1Char('\r')) + QStringLiteral("LP: a = 1\r")); },
     {QStringLiteral("main.wdl\t8"), QStringLiteral("\tLocal Parameter  \"a\" is not used.")}},
    {"TenThousandOpenBraces",
     [](WizardFiles &f) {
         QString text = kHeader + QStringLiteral("CL: c\n");
         for (int i = 0; i < 10000; ++i)
             text += QStringLiteral("{\n");
         f.write(QStringLiteral("main.wdl"), text);
     },
     {QStringLiteral("main.wdl\t10008"), QStringLiteral("\tBlock of c is not closed before the end of the file."),
      QStringLiteral("main.wdl\t8"), QStringLiteral("\tChoicelist c doesn't have any choices."),
      QStringLiteral("main.wdl\t8"), QStringLiteral("\tChoicelist \"c\" is not used.")}},
    {"NumbersBeyond32Bits",
     [](WizardFiles &f) {
         f.write(QStringLiteral("main.wdl"), kHeader + QStringLiteral("P: p 4294967297\nCLF: f \"4294967297\"\n"));
     },
     {QStringLiteral("main.wdl\t8"), QStringLiteral("\tParameter number 4294967297 was not a number."),
      QStringLiteral("main.wdl\t9"), QStringLiteral("\tFailed to parse filter \"f\". Problem with string 4294967297"),
      QStringLiteral("main.wdl\t8"), QStringLiteral("\tParameter  \"p\" is not used."), QStringLiteral("main.wdl\t9"),
      QStringLiteral("\tFilter \"f\" is not used.")}},
    {"IncludeOfItself",
     [](WizardFiles &f) { f.write(QStringLiteral("main.wdl"), kHeader + QStringLiteral("INCLUDE main.wdl\n")); },
     {QStringLiteral("main.wdl\t8"),
      QStringLiteral("\tIt is not possible to include a file from an already included file (recursion is not "
                     "allowed). File \"main.wdl\" will be ignored.")}},
    {"IncludeOfADirectory",
     [](WizardFiles &f) {
         QDir(f.dir()).mkdir(QStringLiteral("sub"));
         f.write(QStringLiteral("main.wdl"), kHeader + QStringLiteral("INCLUDE sub\n"));
     },
     {QStringLiteral("sub\t0"), QStringLiteral("\tOpening of file:///{dir}/sub failed")}},
};

INSTANTIATE_TEST_SUITE_P(CommandLine, HostileInput, ::testing::ValuesIn(kCases), caseName);

} // namespace
