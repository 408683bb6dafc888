#include "core/fileurl.h"
#include "core/wdlwizard.h"
#include "reader/wdlparser.h"
#include "support/examples.h"
#include "support/qtprinters.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

namespace {

TEST(Examples, ReadWithoutReaderWarnings)
{
    const QStringList wizards = exampleWizards();
    ASSERT_GE(wizards.size(), 2);
    WdlWizard *wizard = WdlWizard::instance();
    for (const QString &path : wizards) {
        wizard->clearAllModels();
        wizard->setCurrentFile(path);
        WdlParser reader(wizard);
        ASSERT_TRUE(reader.parseFile(FileUrl::fromLocalPath(path), true)) << path.toStdString();
        EXPECT_TRUE(sameWarnings(warningLines(wizard), QStringList())) << path.toStdString();
        EXPECT_GE(wizard->screenModel()->count(), 5) << path.toStdString();
    }
}

} // namespace
