#include "output/wdlwriter.h"

#include "core/fileurl.h"
#include "core/wdlheader.h"
#include "core/wdlwizard.h"
#include "support/examples.h"
#include "support/qtprinters.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

namespace {

const QString kWriterData = QStringLiteral(WDLC_TEST_DATA "/wdlwriter");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool updatingGolden()
{
    return qEnvironmentVariableIntValue("WDLC_UPDATE_GOLDEN") == 1;
}

// Compares with a golden file, or rewrites it under WDLC_UPDATE_GOLDEN=1.
// An empty text stands for a file that does not exist.
void expectGolden(const QString &golden, const QByteArray &actual)
{
    if (updatingGolden()) {
        QFile::remove(golden);
        QFile file(golden);
        if (!actual.isEmpty() && file.open(QIODevice::WriteOnly))
            file.write(actual);
        return;
    }
    EXPECT_EQ(actual.toStdString(), readAll(golden).toStdString()) << "golden file " << golden.toStdString();
}

class WdlWriterTest : public ::testing::Test
{
protected:
    void SetUp() override { wizard()->clearAllModels(); }
    static WdlWizard *wizard() { return WdlWizard::instance(); }

    // Saves the loaded wizard as <name>.wdl in the temporary directory and
    // returns its text; the warnings saving gives go to `warnings`.
    QByteArray save(const QString &name, QStringList *warnings = nullptr)
    {
        const int before = wizard()->warningsModel()->count();
        wizard()->saveWdlFile(m_files.url(name + QStringLiteral(".sas")));
        if (warnings)
            *warnings = warningLines(wizard()).mid(before);
        return readAll(m_files.path(name + QStringLiteral(".wdl")));
    }
    QStringList open(const QString &path)
    {
        wizard()->openWDLFile(FileUrl::fromLocalPath(path));
        return warningLines(wizard());
    }

