#include "codec/dictcodec.h"

#include "codec/hexdump.h"
#include "core/lereader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Entries = DictCodec::Entries;

// A header whose bytes are their own offsets, so that a field written in the
// wrong place or order shows; the two reserved bytes are always zero.
QByteArray countingHeaderBytes()
{
    QByteArray bytes(LanguageHeader::kSize, '\0');
    for (int i = 0; i < LanguageHeader::kSize - 2; ++i)
        bytes[i] = char(i);
    return bytes;
}

LanguageHeader countingHeader()
{
    LanguageHeader header{};
    LanguageHeader::fromBytes(countingHeaderBytes(), &header);
    return header;
}

QByteArray encode(const Entries &entries, int codecMode = 9)
{
    const std::vector<char> blob = DictCodec::encode(countingHeader(), entries, codecMode, nullptr);
    return QByteArray(blob.data(), int(blob.size()));
}

// Two entries passed out of key order; the blob every broken-blob case starts from.
QByteArray twoEntryBlob()
{
    return encode({{5, QStringLiteral("Hi")}, {2, QStringLiteral("é\n")}}, 0x10C);
}

std::vector<std::pair<int, std::string>> readable(const Entries &entries)
{
    std::vector<std::pair<int, std::string>> out;
    for (const auto &entry : entries)
        out.emplace_back(entry.first, entry.second.toStdString());
    return out;
}

} // namespace

TEST(LanguageHeader, BytesRoundTripWithReservedWrittenAsZeros)
{
    LanguageHeader header = countingHeader();
    header.reserved[0] = 0xAA;
    header.reserved[1] = 0xBB;
    EXPECT_EQ(hexDump(header.toBytes()), hexDump(countingHeaderBytes()));
    EXPECT_FALSE(LanguageHeader::fromBytes(countingHeaderBytes().left(119), &header));
}

TEST(DictCodec, EncodesTwoEntriesExactly)
{
    const QByteArray expected = QByteArray::fromHex("57444943 0100 0c 00") + countingHeaderBytes()
        + QByteArray::fromHex("02000000 0c000000"                    // N, S
                              "02000000 00000000 02000000"           // key 2 at 0, 2 units
                              "05000000 06000000 02000000"           // key 5 at 6, 2 units
                              "e900 0a00 0000  4800 6900 0000");     // "é\n", "Hi"
    EXPECT_EQ(hexDump(twoEntryBlob()), hexDump(expected));
}

TEST(DictCodec, ProgressRunsFromZeroToHundred)
{
    static std::vector<int> seen;
    Entries many;
    for (int key = 0; key < 250; ++key)
        many.emplace_back(key, QStringLiteral("text"));
    DictCodec::encode(countingHeader(), many, 9, [](int percent) { seen.push_back(percent); });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_LE(seen.size(), 101u);
}

struct RoundTripCase
{
    const char *name;
    Entries entries;
    Entries inIndexOrder;
};

class DictCodecRoundTrip : public ::testing::TestWithParam<RoundTripCase>
{
};

TEST_P(DictCodecRoundTrip, DecodesWhatWasEncoded)
{
    const RoundTripCase &c = GetParam();
    const QByteArray blob = encode(c.entries, 12);

    quint32 stringAreaSize = 0;
    for (const auto &entry : c.entries)
        stringAreaSize += 2 * (entry.second.size() + 1);
    EXPECT_EQ(blob.size(), 136 + 12 * int(c.entries.size()) + int(stringAreaSize));
    EXPECT_EQ(LeReader::u32At(blob, 128, nullptr), quint32(c.entries.size()));
    EXPECT_EQ(LeReader::u32At(blob, 132, nullptr), stringAreaSize);

    // Inside other bytes, as the blob sits in an image.
    const QByteArray prefix("abcde");
    const DictCodec::Decoded decoded = DictCodec::decode(prefix + blob + QByteArray("tail"), prefix.size());
    ASSERT_TRUE(decoded.ok) << decoded.error.toStdString();
    EXPECT_EQ(decoded.size, blob.size());
    EXPECT_EQ(decoded.version, 1);
    EXPECT_EQ(decoded.codecMode, 12);
    EXPECT_EQ(hexDump(decoded.header.toBytes()), hexDump(countingHeaderBytes()));
    EXPECT_EQ(readable(decoded.entries), readable(c.inIndexOrder));
}

// Enough equal keys that an unstable sort would show: small ranges are
// insertion-sorted, and thus stable, by most sort implementations.
RoundTripCase manyEqualKeys()
{
    RoundTripCase c{"ManyEqualKeys", {}, {}};
    for (int i = 0; i < 64; ++i)
        c.entries.emplace_back(4 - i % 5, QString::number(i));
    for (int key = 0; key <= 4; ++key) {
        for (const auto &entry : c.entries) {
            if (entry.first == key)
                c.inIndexOrder.push_back(entry);
        }
    }
    return c;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DictCodecRoundTrip,
    ::testing::Values(
        RoundTripCase{"Empty", {}, {}},
        RoundTripCase{"EqualKeysKeptInOrder",
                      {{3, QStringLiteral("b")}, {-1, QStringLiteral("a")}, {3, QStringLiteral("c")},
                       {-1, QStringLiteral("d")}},
                      {{-1, QStringLiteral("a")}, {-1, QStringLiteral("d")}, {3, QStringLiteral("b")},
                       {3, QStringLiteral("c")}}},
        RoundTripCase{"NonAscii",
                      {{2, QStringLiteral("Größe")}, {1, QStringLiteral("中文")}, {3, QStringLiteral("😀 ไทย")}},
                      {{1, QStringLiteral("中文")}, {2, QStringLiteral("Größe")}, {3, QStringLiteral("😀 ไทย")}}},
        RoundTripCase{"LineBreaksKept",
                      {{1, QStringLiteral("a\r\nb")}, {2, QStringLiteral("\r")}, {3, QStringLiteral("\n\n")}},
                      {{1, QStringLiteral("a\r\nb")}, {2, QStringLiteral("\r")}, {3, QStringLiteral("\n\n")}}},
        RoundTripCase{"EmptyText", {{7, QString()}}, {{7, QString()}}},
        manyEqualKeys()),
    [](const ::testing::TestParamInfo<RoundTripCase> &info) { return std::string(info.param.name); });

