#include "tool/toolrun.h"

#include "support/golden.h"
#include "support/imageassembler.h"
#include "support/testsupport.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The image of the wizard with every record kind, as all_records.sas.
class DumpCommandTest : public ::testing::Test
{
protected:
    void SetUp() override { m_files.writeBytes(QStringLiteral("all_records.sas"), m_image); }

    ToolRun dump(const QStringList &arguments)
    {
        return runToolIn(m_files.dir(), QStringList{QStringLiteral("dump")} + arguments);
    }

    const QByteArray m_image = allRecordsImage();
    WizardFiles m_files;
};

TEST_F(DumpCommandTest, TextGolden)
{
    const ToolRun run = dump({QStringLiteral("all_records.sas")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, QString());
    EXPECT_TRUE(matchesGolden(run.out, QStringLiteral("tool/dump/all_records.txt")));
}

TEST_F(DumpCommandTest, JsonGolden)
{
    const ToolRun run = dump({QStringLiteral("--json"), QStringLiteral("all_records.sas")});
    EXPECT_EQ(run.status, 0);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject checkValue = document.object().value(QStringLiteral("checkValue")).toObject();
    EXPECT_TRUE(checkValue.value(QStringLiteral("agree")).toBool());
    EXPECT_TRUE(matchesGolden(run.out, QStringLiteral("tool/dump/all_records.json")));
}

TEST_F(DumpCommandTest, DamagedImageIsDumpedAsFarAsItGoesAndFails)
{
    m_files.writeBytes(QStringLiteral("cut.sas"), m_image.left(m_image.size() - 40));
    const ToolRun run = dump({QStringLiteral("cut.sas")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.contains(QStringLiteral("\nScript data: 20 records")));
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("cut.sas: offset 4: total length ") + QString::number(m_image.size())
                                   + QStringLiteral(" at offset 4 differs from the ")
                                   + QString::number(m_image.size() - 40)
                                   + QStringLiteral(" bytes of the image: the image is cut short\n")))
        << run.err.toStdString();
}

} // namespace
