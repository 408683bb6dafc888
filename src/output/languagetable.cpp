#include "output/languagetable.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

struct LanguageRow
{
    const char *name;
    const char16_t *nativeName;
    const char *localeName;
    quint32 lcid;
    quint32 languageId;
    quint32 languageNumber;
    quint8 versionMajor;
    quint8 versionMinor;
    quint8 versionBuild;
    quint8 trailer;
    quint8 codecMode;
};

// The two Chinese rows carry the full locale identifier as their languageId.
constexpr LanguageRow kRows[LanguageTable::kLanguageCount] = {
    // name                 nativeName            localeName             lcid    langId  number version     trailer
    // codec
    {"Bahasa-Indonesian", u"Bahasa Indonesia", "unknown", 0x0421, 0x0021, 51, 5, 50, 1, 27, 9},
    {"Bulgarian", u"Български", "unknown", 0x0402, 0x0002, 43, 5, 50, 1, 0, 9},
    {"chinese", u"中文", "chinese-simplified", 0x0804, 0x0804, 10, 5, 50, 1, 0, 12},
    {"Trad.Chinese", u"國語", "chinese-traditional", 0x0404, 0x0404, 42, 1, 0, 1, 0, 12},
    {"Czech", u"Česky", "czech", 0x0405, 0x0005, 47, 5, 50, 1, 0, 9},
    {"danish", u"Dansk", "danish", 0x0406, 0x0006, 3, 5, 50, 1, 0, 9},
    {"Dutch", u"Nederlands", "dutch", 0x0413, 0x0013, 7, 5, 50, 1, 0, 9},
    {"Finnish", u"Suomi", "finnish", 0x040B, 0x000B, 20, 5, 50, 1, 0, 9},
    {"german", u"Deutsch", "german", 0x0407, 0x0007, 1, 5, 50, 1, 0, 9},
    {"english", u"English", "english-uk", 0x0809, 0x0009, 0, 5, 80, 1, 0, 9},
    {"English_US", u"English US", "english-us", 0x0409, 0x0009, 22, 1, 0, 37, 0, 9},
    {"french", u"Francais", "french", 0x040C, 0x000C, 2, 5, 50, 1, 0, 9},
    {"Greek", u"ελληνικά", "greek", 0x0408, 0x0008, 27, 5, 50, 1, 0, 9},
    {"Hungarian", u"Magyar", "hungarian", 0x040E, 0x000E, 46, 5, 50, 1, 0, 9},
    {"italian", u"Italiano", "italian", 0x0410, 0x0010, 5, 1, 0, 1, 0, 9},
    {"Japanese", u"日本語", "japanese", 0x0411, 0x0011, 40, 5, 50, 1, 0, 12},
    {"Korean", u"한국어", "korean", 0x0412, 0x0012, 39, 1, 0, 1, 0, 12},
    {"Polish", u"Polski", "polish", 0x0415, 0x0015, 48, 5, 50, 1, 0, 9},
    {"Bras.port", u"Português", "portuguese-brazil", 0x0416, 0x0016, 28, 1, 0, 1, 0, 9},
    {"Romanian", u"Română", "unknown", 0x0418, 0x0018, 45, 5, 50, 1, 0, 9},
    {"Russian", u"Русский", "russian", 0x0419, 0x0019, 49, 5, 50, 1, 0, 9},
    {"Serbian", u"Srpski", "unknown", 0x081A, 0x001A, 44, 5, 50, 1, 0, 9},
    {"Slovenian", u"Slovenačina", "unknown", 0x0424, 0x0024, 36, 5, 50, 1, 0, 9},
    {"spanish", u"Español", "spanish-modern", 0x0C0A, 0x000A, 4, 5, 50, 1, 0, 9},
    {"Swedish", u"Svenska", "swedish", 0x041D, 0x001D, 6, 5, 50, 1, 0, 9},
    {"Thai", u"ไทย", "unknown", 0x041E, 0x001E, 50, 5, 50, 1, 0, 11},
    {"Turkish", u"Türkçe", "turkish", 0x041F, 0x001F, 41, 5, 50, 1, 0, 9},
};

constexpr bool namesFit()
{
    for (const LanguageRow &row : kRows) {
        if (std::char_traits<char>::length(row.name) > 24 || std::char_traits<char16_t>::length(row.nativeName) > 24
            || std::char_traits<char>::length(row.localeName) > 24)
            return false;
    }
    return true;
}
static_assert(namesFit(), "every name must fit its 24-unit field");

constexpr char kInitialProductName[] = "QX-417";

template<typename Char, int N> void fill(Char (&field)[N], const Char *text)
{
    std::fill(field, field + N, Char(0));
    std::copy(text, text + std::char_traits<Char>::length(text), field);
}

LanguageHeader makeHeader(const LanguageRow &source)
{
    LanguageHeader header{};
    fill(header.name, source.name);
    fill(header.nativeName, source.nativeName);
    fill(header.localeName, source.localeName);
    header.lcid = source.lcid;
    header.languageId = source.languageId;
    header.languageNumber = source.languageNumber;
    header.versionMajor = source.versionMajor;
    header.versionMinor = source.versionMinor;
    header.versionBuild = source.versionBuild;
    std::copy(kInitialProductName, kInitialProductName + sizeof header.productName, header.productName);
    header.trailer = source.trailer;
    return header;
}

std::array<LanguageHeader, LanguageTable::kLanguageCount> &rows()
{
    static std::array<LanguageHeader, LanguageTable::kLanguageCount> table = [] {
        std::array<LanguageHeader, LanguageTable::kLanguageCount> built;
        for (int language = 0; language < LanguageTable::kLanguageCount; ++language)
            built[language] = makeHeader(kRows[language]);
        return built;
    }();
    return table;
}

} // namespace

LanguageHeader &LanguageTable::row(int language)
{
    Q_ASSERT(language >= 0 && language < kLanguageCount);
    return rows()[language];
}

quint8 LanguageTable::codecMode(int language)
{
    Q_ASSERT(language >= 0 && language < kLanguageCount);
    return kRows[language].codecMode;
}

void LanguageTable::setProductName(int language, const QString &productName)
{
    // Like a bounded C string copy: bytes stop at the sixth or at a zero byte,
    // whichever comes first, even inside a multi-byte character.
    QByteArray bytes = productName.toUtf8().left(sizeof LanguageHeader::productName);
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    char *field = row(language).productName;
    std::fill(field, field + sizeof LanguageHeader::productName, '\0');
    std::copy(bytes.cbegin(), bytes.cend(), field);
}