TEST(DictCodecDecode, CutAtEveryLengthReportsCleanly)
{
    const QByteArray blob = twoEntryBlob();
    for (int cut = 0; cut < blob.size(); ++cut) {
        const DictCodec::Decoded decoded = DictCodec::decode(blob.left(cut));
        const QString expected = cut < 136
            ? QStringLiteral("blob cut short: its head needs 136 bytes from offset 0, the data has ")
                + QString::number(cut)
            : QStringLiteral("entry count 2 and string area size 12 at offset 128 need 172 bytes, but only ")
                + QString::number(cut) + QStringLiteral(" are there");
        EXPECT_FALSE(decoded.ok) << "cut at " << cut;
        EXPECT_EQ(decoded.error.toStdString(), expected.toStdString()) << "cut at " << cut;
        EXPECT_EQ(decoded.errorOffset, cut < 136 ? cut : 128) << "cut at " << cut;
    }
}

struct BrokenBlobCase
{
    const char *name;
    int patchAt;           // where patch overwrites the two-entry blob
    const char *patch;     // hex
    int decodeAt;
    const char *error;
    int errorOffset;
};

class DictCodecBrokenBlob : public ::testing::TestWithParam<BrokenBlobCase>
{
};

TEST_P(DictCodecBrokenBlob, ReportsTheProblemAndWhere)
{
    const BrokenBlobCase &c = GetParam();
    QByteArray blob = twoEntryBlob();
    const QByteArray patch = QByteArray::fromHex(c.patch);
    blob.replace(c.patchAt, patch.size(), patch);

    const DictCodec::Decoded decoded = DictCodec::decode(blob, c.decodeAt);
    EXPECT_FALSE(decoded.ok);
    EXPECT_EQ(decoded.error.toStdString(), c.error);
    EXPECT_EQ(decoded.errorOffset, c.errorOffset);
}

// The two-entry blob: N at 128, S = 12 at 132, index entries at 136 and 148
// (key, offset, length), string area at 160.
INSTANTIATE_TEST_SUITE_P(
    Cases, DictCodecBrokenBlob,
    ::testing::Values(
        BrokenBlobCase{"BadMagic", 0, "58", 0, "bad magic at offset 0", 0},
        BrokenBlobCase{"BadVersion", 4, "0200", 0, "unsupported format version 2 at offset 4", 4},
        BrokenBlobCase{"OffsetBeforeData", 0, "", -1, "blob offset -1 lies outside the data of 172 bytes", -1},
        BrokenBlobCase{"OffsetAtEnd", 0, "", 172,
                       "blob cut short: its head needs 136 bytes from offset 172, the data has 0", 172},
        BrokenBlobCase{"StringAreaOneByteTooBig", 132, "0d000000", 0,
                       "entry count 2 and string area size 13 at offset 128 need 173 bytes, but only 172 are there",
                       128},
        // 12 N + S + 136 wraps to exactly 172 in 32 bits.
        BrokenBlobCase{"CountOverflowsIn32Bits", 128, "02000040", 0,
                       "entry count 1073741826 and string area size 12 at offset 128 need 12884902060 bytes, "
                       "but only 172 are there",
                       128},
        BrokenBlobCase{"OffsetPastStringArea", 152, "0c000000", 0, "index entry 1 points past the string area", 148},
        // Offset 6 and length 3 would still fit, reaching into the terminator.
        BrokenBlobCase{"LengthOneUnitTooLong", 156, "04000000", 0, "index entry 1 points past the string area",
                       148},
        BrokenBlobCase{"OffsetWrapsIn32Bits", 140, "feffffff", 0, "index entry 0 points past the string area", 136},
        BrokenBlobCase{"LengthWrapsIn32Bits", 144, "00000080", 0, "index entry 0 points past the string area",
                       136}),
    [](const ::testing::TestParamInfo<BrokenBlobCase> &info) { return std::string(info.param.name); });

TEST(DictCodecDecode, EntryReachingIntoTheLastTerminatorIsAccepted)
{
    QByteArray blob = twoEntryBlob();
    blob.replace(156, 4, QByteArray::fromHex("03000000"));
    const DictCodec::Decoded decoded = DictCodec::decode(blob);
    ASSERT_TRUE(decoded.ok) << decoded.error.toStdString();
    EXPECT_EQ(decoded.entries.at(1).second, QString(QStringLiteral("Hi") + QChar(0)));
}
