#include "core/wdlwizard.h"
#include "core/warning.h"
#include "support/wizardfiles.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSignalSpy>

namespace {

class Wizard : public ::testing::Test
{
protected:
    void SetUp() override { wizard->clearAllModels(); }
    bool property(const char *name) { return wizard->property(name).toBool(); }

    WdlWizard *wizard = WdlWizard::instance();
    WizardFiles m_files;
};

TEST_F(Wizard, ValidForSavingNeedsAScreenAndNoWarningAndOnlyTheFirstWarningAnnouncesIt)
{
    QSignalSpy changed(wizard, SIGNAL(isValidForSavingChanged()));
    EXPECT_FALSE(property("isValidForSaving"));
    wizard->createWdlTokenScreen();
    EXPECT_TRUE(property("isValidForSaving"));
    wizard->addWarning(QStringLiteral("one"), 1);
    wizard->addWarning(QStringLiteral("two"), 2);
    EXPECT_FALSE(property("isValidForSaving"));
    EXPECT_EQ(changed.count(), 1);
    m_files.write(QStringLiteral("main.wdl"), QStringLiteral("FOO 1\nBAR 2\n"));
    EXPECT_EQ(readOnly(wizard, m_files).size(), 2);
    EXPECT_EQ(changed.count(), 2) << "only clearAllModels announces, not the reader's warnings";
}

TEST_F(Wizard, ClearAllModelsReleasesLaterAndResetsEverything)
{
    m_files.write(QStringLiteral("main.wdl"), QStringLiteral("FILE_NAME: \"x\"\nT: a \"A\"\nP: p 1\nFOO 1\n"));
    wizard->openWDLFile(m_files.url(QStringLiteral("main.wdl")));
    QPointer<WdlToken> text = wizard->textModel()->itemAt(0);
    QPointer<Warning> warning = wizard->warningsModel()->itemAt(0);
    wizard->registerLoadedItem(QStringLiteral("a"));
    wizard->includedFiles().insert(1, IncludedFile{QStringLiteral("f"), QStringLiteral("/p")});

    QSignalSpy empty(wizard, SIGNAL(isEmptyChanged()));
    QSignalSpy valid(wizard, SIGNAL(isValidForSavingChanged()));
    wizard->clearAllModels();
    EXPECT_EQ(empty.count() + valid.count(), 2);
    EXPECT_TRUE(text && warning) << "nothing is destroyed during the call";
    EXPECT_EQ(wizard->textModel()->count() + wizard->warningsModel()->count(), 0);
    EXPECT_FALSE(wizard->header()->isPresent(WdlHeader::FileNameTag));
    EXPECT_TRUE(wizard->loadedItems().isEmpty() && wizard->getCSIVfileList().isEmpty());
    EXPECT_EQ(wizard->parameterTotal(), 1);
    EXPECT_TRUE(property("isEmpty"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(text || warning);
}

TEST_F(Wizard, OpeningAnnouncesIsEmptyTwice)
{
    m_files.write(QStringLiteral("main.wdl"), QStringLiteral("P: a 1\n"));
    QSignalSpy empty(wizard, SIGNAL(isEmptyChanged()));
    wizard->openWDLFile(m_files.url(QStringLiteral("main.wdl")));
    EXPECT_FALSE(property("isEmpty"));
    EXPECT_EQ(empty.count(), 2) << "cleared, then read";
    wizard->openWDLFile(m_files.url(QStringLiteral("none.wdl")));
    EXPECT_TRUE(property("isEmpty"));
    EXPECT_EQ(wizard->currentFile(), QString());
}

TEST_F(Wizard, ScreensLoadedWhenEveryScreenIsRegistered)
{
    wizard->createWdlTokenScreen();
    wizard->createWdlTokenScreen();
    QSignalSpy loaded(wizard, SIGNAL(screensLoadedChanged()));
    for (const char *id : {"screen_1", "screen_1", "screen_2"}) {
        EXPECT_FALSE(property("screensLoaded"));
        metaCallVoid(wizard, "registerScreen", QString::fromUtf8(id));
    }
    EXPECT_EQ(loaded.count(), 1);
    EXPECT_TRUE(property("screensLoaded"));
}

// Values of types the editor knows only through the meta-type system.
TEST_F(Wizard, ModelsAndCsivFilesReachTheEditor)
{
    for (const char *name : {"parametersModel", "screenModel", "choicelistModel", "textModel"})
        EXPECT_TRUE(wizard->property(name).value<WizardItemsModel *>()) << name;
    EXPECT_EQ(wizard->property("warningsModel").value<WarningsModel *>(), wizard->warningsModel());
    wizard->includedFiles().insert(7, IncludedFile{QStringLiteral("flash"), QStringLiteral("/a/b.csiv")});
    EXPECT_EQ(metaCall<IncludedFileMap>(wizard, "getCSIVfileList").value(7).flashName, QStringLiteral("flash"));
    IncludedFileMap byFullName;
    EXPECT_TRUE(QMetaObject::invokeMethod(wizard, "getCSIVfileList", Qt::DirectConnection,
                                          QGenericReturnArgument("QMap<quint16,IncludedFile>", &byFullName)));
    EXPECT_EQ(byFullName.value(7).filePath, QStringLiteral("/a/b.csiv"));
}

} // namespace
