// Translation maintenance on copies of real files: what the compiler makes of
// the files before and after, and the files themselves, whole.

#include "inspect/sasimagereader.h"
#include "support/golden.h"
#include "tool/toolrun.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

// The pump example in a temporary directory, with what its build makes of
// the translation files there.
class PumpTranslations : public ::testing::Test
{
protected:
    PumpTranslations() { m_files.copyTree(QStringLiteral(WDLC_SOURCE_DIR "/examples")); }

    // Every dictionary of the image, raw, by language; and the entries of one.
    QMap<QString, QByteArray> dictionaries()
    {
        WdlWizard *wizard = WdlWizard::instance();
        wizard->openWDLFile(m_files.url(QStringLiteral("pump/pump_commissioning.wdl")));
        EXPECT_EQ(wizard->warningsModel()->count(), 0);
        const BuildProducts products = wizard->buildInMemory(m_files.url(QStringLiteral("pump/p.sas")));
        EXPECT_TRUE(products.problems.isEmpty()) << products.problems.value(0).text.toStdString();
        const SasImage image = SasImageReader::read(products.image);
        QMap<QString, QByteArray> out;
        m_entries.clear();
        for (const SasDictionary &d : image.dictionaries) {
            out.insert(d.name, products.image.mid(d.offset, d.size));
            for (const auto &entry : d.entries)
                m_entries[d.name].insert(entry.first, entry.second);
        }
        return out;
    }

    ToolRun tool(const QString &arguments)
    {
        return runToolIn(m_files.path(QStringLiteral("pump")), arguments.split(QLatin1Char(' ')));
    }
    QString file(const char *name) const { return QString::fromUtf8(readFile(m_files.path(QLatin1String(name)))); }
    void replace(const char *name, const QString &before, const QString &after)
    {
        QString text = file(name);
        ASSERT_TRUE(text.contains(before)) << before.toStdString();
        m_files.write(QLatin1String(name), text.replace(before, after));
    }
    // The English reworded, and a help added where there was none.
    void changeTheEnglish()
    {
        replace("pump/pump_commissioning.wdl", QStringLiteral("T: pump_type_name \"Pump type\""),
                QStringLiteral("T: pump_type_name \"Kind of pump\""));
        replace("pump/pump_commissioning.wdl", QStringLiteral("T: flow_name \"Rated flow\"\n"),
                QStringLiteral("T: flow_name \"Rated flow\"\nH: flow_name \"The flow at the pump's rated point.\"\n"));
    }

    WizardFiles m_files;
    // Key to text, by language, of the last build.
    QMap<QString, QMap<int, QString>> m_entries;
};

