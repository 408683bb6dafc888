#include "inspect/sasimagereader.h"

#include "core/commandline.h"
#include "core/lewriter.h"
#include "core/wdlwizard.h"
#include "output/savewdl.h"
#include "support/wizardfiles.h"
#include "support/imageassembler.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>

namespace {

QStringList problemLines(const SasImage &image)
{
    QStringList out;
    for (const SasProblem &p : image.problems)
        out.append(QString::number(p.offset) + QStringLiteral(": ") + p.message);
    return out;
}

QByteArray withCheckValue(QByteArray image)
{
    LeWriter patch;
    patch.data() = image;
    patch.patchU16(8, SasImageReader::checkValue(image));
    return patch.data();
}

TEST(SasImageReaderCheckValue, KnownAnswer)
{
    // CRC-16/ARC of "123456789" is 0xBB3D; a leading zero byte leaves a CRC
    // with initial value 0 unchanged, so the pairs feed 00 '1' '2' ... '9'.
    LeWriter image;
    image.u8(0x0F);
    image.zeros(3);
    image.u32(20);
    image.u16(0);
    image.bytes(QByteArrayLiteral("1\0" "32547698"));
    EXPECT_EQ(SasImageReader::checkValue(image.data()), 0xBB3D);

    // An odd total length leaves the last byte out.
    image.patchU32(4, 21);
    image.u8(0xAA);
    EXPECT_EQ(SasImageReader::checkValue(image.data()), 0xBB3D);
}

TEST(SasImageReaderCheckValue, FeedsOnlyThePairsTheDataHolds)
{
    LeWriter image;
    image.u8(0x0F);
    image.zeros(3);
    image.u32(4000);
    image.u16(0);
    image.bytes(QByteArrayLiteral("1\0" "32547698"));
    EXPECT_EQ(SasImageReader::checkValue(image.data()), 0xBB3D);
    EXPECT_EQ(SasImageReader::checkValue(QByteArray(7, '\0')), 0);
}

TEST(SasImageReader, SoundImageReadsWithoutProblems)
{
    const SasImage image = SasImageReader::read(allRecordsImage());
    EXPECT_TRUE(sameWarnings(problemLines(image), {}));
    EXPECT_TRUE(image.checkValuesAgree());
    EXPECT_EQ(image.fileName, QStringLiteral("dumped"));
    EXPECT_EQ(image.records.size(), 20);
    EXPECT_EQ(image.texts.size(), 7);
    ASSERT_EQ(image.dictionaries.size(), 2);
    EXPECT_EQ(image.dictionaries.at(0).name, QStringLiteral("english"));
    EXPECT_EQ(image.dictionaries.at(1).nativeName, QStringLiteral("Deutsch"));
    ASSERT_EQ(image.csivFiles.size(), 1);
    EXPECT_EQ(image.csivFiles.at(0).flashName, QStringLiteral("CURVE1"));
    EXPECT_EQ(image.csivFiles.at(0).offset % 4, 0);
}

// Cut at every length, the image is reported, never read past its end.
TEST(SasImageReader, EveryTruncationIsReported)
{
    const QByteArray sound = allRecordsImage();
    for (int n = 0; n < sound.size(); ++n) {
        const SasImage image = SasImageReader::read(sound.left(n));
        ASSERT_FALSE(image.problems.isEmpty()) << "cut at " << n;
        if (n < SasImageReader::kFixedHeaderSize) {
            EXPECT_EQ(problemLines(image), QStringList{QString::number(n)
                                                       + QStringLiteral(": image cut short: the header needs 48 "
                                                                        "bytes, the data ends at offset ")
                                                       + QString::number(n)});
        } else {
            EXPECT_EQ(problemLines(image).first(),
                      QStringLiteral("4: total length ") + QString::number(sound.size())
                          + QStringLiteral(" at offset 4 differs from the ") + QString::number(n)
                          + QStringLiteral(" bytes of the image: the image is cut short"))
                << "cut at " << n;
        }
    }
}

struct Damage
{
    const char *name;
    // Damages the image; sound is the reading of the undamaged one.
    std::function<void(LeWriter &image, const SasImage &sound)> damage;
    // The complete list of problems, as "offset: message".
    std::function<QStringList(const QByteArray &damaged, const SasImage &sound)> problems;
    bool keepCheckValue = false;

