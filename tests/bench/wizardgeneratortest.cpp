#include "wizardgenerator.h"
#include "core/commandline.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The stress wizards must stay valid and within the image's 16-bit limits up
// to the largest scale the benchmarks use, or they would measure refusals.
TEST(WizardGenerator, LargestWizardCompilesWithoutWarnings)
{
    WizardFiles files;
    const QString wdl = WizardGenerator::write(files.dir(), 8, 2);
    CommandLine::run({wdl});
    EXPECT_FALSE(QFile::exists(wdl + QStringLiteral("_errors.txt")));
    EXPECT_GT(QFileInfo(wdl + QStringLiteral(".sas")).size(), 200000);
    EXPECT_EQ(QDir(files.dir()).entryList({QStringLiteral("translation_*.xml")}).size(), 3);
}

} // namespace