TEST_F(PumpTranslations, UpdateMarksAndAddsWithoutChangingTheImage)
{
    const QMap<QString, QByteArray> before = dictionaries();
    ASSERT_EQ(before.size(), 3);
    // The first update records the English of every translation.
    ToolRun run = tool(QStringLiteral("translations update pump_commissioning.wdl"));
    const QString recorded = QStringLiteral("    Found 22 source text(s) (0 new and 22 already existing)\n");
    EXPECT_EQ(run.out, QStringLiteral("Updating 'translation_French.xml'...\n") + recorded
                           + QStringLiteral("Updating 'translation_German.xml'...\n") + recorded);
    changeTheEnglish();

    run = tool(QStringLiteral("translations update pump_commissioning.wdl"));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QString report = QStringLiteral("    Found 23 source text(s) (1 new and 22 already existing)\n"
                                          "    1 stale translation(s) wait for review\n");
    EXPECT_EQ(run.out, QStringLiteral("Updating 'translation_French.xml'...\n") + report
                           + QStringLiteral("Updating 'translation_German.xml'...\n") + report);
    EXPECT_TRUE(matchesGolden(readFile(m_files.path(QStringLiteral("pump/translation_German.xml"))),
                              QStringLiteral("tool/translations/pump_update/translation_German.xml")));

    // The stale translation still compiles; the new help waits outside the image.
    const QMap<QString, QByteArray> after = dictionaries();
    for (const QString &language : {QStringLiteral("german"), QStringLiteral("french")})
        EXPECT_EQ(hex(after.value(language)), hex(before.value(language))) << language.toStdString();
    EXPECT_NE(after.value(QStringLiteral("english")), before.value(QStringLiteral("english")));

    const QString german = file("pump/translation_German.xml");
    const QString french = file("pump/translation_French.xml");
    const ToolRun again = tool(QStringLiteral("translations update pump_commissioning.wdl"));
    EXPECT_EQ(again.out, QStringLiteral("Updating 'translation_French.xml'...\n"
                                        "    Found 23 source text(s) (0 new and 23 already existing)\n"
                                        "    1 stale translation(s) wait for review\n"
                                        "Updating 'translation_German.xml'...\n"
                                        "    Found 23 source text(s) (0 new and 23 already existing)\n"
                                        "    1 stale translation(s) wait for review\n"));
    EXPECT_EQ(file("pump/translation_German.xml"), german);
    EXPECT_EQ(file("pump/translation_French.xml"), french);

    const ToolRun status = tool(QStringLiteral("translations status pump_commissioning.wdl --min-percent 90"));
    EXPECT_EQ(status.status, 0);
    EXPECT_TRUE(status.out.contains(QStringLiteral("Checking 'translation_German.xml'...\n"
                                                   "    German: 21 of 23 text(s) and help(s) translated (91%)\n"
                                                   "    Missing (1): flow_name/help\n"
                                                   "    Stale (1): pump_type_name/text\n")))
        << status.out.toStdString();

    // The translator fills in the help and confirms the reworded text.
    replace("pump/translation_German.xml",
            QStringLiteral("<untranslated id=\"flow_name\" type=\"help\" source=\"The flow at the pump's rated "
                           "point.\"></untranslated>"),
            QStringLiteral("<text id=\"flow_name\" type=\"help\" source=\"The flow at the pump's rated "
                           "point.\">Der Förderstrom im Nennpunkt.</text>"));
    replace("pump/translation_German.xml", QStringLiteral(" stale=\"Pump type\">Pumpentyp"),
            QStringLiteral(">Pumpenbauart"));
    dictionaries();
    const QMap<int, QString> entries = m_entries.value(QStringLiteral("german"));
    EXPECT_EQ(entries.value(16), QStringLiteral("Der Förderstrom im Nennpunkt."));
    EXPECT_EQ(entries.value(9), QStringLiteral("Pumpenbauart"));
    EXPECT_TRUE(tool(QStringLiteral("translations status pump_commissioning.wdl"))
                    .out.contains(QStringLiteral("    German: 23 of 23 text(s) and help(s) translated (100%)\n")));
}

TEST_F(PumpTranslations, PoFilesRoundTripAndReachTheImage)
{
    ASSERT_EQ(tool(QStringLiteral("translations update pump_commissioning.wdl")).status, 0);
    changeTheEnglish();
    ASSERT_EQ(tool(QStringLiteral("translations update pump_commissioning.wdl")).status, 0);
    const QString german = file("pump/translation_German.xml");

    const ToolRun exported = tool(QStringLiteral("translations export pump_commissioning.wdl translation_German.xml "
                                                 "-o de.po"));
    EXPECT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, QStringLiteral("Exporting 'translation_German.xml' to 'de.po'...\n"
                                           "    21 translated message(s), 1 fuzzy translation(s), 1 untranslated "
                                           "message(s)\n"));
    const QString msgfmt = QStandardPaths::findExecutable(QStringLiteral("msgfmt"));
    if (msgfmt.isEmpty()) {
        ADD_FAILURE() << "msgfmt is not installed; test.sh installs gettext";
    } else {
        QProcess process;
        process.setWorkingDirectory(m_files.path(QStringLiteral("pump")));
        process.start(msgfmt, {QStringLiteral("-c"), QStringLiteral("--statistics"), QStringLiteral("-o"),
                               QStringLiteral("/dev/null"), QStringLiteral("de.po")});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()),
                  QStringLiteral("21 translated messages, 1 fuzzy translation, 1 untranslated message.\n"));
    }

    // Back from the PO file: the same translations, the same file.
    const ToolRun imported = tool(QStringLiteral("translations import pump_commissioning.wdl de.po "
                                                 "-o translation_German.xml"));
    EXPECT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.out, QStringLiteral("Importing 'de.po' into 'translation_German.xml'...\n"
                                           "    Imported 22 translation(s) (21 finished and 1 unfinished)\n"
                                           "    Ignored 1 untranslated source text(s)\n"));
    EXPECT_EQ(file("pump/translation_German.xml"), german);
    const QString french = file("pump/translation_French.xml");
    const ToolRun mixedUp = tool(QStringLiteral("translations import pump_commissioning.wdl de.po "
                                                "-o translation_French.xml"));
    EXPECT_EQ(mixedUp.status, 1);
    EXPECT_EQ(mixedUp.err, QStringLiteral("wdltool translations import: de.po is German, but translation_French.xml "
                                          "is French; nothing is imported\n"));
    EXPECT_EQ(file("pump/translation_French.xml"), french);
    const ToolRun misnamed = tool(QStringLiteral("translations import pump_commissioning.wdl de.po "
                                                 "-o translation_Dutch.xml"));
    EXPECT_EQ(misnamed.err, QStringLiteral("wdltool translations import: de.po is German, but translation_Dutch.xml "
                                           "is named for Dutch; nothing is imported\n"));
    EXPECT_FALSE(QFileInfo::exists(m_files.path(QStringLiteral("pump/translation_Dutch.xml"))));

    // A translator's work in the PO tool: a revised stale text, confirmed,
    // and the new help.
    replace("pump/de.po",
            QStringLiteral("#, fuzzy\n#| msgid \"Pump type\"\nmsgctxt \"pump_type_name/text\"\nmsgid \"Kind of "
                           "pump\"\nmsgstr \"Pumpentyp\""),
            QStringLiteral("msgctxt \"pump_type_name/text\"\nmsgid \"Kind of pump\"\nmsgstr \"Pumpenbauart\""));
    replace("pump/de.po", QStringLiteral("msgid \"The flow at the pump's rated point.\"\nmsgstr \"\""),
            QStringLiteral("msgid \"The flow at the pump's rated point.\"\nmsgstr \"Förderstrom im\\nNennpunkt\""));
    ASSERT_EQ(tool(QStringLiteral("translations import pump_commissioning.wdl de.po -o translation_German.xml")).status,
              0);
    dictionaries();
    const QMap<int, QString> entries = m_entries.value(QStringLiteral("german"));
    EXPECT_EQ(entries.value(9), QStringLiteral("Pumpenbauart"));
    EXPECT_EQ(entries.value(16), QStringLiteral("Förderstrom im\nNennpunkt"));
    const ToolRun status = tool(QStringLiteral("translations status pump_commissioning.wdl --json"));
    EXPECT_TRUE(status.out.contains(QStringLiteral("\"file\": \"translation_German.xml\", \"language\": \"German\", "
                                                   "\"refused\": false, \"reason\": null, \"total\": 23, "
                                                   "\"translated\": 23, \"missing\": [], \"unknown\": [], \"stale\": "
                                                   "[], \"empty\": [], \"duplicates\": []}")))
        << status.out.toStdString();
}