    friend void PrintTo(const Damage &d, std::ostream *os) { *os << d.name; }
};

class SasImageReaderDamage : public ::testing::TestWithParam<Damage>
{
};

TEST_P(SasImageReaderDamage, ReportsTheProblemAtItsOffset)
{
    const Damage &d = GetParam();
    const SasImage sound = SasImageReader::read(allRecordsImage());
    LeWriter image;
    image.data() = allRecordsImage();
    d.damage(image, sound);
    const QByteArray damaged = d.keepCheckValue ? image.data() : withCheckValue(image.data());
    EXPECT_TRUE(sameWarnings(problemLines(SasImageReader::read(damaged)), d.problems(damaged, sound)));
}

QString n(qint64 v)
{
    return QString::number(v);
}

QString hex4(quint16 v)
{
    return QString::number(v, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

int commandOffset(const SasImage &image, const char *mnemonic)
{
    for (const SasRecord &r : image.records) {
        for (const SasCommand &c : r.commands) {
            if (c.mnemonic == QLatin1String(mnemonic))
                return c.offset;
        }
    }
    return -1;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SasImageReaderDamage,
    ::testing::Values(
        Damage{"FlippedByte",
               [](LeWriter &image, const SasImage &) {
                   image.patchU8(image.size() - 1, quint8(image.data().at(image.size() - 1) ^ 0x01));
               },
               [](const QByteArray &damaged, const SasImage &sound) {
                   return QStringList{QStringLiteral("8: stored check value 0x") + hex4(sound.storedCheckValue)
                                      + QStringLiteral(" differs from the computed 0x")
                                      + hex4(SasImageReader::checkValue(damaged))};
               },
               true},
        Damage{"BadDictionaryMagic",
               [](LeWriter &image, const SasImage &sound) { image.patchU8(sound.dictionaryStart, 'X'); },
               [](const QByteArray &, const SasImage &sound) {
                   const QString d = n(sound.dictionaryStart);
                   return QStringList{d + QStringLiteral(": dictionary 1 at offset ") + d
                                      + QStringLiteral(": bad magic at offset ") + d};
               }},
        Damage{"DictionaryIndexPointsPastItsEnd",
               [](LeWriter &image, const SasImage &sound) {
                   image.patchU32(sound.dictionaries.at(1).offset + DictCodec::kHeadSize + 4, 0x10000);
               },
               [](const QByteArray &, const SasImage &sound) {
                   const int at = sound.dictionaries.at(1).offset;
                   return QStringList{n(at + DictCodec::kHeadSize) + QStringLiteral(": dictionary 2 at offset ") + n(at)
                                      + QStringLiteral(": index entry 0 points past the string area")};
               }},
        Damage{"RecordRunsPastTheScriptData",
               [](LeWriter &image, const SasImage &sound) {
                   const SasRecord &last = sound.records.last();
                   image.patchU16(last.offset + 3, quint16(last.payloadLength + 1));
               },
               [](const QByteArray &, const SasImage &sound) {
                   const SasRecord &last = sound.records.last();
                   return QStringList{n(last.offset + 3) + QStringLiteral(": payload length ")
                                      + n(last.payloadLength + 1) + QStringLiteral(" of the filter record at offset ")
                                      + n(last.offset)
                                      + QStringLiteral(" runs past the end of the script data at offset ")
                                      + n(sound.textRecordsOffset)};
               }},
        Damage{"ScriptDataLengthPastTheEnd",
               [](LeWriter &image, const SasImage &) { image.patchU16(31, 0xFFF0); },
               [](const QByteArray &damaged, const SasImage &sound) {
                   return QStringList{
                       QStringLiteral("39: text records offset ") + n(sound.textRecordsOffset)
                           + QStringLiteral(" is not header length + script data length (")
                           + n(sound.scriptDataOffset + 0xFFF0) + QLatin1Char(')'),
                       QStringLiteral("31: script data of 65520 bytes from offset ") + n(sound.scriptDataOffset)
                           + QStringLiteral(" runs past the end of the image at offset ") + n(damaged.size())};
               }},
        Damage{"DictionaryStartOutOfRange",
               [](LeWriter &image, const SasImage &) { image.patchU16(46, 0xFFF0); },
               [](const QByteArray &damaged, const SasImage &sound) {
                   return QStringList{
                       QStringLiteral("46: dictionary start 65520 is not where the text records end, rounded up to 4 (")
                           + n(sound.dictionaryStart) + QLatin1Char(')'),
                       QStringLiteral("42: dictionary area length ") + n(damaged.size() - sound.dictionaryStart)
                           + QStringLiteral(" is not total length - dictionary start (") + n(damaged.size() - 0xFFF0)
                           + QLatin1Char(')'),
                       QStringLiteral("65520: dictionary 1 at offset 65520: blob offset 65520 lies outside the "
                                      "data of ")
                           + n(damaged.size()) + QStringLiteral(" bytes")};
               }},
        Damage{"CsivOffsetPastTheEnd",
               [](LeWriter &image, const SasImage &sound) {
                   image.patchU32(commandOffset(sound, "CSIV") + 3, quint32(image.size() + 100));
               },
               [](const QByteArray &damaged, const SasImage &sound) {
                   const int command = commandOffset(sound, "CSIV");
                   const SasCsivFile &file = sound.csivFiles.first();
                   const SasDictionary &last = sound.dictionaries.last();
                   const int dictionariesEnd = (last.offset + last.size + 3) / 4 * 4;
                   return QStringList{
                       n(command + 3) + QStringLiteral(": CSIV command at offset ") + n(command)
                           + QStringLiteral(" names a file at offset ") + n(damaged.size() + 100)
                           + QStringLiteral(", past the end of the image at offset ") + n(damaged.size()),
                       n(dictionariesEnd) + QStringLiteral(": ") + n(file.size) + QStringLiteral(" bytes at offset ")
                           + n(dictionariesEnd) + QStringLiteral(" belong to no section")};
               }},
        Damage{"CsivFlashNameOutsideTheFile",
               [](LeWriter &image, const SasImage &sound) { image.patchU16(sound.csivFiles.first().offset + 26, 999); },
               [](const QByteArray &, const SasImage &sound) {
                   const SasCsivFile &file = sound.csivFiles.first();
                   return QStringList{n(file.offset) + QStringLiteral(": CSIV file at offset ") + n(file.offset)
                                      + QStringLiteral(" has no readable flash name: its name field (length 999, "
                                                       "offset 30) lies outside its ")
                                      + n(file.size) + QStringLiteral(" bytes")};
               }},
        Damage{"TotalLengthTooLarge",
               [](LeWriter &image, const SasImage &) { image.patchU32(4, quint32(image.size() + 8)); },
               [](const QByteArray &damaged, const SasImage &sound) {
                   return QStringList{
                       QStringLiteral("4: total length ") + n(damaged.size() + 8)
                           + QStringLiteral(" at offset 4 differs from the ") + n(damaged.size())
                           + QStringLiteral(" bytes of the image: the image is cut short"),
                       QStringLiteral("42: dictionary area length ") + n(damaged.size() - sound.dictionaryStart)
                           + QStringLiteral(" is not total length - dictionary start (")
                           + n(damaged.size() + 8 - sound.dictionaryStart) + QLatin1Char(')')};
               }},
        Damage{"UnknownRecordType",
               [](LeWriter &image, const SasImage &sound) { image.patchU8(sound.scriptDataOffset, 99); },
               [](const QByteArray &, const SasImage &sound) {
                   const QString at = n(sound.scriptDataOffset);
                   return QStringList{at + QStringLiteral(": unknown record type 99 at offset ") + at};
               }},
        Damage{"WrongTextKey",
               [](LeWriter &image, const SasImage &sound) { image.patchU32(sound.texts.at(1).offset + 2, 7); },
               [](const QByteArray &, const SasImage &sound) {
                   const QString at = n(sound.texts.at(1).offset);
                   return QStringList{QStringLiteral("text record at offset ").prepend(at + QStringLiteral(": ")) + at
                                      + QStringLiteral(" of text 2 has keys 7 and 4, not 3 and 4")};
               }}),
    [](const ::testing::TestParamInfo<Damage> &info) { return std::string(info.param.name); });

} // namespace

namespace {

void copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
    }
}

class SasImageReaderExample : public ::testing::TestWithParam<QString>
{
};

// What wdlc writes, the reader takes apart without a problem: the two agree
// on the layout and on the check value.
TEST_P(SasImageReaderExample, ImageFromWdlcReadsWithoutProblems)
{
    QTemporaryDir work;
    const QString examples = QStringLiteral(WDLC_SOURCE_DIR "/examples");
    copyTree(examples, work.path());
    const QString wdl = work.filePath(QDir(examples).relativeFilePath(GetParam()));
    const QString sas = wdl + QStringLiteral(".sas");
    CommandLine::run(QStringList{wdl});

    QFile file(sas);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << sas.toStdString();
    const QByteArray bytes = file.readAll();
    const SasImage image = SasImageReader::read(bytes);
    EXPECT_TRUE(sameWarnings(problemLines(image), {}));
    EXPECT_EQ(SasImageReader::checkValue(bytes), SaveWdl::sasChecksum(bytes));
    EXPECT_EQ(image.fileName, WdlWizard::instance()->header()->fileName());
    EXPECT_EQ(image.texts.size(), WdlWizard::instance()->textModel()->count());
    // One dictionary per translation file beside the wizard, after English.
    const QStringList translations = QFileInfo(wdl).dir().entryList({QStringLiteral("translation_*.xml")})
                                         .filter(QRegularExpression(QStringLiteral("^translation_(?!template)")));
    EXPECT_EQ(image.dictionaries.size(), 1 + translations.size());
    for (const SasCsivFile &csiv : image.csivFiles) {
        const IncludedFileMap files = WdlWizard::instance()->getCSIVfileList();
        ASSERT_EQ(files.size(), 1);
        EXPECT_EQ(csiv.flashName, files.first().flashName);
        // The last section of the image: nothing follows the file.
        const QString path = QString(files.first().filePath).replace(QLatin1Char('\\'), QLatin1Char('/'));
        EXPECT_EQ(csiv.size, QFileInfo(path + QStringLiteral(".csiv")).size());
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, SasImageReaderExample, ::testing::ValuesIn(exampleWizards()),
                         [](const ::testing::TestParamInfo<QString> &info) {
                             return QFileInfo(info.param).baseName().toStdString();
                         });

} // namespace
