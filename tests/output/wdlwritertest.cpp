#include "core/wdlwizard.h"
#include "support/golden.h"
#include "support/wizardfiles.h"

#include <QDirIterator>
#include <QFileInfo>

namespace {

const QString kWriterData = QStringLiteral(WDLC_TEST_DATA "/wdlwriter/");

// Compares with the golden file wdlwriter/<name>; an empty text stands for a
// file that does not exist.
void expectGolden(const QString &name, const QByteArray &actual)
{
    if (!actual.isEmpty())
        EXPECT_TRUE(matchesGolden(actual, QStringLiteral("wdlwriter/") + name));
    else if (qEnvironmentVariableIsSet("WDLC_UPDATE_GOLDEN"))
        QFile::remove(kWriterData + name);
    else
        EXPECT_FALSE(QFile::exists(kWriterData + name)) << name.toStdString() << " should not exist";
}

class WdlWriterSave : public ::testing::Test
{
protected:
    void SetUp() override { wizard->clearAllModels(); }
    // Saves the loaded wizard beside sasName; returns the warnings it gives.
    QStringList save(const QString &sasName)
    {
        const int before = wizard->warningsModel()->count();
        wizard->saveWdlFile(m_files.url(sasName));
        return warningLines(wizard).mid(before);
    }

    WdlWizard *wizard = WdlWizard::instance();
    WizardFiles m_files;
};

TEST_F(WdlWriterSave, FileIsNamedAfterTheImage)
{
    const auto saved = [this](const char *sasName) {
        EXPECT_TRUE(sameWarnings(openFile(exampleWizards().constFirst()), {}));
        QDir(m_files.dir()).removeRecursively();
        QDir().mkpath(m_files.dir());
        const QStringList warnings = save(QString::fromUtf8(sasName));
        return (QDir(m_files.dir()).entryList(QDir::Files) + warnings).join(' ').toStdString();
    };
    EXPECT_EQ(saved("w.sas"), "w.wdl");
    EXPECT_EQ(saved("w.SAS"), "w.wdl");
    EXPECT_EQ(saved("w.sas.SaS"), "w.sas.wdl");
    const std::string failed = QFileInfo(exampleWizards().constFirst()).fileName().toStdString()
                               + ":0: Saving of .wdl file failed";
    EXPECT_EQ(saved("w.wdl"), failed);
    EXPECT_EQ(saved("missing/w.sas"), failed);
    wizard->clearAllModels();
    wizard->setCurrentFile(QStringLiteral("/w/editor.wdl"));
    EXPECT_TRUE(sameWarnings(save(QStringLiteral("w.sas")),
                             {"editor.wdl:0: WDL file has not been loaded or is invalid. SAS file can't be saved."}));
}

// Each example and each wizard of wdlwriter/input/ saved, read back and saved
// again. The saved text is the golden <name>.wdl; reading it back is meant to
// give no warning and the second save the same text. Where a wizard does not,
// <name>.reread.txt holds the warnings that reading the saved file gives and
// <name>.resaved.wdl the text of the second save (see wdlwriter/README.md).
class WdlWriterRoundTrip : public WdlWriterSave, public ::testing::WithParamInterface<QString>
{
};

TEST_P(WdlWriterRoundTrip, SavesAndReadsBack)
{
    const QString base = QFileInfo(GetParam()).completeBaseName();
    ASSERT_TRUE(sameWarnings(openFile(GetParam()), {}));
    EXPECT_TRUE(sameWarnings(save(base + QStringLiteral(".sas")), {}));
    const QByteArray saved = readFile(m_files.path(base + QStringLiteral(".wdl")));
    expectGolden(base + QStringLiteral(".wdl"), saved);

    const QStringList reread = openFile(m_files.path(base + QStringLiteral(".wdl")));
    expectGolden(base + QStringLiteral(".reread.txt"),
                 reread.isEmpty() ? QByteArray() : (reread.join('\n') + '\n').toUtf8());
    save(QStringLiteral("again.sas"));
    const QByteArray resaved = readFile(m_files.path(QStringLiteral("again.wdl")));
    expectGolden(base + QStringLiteral(".resaved.wdl"), resaved == saved ? QByteArray() : resaved);
}

QStringList roundTripWizards()
{
    QStringList out = exampleWizards();
    QDirIterator it(kWriterData + QStringLiteral("input"), {QStringLiteral("*.wdl")});
    while (it.hasNext())
        out.append(it.next());
    return out;
}

INSTANTIATE_TEST_SUITE_P(Wizards, WdlWriterRoundTrip, ::testing::ValuesIn(roundTripWizards()),
                         [](const ::testing::TestParamInfo<QString> &info) {
                             return QFileInfo(info.param).completeBaseName().remove('_').toStdString();
                         });

} // namespace
