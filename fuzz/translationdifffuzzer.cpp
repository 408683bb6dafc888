// Differential: the same bytes read as a translation file with the fast path
// and with QXmlStreamReader alone must give the same dictionary, the same
// warnings (text, file, line) and the same entries; any difference aborts.

#include "fuzzsupport.h"

#include "core/wizarditemsmodel.h"
#include "items/wdltokentext.h"
#include "output/translationimporter.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// How many inputs the fast path took, printed at exit: a run that never takes
// it proves nothing.
long g_inputs = 0;
long g_taken = 0;

void printTaken()
{
    std::fprintf(stderr, "fuzz_translation_diff: the fast path took %ld of %ld inputs\n", g_taken, g_inputs);
}

QStringList readBack(const WizardItemsModel &texts, const QString &path, bool fast)
{
    QStringList lines;
    TranslationImporter importer(&texts, QStringLiteral("QX-417"),
                                 [&lines](const QString &text, const QString &file, int line) {
                                     lines.append(QStringLiteral("warning ") + file + QLatin1Char(':')
                                                  + QString::number(line) + QStringLiteral(": ") + text);
                                 });
    importer.setNoteEntry([&lines](const BuildProducts::TranslatedText &entry) {
        lines.append(QStringLiteral("entry ") + QString::number(entry.line) + QLatin1Char(' ') + entry.textId
                     + QLatin1Char(entry.isHelp ? 'h' : 't') + entry.content);
    });
    importer.setFastPath(fast);
    const std::vector<char> dictionary = importer.readTranslationFile(path);
    if (fast && importer.lastReadWasFast())
        ++g_taken;
    lines.prepend(QString::fromLatin1(QByteArray(dictionary.data(), int(dictionary.size())).toHex()));
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzsupport::init(argc, argv);
    std::atexit(printTaken);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    // Kept, and released at exit after the model that lists them.
    static std::vector<std::unique_ptr<WdlTokenText>> items;
    static WizardItemsModel texts;
    if (texts.count() == 0) {
        // The ids of the seed files and of the dictionary, a repeated id, and
        // one that is not plain ASCII.
        for (const char *id : {"hello", "other", "welcome", "empty_text", "bye", "hello",
                               "gr\xC3\xB6\xC3\x9F"
                               "e"}) {
            items.push_back(
                std::make_unique<WdlTokenText>(QString::fromUtf8(id), QStringLiteral("T"), QStringLiteral("H")));
            texts.addItem(items.back().get());
        }
    }
    const QString path = dir.filePath(QStringLiteral("translation_German.xml"));
    fuzzsupport::writeFile(path, data, size);
    ++g_inputs;
    const QStringList fast = readBack(texts, path, true);
    const QStringList full = readBack(texts, path, false);
    if (fast != full) {
        std::fprintf(stderr, "fast path:\n%s\nfull reader:\n%s\n", qPrintable(fast.join(QLatin1Char('\n'))),
                     qPrintable(full.join(QLatin1Char('\n'))));
        std::abort();
    }
    return 0;
}
