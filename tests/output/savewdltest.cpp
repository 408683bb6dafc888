#include "output/savewdl.h"
#include "base/lereader.h"
#include "base/lewriter.h"
#include "codec/dictcodec.h"
#include "core/wdlwizard.h"
#include "items/wdltokenfilter.h"
#include "items/wdltokenlocalparam.h"
#include "items/wdltokenoverlay.h"
#include "output/crc16arc.h"
#include "support/sasimage.h"
#include "support/wizardfiles.h"

#include <random>

namespace {

class ImageBuilder : public ::testing::Test
{
protected:
    void SetUp() override { wizard->clearAllModels(); }
    template<class T> T *add(WizardItemsModel *model, T *item)
    {
        model->addItem(item);
        return item;
    }
    // A complete header and one overlay screen showing "Hi": the smallest
    // wizard that compiles. Returns the image built into out.sas.
    QByteArray smallestImage(const QString &fileName, SaveWdl &builder)
    {
        setCompleteHeader(wizard, fileName);
        auto *hello = add(wizard->textModel(),
                          new WdlTokenText(QStringLiteral("hello"), QStringLiteral("Hi"), QString()));
        auto *overlay = add(wizard->overlayModel(), new WdlTokenOverlay(QStringLiteral("o_hello")));
        overlay->setText(hello);
        overlay->setAction(0, QStringLiteral("EXIT_WIZARD"));
        add(wizard->screenModel(), new WdlTokenScreen(QStringLiteral("hello")))->setOverlay(overlay);
        configure(builder, wizard);
        EXPECT_TRUE(builder.writeSas(m_files.url(QStringLiteral("out.sas"))));
        return readFile(m_files.path(QStringLiteral("out.sas")));
    }

    WdlWizard *wizard = WdlWizard::instance();
    WizardFiles m_files;
};

// The header as written, one line per field, for two file names (checked by
// hand, see data/image/README.md). Header, script data and the text record
// take 88 bytes plus the FILE_NAME: the dictionaries start at the next
// multiple of 4, the English dictionary right there and nothing after it.
TEST_F(ImageBuilder, HeaderFieldsInPlaceAndDictionariesAfterZeroPaddingToFour)
{
    for (const auto &[fileName, start] :
         {std::pair<const char *, int>{"", 88}, {"f", 92}, {"fff", 92}, {"ffff", 92}, {"pump_1", 96}}) {
        SetUp();
        SaveWdl builder;
        builder.setAnnotate(true);
        const QByteArray image = smallestImage(QString::fromUtf8(fileName), builder);
        const int textRecordsEnd = 88 + int(strlen(fileName));
        if (textRecordsEnd == 88 || textRecordsEnd == 94) {
            const QString dump = builder.annotatedDump();
            const QString golden =
                QStringLiteral(WDLC_TEST_DATA "/image/header_%1.txt").arg(*fileName ? fileName : "no_file_name");
            EXPECT_EQ(dump.left(dump.indexOf(QStringLiteral("; FILE_NAME end\n")) + 16).toStdString(),
                      readFile(golden).toStdString());
        }
        bool ok = false;
        EXPECT_EQ(LeReader::u16At(image, 46, &ok), start);
        EXPECT_EQ(image.mid(textRecordsEnd, start - textRecordsEnd), QByteArray(start - textRecordsEnd, '\0'));
        const DictCodec::Decoded english = DictCodec::decode(image, start);
        EXPECT_EQ(english.entries, (DictCodec::Entries{{1, QStringLiteral("Hi")}}));
        EXPECT_EQ(start + english.size, image.size());
        EXPECT_EQ(quint8(image.at(41)), 1) << "one dictionary without translations";
    }
}

// The wizard data (header and script data) and the dictionary start (wizard
// data and text records, rounded up to 4) both have to fit 16-bit fields.
TEST_F(ImageBuilder, LimitsAreCheckedOnTheWizardAsBuilt)
{
    const auto fits = [this](int wizardData, int texts) {
        SetUp();
        fillWizardData(wizard, wizardData, texts);
        SaveWdl builder;
        configure(builder, wizard);
        LeWriter data;
        builder.buildHeader(data);
        builder.buildScriptData(data);
        EXPECT_EQ(data.size(), wizardData);
        return std::to_string(builder.fitsWizardDataLimit()) + std::to_string(builder.fitsTextDataLimit());
    };
    EXPECT_EQ(fits(65532, 0), "11");
    EXPECT_EQ(fits(65533, 0), "10") << "the padding would pass 65535";
    EXPECT_EQ(fits(65536, 0), "00");
    EXPECT_EQ(fits(65522, 1), "11");
    EXPECT_EQ(fits(65523, 1), "10");
    EXPECT_EQ(fits(992, 6454), "11");
}

TEST(SasChecksum, CoversSwappedPairsFromOffset10UpToTheStoredLength)
{
    // 19 bytes: the pairs from offset 10 hold "21436587", so the CRC sees
    // "12345678"; the odd last byte is outside every pair.
    LeWriter image;
    image.u8(0x0F);
    image.zeros(3);
    image.u32(19, "total length");
    image.u16(0xAAAA, "check value: not covered");
    image.bytes("21436587");
    image.u8('9', "odd last byte: not covered");
    constexpr quint16 kCrcOf12345678 = 0x3C9D;
    EXPECT_EQ(SaveWdl::sasChecksum(image.data()), kCrcOf12345678);
    image.patchU8(18, 'X');
    image.patchU16(8, 0x5555);
    EXPECT_EQ(SaveWdl::sasChecksum(image.data()), kCrcOf12345678);
    image.patchU32(4, 4000);
    EXPECT_EQ(SaveWdl::sasChecksum(image.data()), kCrcOf12345678) << "only the pairs the data holds";
    image.patchU8(10, '1');
    EXPECT_NE(SaveWdl::sasChecksum(image.data()), kCrcOf12345678);
}

} // namespace

