#include "tool/toolrun.h"

#include "codec/dictcodec.h"
#include "core/commandline.h"
#include "core/lewriter.h"
#include "inspect/sasimagereader.h"
#include "support/golden.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <functional>

namespace {

// The image of tests/data/compile/all_records: one record of every kind.
const QString kSoundImage = QStringLiteral(WDLC_TEST_DATA "/compile/all_records/expected/main.wdl.sas");

struct Damage
{
    const char *name;
    // Patches the sound image, whose reading is given.
    std::function<void(LeWriter &image, const SasImage &sound)> apply;
    bool keepCheckValue = false;
};

// Each damaged image is dumped as far as it reads, and the dump fails with
// every problem on standard error at its offset: see
// tests/data/tool/runs/dump_damaged.txt. Every damage but the flipped byte
// gets the check value that fits it.
TEST(DumpCommand, ReportsEachDamageAtItsOffset)
{
    const QByteArray bytes = readFile(kSoundImage);
    const SasImage sound = SasImageReader::read(bytes);
    ASSERT_TRUE(sound.ok() && sound.dictionaries.size() == 2 && sound.csivFiles.size() == 1);
    const auto cut = [](int size) { return [size](LeWriter &image, const SasImage &) { image.data().resize(size); }; };
    const Damage damages[] = {
        {"cut_in_the_header", cut(30)},
        {"cut_in_the_script_data", cut(sound.scriptDataOffset + 20)},
        {"cut_in_the_dictionaries", cut(sound.dictionaryStart + 200)},
        {"flipped_byte",
         [](LeWriter &image, const SasImage &) { image.patchU8(image.size() - 1, image.data().back() ^ 1); }, true},
        {"bad_dictionary_magic", [](LeWriter &image, const SasImage &s) { image.patchU8(s.dictionaryStart, 'X'); }},
        {"dictionary_index_past_its_end",
         [](LeWriter &image, const SasImage &s) {
             image.patchU32(s.dictionaries.at(1).offset + DictCodec::kHeadSize + 4, 0x10000);
         }},
        {"record_past_the_script_data",
         [](LeWriter &image, const SasImage &s) {
             image.patchU16(s.records.last().offset + 3, s.records.last().payloadLength + 1);
         }},
        {"script_data_length_past_the_end", [](LeWriter &image, const SasImage &) { image.patchU16(31, 0xFFF0); }},
        {"dictionary_start_out_of_range", [](LeWriter &image, const SasImage &) { image.patchU16(46, 0xFFF0); }},
        {"csiv_offset_past_the_end",
         [](LeWriter &image, const SasImage &s) {
             image.patchU32(s.csivFiles.first().commandOffsets.first() + 3, quint32(image.size() + 100));
         }},
        {"csiv_flash_name_outside_the_file",
         [](LeWriter &image, const SasImage &s) { image.patchU16(s.csivFiles.first().offset + 26, 999); }},
        {"total_length_too_large", [](LeWriter &image, const SasImage &) { image.patchU32(4, image.size() + 8); }},
        {"unknown_record_type", [](LeWriter &image, const SasImage &s) { image.patchU8(s.scriptDataOffset, 99); }},
        {"wrong_text_key", [](LeWriter &image, const SasImage &s) { image.patchU32(s.texts.at(1).offset + 2, 7); }},
    };
    WizardFiles files;
    QString report;
    for (const Damage &damage : damages) {
        LeWriter image;
        image.data() = bytes;
        damage.apply(image, sound);
        if (!damage.keepCheckValue)
            image.patchU16(8, SasImageReader::checkValue(image.data()));
        const QString name = QString::fromUtf8(damage.name) + QStringLiteral(".sas");
        files.writeBytes(name, image.data());
        const ToolRun run = runToolIn(files.dir(), {QStringLiteral("dump"), name});
        EXPECT_EQ(run.status, 1) << damage.name;
        const QString lines = QString::number(run.out.count(QLatin1Char('\n')));
        report += QStringLiteral("%1: exit status %2, %3 lines of dump\n%4\n")
                      .arg(name, QString::number(run.status), lines, run.err);
    }
    EXPECT_TRUE(matchesGolden(report.toUtf8(), QStringLiteral("tool/runs/dump_damaged.txt")));
}

class DumpExample : public ::testing::TestWithParam<QString>
{
};

// Compiled by wdlc, each example dumps without a problem, with check values
// that agree. Every dictionary entry decodes to a text or help of the wizard:
// English holds each under its key but the CSIV path texts, each translation
// the same keys and the path texts, and there is one per translation file.
TEST_P(DumpExample, ChecksAndDecodesToTheWizardsTexts)
{
    const QString examples = QStringLiteral(WDLC_SOURCE_DIR "/examples");
    WizardFiles work;
    work.copyTree(examples);
    const QString wdl = work.path(QDir(examples).relativeFilePath(GetParam()));
    CommandLine::run({wdl});
    EXPECT_FALSE(QFileInfo::exists(wdl + QStringLiteral("_errors.txt")));
    const ToolRun run =
        runToolIn(work.dir(), {QStringLiteral("dump"), QStringLiteral("--json"), wdl + QStringLiteral(".sas")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject dump = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_TRUE(dump.value(QStringLiteral("checkValue")).toObject().value(QStringLiteral("agree")).toBool());

    // The wizard wdlc compiled is still open.
    WdlWizard *wizard = WdlWizard::instance();
    QMap<int, QString> english;
    QList<int> pathKeys;
    for (WdlToken *item : wizard->textModel()->items()) {
        const auto *text = static_cast<WdlTokenText *>(item);
        if (wizard->getCSIVfileList().contains(text->getIndex()))
            pathKeys.append(text->textKey());
        else if (!text->getText().isEmpty())
            english.insert(text->textKey(), text->getText());
        if (!text->getHelp().isEmpty())
            english.insert(text->helpKey(), text->getHelp());
    }
    QList<int> translated = english.keys() + pathKeys;
    std::sort(translated.begin(), translated.end());
    const QJsonArray dictionaries = dump.value(QStringLiteral("dictionaries")).toArray();
    const QStringList translations = QFileInfo(wdl).dir().entryList({QStringLiteral("translation_*.xml")})
                                         .filter(QRegularExpression(QStringLiteral("^translation_(?!template)")));
    ASSERT_EQ(dictionaries.size(), 1 + translations.size());
    for (int i = 0; i < dictionaries.size(); ++i) {
        QMap<int, QString> entries;
        for (const QJsonValue &entry : dictionaries.at(i).toObject().value(QStringLiteral("entries")).toArray())
            entries.insert(entry[QStringLiteral("key")].toInt(), entry[QStringLiteral("text")].toString());
        if (i == 0)
            EXPECT_EQ(entries, english);
        else
            EXPECT_EQ(entries.keys(), translated) << translations.at(i - 1).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, DumpExample, ::testing::ValuesIn(exampleWizards()),
                         [](const ::testing::TestParamInfo<QString> &info) {
                             return QFileInfo(info.param).baseName().toStdString();
                         });

} // namespace
