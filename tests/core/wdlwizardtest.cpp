#include "core/warning.h"
#include "core/wdlwizard.h"
#include "support/qtprinters.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSignalSpy>

namespace {

class Wizard : public ::testing::Test
{
protected:
    void SetUp() override { wizard()->clearAllModels(); }
    WdlWizard *wizard() { return WdlWizard::instance(); }
    static void processDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    bool isValid() { return wizard()->property("isValidForSaving").toBool(); }
};

TEST_F(Wizard, InstanceIsOneObject)
{
    EXPECT_EQ(WdlWizard::instance(), WdlWizard::instance());
    EXPECT_FALSE(WdlWizard::instance()->parent());
}

TEST_F(Wizard, OnlyTheFirstWarningAnnouncesInvalidity)
{
    QSignalSpy changed(wizard(), SIGNAL(isValidForSavingChanged()));
    wizard()->addWarning(QStringLiteral("one"), 1);
    EXPECT_EQ(changed.count(), 1);
    wizard()->addWarning(QStringLiteral("two"), 2);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(Wizard, ReaderWarningsAnnounceNothing)
{
    WizardFiles files;
    files.write(QStringLiteral("main.wdl"), QStringLiteral("FOO 1\n"));
    QSignalSpy changed(wizard(), SIGNAL(isValidForSavingChanged()));
    readOnly(wizard(), files);
    changed.clear();
    wizard()->setCurrentFile(files.path(QStringLiteral("main.wdl")));
    files.write(QStringLiteral("main.wdl"), QStringLiteral("FOO 1\nBAR 2\n"));
    EXPECT_EQ(readOnly(wizard(), files).size(), 2);
    EXPECT_EQ(changed.count(), 1) << "only clearAllModels announces";
}

TEST_F(Wizard, WarningsCarryTheCurrentFileWithoutDirectories)
{
    wizard()->setCurrentFile(QStringLiteral("C:/w/pump.wdl"));
    wizard()->addWarning(QStringLiteral("x"), 7);
    wizard()->onNewWarningAdded(QStringLiteral("from the builder"), 65535);
    const Warning *w = wizard()->warningsModel()->itemAt(0);
    EXPECT_EQ(w->fileName(), QStringLiteral("pump.wdl"));
    EXPECT_EQ(w->lineNumber(), 7);
    EXPECT_EQ(wizard()->warningsModel()->itemAt(1)->lineNumber(), 65535) << "the line is widened without sign";
}

TEST_F(Wizard, SlotIsOnTheMetaInterface)
{
    EXPECT_GE(wizard()->metaObject()->indexOfSlot("onNewWarningAdded(QString,ushort)"), 0);
}

TEST_F(Wizard, ClearAllModelsReleasesLaterAndResetsEverything)
{
    WizardFiles files;
    files.write(QStringLiteral("main.wdl"), QStringLiteral("FILE_NAME: \"x\"\nT: a \"A\"\nP: p 1\nFOO 1\n"));
    wizard()->openWDLFile(files.url(QStringLiteral("main.wdl")));
    QPointer<WdlToken> text = wizard()->textModel()->itemAt(0);
    QPointer<Warning> warning = wizard()->warningsModel()->itemAt(0);
    wizard()->registerLoadedItem(QStringLiteral("a"));
    wizard()->includedFiles().insert(1, IncludedFile{QStringLiteral("f"), QStringLiteral("/p")});

    QSignalSpy empty(wizard(), SIGNAL(isEmptyChanged()));
    QSignalSpy valid(wizard(), SIGNAL(isValidForSavingChanged()));
    wizard()->clearAllModels();
    EXPECT_EQ(empty.count(), 1);
    EXPECT_EQ(valid.count(), 1);
    EXPECT_TRUE(text) << "nothing is destroyed during the call";
    EXPECT_EQ(wizard()->textModel()->count(), 0);
    EXPECT_EQ(wizard()->warningsModel()->count(), 0);
    EXPECT_FALSE(wizard()->header()->isPresent(WdlHeader::FileNameTag));
    EXPECT_TRUE(wizard()->loadedItems().isEmpty());
    EXPECT_TRUE(wizard()->getCSIVfileList().isEmpty());
    EXPECT_EQ(wizard()->parameterTotal(), 1);
    EXPECT_TRUE(wizard()->property("isEmpty").toBool());
    processDeferredDeletes();
    EXPECT_FALSE(text);
    EXPECT_FALSE(warning);
}

TEST_F(Wizard, OpenSetsParameterTotalAndIsEmpty)
{
    WizardFiles files;
    files.write(QStringLiteral("main.wdl"), QStringLiteral("P: a 1\nP: b 2\nLP: l = 0\n"));
    QSignalSpy empty(wizard(), SIGNAL(isEmptyChanged()));
    wizard()->openWDLFile(files.url(QStringLiteral("main.wdl")));
    EXPECT_FALSE(wizard()->property("isEmpty").toBool());
    EXPECT_EQ(empty.count(), 2) << "cleared, then read";
    EXPECT_EQ(wizard()->parameterTotal(), 3);

    wizard()->openWDLFile(files.url(QStringLiteral("none.wdl")));
    EXPECT_TRUE(wizard()->property("isEmpty").toBool());
    EXPECT_EQ(wizard()->parameterTotal(), 0);
    ASSERT_EQ(wizard()->warningsModel()->count(), 1);
    EXPECT_EQ(wizard()->warningsModel()->itemAt(0)->fileName(), QStringLiteral("none.wdl"));
    EXPECT_EQ(wizard()->currentFile(), QString());
}

TEST_F(Wizard, ValidForSavingNeedsAScreenAndNoWarning)
{
    EXPECT_FALSE(isValid());
    wizard()->createWdlTokenScreen();
    EXPECT_TRUE(isValid());
    wizard()->addWarning(QStringLiteral("x"), 0);
    EXPECT_FALSE(isValid());
}

TEST_F(Wizard, ScreensLoadedWhenEveryScreenIsRegistered)
{
    wizard()->createWdlTokenScreen();
    wizard()->createWdlTokenScreen();
    QSignalSpy loaded(wizard(), SIGNAL(screensLoadedChanged()));
    wizard()->registerScreen(QStringLiteral("screen_1"));
    EXPECT_FALSE(wizard()->property("screensLoaded").toBool());
    wizard()->registerScreen(QStringLiteral("screen_1"));
    EXPECT_EQ(loaded.count(), 0);
    wizard()->registerScreen(QStringLiteral("screen_2"));
    EXPECT_EQ(loaded.count(), 1);
    EXPECT_TRUE(wizard()->property("screensLoaded").toBool());
    EXPECT_EQ(wizard()->registeredScreens().size(), 2);
}

TEST_F(Wizard, LoadedItemsKeepRepeats)
{
    wizard()->registerLoadedItem(QStringLiteral("a"));
    wizard()->registerLoadedItem(QStringLiteral("a"));
    EXPECT_EQ(wizard()->loadedItems().size(), 2);
    bool loaded = false;
    QMetaObject::invokeMethod(wizard(), "isItemAlreadyLoaded", Q_RETURN_ARG(bool, loaded),
                              Q_ARG(QString, QStringLiteral("a")));
    EXPECT_TRUE(loaded);
    EXPECT_FALSE(wizard()->isItemAlreadyLoaded(QStringLiteral("A")));
}

TEST_F(Wizard, ModelsAreReachableAsProperties)
{
    for (const char *name : {"parametersModel", "screenModel", "choicelistModel", "textModel"})
        EXPECT_TRUE(wizard()->property(name).value<WizardItemsModel *>()) << name;
    EXPECT_EQ(wizard()->property("warningsModel").value<WarningsModel *>(), wizard()->warningsModel());
}

TEST_F(Wizard, CsivFileListIsInvokable)
{
    wizard()->includedFiles().insert(7, IncludedFile{QStringLiteral("flash"), QStringLiteral("/a/b.csiv")});
    IncludedFileMap files;
    ASSERT_TRUE(QMetaObject::invokeMethod(wizard(), "getCSIVfileList", Q_RETURN_ARG(IncludedFileMap, files)));
    EXPECT_EQ(files.value(7).flashName, QStringLiteral("flash"));
}

} // namespace