    WizardFiles m_files;
};

// The header block of a wizard with no items, and every region with its
// marker lines as they are spelt.
TEST(WdlWriter, EmptyWizardGivesTheHeaderAndEveryRegion)
{
    WizardItemsModel models[WdlWizard::SlotCount];
    WizardItemsModel *bySlot[WdlWizard::SlotCount];
    for (int i = 0; i < WdlWizard::SlotCount; ++i)
        bySlot[i] = &models[i];
    WdlHeader header;
    header.setFileFormatVersion(1, 5);
    header.setFileVersion(1, 5);
    header.setRunMode(1);
    header.setProductType(417);
    header.setProductName(QStringLiteral("QX-417"));
    header.setDatabaseVersion(2, 0);
    header.setFileName(QStringLiteral("pump"));
    EXPECT_EQ(WdlWriter(bySlot, &header).text().toStdString(),
              "#region Wizard Header Information\n\n"
              "FILE_FORMAT_VERSION: 1.5\nFILE_VERSION: 1.05\nRUN_MODE: 1\nPRODUCT_TYPE: 417\n"
              "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: 2.00\nFILE_NAME: \"pump\"\n\n"
              "#endregion // Wizard Header Information\n\n"
              "#region Wizard Text\n\n#endregion // Wizard Text\n\n"
              "#region Choice List Filter\n\n#endregion // Choice List Filter\n\n"
              "#region Array Filter\n\n#endregion // Array Filter\n\n"
              "#region Local Parameters\n\n#endregion //Local Parameters\n\n"
              "#region Drive Param\n\n\n#endregion //Drive Param\n\n\n"
              "#region Choice Lists\n\n#endregion //Choice List\n\n\n"
              "#region Scripts\n\n\n#endregion //Scripts\n\n\n"
              "#region Drive Screens\n\n\n#endregion //Drive Screens\n\n");
}

struct SaveUrlCase
{
    const char *name;
    const char *sasName;    // handed to saveWdlFile, in the temporary directory
    const char *written;    // the file that must exist afterwards, or ""
    const char *warning;    // the one warning saving gives, or ""
};

class WdlWriterSaveUrl : public WdlWriterTest, public ::testing::WithParamInterface<SaveUrlCase>
{
};

TEST_P(WdlWriterSaveUrl, NamesTheFileAfterTheImage)
{
    const SaveUrlCase &c = GetParam();
    ASSERT_TRUE(sameWarnings(open(exampleWizards().constFirst()), {}));
    const int before = wizard()->warningsModel()->count();
    wizard()->saveWdlFile(m_files.url(QString::fromUtf8(c.sasName)));
    QStringList expected;
    if (*c.warning)
        expected.append(QFileInfo(exampleWizards().constFirst()).fileName() + QStringLiteral(":0: ")
                        + QString::fromUtf8(c.warning));
    EXPECT_TRUE(sameWarnings(warningLines(wizard()).mid(before), expected));
    if (*c.written) {
        EXPECT_TRUE(QFileInfo::exists(m_files.path(QString::fromUtf8(c.written))));
    }
    EXPECT_EQ(QDir(m_files.dir()).entryList(QDir::Files).size(), *c.written ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Urls, WdlWriterSaveUrl,
    ::testing::Values(SaveUrlCase{"LowerCase", "w.sas", "w.wdl", ""},
                      SaveUrlCase{"UpperCaseExtension", "w.SAS", "w.wdl", ""},
                      SaveUrlCase{"OnlyTheLastExtension", "w.sas.SaS", "w.sas.wdl", ""},
                      SaveUrlCase{"WdlIsRefused", "w.wdl", "", "Saving of .wdl file failed"},
                      SaveUrlCase{"MissingDirectory", "missing/w.sas", "", "Saving of .wdl file failed"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(WdlWriterTest, NothingLoadedIsNotSaved)
{
    wizard()->setCurrentFile(QStringLiteral("/w/editor.wdl"));
    QStringList warnings;
    EXPECT_TRUE(save(QStringLiteral("w"), &warnings).isEmpty());
    EXPECT_TRUE(sameWarnings(
        warnings, {QStringLiteral("editor.wdl:0: WDL file has not been loaded or is invalid. SAS file can't be saved.")}));
}

// Each example saved, read back and saved again. The saved text is a golden
// file; reading it back is meant to give no warning and the second save the
// same text. Where an example does not, <example>.reread.txt holds the
// warnings that reading the saved file gives and <example>.resaved.wdl the
// text of the second save. Both examples have overlays with unset keys, and
// the pump's first-screen script is referred to by nothing: see the
// WdlWriterRoundTrip table for what each of these does to a saved file.
class WdlWriterExample : public WdlWriterTest, public ::testing::WithParamInterface<QString>
{
};

TEST_P(WdlWriterExample, SavesAndReadsBack)
{
    const QString base = QFileInfo(GetParam()).completeBaseName();
    const QString golden = kWriterData + QLatin1Char('/') + base;
    ASSERT_TRUE(sameWarnings(open(GetParam()), {}));
    QStringList warnings;
    const QByteArray saved = save(base, &warnings);
    EXPECT_TRUE(sameWarnings(warnings, {}));
    expectGolden(golden + QStringLiteral(".wdl"), saved);

    const QStringList reread = open(m_files.path(base + QStringLiteral(".wdl")));
    QByteArray rereadText;
    for (const QString &line : reread)
        rereadText += line.toUtf8() + '\n';
    expectGolden(golden + QStringLiteral(".reread.txt"), rereadText);

    const QByteArray resaved = save(QStringLiteral("again"));
    expectGolden(golden + QStringLiteral(".resaved.wdl"), resaved == saved ? QByteArray() : resaved);
}

INSTANTIATE_TEST_SUITE_P(Examples, WdlWriterExample, ::testing::ValuesIn(exampleWizards()),
                         [](const auto &info) {
                             QString name = QFileInfo(info.param).completeBaseName();
                             return name.remove(QLatin1Char('_')).toStdString();
                         });

} // namespace

namespace {

const char *const kHeaderLines = "FILE_FORMAT_VERSION: 1.0\n"
                                 "FILE_VERSION: 1.5\n"
                                 "RUN_MODE: 0\n"
                                 "PRODUCT_TYPE: 417\n"
                                 "PRODUCT_NAME: \"QX-417\"\n"
                                 "DATABASE_VERSION: 2.0\n"
                                 "FILE_NAME: \"w\"\n";

// An overlay screen with every key bound, leading to `next`.
std::string overlayScreen(const char *id, const char *next)
{
    return std::string("SCREEN_OVERLAY: ") + id + "\n{\n   OVERLAY: o_" + id
           + "\n   {\n      T: title\n"
             "      OK_ACTION: GOTO_NEXT_SCREEN\n      CANCEL_ACTION: EXIT_WIZARD\n"
             "      BACK_ACTION: GOTO_PREVIOUS_SCREEN\n      INFO_ACTION: NO_ACTION\n"
             "      UP_ACTION: NO_ACTION\n      DOWN_ACTION: NO_ACTION\n"
             "      LEFT_ACTION: NO_ACTION\n      RIGHT_ACTION: NO_ACTION\n   }\n"
           + (*next ? std::string("   NS: ") + next + "\n" : std::string()) + "}\n";
}

std::string tooFewAt(int line)
{
    return "w.wdl:" + std::to_string(line)
           + ": Too few arguments. There should be at least 2 arguments, but there are 1 arguments";
}

struct RoundTripCase
{
    const char *name;
    std::string wdl;                   // after the header lines
    std::vector<std::string> reread;  // warnings of reading the saved w.wdl
};

class WdlWriterRoundTrip : public WdlWriterTest, public ::testing::WithParamInterface<RoundTripCase>
{
};

TEST_P(WdlWriterRoundTrip, ReadingTheSavedFileGives)
{
    const RoundTripCase &c = GetParam();
    const QString source = m_files.write(QStringLiteral("source.wdl"), QString::fromUtf8(kHeaderLines)
                                                                           + QString::fromStdString(c.wdl));
    ASSERT_TRUE(sameWarnings(open(source), {}));
    const QByteArray saved = save(QStringLiteral("w"));
    QStringList expected;
    for (const std::string &w : c.reread)
        expected.append(QString::fromStdString(w));
    EXPECT_TRUE(sameWarnings(open(m_files.path(QStringLiteral("w.wdl"))), expected)) << saved.toStdString();
    if (expected.isEmpty()) {
        EXPECT_EQ(save(QStringLiteral("again")).toStdString(), saved.toStdString());
    }
}

INSTANTIATE_TEST_SUITE_P(
    KnownPlaces, WdlWriterRoundTrip,
    ::testing::Values(
        RoundTripCase{"EveryKindReadsBackCleanly",
                      "T: title \"Title\\nsecond line: Grüße\"\nH: title \"Help\"\nT: speed_name \"Speed\"\n"
                      "T: a \"A\"\nT: b \"B\"\nT: mode_name \"Mode\"\n"
                      "CLF: modes \"0,2\"\nAPF: inputs \"1-2\"\nLP: lp_x = 3\n"
                      "SUBROUTINE: sr_copy\n{\n   CPY speed lp_x\n   RET\n}\n"
                      + overlayScreen("first", "second")
                      + "SCREEN_DUAL_PARAM: second\n{\n"
                        "   VP: speed\n   {\n      T: speed_name\n      MIN: 0\n      MAX: 10\n      VAL: 1\n"
                        "      SCALE: 0\n      WS: ws_speed\n      {\n         CALL sr_copy\n      }\n   }\n"
                        "   VCP: mode\n   {\n      T: mode_name\n      CL: modes_list\n      {\n         a*\n"
                        "         b\n      }\n   }\n"
                        "   NS: third\n}\n"
                        "SCREEN_SINGLE_PARAM: third\n{\n   P: ctl 100\n   {\n      TO: mode_name\n"
                        "      CLF: modes\n      APF: inputs\n   }\n}\n",
                      {}},
        RoundTripCase{"OverlayKeyLeftUnset",
                      "T: title \"Title\"\n"
                      "SCREEN_OVERLAY: first\n{\n   OVERLAY: o_first\n   {\n      T: title\n"
                      "      OK_ACTION: EXIT_WIZARD\n   }\n}\n",
                      // Every key is written, an unset one with nothing after its colon.
                      {tooFewAt(55), tooFewAt(56), tooFewAt(57), tooFewAt(58), tooFewAt(59), tooFewAt(60),
                       tooFewAt(61)}},
        RoundTripCase{"ParameterOnTwoScreens",
                      "T: title \"Title\"\nT: speed_name \"Speed\"\n" + overlayScreen("first", "second")
                          + "SCREEN_SINGLE_PARAM: second\n{\n"
                            "   VP: speed\n   {\n      T: speed_name\n      MIN: 0\n      MAX: 10\n      VAL: 1\n"
                            "      SCALE: 0\n   }\n   NS: third\n}\n"
                            "SCREEN_SINGLE_PARAM: third\n{\n   VP: speed\n}\n",
                      // Both screens write the block; the second one only names
                      // the parameter, so its block is read as screen lines.
                      {"w.wdl:87: Unknown tag \"T\" in screen third", "w.wdl:88: Unknown tag \"MIN\" in screen third",
                       "w.wdl:89: Unknown tag \"VAL\" in screen third", "w.wdl:90: Unknown tag \"MAX\" in screen third",
                       "w.wdl:91: Unknown tag \"SCALE\" in screen third"}},
        RoundTripCase{"UnreferencedFirstScreenScript",
                      "T: ctl_name \"Control\"\nLP: lp_x = 0\nFIRST_SCREEN_SCRIPT: init\n{\n   CVP 1 lp_x\n}\n"
                      "SCREEN_SINGLE_PARAM: first\n{\n   P: ctl 100\n   {\n      TO: ctl_name\n   }\n}\n",
                      // Nothing refers to it, so it is written by its head line
                      // alone: the body is lost, and the head line takes the
                      // first screen's head as its missing "{".
                      {"w.wdl:51: ERROR with parenthesis!", tooFewAt(52), tooFewAt(54), "w.wdl:55: Unknown tag TO",
                       tooFewAt(56), tooFewAt(59), "w.wdl:44: Script init is empty.",
                       "w.wdl:15: Text \"ctl_name\" is not used.", "w.wdl:28: Local Parameter  \"lp_x\" is not used.",
                       "w.wdl:53: Parameter  \"ctl\" is not used."}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
