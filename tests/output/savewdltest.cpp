#include "codec/dictcodec.h"
#include "core/lereader.h"
#include "core/lewriter.h"
#include "core/wdlwizard.h"
#include "items/wdltokenchoicelist.h"
#include "items/wdltokenfilter.h"
#include "items/wdltokenlocalparam.h"
#include "items/wdltokenoverlay.h"
#include "output/savewdl.h"
#include "support/qtprinters.h"
#include "support/sasimage.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QBitArray>
#include <QDir>
#include <QFile>
#include <QMap>

namespace {

class ImageBuilder : public ::testing::Test
{
protected:
    void SetUp() override { wizard()->clearAllModels(); }
    static WdlWizard *wizard() { return WdlWizard::instance(); }
    template<class T> static T *add(WizardItemsModel *model, T *item)
    {
        model->addItem(item);
        return item;
    }
    // One overlay screen showing one text: the smallest wizard that compiles.
    static void addOverlayScreen(const QString &text)
    {
        auto *hello = add(wizard()->textModel(), new WdlTokenText(QStringLiteral("hello"), text, QString()));
        auto *overlay = add(wizard()->overlayModel(), new WdlTokenOverlay(QStringLiteral("o_hello")));
        overlay->setText(hello);
        overlay->setAction(0, QStringLiteral("EXIT_WIZARD"));
        add(wizard()->screenModel(), new WdlTokenScreen(QStringLiteral("hello")))->setOverlay(overlay);
    }
    // Builds the image into a file of the test's directory, and returns it.
    QByteArray writeImage(SaveWdl &builder, const QString &name = QStringLiteral("out.sas"))
    {
        configure(builder, wizard());
        EXPECT_TRUE(builder.writeSas(m_files.url(name)));
        return readFile(m_files.path(name));
    }

