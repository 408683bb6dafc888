#include "core/wdlwizard.h"
#include "output/savewdl.h"
#include "support/sasimage.h"
#include "support/wizardfiles.h"

#include <QDir>

namespace {

class CreateSas : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wizard->clearAllModels();
        wizard->setCurrentFile(m_files.path(QStringLiteral("main.wdl")));
    }
    QStringList filesLeft() const { return QDir(m_files.dir()).entryList(QDir::Files, QDir::Name); }
    QByteArray build(const QString &name)
    {
        wizard->createSasByteArray(m_files.url(name));
        return readFile(m_files.path(name));
    }

    WdlWizard *wizard = WdlWizard::instance();
    WizardFiles m_files;
};

// Each refusal comes before any file is written: the previous image stays,
// and no translation template appears beside it.
struct RefusalRow
{
    const char *name;
    int wizardData;
    int texts;
    bool headerComplete;
    QString warning;

    friend void PrintTo(const RefusalRow &row, std::ostream *os) { *os << row.name; }
};

class SasRefusal : public CreateSas, public ::testing::WithParamInterface<RefusalRow>
{
};

TEST_P(SasRefusal, LeavesTheExistingImageUntouched)
{
    fillWizardData(wizard, GetParam().wizardData, GetParam().texts);
    if (!GetParam().headerComplete)
        wizard->header()->reset();
    m_files.writeBytes(QStringLiteral("out.sas"), "previous image");
    EXPECT_EQ(build(QStringLiteral("out.sas")), QByteArray("previous image"));
    EXPECT_TRUE(sameWarnings(warningLines(wizard), {QStringLiteral("main.wdl:0: ") + GetParam().warning}));
    EXPECT_EQ(filesLeft(), QStringList{QStringLiteral("out.sas")});
}

INSTANTIATE_TEST_SUITE_P(
    WdlWizard, SasRefusal,
    ::testing::Values(
        RefusalRow{"NotReady", 1000, 1, false, "WDL file has not been loaded or is invalid. SAS file can't be saved."},
        RefusalRow{"WizardDataPast65535", 65536, 0, true,
                   "Wizard data is longer than maximum wizard data length of 65kB. Make your script simpler."},
        // 65535 bytes of wizard data fit, but the padding after them would not.
        RefusalRow{"WizardDataOf65535LeavesNoRoomForPadding", 65535, 0, true,
                   "Text data is longer than maximum of 65kB. Reduce the number of texts."},
        RefusalRow{"TextRecordsPast65535", 993, 6454, true,
                   "Text data is longer than maximum of 65kB. Reduce the number of texts."}),
    rowName<RefusalRow>);

TEST_F(CreateSas, UnwritableTargetLeavesTheExistingImageUntouched)
{
    fillWizardData(wizard, 1000, 1);
    // Tests may run as root, for whom every directory is writable. The image
    // is first written to a temporary file named after it plus a suffix; at
    // 254 characters its name leaves no room for that suffix.
    const QString name = QString(250, QLatin1Char('x')) + QStringLiteral(".sas");
    m_files.writeBytes(name, "previous image");
    EXPECT_EQ(build(name), QByteArray("previous image"));
    EXPECT_TRUE(sameWarnings(warningLines(wizard), {"main.wdl:0: Saving of .sas file failed"}));
    // The translation template is written before the image is opened.
    EXPECT_EQ(filesLeft(), QStringList({"translation_template.xml", name}));
}

} // namespace
