#include "codec/dictcodec.h"
#include "core/fileurl.h"
#include "core/lereader.h"
#include "core/wdlwizard.h"
#include "output/savewdl.h"
#include "support/examples.h"
#include "support/qtprinters.h"
#include "support/sasimage.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace {

class CreateSas : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wizard()->clearAllModels();
        wizard()->setCurrentFile(m_files.path(QStringLiteral("main.wdl")));
    }
    static WdlWizard *wizard() { return WdlWizard::instance(); }
    QStringList filesLeft() const
    {
        return QDir(m_files.dir()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    }
    // Opens WDL text written as main.wdl beside the other files.
    QStringList open(const QString &wdl)
    {
        m_files.write(QStringLiteral("main.wdl"), wdl);
        wizard()->openWDLFile(m_files.url(QStringLiteral("main.wdl")));
        return warningLines(wizard());
    }

    WizardFiles m_files;
};

// Each refusal comes before any file is written: the previous image stays,
// and no translation template appears beside it.
struct RefusalCase
{
    const char *name;
    int wizardData;
    int texts;
    bool headerComplete;
    QString warning;
};

class SasRefusal : public CreateSas, public ::testing::WithParamInterface<RefusalCase>
{
};

TEST_P(SasRefusal, LeavesTheExistingImageUntouched)
{
    fillWizardData(wizard(), GetParam().wizardData, GetParam().texts);
    if (!GetParam().headerComplete)
        wizard()->header()->reset();
    m_files.writeBytes(QStringLiteral("out.sas"), "previous image");

    wizard()->createSasByteArray(m_files.url(QStringLiteral("out.sas")));

    EXPECT_TRUE(sameWarnings(warningLines(wizard()), {QStringLiteral("main.wdl:0: ") + GetParam().warning}));
    EXPECT_EQ(readFile(m_files.path(QStringLiteral("out.sas"))), QByteArray("previous image"));
    EXPECT_EQ(filesLeft(), QStringList{QStringLiteral("out.sas")});
}

INSTANTIATE_TEST_SUITE_P(
    WdlWizard, SasRefusal,
    ::testing::Values(
        RefusalCase{"NotReady", 1000, 1, false,
                    "WDL file has not been loaded or is invalid. SAS file can't be saved."},
        RefusalCase{"WizardDataPast65535", 65536, 0, true,
                    "Wizard data is longer than maximum wizard data length of 65kB. Make your script simpler."},
        RefusalCase{"WizardDataOf65535LeavesNoRoomForPadding", 65535, 0, true,
                    "Text data is longer than maximum of 65kB. Reduce the number of texts."},
        RefusalCase{"TextRecordsPast65535", 993, 6454, true,
                    "Text data is longer than maximum of 65kB. Reduce the number of texts."}),
    [](const ::testing::TestParamInfo<RefusalCase> &info) { return std::string(info.param.name); });

TEST_F(CreateSas, UnwritableTargetLeavesTheExistingImageUntouched)
{
    fillWizardData(wizard(), 1000, 1);
    // Tests may run as root, for whom every directory is writable. The image
    // is first written to a temporary file named after it plus a suffix; at
    // 254 characters its name leaves no room for that suffix.
    const QString name = QString(250, QLatin1Char('x')) + QStringLiteral(".sas");
    m_files.writeBytes(name, "previous image");

    wizard()->createSasByteArray(m_files.url(name));

    EXPECT_TRUE(sameWarnings(warningLines(wizard()), {QStringLiteral("main.wdl:0: Saving of .sas file failed")}));
    EXPECT_EQ(readFile(m_files.path(name)), QByteArray("previous image"));
    // The translation template is written before the image is opened.
    QStringList left = filesLeft();
    left.removeOne(QStringLiteral("translation_template.xml"));
    EXPECT_EQ(left, QStringList{name});
}

// Two commands name one path text, one of them as a script's first command.
// The path is written with a backslash and without extension.
const char kCsivWizard[] = "FILE_FORMAT_VERSION: 1.0\n"
                           "FILE_VERSION: 1.0\n"
                           "RUN_MODE: 0\n"
                           "PRODUCT_TYPE: 417\n"
                           "PRODUCT_NAME: \"QX-417\"\n"
                           "DATABASE_VERSION: 1.0\n"
                           "FILE_NAME: \"curves\"\n"
                           "T: title \"Curves\"\n"
                           "T: curve_name \"CURVE\"\n"
                           "T: curve_path \"files\\curve\"\n"
                           "LP: lp_a = 0\n"
                           "FIRST_SCREEN_SCRIPT: init\n"
                           "{\n"
                           "   CVP 0 lp_a\n"
                           "   CSIV curve_name curve_path\n"
                           "}\n"
                           "SCREEN_OVERLAY: start\n"
                           "{\n"
                           "   PRE_SCREEN_SCRIPT: pre_start\n"
                           "   {\n"
                           "      CSIV curve_name curve_path\n"
                           "   }\n"
                           "   OVERLAY: o_start\n"
                           "   {\n"
                           "      T: title\n"
                           "      OK_ACTION: EXIT_WIZARD\n"
                           "   }\n"
                           "}\n";

