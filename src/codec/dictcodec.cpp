#include "codec/dictcodec.h"

std::vector<char> DictCodec::encode(const LanguageHeader &, const Entries &, int, void (*)(int))
{
    return std::vector<char>();
}

DictCodec::Decoded DictCodec::decode(const QByteArray &, int)
{
    return Decoded();
}
