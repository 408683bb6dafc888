#include "codec/languageheader.h"

#include "base/lereader.h"
#include "base/lewriter.h"

#include <cstring>

namespace {

template<int N> void readChars(LeReader &in, char (&field)[N])
{
    std::memcpy(field, in.bytes(N).constData(), N);
}

} // namespace

// Offset  Size  Field
//      0    24  name, ASCII, zero-filled
//     24    48  nativeName, 24 UTF-16LE code units, zero-filled
//     72    24  localeName, ASCII, zero-filled
//     96     4  lcid
//    100     4  languageId
//    104     4  languageNumber
//    108     3  versionMajor, versionMinor, versionBuild
//    111     6  productName, no terminator
//    117     1  trailer
//    118     2  zero
void LanguageHeader::writeTo(LeWriter &out) const
{
    out.bytes(QByteArray(name, sizeof name), "name");
    for (char16_t unit : nativeName)
        out.u16(unit, "nativeName");
    out.bytes(QByteArray(localeName, sizeof localeName), "localeName");
    out.u32(lcid, "lcid");
    out.u32(languageId, "languageId");
    out.u32(languageNumber, "languageNumber");
    out.u8(versionMajor, "versionMajor");
    out.u8(versionMinor, "versionMinor");
    out.u8(versionBuild, "versionBuild");
    out.bytes(QByteArray(productName, sizeof productName), "productName");
    out.u8(trailer, "trailer");
    // Zeros whatever the struct holds, so that a record filled field by field
    // never carries stray bytes into the image.
    out.zeros(sizeof reserved, "reserved");
}

QByteArray LanguageHeader::toBytes() const
{
    LeWriter out;
    writeTo(out);
    return out.data();
}

bool LanguageHeader::fromBytes(const QByteArray &bytes, LanguageHeader *header)
{
    LeReader in(bytes);
    if (!in.has(kSize))
        return false;
    LanguageHeader read{};
    readChars(in, read.name);
    for (char16_t &unit : read.nativeName)
        unit = in.u16();
    readChars(in, read.localeName);
    read.lcid = in.u32();
    read.languageId = in.u32();
    read.languageNumber = in.u32();
    read.versionMajor = in.u8();
    read.versionMinor = in.u8();
    read.versionBuild = in.u8();
    readChars(in, read.productName);
    read.trailer = in.u8();
    *header = read;
    return true;
}
