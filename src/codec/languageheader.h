#ifndef WDLC_LANGUAGEHEADER_H
#define WDLC_LANGUAGEHEADER_H

#include <QByteArray>
#include <QtGlobal>

class LeWriter;

// The 120-byte per-language record handed to the dictionary codec. Its layout
// is the codec's interface, byte for byte; `toBytes` writes it little-endian
// whatever the host, and `fromBytes` reads it back.
struct LanguageHeader
{
    static constexpr int kSize = 120;

    char name[24];           // ASCII, zero-filled
    char16_t nativeName[24]; // the language's own name, UTF-16, zero-filled
    char localeName[24];     // ASCII, zero-filled
    quint32 lcid;            // Windows locale identifier
    quint32 languageId;      // Windows primary language identifier
    quint32 languageNumber;  // a number of its own per language, English 0
    quint8 versionMajor;
    quint8 versionMinor;
    quint8 versionBuild;
    char productName[6]; // no terminator
    quint8 trailer;
    quint8 reserved[2];

    QByteArray toBytes() const;
    // Appends the same 120 bytes to a writer, field by field.
    void writeTo(LeWriter &out) const;
    // Reads 120 bytes; false when fewer are given.
    static bool fromBytes(const QByteArray &bytes, LanguageHeader *header);
};

static_assert(sizeof(LanguageHeader) == LanguageHeader::kSize, "the codec's interface is a 120-byte record");

#endif
