#ifndef WDLC_LANGUAGETABLE_H
#define WDLC_LANGUAGETABLE_H

#include "codec/languageheader.h"

#include <QString>
#include <QtGlobal>

// The built-in language rows handed to the dictionary codec, indexed by the
// int value of the image builder's Translations enumeration (Bahasa 0 ...
// Turkish 26). The rows are writable and live for the whole run: each keeps the
// last product name written into it.
class LanguageTable
{
public:
    static constexpr int kLanguageCount = 27;
    static constexpr int kEnglish = 9;

    static LanguageHeader &row(int language);
    // The codec's int argument for the language.
    static quint8 codecMode(int language);
    // Copies at most 6 UTF-8 bytes: a shorter name is zero-filled to 6, a
    // longer one cut after 6 bytes, and no terminator is added.
    static void setProductName(int language, const QString &productName);
};

#endif