// A file that cannot be merged or written leaves every file as it was.
TEST_F(PumpTranslations, UpdateWritesNothingWhenAFileFails)
{
    changeTheEnglish();
    const QString german = file("pump/translation_German.xml");
    m_files.write(QStringLiteral("pump/translation_Italian.xml"),
                  QStringLiteral("<root>\n<translations language=\"Italian\">\n<text id=\"a\">\n</root>\n"));
    ToolRun run = tool(QStringLiteral("translations update pump_commissioning.wdl"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(run.err, QStringLiteral("wdltool translations update: translation_Italian.xml:4: Opening and ending tag "
                                      "mismatch.\n"));
    EXPECT_EQ(file("pump/translation_German.xml"), german);

    QFile::remove(m_files.path(QStringLiteral("pump/translation_Italian.xml")));
    QFile::setPermissions(m_files.path(QStringLiteral("pump/translation_German.xml")), QFileDevice::ReadOwner);
    const QString french = file("pump/translation_French.xml");
    run = tool(QStringLiteral("translations update pump_commissioning.wdl"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(run.err, QStringLiteral("wdltool translations update: cannot write translation_German.xml: the file is "
                                      "read-only\n"));
    EXPECT_EQ(file("pump/translation_German.xml"), german);
    EXPECT_EQ(file("pump/translation_French.xml"), french);
}

// One update of a small wizard's file: the wizard's texts, the file before,
// the options, and the file after, whole.
struct UpdateRow
{
    const char *name;
    const char *texts;
    const char *entries;
    const char *options;
    const char *expected;

    friend void PrintTo(const UpdateRow &row, std::ostream *os) { *os << row.name; }
};

class TranslationsUpdate : public ::testing::TestWithParam<UpdateRow>
{
};

TEST_P(TranslationsUpdate, GivesTheFile)
{
    // A chain of screens shows every text, so that the wizard has no warning.
    QString wdl = QString::fromUtf8(kHeaderTags) + QString::fromUtf8(GetParam().texts);
    QStringList ids;
    for (const QString &line : QString::fromUtf8(GetParam().texts).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("T: ")))
            ids.append(line.section(QLatin1Char(' '), 1, 1));
    }
    for (int i = 0; i < ids.size(); ++i) {
        wdl += QStringLiteral("SCREEN_OVERLAY: s_") + ids.at(i) + QStringLiteral("\n{\n   OVERLAY: o_") + ids.at(i)
               + QStringLiteral("\n   {\n      T: ") + ids.at(i) + QStringLiteral("\n   }\n");
        if (i + 1 < ids.size())
            wdl += QStringLiteral("   NS: s_") + ids.at(i + 1) + QLatin1Char('\n');
        wdl += QStringLiteral("}\n");
    }
    WizardFiles files;
    files.write(QStringLiteral("w.wdl"), wdl);
    const auto wrapped = [](const char *entries) {
        return QStringLiteral("<root>\n\t<translations language=\"German\">\n") + QString::fromUtf8(entries)
               + QStringLiteral("\t</translations>\n</root>\n");
    };
    files.write(QStringLiteral("translation_German.xml"), wrapped(GetParam().entries));
    const ToolRun run = runToolIn(files.dir(), (QStringLiteral("translations update w.wdl ") + GetParam().options)
                                                   .split(QLatin1Char(' '), Qt::SkipEmptyParts));
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(readFile(files.path(QStringLiteral("translation_German.xml")))),
              wrapped(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Files, TranslationsUpdate,
    ::testing::Values(
        UpdateRow{"TextGoneKeptObsolete", "T: a \"A\"\n",
                  "\t\t<text id=\"a\" type=\"text\">Ä</text>\n\t\t<text id=\"b\" type=\"text\">B</text>\n", "",
                  "\t\t<text id=\"a\" type=\"text\" source=\"A\">Ä</text>\n"
                  "\t\t<obsolete id=\"b\" type=\"text\">B</obsolete>\n"},
        UpdateRow{"TextGoneDropped", "T: a \"A\"\n",
                  "\t\t<text id=\"b\" type=\"text\">B</text>\n"
                  "\t\t<obsolete id=\"c\" type=\"text\">C</obsolete>\n"
                  "\t\t<text id=\"a\" type=\"text\" source=\"A\">Ä</text>\n",
                  "--no-obsolete", "\t\t<text id=\"a\" type=\"text\" source=\"A\">Ä</text>\n"},
        UpdateRow{"TextBackRevived", "T: a \"A\"\nT: b \"B2\"\n",
                  "\t\t<text id=\"a\" type=\"text\" source=\"A\">Ä</text>\n"
                  "\t\t<obsolete id=\"b\" type=\"text\" source=\"B\">Be</obsolete>\n",
                  "",
                  "\t\t<text id=\"a\" type=\"text\" source=\"A\">Ä</text>\n"
                  "\t\t<text id=\"b\" type=\"text\" source=\"B2\" stale=\"B\">Be</text>\n"},
        // The mark stays until a translator removes it; a waiting entry of a
        // text that has gone is dropped, and one that is translated too.
        UpdateRow{"StaleMarkStaysAndWaitingEntriesGo", "T: a \"A\"\nT: b \"B\"\n",
                  "\t\t<text id=\"a\" type=\"text\" source=\"A\" stale=\"A0\">Ä</text>\n"
                  "\t\t<untranslated id=\"a\" type=\"text\" source=\"A\"></untranslated>\n"
                  "\t\t<untranslated id=\"c\" type=\"text\" source=\"C\"></untranslated>\n"
                  "\t\t<untranslated id=\"b\" type=\"text\" source=\"B0\"></untranslated>\n",
                  "",
                  "\t\t<text id=\"a\" type=\"text\" source=\"A\" stale=\"A0\">Ä</text>\n"
                  "\t\t<untranslated id=\"b\" type=\"text\" source=\"B\"></untranslated>\n"},
        // New entries follow the wizard's order, after their predecessor.
        UpdateRow{"NewEntriesInTheWizardsOrder", "T: n0 \"N0\"\nT: a \"A\"\nH: a \"Help\"\nT: b \"B\"\nT: n1 \"N1\"\n",
                  "\t\t<text id=\"b\" type=\"text\">Be</text>\n\t\t<text id=\"a\" type=\"text\">Ä</text>\n", "",
                  "\t\t<untranslated id=\"n0\" type=\"text\" source=\"N0\"></untranslated>\n"
                  "\t\t<text id=\"b\" type=\"text\" source=\"B\">Be</text>\n"
                  "\t\t<untranslated id=\"n1\" type=\"text\" source=\"N1\"></untranslated>\n"
                  "\t\t<text id=\"a\" type=\"text\" source=\"A\">Ä</text>\n"
                  "\t\t<untranslated id=\"a\" type=\"help\" source=\"Help\"></untranslated>\n"}),
    rowName<UpdateRow>);

} // namespace