    WizardFiles m_files;
};

// The header as written, late fields patched, one line per field. The values
// were checked by hand against the layout: script data = screen record (5 + 9)
// + overlay record (15) = 29; one text record of 10; the English dictionary of
// one entry "Hi" = 136 + 12 + 2 * 3 = 154 bytes; the check value recomputed
// apart from this code (bit by bit over the swapped pairs).
struct HeaderCase
{
    const char *name;
    QString fileName;
    QString dump;
};

class ImageHeader : public ImageBuilder, public ::testing::WithParamInterface<HeaderCase>
{
};

TEST_P(ImageHeader, EveryFieldInPlace)
{
    setCompleteHeader(wizard(), GetParam().fileName);
    addOverlayScreen(QStringLiteral("Hi"));
    SaveWdl builder;
    builder.setAnnotate(true);
    writeImage(builder);
    const QString dump = builder.annotatedDump();
    const int headerEnd = dump.indexOf(QStringLiteral("; FILE_NAME end\n")) + int(strlen("; FILE_NAME end\n"));
    EXPECT_EQ(dump.left(headerEnd).toStdString(), GetParam().dump.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    SaveWdl, ImageHeader,
    ::testing::Values(HeaderCase{"SixCharacterFileName", QStringLiteral("pump_1"),
                                 QStringLiteral("     0: 0F ; format\n"
                                                "     1: 00 00 00 ; zero\n"
                                                "     4: FA 00 00 00 ; total length\n"
                                                "     8: 7E E1 ; check value\n"
                                                "    10: 30 00 ; fixed header size\n"
                                                "    12: 02 01 ; FILE_FORMAT_VERSION major\n"
                                                "    14: 04 03 ; FILE_FORMAT_VERSION minor\n"
                                                "    16: 06 05 ; FILE_VERSION major\n"
                                                "    18: 08 07 ; FILE_VERSION minor\n"
                                                "    20: 01 ; RUN_MODE\n"
                                                "    21: 0B 0A ; PRODUCT_TYPE\n"
                                                "    23: 0D 0C ; DATABASE_VERSION major\n"
                                                "    25: 0F 0E ; DATABASE_VERSION minor\n"
                                                "    27: 07 00 ; file-name field length\n"
                                                "    29: 30 00 ; file-name field offset\n"
                                                "    31: 1D 00 ; script data length\n"
                                                "    33: 37 00 ; header length\n"
                                                "    35: 01 00 ; text records\n"
                                                "    37: 0A 00 ; text records length\n"
                                                "    39: 54 00 ; text records offset\n"
                                                "    41: 01 ; dictionaries\n"
                                                "    42: 9A 00 00 00 ; dictionary area length\n"
                                                "    46: 60 00 ; dictionary start\n"
                                                "    48: 70 75 6D 70 5F 31 ; FILE_NAME\n"
                                                "    54: 00 ; FILE_NAME end\n")},
                      HeaderCase{"EmptyFileName", QString(),
                                 QStringLiteral("     0: 0F ; format\n"
                                                "     1: 00 00 00 ; zero\n"
                                                "     4: F2 00 00 00 ; total length\n"
                                                "     8: B6 CA ; check value\n"
                                                "    10: 30 00 ; fixed header size\n"
                                                "    12: 02 01 ; FILE_FORMAT_VERSION major\n"
                                                "    14: 04 03 ; FILE_FORMAT_VERSION minor\n"
                                                "    16: 06 05 ; FILE_VERSION major\n"
                                                "    18: 08 07 ; FILE_VERSION minor\n"
                                                "    20: 01 ; RUN_MODE\n"
                                                "    21: 0B 0A ; PRODUCT_TYPE\n"
                                                "    23: 0D 0C ; DATABASE_VERSION major\n"
                                                "    25: 0F 0E ; DATABASE_VERSION minor\n"
                                                "    27: 01 00 ; file-name field length\n"
                                                "    29: 30 00 ; file-name field offset\n"
                                                "    31: 1D 00 ; script data length\n"
                                                "    33: 31 00 ; header length\n"
                                                "    35: 01 00 ; text records\n"
                                                "    37: 0A 00 ; text records length\n"
                                                "    39: 4E 00 ; text records offset\n"
                                                "    41: 01 ; dictionaries\n"
                                                "    42: 9A 00 00 00 ; dictionary area length\n"
                                                "    46: 58 00 ; dictionary start\n"
                                                "    48:  ; FILE_NAME\n"
                                                "    48: 00 ; FILE_NAME end\n")}),
    [](const ::testing::TestParamInfo<HeaderCase> &info) { return std::string(info.param.name); });

// A record's kind and item number, from its five-byte header.
QStringList recordsOf(const QByteArray &scriptData)
{
    static const QMap<int, QString> kinds{{2, "screen"},  {3, "overlay"},          {4, "choice list"},
                                          {5, "VCP"},     {6, "P"},                {7, "local parameter"},
                                          {9, "script"},  {10, "VP"},              {11, "filter"},
                                          {13, "P"}};
    QStringList out;
    LeReader reader(scriptData);
    while (reader.remaining() > 0 && reader.ok()) {
        const quint8 type = reader.u8();
        const quint16 number = reader.u16();
        reader.skip(reader.u16());
        out.append(kinds.value(type, QStringLiteral("?")) + QLatin1Char(' ') + QString::number(number));
    }
    return out;
}

TEST_F(ImageBuilder, ScriptDataFollowsTheGroupOrder)
{
    setCompleteHeader(wizard(), QStringLiteral("order"));
    WizardItemsModel *parameters = wizard()->parametersModel();
    auto *vp = add(parameters, new WdlTokenParam(QStringLiteral("vp"), false));
    auto *p1 = add(parameters, new WdlTokenParam(QStringLiteral("p1"), 100));
    auto *vcp = add(parameters, new WdlTokenParam(QStringLiteral("vcp"), true));
    auto *p2 = add(parameters, new WdlTokenParam(QStringLiteral("p2"), 101));
    auto *o1 = add(wizard()->overlayModel(), new WdlTokenOverlay(QStringLiteral("o1")));
    auto *o2 = add(wizard()->overlayModel(), new WdlTokenOverlay(QStringLiteral("o2")));
    auto *single = add(wizard()->screenModel(), new WdlTokenScreen(QStringLiteral("single")));
    single->addParameter(p2);
    // The checks refuse such a screen in WDL; built here, it meets two groups.
    auto *both = add(wizard()->screenModel(), new WdlTokenScreen(QStringLiteral("both")));
    both->setOverlay(o1);
    both->addParameter(p1);
    auto *overlayOnly = add(wizard()->screenModel(), new WdlTokenScreen(QStringLiteral("overlay")));
    overlayOnly->setOverlay(o2);
    auto *dual = add(wizard()->screenModel(), new WdlTokenScreen(QStringLiteral("dual")));
    dual->addParameter(vp);
    dual->addParameter(vcp);
    auto *choices = add(wizard()->choicelistModel(), new WdlTokenChoiceList(QStringLiteral("cl")));
    auto *local = add(wizard()->localParameterModel(), new WdlTokenLocalParam(QStringLiteral("lp"), 3));
    auto *script = add(wizard()->scriptModel(), new WdlTokenScript(QStringLiteral("sr"), WdlTokenScript::ScriptType_SUBROUTINE));
    script->addCommand(QStringLiteral("RET"), 1);
    auto *filter = add(wizard()->filterModel(), new WdlTokenFilter(QStringLiteral("f"), QBitArray(8, true), true));
    add(wizard()->textModel(), new WdlTokenText(QStringLiteral("t"), QStringLiteral("not script data"), QString()));

    SaveWdl builder;
    configure(builder, wizard());
    LeWriter out;
    builder.buildScriptData(out);

    EXPECT_EQ(recordsOf(out.data()),
              QStringList({"screen 2", "screen 3", "screen 1", "screen 2", "screen 4", "overlay 1", "overlay 2",
                           "choice list 1", "VCP 3", "P 2", "P 4", "local parameter 1", "script 1", "VP 1",
                           "filter 1"}));
    const QList<WdlToken *> order{both, overlayOnly, single, both, dual, o1, o2, choices,
                                  vcp,  p1,          p2,     local, script, vp, filter};
    QByteArray records;
    for (WdlToken *item : order)
        records += item->toByteArray();
    EXPECT_EQ(hex(out.data()), hex(records)) << "records placed unchanged, unpadded";
}

// Header and script data of the one-overlay wizard take 78 bytes plus the
// FILE_NAME, its one text record 10 more: the dictionaries start at the next
// multiple of 4, the English dictionary right there.
struct PaddingCase
{
    int fileNameLength;
    int dictionaryStart;
};

class DictionaryStart : public ImageBuilder, public ::testing::WithParamInterface<PaddingCase>
{
};

TEST_P(DictionaryStart, IsPaddedToFourWithZeros)
{
    setCompleteHeader(wizard(), QString(GetParam().fileNameLength, QLatin1Char('f')));
    addOverlayScreen(QStringLiteral("Hi"));
    SaveWdl builder;
    const QByteArray image = writeImage(builder);

    const int textRecordsEnd = 88 + GetParam().fileNameLength;
    bool ok = false;
    EXPECT_EQ(LeReader::u16At(image, 46, &ok), GetParam().dictionaryStart);
    EXPECT_EQ(image.mid(textRecordsEnd, GetParam().dictionaryStart - textRecordsEnd),
              QByteArray(GetParam().dictionaryStart - textRecordsEnd, '\0'));
    const DictCodec::Decoded english = DictCodec::decode(image, GetParam().dictionaryStart);
    ASSERT_TRUE(english.ok) << english.error.toStdString();
    EXPECT_EQ(english.entries, (DictCodec::Entries{{1, QStringLiteral("Hi")}}));
    EXPECT_EQ(GetParam().dictionaryStart + english.size, image.size()) << "no padding after the English dictionary";
    EXPECT_EQ(quint8(image.at(41)), 1) << "one dictionary without translations";
}

INSTANTIATE_TEST_SUITE_P(SaveWdl, DictionaryStart,
                         ::testing::Values(PaddingCase{0, 88}, PaddingCase{1, 92}, PaddingCase{2, 92},
                                           PaddingCase{3, 92}, PaddingCase{4, 92}));

// The wizard data (header and script data) and the dictionary start (wizard
// data and text records, rounded up to 4) both have to fit 16-bit fields.
struct LimitCase
{
    const char *name;
    int wizardData;
    int texts;
    bool fitsWizardData;
    bool fitsTextData;
};

class ImageLimits : public ImageBuilder, public ::testing::WithParamInterface<LimitCase>
{
};

TEST_P(ImageLimits, AreCheckedOnTheWizardAsBuilt)
{
    fillWizardData(wizard(), GetParam().wizardData, GetParam().texts);
    SaveWdl builder;
    configure(builder, wizard());
    LeWriter wizardData;
    builder.buildHeader(wizardData);
    builder.buildScriptData(wizardData);
    ASSERT_EQ(wizardData.size(), GetParam().wizardData);

    EXPECT_EQ(builder.fitsWizardDataLimit(), GetParam().fitsWizardData);
    EXPECT_EQ(builder.fitsTextDataLimit(), GetParam().fitsTextData);
}

INSTANTIATE_TEST_SUITE_P(
    SaveWdl, ImageLimits,
    ::testing::Values(LimitCase{"LargestDictionaryStart", 65532, 0, true, true},
                      LimitCase{"PaddingWouldPass65535", 65533, 0, true, false},
                      LimitCase{"LargestWizardDataHasNoRoomForPadding", 65535, 0, true, false},
                      LimitCase{"WizardDataPast65535", 65536, 0, false, false},
                      LimitCase{"TextRecordsUpTo65532", 65522, 1, true, true},
                      LimitCase{"TextRecordsPast65532", 65523, 1, true, false},
                      LimitCase{"ManyTextsFit", 992, 6454, true, true},
                      LimitCase{"ManyTextsPassTheLimit", 993, 6454, true, false}),
    [](const ::testing::TestParamInfo<LimitCase> &info) { return std::string(info.param.name); });

TEST_F(ImageBuilder, WriteSasAloneNeverWritesAWrappedDictionaryStart)
{
    fillWizardData(wizard(), 65535, 0);
    m_files.writeBytes(QStringLiteral("out.sas"), "previous image");
    SaveWdl builder;
    configure(builder, wizard());
    EXPECT_FALSE(builder.writeSas(m_files.url(QStringLiteral("out.sas"))));
    EXPECT_EQ(readFile(m_files.path(QStringLiteral("out.sas"))), QByteArray("previous image"));
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
    image.patchU8(10, '1');
    EXPECT_NE(SaveWdl::sasChecksum(image.data()), kCrcOf12345678);
}

TEST_F(ImageBuilder, ProgressTraceListsEveryStep)
{
    setCompleteHeader(wizard(), QStringLiteral("trace"));
    addOverlayScreen(QStringLiteral("Hi"));
    // The log lives in the temporary directory; point that at the test's own.
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", m_files.path(QStringLiteral("tmp")).toUtf8());
    QDir().mkpath(m_files.path(QStringLiteral("tmp")));
    SaveWdl builder;
    writeImage(builder);
    SaveWdl notReady;
    EXPECT_FALSE(notReady.writeSas(m_files.url(QStringLiteral("never.sas"))));
    qputenv("TMPDIR", previous);

    EXPECT_EQ(QString::fromUtf8(readFile(m_files.path(QStringLiteral("tmp/wdlc-build.log")))),
              m_files.url(QStringLiteral("out.sas"))
                  + QStringLiteral("\ndata ready\nfile opened\nfile header\nfile script data\ndict data\n"
                                   "crc1\ncrc2\ncrc3\n")
                  + m_files.url(QStringLiteral("never.sas")) + QStringLiteral("\nnot ready\n"));
    EXPECT_FALSE(QFile::exists(m_files.path(QStringLiteral("never.sas"))));
}

} // namespace
