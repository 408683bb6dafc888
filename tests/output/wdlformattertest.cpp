#include "output/wdlformatter.h"

#include "inspect/sasimagereader.h"
#include "support/golden.h"
#include "support/wizardfiles.h"
#include "tool/fmtcommand.h"
#include "wizardgenerator.h"

namespace {

const QString kFmtData = QStringLiteral(WDLC_TEST_DATA "/fmt");

// The examples and every case in tests/data/fmt/; the golden output of
// <name>.wdl is tests/data/fmt/<name>.expected.wdl.
QStringList formatterCases()
{
    QStringList cases = exampleWizards();
    for (const QString &name : QDir(kFmtData).entryList({QStringLiteral("*.wdl")}, QDir::Files, QDir::Name)) {
        if (!name.endsWith(QLatin1String(".expected.wdl")))
            cases.append(kFmtData + QLatin1Char('/') + name);
    }
    return cases;
}

// The open wizard formatted, as wdltool fmt gives it.
QString formatted()
{
    return FmtCommand::text(WdlWizard::instance());
}

// The open wizard's image, built in a directory of its own (no translations).
SasImage compiled()
{
    WizardFiles dir;
    WdlWizard::instance()->createSasByteArray(dir.url(QStringLiteral("w.sas")));
    return SasImageReader::read(readFile(dir.path(QStringLiteral("w.sas"))));
}

// A record as far as it does not depend on the numbers of the items it
// refers to: its values, whether each such reference is set, its commands.
// Texts keep their order, and so their numbers, which are kept in.
QString signature(const SasRecord &r)
{
    static const QStringList kNumberedReferences = {
        QStringLiteral("choice list"),  QStringLiteral("write script"),      QStringLiteral("choice-list filter"),
        QStringLiteral("array filter"), QStringLiteral("next screen"),       QStringLiteral("next screen script"),
        QStringLiteral("PSS script"),   QStringLiteral("pre-screen script"), QStringLiteral("overlay"),
        QStringLiteral("parameter 1"),  QStringLiteral("parameter 2")};
    QString out = r.typeName + QStringLiteral(", payload ") + QString::number(r.payloadLength) + QLatin1Char(':');
    for (const SasField &f : r.fields) {
        out += QLatin1Char(' ') + f.name + QLatin1Char('=');
        if (kNumberedReferences.contains(f.name))
            out += f.value.toLongLong() == 0 ? QStringLiteral("none") : QStringLiteral("set");
        else if (f.value.type() == QVariant::ByteArray)
            out += QString::fromLatin1(f.value.toByteArray().toHex());
        else
            out += f.value.toString();
    }
    for (const SasCommand &c : r.commands) {
        out += QLatin1Char(' ') + c.mnemonic + QLatin1Char('/') + QString::number(c.operands.size());
        if (c.setupWord >= 0)
            out += QLatin1Char('/') + QString::number(c.setupWord, 16);
    }
    return out;
}

// What must not change when item numbers may: every record's signature, in
// any order, the text records, the CSIV files and every dictionary entry.
QString shape(const SasImage &image)
{
    QStringList records;
    for (const SasRecord &r : image.records)
        records.append(signature(r));
    records.sort();
    QString out = records.join(QLatin1Char('\n')) + QLatin1Char('\n');
    out += QStringLiteral("%1 texts, %2 CSIV files\n").arg(image.texts.size()).arg(image.csivFiles.size());
    for (const SasDictionary &d : image.dictionaries) {
        for (const auto &entry : d.entries)
            out += QStringLiteral("%1 %2: %3\n").arg(d.name, QString::number(entry.first), entry.second);
    }
    return out;
}

// The output opens without warning, formats to itself, and compiles to an
// image of the same shape as the original's.
void expectSameWizardOnceFormatted(const QString &wdl)
{
    ASSERT_TRUE(sameWarnings(openFile(wdl), {}));
    const QString text = formatted();
    const SasImage original = compiled();
    ASSERT_TRUE(original.ok() && original.checkValuesAgree());

    // Beside the formatted file, the files its CSIV commands name by relative paths.
    WizardFiles copy;
    copy.copyTree(QFileInfo(wdl).absolutePath());
    ASSERT_TRUE(sameWarnings(openFile(copy.write(QStringLiteral("formatted.wdl"), text)), {})) << text.toStdString();
    EXPECT_EQ(formatted().toStdString(), text.toStdString());
    const SasImage image = compiled();
    EXPECT_TRUE(image.ok() && image.checkValuesAgree());
    EXPECT_EQ(shape(image).toStdString(), shape(original).toStdString());
}

class WdlFormatterCase : public ::testing::TestWithParam<QString>
{
};

TEST_P(WdlFormatterCase, MatchesItsGoldenOutput)
{
    ASSERT_TRUE(sameWarnings(openFile(GetParam()), {}));
    EXPECT_TRUE(matchesGolden(formatted().toUtf8(),
                              QStringLiteral("fmt/%1.expected.wdl").arg(QFileInfo(GetParam()).completeBaseName())));
}

TEST_P(WdlFormatterCase, ReadsBackAsTheSameWizard)
{
    expectSameWizardOnceFormatted(GetParam());
}

// Thousands of items, every subroutine called, more than 250 texts per
// scale, up to the largest a drive takes.
class StressWizard : public ::testing::TestWithParam<int>
{
};

TEST_P(StressWizard, ReadsBackAsTheSameWizard)
{
    WizardFiles files;
    expectSameWizardOnceFormatted(WizardGenerator::write(files.dir(), GetParam(), 0));
}

INSTANTIATE_TEST_SUITE_P(Scales, StressWizard, ::testing::Range(1, 9));

INSTANTIATE_TEST_SUITE_P(Wizards, WdlFormatterCase, ::testing::ValuesIn(formatterCases()), [](const auto &info) {
    QString name = QFileInfo(info.param).completeBaseName();
    return name.remove(QLatin1Char('_')).toStdString();
});

} // namespace