TEST(Crc16Arc, KnownAnswerByteByByteAndInPairs)
{
    Crc16Arc bytes;
    for (const char c : QByteArray("123456789"))
        bytes.add(quint8(c));
    EXPECT_EQ(bytes.value(), 0xBB3D);
    Crc16Arc pairs;
    pairs.add('1', '2');
    pairs.add('3', '4');
    pairs.add('5', '6');
    pairs.add('7', '8');
    pairs.add('9');
    EXPECT_EQ(pairs.value(), 0xBB3D);
}

// The check value eight bytes at a time against the plain bit-by-bit
// definition, over every length around the eight-byte step and a large
// image, with the stored total length at, below and past the data's end.
TEST(SasChecksum, SlicedTablesGiveTheBitwiseCrcAtEveryLength)
{
    const auto bitwise = [](const QByteArray &image, qint64 covered) {
        quint16 crc = 0;
        const auto feed = [&crc](quint8 byte) {
            crc ^= byte;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 1u) ? quint16((crc >> 1) ^ 0xA001u) : quint16(crc >> 1);
        };
        for (qint64 at = 10; at + 1 < covered; at += 2) {
            feed(quint8(image[int(at + 1)]));
            feed(quint8(image[int(at)]));
        }
        return crc;
    };
    std::mt19937 random(20261206);
    std::vector<int> sizes;
    for (int size = 0; size <= 60; ++size)
        sizes.push_back(size);
    sizes.push_back(100003);
    for (const int size : sizes) {
        QByteArray image(size, '\0');
        for (char &byte : image)
            byte = char(random());
        if (size > 0)
            image[size - 1] = char(0xFF);
        for (const qint64 stored : {qint64(size), qint64(size) - 3, qint64(size) + 5, qint64(0xFFFFFFFFu)}) {
            if (size >= 8) {
                LeWriter patch;
                patch.data() = image;
                patch.patchU32(4, quint32(stored));
                image = patch.data();
            }
            const qint64 covered = size >= 8 ? qMin<qint64>(stored, size) : 0;
            EXPECT_EQ(SaveWdl::sasChecksum(image), bitwise(image, covered)) << size << " bytes, length " << stored;
        }
    }
}

// Groups in their fixed order, each walking its collection from the first
// row: a screen with both an overlay and two parameters is written in the
// overlay group and again in the dual group.
TEST_F(ImageBuilder, ScriptDataComesInItsGroupOrder)
{
    setCompleteHeader(wizard, QString());
    auto *vp = add(wizard->parametersModel(), new WdlTokenParam(QStringLiteral("vp"), false));
    auto *p = add(wizard->parametersModel(), new WdlTokenParam(QStringLiteral("p"), 100));
    auto *vcp = add(wizard->parametersModel(), new WdlTokenParam(QStringLiteral("vcp"), true));
    auto *single = add(wizard->screenModel(), new WdlTokenScreen(QStringLiteral("single")));
    single->addParameter(p);
    auto *both = add(wizard->screenModel(), new WdlTokenScreen(QStringLiteral("both")));
    both->addParameter(p);
    both->addParameter(vp);
    both->setOverlay(add(wizard->overlayModel(), new WdlTokenOverlay(QStringLiteral("o"))));
    auto *dual = add(wizard->screenModel(), new WdlTokenScreen(QStringLiteral("dual")));
    dual->addParameter(vcp);
    dual->addParameter(p);
    add(wizard->filterModel(), new WdlTokenFilter(QStringLiteral("f"), QBitArray(3, true), true));
    add(wizard->scriptModel(), new WdlTokenScript(QStringLiteral("s"), WdlTokenScript::ScriptType_WS));
    add(wizard->localParameterModel(), new WdlTokenLocalParam(QStringLiteral("lp"), 7));
    add(wizard->choicelistModel(), new WdlTokenChoiceList(QStringLiteral("cl")));
    SaveWdl builder;
    configure(builder, wizard);
    LeWriter data;
    builder.buildScriptData(data);

    QStringList records;
    LeReader in(data.data());
    while (in.remaining() > 0) {
        const quint8 type = in.u8();
        const quint16 number = in.u16();
        in.skip(in.u16());
        records.append(QString::number(type) + QLatin1Char('/') + QString::number(number));
    }
    EXPECT_TRUE(in.ok());
    // screens with overlay, single, dual; overlays; choice lists; VCP; P;
    // local parameters; scripts; VP; filters.
    EXPECT_EQ(records.join(QLatin1Char(' ')), QStringLiteral("2/2 2/1 2/2 2/3 3/1 4/1 5/3 6/2 7/1 9/1 10/1 11/1"));
}
