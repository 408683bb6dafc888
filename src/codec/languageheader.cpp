#include "codec/languageheader.h"

QByteArray LanguageHeader::toBytes() const
{
    return QByteArray(120, '\0');
}

bool LanguageHeader::fromBytes(const QByteArray &bytes, LanguageHeader *)
{
    return bytes.size() >= 120;
}
