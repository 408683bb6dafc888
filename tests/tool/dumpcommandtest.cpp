#include "tool/toolrun.h"

#include "base/lewriter.h"
#include "codec/dictcodec.h"
#include "core/commandline.h"
#include "inspect/sasimagereader.h"
#include "support/golden.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The image of tests/data/compile/all_records: one record of every kind.
const QString kSoundImage = QStringLiteral(WDLC_TEST_DATA "/compile/all_records/expected/main.wdl.sas");

// Each damaged image is dumped as far as it reads, and the dump fails with
// every problem on standard error at its offset: see
// tests/data/tool/runs/dump_damaged.txt. A damage overwrites bytes at an
// offset, or cuts the image there when it brings none; every damage but the
// flipped byte comes with the check value that fits it.
TEST(DumpCommand, ReportsEachDamageAtItsOffset)
{
    const QByteArray bytes = readFile(kSoundImage);
    const SasImage s = SasImageReader::read(bytes);
    ASSERT_TRUE(s.ok() && s.dictionaries.size() == 2 && s.csivFiles.size() == 1);
    const auto le = [](qint64 value, int size) {
        LeWriter out;
        out.u32(quint32(value));
        return out.data().left(size);
    };
    const struct
    {
        const char *name;
        int at;
        QByteArray bytes;
    } damages[] = {
        {"cut_in_the_header", 30, {}},
        {"reserved_byte_set", 1, le(7, 1)},
        {"cut_in_the_script_data", s.scriptDataOffset + 20, {}},
        {"cut_in_the_dictionaries", s.dictionaryStart + 200, {}},
        {"flipped_byte", bytes.size() - 1, QByteArray(1, char(bytes.back() ^ 1))},
        {"bad_dictionary_magic", s.dictionaryStart, "X"},
        {"dictionary_index_past_its_end", s.dictionaries.at(1).offset + DictCodec::kHeadSize + 4, le(0x10000, 4)},
        {"record_past_the_script_data", s.records.last().offset + 3, le(s.records.last().payloadLength + 1, 2)},
        {"script_data_length_past_the_end", 31, le(0xFFF0, 2)},
        {"dictionary_start_out_of_range", 46, le(0xFFF0, 2)},
        {"csiv_offset_past_the_end", s.csivFiles.first().commandOffsets.first() + 3, le(bytes.size() + 100, 4)},
        {"csiv_offset_inside_the_dictionaries", s.csivFiles.first().commandOffsets.first() + 3,
         le(s.dictionaryStart, 4)},
        {"csiv_offset_not_a_multiple_of_4", s.csivFiles.first().commandOffsets.first() + 3,
         le(s.csivFiles.first().offset + 2, 4)},
        {"csiv_flash_name_outside_the_file", s.csivFiles.first().offset + 26, le(999, 2)},
        {"total_length_too_large", 4, le(bytes.size() + 8, 4)},
        {"unknown_record_type", s.scriptDataOffset, le(99, 1)},
        {"wrong_text_key", s.texts.at(1).offset + 2, le(7, 4)},
    };
    WizardFiles files;
    QString report;
    for (const auto &damage : damages) {
        QByteArray image = bytes;
        if (damage.bytes.isEmpty())
            image.truncate(damage.at);
        else
            image.replace(damage.at, damage.bytes.size(), damage.bytes);
        if (qstrcmp(damage.name, "flipped_byte") != 0)
            image.replace(8, 2, le(SasImageReader::checkValue(image), 2));
        const QString name = QString::fromUtf8(damage.name) + QStringLiteral(".sas");
        files.writeBytes(name, image);
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
    QStringList translations = QFileInfo(wdl).dir().entryList({QStringLiteral("translation_*.xml")});
    translations.removeOne(QStringLiteral("translation_template.xml"));
    CommandLine::run({wdl});
    const ToolRun run = runToolIn(work.dir(),
                                  {QStringLiteral("dump"), QStringLiteral("--json"), wdl + QStringLiteral(".sas")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject dump = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_TRUE(dump[QStringLiteral("checkValue")][QStringLiteral("agree")].toBool());

    // The wizard wdlc compiled is still open.
    QMap<int, QString> english;
    QList<int> translated;
    for (WdlToken *item : WdlWizard::instance()->textModel()->items()) {
        const auto *text = static_cast<WdlTokenText *>(item);
        if (WdlWizard::instance()->getCSIVfileList().contains(text->getIndex()))
            translated.append(text->textKey());
        else if (!text->getText().isEmpty())
            english.insert(text->textKey(), text->getText());
        if (!text->getHelp().isEmpty())
            english.insert(text->helpKey(), text->getHelp());
    }
    translated += english.keys();
    std::sort(translated.begin(), translated.end());
    const QJsonArray dictionaries = dump[QStringLiteral("dictionaries")].toArray();
    ASSERT_EQ(dictionaries.size(), 1 + translations.size());
    if (wdl.endsWith(QLatin1String("pump_commissioning.wdl"))) {
        EXPECT_EQ(dictionaries.size(), 3) << "English, German and French";
    }
    for (int i = 0; i < dictionaries.size(); ++i) {
        QMap<int, QString> entries;
        for (const QJsonValue &entry : dictionaries.at(i)[QStringLiteral("entries")].toArray())
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
