#include "lsp/translationtexts.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

namespace {

// A file crowded with attributes, which would keep the XML reader busy for
// minutes, shows nothing, as the build refuses it; the others still show.
TEST(TranslationTexts, SkipAFileTheBuildRefusesBeforeReadingIt)
{
    WizardFiles files;
    files.write(QStringLiteral("translation_French.xml"),
                QStringLiteral("<translations language=\"French\">\n<text id=\"hello\" type=\"text\">Bonjour</text>\n"
                               "</translations>\n"));
    QByteArray crowded = "<translations language=\"German\">\n<text id=\"hello\" type=\"text\"";
    for (int i = 0; i < 500000; ++i)
        crowded += " a" + QByteArray::number(i) + "=\"\"";
    crowded += ">Hallo</text>\n</translations>\n";
    files.writeBytes(QStringLiteral("translation_German.xml"), crowded);

    TranslationTexts texts;
    texts.update(files.dir(), {QStringLiteral("hello")});
    const QVector<TranslationTexts::Entry> entries = texts.of(QStringLiteral("hello"));
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.first().language, QStringLiteral("French"));
    EXPECT_EQ(entries.first().text, QStringLiteral("Bonjour"));
}

} // namespace