TEST_F(CreateSas, CsivFileIsEmbeddedOnceForEveryCommandNamingIt)
{
    // An odd length: the image ends with it, its last byte outside the check value.
    const QByteArray curve = QByteArray("CSIV") + QByteArray(22, '\0') + QByteArray("\x05\x00\x20\x00\x00\x00", 6)
                             + QByteArray("CURVE") + QByteArray("\x01\x02", 2);
    m_files.writeBytes(QStringLiteral("files/curve.csiv"), curve);
    ASSERT_TRUE(sameWarnings(open(QString::fromUtf8(kCsivWizard)), {}));

    wizard()->createSasByteArray(m_files.url(QStringLiteral("out.sas")));
    EXPECT_TRUE(sameWarnings(warningLines(wizard()), {}));
    const QByteArray image = readFile(m_files.path(QStringLiteral("out.sas")));

    const int offset = image.size() - curve.size();
    EXPECT_EQ(offset % 4, 0);
    EXPECT_EQ(image.mid(offset), curve);
    EXPECT_EQ(csivOperands(image), (QList<quint32>{quint32(offset), quint32(offset)}));
    bool ok = false;
    EXPECT_EQ(LeReader::u16At(image, 8, &ok), SaveWdl::sasChecksum(image));

    // The path text keeps its record but leaves the dictionary, for good.
    const DictCodec::Decoded english = DictCodec::decode(image, LeReader::u16At(image, 46, &ok));
    ASSERT_TRUE(english.ok) << english.error.toStdString();
    EXPECT_EQ(english.entries, (DictCodec::Entries{{1, QStringLiteral("Curves")}, {3, QStringLiteral("CURVE")}}));
    EXPECT_EQ(LeReader::u16At(image, 35, &ok), 3);
    EXPECT_EQ(wizard()->textModel()->byId<WdlTokenText>(QStringLiteral("curve_path"))->getText(), QString());
}

TEST_F(CreateSas, SameWizardGivesTheSameBytes)
{
    const QString pump = QStringLiteral(WDLC_SOURCE_DIR "/examples/pump/pump_commissioning.wdl");
    for (const QString &name : {QStringLiteral("a.sas"), QStringLiteral("b.sas")}) {
        wizard()->openWDLFile(FileUrl::fromLocalPath(pump));
        wizard()->createSasByteArray(m_files.url(name));
        ASSERT_TRUE(sameWarnings(warningLines(wizard()), {}));
    }
    const QByteArray first = readFile(m_files.path(QStringLiteral("a.sas")));
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(first, readFile(m_files.path(QStringLiteral("b.sas"))));
}

class ExampleImage : public CreateSas, public ::testing::WithParamInterface<QString>
{
};

TEST_P(ExampleImage, CompilesWithoutWarningsAndVerifies)
{
    wizard()->openWDLFile(FileUrl::fromLocalPath(GetParam()));
    ASSERT_TRUE(wizard()->isValidForSaving()) << warningLines(wizard()).join(QLatin1Char('\n')).toStdString();
    const QString sas = m_files.path(QFileInfo(GetParam()).fileName() + QStringLiteral(".sas"));
    wizard()->createSasByteArray(FileUrl::fromLocalPath(sas));
    EXPECT_TRUE(sameWarnings(warningLines(wizard()), {}));

    const QByteArray image = readFile(sas);
    bool ok = false;
    EXPECT_EQ(LeReader::u32At(image, 4, &ok), quint32(image.size()));
    EXPECT_EQ(LeReader::u16At(image, 8, &ok), SaveWdl::sasChecksum(image));
    EXPECT_TRUE(DictCodec::decode(image, LeReader::u16At(image, 46, &ok)).ok);
    for (quint32 offset : csivOperands(image))
        EXPECT_EQ(image.mid(int(offset), 4), QByteArray("CSIV")) << "operand " << offset;
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleImage, ::testing::ValuesIn(exampleWizards()),
                         [](const ::testing::TestParamInfo<QString> &info) {
                             return QFileInfo(info.param).baseName().toStdString();
                         });

} // namespace
