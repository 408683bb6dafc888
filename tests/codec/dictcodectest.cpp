#include "codec/dictcodec.h"

#include "base/lereader.h"
#include "support/testsupport.h"

#include <algorithm>

namespace {

using Entries = DictCodec::Entries;

// A header whose bytes are their own offsets, so that a field written in the
// wrong place or order shows; the two reserved bytes are written as zero
// whatever the header holds.
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
    header.reserved[0] = char(0xAA);
    return header;
}

QByteArray encode(const Entries &entries, int codecMode = 9)
{
    const std::vector<char> blob = DictCodec::encode(countingHeader(), entries, codecMode, nullptr);
    return QByteArray(blob.data(), int(blob.size()));
}

// Two entries passed out of key order: N at 128, S = 12 at 132, index entries
// at 136 and 148 (key, offset, length), string area at 160, 172 bytes in all.
QByteArray twoEntryBlob()
{
    return encode({{5, QStringLiteral("Hi")}, {2, QStringLiteral("é\n")}}, 0x10C);
}

TEST(DictCodec, EncodesTwoEntriesExactly)
{
    const QByteArray expected = QByteArray::fromHex("57444943 0100 0c 00") + countingHeaderBytes()
                                + QByteArray::fromHex("02000000 0c000000"                // N, S
                                                      "02000000 00000000 02000000"       // key 2 at 0, 2 units
                                                      "05000000 06000000 02000000"       // key 5 at 6, 2 units
                                                      "e900 0a00 0000  4800 6900 0000"); // "é\n", "Hi"
    EXPECT_EQ(hex(twoEntryBlob()), hex(expected));
}

TEST(DictCodec, ProgressRunsFromZeroToHundred)
{
    static std::vector<int> seen;
    DictCodec::encode(countingHeader(), Entries(250, {1, QStringLiteral("text")}), 9,
                      [](int percent) { seen.push_back(percent); });
    ASSERT_TRUE(!seen.empty() && seen.front() == 0 && seen.back() == 100 && seen.size() <= 101u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

// Enough equal keys that an unstable sort would show: small ranges are
// insertion-sorted, and thus stable, by most sort implementations.
TEST(DictCodec, DecodesWhatWasEncodedInKeyOrderKeepingEqualKeysInOrder)
{
    Entries many;
    for (int i = 0; i < 64; ++i)
        many.emplace_back(4 - i % 5, QString::number(i));
    const Entries cases[] = {
        {},
        {{3, QStringLiteral("b")}, {-1, QStringLiteral("a")}, {3, QStringLiteral("c")}, {-1, QStringLiteral("d")}},
        {{2, QStringLiteral("Größe")}, {1, QStringLiteral("中文")}, {3, QStringLiteral("😀 ไทย")}},
        {{1, QStringLiteral("a\r\nb")}, {2, QStringLiteral("\r")}, {3, QStringLiteral("\n\n")}, {7, QString()}},
        many};
    for (const Entries &entries : cases) {
        const QByteArray blob = encode(entries, 12);
        // Inside other bytes, as the blob sits in an image.
        const DictCodec::Decoded decoded = DictCodec::decode("abcde" + blob + "tail", 5);
        ASSERT_TRUE(decoded.ok) << decoded.error.toStdString();
        EXPECT_EQ(decoded.size, blob.size());
        EXPECT_EQ(decoded.version, 1);
        EXPECT_EQ(decoded.codecMode, 12);
        EXPECT_EQ(hex(decoded.header.toBytes()), hex(countingHeaderBytes()));
        Entries inKeyOrder = entries;
        std::stable_sort(inKeyOrder.begin(), inKeyOrder.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        EXPECT_EQ(decoded.entries, inKeyOrder);
    }
}

TEST(DictCodecDecode, CutAtEveryLengthReportsCleanly)
{
    const QByteArray blob = twoEntryBlob();
    for (int cut = 0; cut < blob.size(); ++cut) {
        const DictCodec::Decoded decoded = DictCodec::decode(blob.left(cut));
        const QString expected =
            cut < 136
                ? QStringLiteral("blob cut short: its head needs 136 bytes from offset 0, the data has %1").arg(cut)
                : QStringLiteral("entry count 2 and string area size 12 at offset 128 need 172 bytes, but only %1 are "
                                 "there")
                      .arg(cut);
        EXPECT_FALSE(decoded.ok) << "cut at " << cut;
        EXPECT_EQ(decoded.error.toStdString(), expected.toStdString()) << "cut at " << cut;
        EXPECT_EQ(decoded.errorOffset, cut < 136 ? cut : 128) << "cut at " << cut;
    }
}

// The error and its offset, after patching the two-entry blob at patchAt.
std::string brokenBlob(int patchAt, const char *patch, int decodeAt = 0)
{
    QByteArray blob = twoEntryBlob();
    blob.replace(patchAt, int(strlen(patch)) / 2, QByteArray::fromHex(patch));
    const DictCodec::Decoded decoded = DictCodec::decode(blob, decodeAt);
    EXPECT_FALSE(decoded.ok);
    return decoded.error.toStdString() + " @" + std::to_string(decoded.errorOffset);
}

TEST(DictCodecDecode, ReportsTheProblemAndWhere)
{
    EXPECT_EQ(brokenBlob(0, "58"), "bad magic at offset 0 @0");
    EXPECT_EQ(brokenBlob(4, "0200"), "unsupported format version 2 at offset 4 @4");
    EXPECT_EQ(brokenBlob(0, "", -1), "blob offset -1 lies outside the data of 172 bytes @-1");
    EXPECT_EQ(brokenBlob(0, "", 172), "blob cut short: its head needs 136 bytes from offset 172, the data has 0 @172");
    EXPECT_EQ(brokenBlob(132, "0d000000"),
              "entry count 2 and string area size 13 at offset 128 need 173 bytes, but only 172 are there @128");
    // 12 N + S + 136 wraps to exactly 172 in 32 bits.
    EXPECT_EQ(brokenBlob(128, "02000040"), "entry count 1073741826 and string area size 12 at offset 128 need "
                                           "12884902060 bytes, but only 172 are there @128");
    EXPECT_EQ(brokenBlob(152, "0c000000"), "index entry 1 points past the string area @148");
    // Offset 6 and length 3 would fit but for the terminator.
    EXPECT_EQ(brokenBlob(156, "03000000"), "index entry 1 points past the string area @148");
    EXPECT_EQ(brokenBlob(140, "feffffff"), "index entry 0 points past the string area @136");
    EXPECT_EQ(brokenBlob(144, "00000080"), "index entry 0 points past the string area @136");
    // Strings follow each other with their terminators: an index that makes
    // two entries share one string, or leaves a gap, is refused.
    EXPECT_EQ(brokenBlob(152, "00000000"),
              "index entry 1 puts its string at 0 of the string area, not at 6 where the one before ends @148");
    EXPECT_EQ(brokenBlob(152, "08000000"), "index entry 1 points past the string area @148");
    EXPECT_EQ(brokenBlob(164, "4100"), "the string of index entry 0 has no terminator @164");
}

} // namespace
