// The translation files shipped with the pump example.

#include "codec/dictcodec.h"
#include "core/lereader.h"
#include "core/wdlwizard.h"
#include "support/wizardfiles.h"

#include <QDirIterator>

#include <set>

namespace {

// English, then French and German in byte order of the file names: each
// translates every text and help of the English dictionary and the CSIV path
// text, which the English dictionary leaves out.
TEST(PumpTranslations, ImageCountsThreeDictionariesWithTheSameKeys)
{
    WizardFiles files;
    const QString examples = QStringLiteral(WDLC_SOURCE_DIR "/examples");
    QDirIterator it(examples, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.writeBytes(QDir(examples).relativeFilePath(path), readFile(path));
    }
    const QString wdl = files.path(QStringLiteral("pump/pump_commissioning.wdl"));
    ASSERT_TRUE(sameWarnings(openFile(wdl), {}));
    WdlWizard::instance()->createSasByteArray(files.url(QStringLiteral("pump/pump_commissioning.wdl.sas")));
    ASSERT_TRUE(sameWarnings(warningLines(WdlWizard::instance()), {}));

    const QByteArray image = readFile(wdl + QStringLiteral(".sas"));
    EXPECT_EQ(int(quint8(image.at(41))), 3);
    bool ok = false;
    int at = LeReader::u16At(image, 46, &ok);
    const int pathKey = WdlWizard::instance()->textModel()->byId<WdlTokenText>(QStringLiteral("curve_file"))->textKey();
    std::set<int> englishKeys;
    for (const char *language : {"english", "french", "german"}) {
        const DictCodec::Decoded dictionary = DictCodec::decode(image, at);
        ASSERT_TRUE(dictionary.ok) << dictionary.error.toStdString();
        EXPECT_STREQ(dictionary.header.name, language);
        std::set<int> keys;
        for (const auto &entry : dictionary.entries) {
            EXPECT_TRUE(keys.insert(entry.first).second) << language << ": key " << entry.first << " twice";
            EXPECT_FALSE(entry.second.isEmpty()) << language << ": key " << entry.first;
        }
        if (englishKeys.empty()) {
            englishKeys = keys;
            englishKeys.insert(pathKey);
        } else {
            EXPECT_EQ(keys, englishKeys) << language;
        }
        at += (dictionary.size + 3) / 4 * 4;
    }
}

} // namespace
