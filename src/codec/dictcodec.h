#ifndef WDLC_DICTCODEC_H
#define WDLC_DICTCODEC_H

#include "codec/languageheader.h"

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

class LeWriter;

// The dictionary codec: one language's (key, text) pairs and its language
// header become one blob that the image carries unchanged.
class DictCodec
{
public:
    using Entries = std::vector<std::pair<int, QString>>;

    static constexpr quint16 kFormatVersion = 1;
    // Magic, version, codec mode, a zero byte, the language header, N and S.
    static constexpr int kHeadSize = 16 + LanguageHeader::kSize;
    static constexpr int kIndexEntrySize = 12;

    // Entries are indexed by ascending key; equal keys keep their order and
    // are all kept. progress, when not null, sees 0 first and 100 last.
    static std::vector<char> encode(const LanguageHeader &header, const Entries &entries, int codecMode,
                                    void (*progress)(int));
    // The same blob appended to out, with no copy on the way.
    static void encode(const LanguageHeader &header, const Entries &entries, int codecMode, LeWriter &out);

    // A blob read back, or why it could not be.
    struct Decoded
    {
        bool ok = false;
        QString error;        // empty when ok
        int errorOffset = -1; // offset in the data where the problem lies
        quint16 version = 0;
        quint8 codecMode = 0;
        LanguageHeader header{};
        Entries entries;
        int size = 0; // bytes the blob takes, when ok
    };

    // Reads the blob that starts at offset in data, never past the end of data.
    static Decoded decode(const QByteArray &data, int offset = 0);
};

#endif
