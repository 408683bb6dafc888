#include "tool/translationscommand.h"

#include "base/enumkeys.h"
#include "core/fileurl.h"
#include "core/inputfile.h"
#include "core/outputfile.h"
#include "core/wdlwizard.h"
#include "output/pocatalog.h"
#include "output/savewdl.h"
#include "output/translationdocument.h"
#include "output/translationimporter.h"
#include "output/translationmerge.h"
#include "tool/toolcommand.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMetaEnum>
#include <QTextStream>

namespace {

using Sources = QList<TranslationMerge::Source>;

// The ISO codes PO tools expect in the Language field, for spelling and
// plural rules.
struct LanguageCode
{
    SaveWdl::Translations language;
    const char *code;
};

const LanguageCode kLanguageCodes[] = {
    {SaveWdl::Bahasa, "id"},       {SaveWdl::Bulgarian, "bg"},
    {SaveWdl::Chinese, "zh_CN"},   {SaveWdl::ChineseTraditional, "zh_TW"},
    {SaveWdl::Czech, "cs"},        {SaveWdl::Danish, "da"},
    {SaveWdl::Dutch, "nl"},        {SaveWdl::Finnish, "fi"},
    {SaveWdl::German, "de"},       {SaveWdl::English, "en_GB"},
    {SaveWdl::EnglishUS, "en_US"}, {SaveWdl::French, "fr"},
    {SaveWdl::Greek, "el"},        {SaveWdl::Hungarian, "hu"},
    {SaveWdl::Italian, "it"},      {SaveWdl::Japanese, "ja"},
    {SaveWdl::Korean, "ko"},       {SaveWdl::Polish, "pl"},
    {SaveWdl::Portuguese, "pt"},   {SaveWdl::Romanian, "ro"},
    {SaveWdl::Russian, "ru"},      {SaveWdl::Serbian, "sr"},
    {SaveWdl::Slovenian, "sl"},    {SaveWdl::Spanish, "es"},
    {SaveWdl::Swedish, "sv"},      {SaveWdl::Thai, "th"},
    {SaveWdl::Turkish, "tr"},
};

// The PO header field that names the language as wdlc knows it.
const QString kLanguageField = QStringLiteral("X-Wdl-Language");

QString languageName(int value)
{
    return QString::fromLatin1(QMetaEnum::fromType<SaveWdl::Translations>().valueToKey(value));
}

QString codeOf(const QString &language)
{
    const int value = EnumKeys::of<SaveWdl::Translations>().value(language);
    for (const LanguageCode &row : kLanguageCodes) {
        if (row.language == value)
            return QString::fromLatin1(row.code);
    }
    return QString();
}

QString languageOfCode(const QString &code)
{
    for (const LanguageCode &row : kLanguageCodes) {
        if (code == QLatin1String(row.code))
            return languageName(row.language);
    }
    return QString();
}

QString supportedLanguages()
{
    const QMetaEnum languages = QMetaEnum::fromType<SaveWdl::Translations>();
    QStringList names;
    for (int i = 0; i < languages.keyCount(); ++i)
        names.append(QString::fromLatin1(languages.key(i)));
    return names.join(QStringLiteral(", "));
}

// One run of a verb: its name for messages, and its streams.
struct Verb
{
    const char *name;
    QTextStream &out;
    QTextStream &err;

    int fail(const QString &message) const
    {
        err << "wdltool translations " << name << ": " << message << '\n';
        err.flush();
        return ToolCommand::Failed;
    }
    int failAt(const QString &file, int line, const QString &message) const
    {
        return fail(file + QLatin1Char(':') + QString::number(line) + QStringLiteral(": ") + message);
    }
};

// A path as people wrote it: the file name alone in the working directory.
QString joined(const QString &dir, const QString &name)
{
    return dir == QLatin1String(".") ? name : QDir(dir).filePath(name);
}

bool openWizard(const Verb &verb, const QString &wdl, Sources *sources)
{
    WdlWizard *wizard = WdlWizard::instance();
    wizard->openWDLFile(FileUrl::fromLocalPath(wdl));
    if (wizard->isEmpty()) {
        verb.fail(QStringLiteral("cannot open ") + wdl);
        return false;
    }
    // A wizard with warnings builds no image: its texts are not the ones to
    // translate yet.
    const int warnings = wizard->warningsModel()->count();
    if (warnings > 0) {
        verb.fail(wdl + QStringLiteral(" has ") + ToolCommand::counted(warnings, "warning", "warnings")
                  + QStringLiteral("; wdltool check lists them"));
        return false;
    }
    *sources = TranslationMerge::sourcesOf(wizard->textModel());
    return true;
}

bool readFile(const Verb &verb, const QString &path, QByteArray *data)
{
    if (!InputFile::read(path, data)) {
        verb.fail(QStringLiteral("cannot read ") + path);
        return false;
    }
    return true;
}

bool readDocument(const Verb &verb, const QString &path, TranslationDocument *document, QByteArray *data)
{
    if (!readFile(verb, path, data))
        return false;
    if (!document->read(*data)) {
        verb.failAt(path, document->errorLine(), document->error());
        return false;
    }
    return true;
}

// Whether path may be written: not when its owner made it read-only. The
// mode's bits say so even to root, whom access checks never stop.
bool mayWrite(const Verb &verb, const QString &path)
{
    const QFileInfo info(path);
    const QFile::Permissions writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & writeBits))) {
        verb.fail(QStringLiteral("cannot write ") + path + QStringLiteral(": the file is read-only"));
        return false;
    }
    return true;
}

// Whole or not at all.
bool writeFile(const Verb &verb, const QString &path, const QByteArray &data)
{
    // What is written must read back as a translation file.
    TranslationDocument check;
    if (path.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive) && !check.read(data)) {
        verb.fail(QStringLiteral("the new ") + path + QStringLiteral(" would not read back (") + check.error()
                  + QStringLiteral("); it is left as it was"));
        return false;
    }
    if (!mayWrite(verb, path))
        return false;
    QString error;
    if (!OutputFile::write(path, data, &error)) {
        verb.fail(QStringLiteral("cannot write ") + path + QStringLiteral(": ") + error);
        return false;
    }
    return true;
}

// The start of a translation file, waiting for its entries.
QByteArray skeleton(const QString &language, const QString &wizardName)
{
    const QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- ") + language
                         + QStringLiteral(" translation of ") + wizardName
                         + QStringLiteral(
                             ".\n"
                             "Translate each \"untranslated\" entry: write the translation between its tags and\n"
                             "rename both tags to \"text\". wdlc reads the \"text\" entries only.\n"
                             "\"source\" is the English a translation was made from. A translation marked\n"
                             "\"stale\" was made from the English in that attribute: revise it to match the\n"
                             "English in \"source\", then delete the stale attribute. \"obsolete\" entries\n"
                             "are texts the wizard no longer has.\n"
                             "Write &lt; for <, &gt; for >, &amp; for & and &#37; for %.\n"
                             "wdltool translations update merges new English texts in; status shows what is left.\n"
                             "-->\n"
                             "<root>\n"
                             "\t<translations language=\"")
                         + language + QStringLiteral("\">\n\t</translations>\n</root>\n");
    return text.toUtf8();
}

QString updateReport(const TranslationMerge::UpdateCounts &counts, bool keepObsolete)
{
    QString out = QStringLiteral("    Found ") + QString::number(counts.found) + QStringLiteral(" source text(s) (")
                  + QString::number(counts.added) + QStringLiteral(" new and ")
                  + QString::number(counts.found - counts.added) + QStringLiteral(" already existing)\n");
    if (counts.stale > 0)
        out += QStringLiteral("    ") + QString::number(counts.stale)
               + QStringLiteral(" stale translation(s) wait for review\n");
    if (counts.obsolete > 0)
        out += QLatin1String(keepObsolete ? "    Kept " : "    Removed ") + QString::number(counts.obsolete)
               + QStringLiteral(" obsolete entries\n");
    return out;
}

// Options every verb takes; the rest are its own.
struct Options
{
    QCommandLineParser parser;
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption dir{QStringLiteral("dir"), QString(), QStringLiteral("DIR")};

    Options() { parser.addOptions({help, dir}); }

    // Proceed, or the status to exit with; positional must have count entries.
    int parse(const Verb &verb, const QStringList &arguments, int count, const QString &missing)
    {
        if (!ToolCommand::parse(parser, arguments, TranslationsCommand::usage(), verb.err))
            return ToolCommand::UsageError;
        if (parser.isSet(help)) {
            verb.out << TranslationsCommand::usage();
            verb.out.flush();
            return ToolCommand::Ok;
        }
        if (parser.positionalArguments().size() != count)
            return ToolCommand::usageError(missing, TranslationsCommand::usage(), verb.err);
        return ToolCommand::Proceed;
    }
    QString wizard() const { return parser.positionalArguments().first(); }
    // Where the translation files are: beside the wizard unless --dir says.
    QString directory() const { return parser.isSet(dir) ? parser.value(dir) : QFileInfo(wizard()).path(); }
};

QString jsonString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u") + QString::number(c.unicode(), 16).rightJustified(4, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

QString jsonList(const QStringList &items)
{
    QStringList quoted;
    for (const QString &item : items)
        quoted.append(jsonString(item));
    return QLatin1Char('[') + quoted.join(QStringLiteral(", ")) + QLatin1Char(']');
}

// One file as status sees it.
struct FileStatus
{
    QString path;
    QString language;
    bool refused = false;
    QString reason;
    int reasonLine = 0;
    TranslationMerge::Review review;
    bool belowMinimum = false;
};

QString statusText(const FileStatus &s, int minPercent)
{
    QString out = QStringLiteral("Checking '") + s.path + QStringLiteral("'...\n");
    if (s.refused) {
        out += QStringLiteral("    Refused by wdlc");
        if (s.reasonLine > 0)
            out += QStringLiteral(" at line ") + QString::number(s.reasonLine);
        // The reason may list the languages, one a line.
        out += QStringLiteral(": ") + QString(s.reason).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified()
               + QLatin1Char('\n');
    }
    const TranslationMerge::Review &r = s.review;
    const int percent = r.total == 0 ? 100 : r.translated * 100 / r.total;
    out += QStringLiteral("    ") + (s.language.isEmpty() ? QStringLiteral("No language") : s.language)
           + QStringLiteral(": ") + QString::number(r.translated) + QStringLiteral(" of ") + QString::number(r.total)
           + QStringLiteral(" text(s) and help(s) translated (") + QString::number(percent) + QStringLiteral("%)\n");
    const auto list = [&out](const char *title, const QStringList &names) {
        if (!names.isEmpty())
            out += QStringLiteral("    ") + QLatin1String(title) + QStringLiteral(" (") + QString::number(names.size())
                   + QStringLiteral("): ") + names.join(QStringLiteral(", ")) + QLatin1Char('\n');
    };
    list("Missing", r.missing);
    list("Stale", r.stale);
    list("Empty", r.empty);
    list("Unknown", r.unknown);
    list("Duplicates", r.duplicates);
    if (s.belowMinimum)
        out += QStringLiteral("    Below the minimum of ") + QString::number(minPercent) + QStringLiteral("%\n");
    return out;
}

QString statusJson(const QList<FileStatus> &files)
{
    QStringList objects;
    for (const FileStatus &s : files) {
        const TranslationMerge::Review &r = s.review;
        objects.append(QStringLiteral("  {\"file\": ") + jsonString(s.path) + QStringLiteral(", \"language\": ")
                       + (s.refused || s.language.isNull() ? QStringLiteral("null") : jsonString(s.language))
                       + QStringLiteral(", \"refused\": ") + QLatin1String(s.refused ? "true" : "false")
                       + QStringLiteral(", \"reason\": ") + (s.refused ? jsonString(s.reason) : QStringLiteral("null"))
                       + QStringLiteral(", \"total\": ") + QString::number(r.total)
                       + QStringLiteral(", \"translated\": ") + QString::number(r.translated)
                       + QStringLiteral(", \"missing\": ") + jsonList(r.missing) + QStringLiteral(", \"unknown\": ")
                       + jsonList(r.unknown) + QStringLiteral(", \"stale\": ") + jsonList(r.stale)
                       + QStringLiteral(", \"empty\": ") + jsonList(r.empty) + QStringLiteral(", \"duplicates\": ")
                       + jsonList(r.duplicates) + QLatin1Char('}'));
    }
    if (objects.isEmpty())
        return QStringLiteral("{\"files\": []}\n");
    return QStringLiteral("{\"files\": [\n") + objects.join(QStringLiteral(",\n")) + QStringLiteral("\n]}\n");
}

int status(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const Verb verb{"status", out, err};
    Options o;
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption minimum(QStringLiteral("min-percent"), QString(), QStringLiteral("N"));
    o.parser.addOptions({json, minimum});
    int code = o.parse(verb, arguments, 1, QStringLiteral("status needs exactly one WDL file"));
    if (code != ToolCommand::Proceed)
        return code;
    int minPercent = 0;
    if (o.parser.isSet(minimum)) {
        bool ok = false;
        minPercent = o.parser.value(minimum).toInt(&ok);
        if (!ok || minPercent < 0 || minPercent > 100)
            return ToolCommand::usageError(QStringLiteral("--min-percent takes a whole number from 0 to 100"),
                                           TranslationsCommand::usage(), err);
    }
    Sources sources;
    if (!openWizard(verb, o.wizard(), &sources))
        return ToolCommand::Failed;

    WdlWizard *wizard = WdlWizard::instance();
    const QString dir = o.directory();
    code = ToolCommand::Ok;
    QList<FileStatus> files;
    for (const QString &name : TranslationImporter::translationFileNames(dir)) {
        FileStatus s;
        s.path = joined(dir, name);
        // The compiler's own verdict, from the compiler's own reader.
        QString lastWarning;
        int lastLine = 0;
        TranslationImporter importer(wizard->textModel(), wizard->header()->productName(),
                                     [&](const QString &text, const QString &, int line) {
                                         lastWarning = text;
                                         lastLine = line;
                                     });
        s.refused = importer.readTranslationFile(s.path).empty();
        if (s.refused) {
            s.reason = lastWarning;
            s.reasonLine = lastLine;
            code = ToolCommand::Failed;
        }
        TranslationDocument document;
        QByteArray bytes;
        if (InputFile::read(s.path, &bytes) && !document.read(bytes)) {
            // wdlc takes what this reader does not: say so, count it as empty.
            if (!s.refused)
                verb.failAt(s.path, document.errorLine(), document.error());
            code = ToolCommand::Failed;
        }
        s.language = document.language();
        s.review = TranslationMerge::review(document, sources);
        if (o.parser.isSet(minimum) && s.review.translated * 100 < minPercent * s.review.total) {
            s.belowMinimum = true;
            code = ToolCommand::Failed;
        }
        files.append(s);
    }
    if (o.parser.isSet(json)) {
        out << statusJson(files);
    } else if (files.isEmpty()) {
        out << "No translation files in " << dir << '\n';
    } else {
        for (const FileStatus &s : qAsConst(files))
            out << statusText(s, minPercent);
    }
    out.flush();
    return code;
}

int update(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const Verb verb{"update", out, err};
    Options o;
    const QCommandLineOption noObsolete(QStringLiteral("no-obsolete"));
    o.parser.addOption(noObsolete);
    const int code = o.parse(verb, arguments, 1, QStringLiteral("update needs exactly one WDL file"));
    if (code != ToolCommand::Proceed)
        return code;
    Sources sources;
    if (!openWizard(verb, o.wizard(), &sources))
        return ToolCommand::Failed;
    const bool keepObsolete = !o.parser.isSet(noObsolete);

    // Every file is merged before any is written: a file that cannot be
    // read leaves them all as they were.
    struct Merged
    {
        QString path;
        QByteArray before;
        QByteArray after;
        TranslationMerge::UpdateCounts counts;
    };
    QList<Merged> merged;
    const QString dir = o.directory();
    for (const QString &name : TranslationImporter::translationFileNames(dir)) {
        Merged m;
        m.path = joined(dir, name);
        TranslationDocument document;
        if (!readDocument(verb, m.path, &document, &m.before))
            return ToolCommand::Failed;
        m.counts = TranslationMerge::update(document, sources, keepObsolete);
        if (m.counts.added > 0 && !document.canInsert())
            return verb.fail(m.path + QStringLiteral(" has no translations element to add the new texts to"));
        m.after = document.toUtf8();
        merged.append(m);
    }
    if (merged.isEmpty()) {
        out << "No translation files in " << dir << "; wdltool translations new starts one\n";
        out.flush();
        return ToolCommand::Ok;
    }
    for (const Merged &m : qAsConst(merged)) {
        if (m.after != m.before && !mayWrite(verb, m.path))
            return ToolCommand::Failed;
    }
    for (const Merged &m : qAsConst(merged)) {
        out << "Updating '" << m.path << "'...\n" << updateReport(m.counts, keepObsolete);
        out.flush();
        if (m.after != m.before && !writeFile(verb, m.path, m.after))
            return ToolCommand::Failed;
    }
    return ToolCommand::Ok;
}

int create(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const Verb verb{"new", out, err};
    Options o;
    const int code = o.parse(verb, arguments, 2, QStringLiteral("new needs a WDL file and a language"));
    if (code != ToolCommand::Proceed)
        return code;
    const QString language = o.parser.positionalArguments().at(1);
    if (EnumKeys::of<SaveWdl::Translations>().value(language) < 0)
        return verb.fail(QStringLiteral("unknown language ") + language + QStringLiteral("; the languages are ")
                         + supportedLanguages());
    const QString path = joined(o.directory(), QStringLiteral("translation_") + language + QStringLiteral(".xml"));
    if (QFileInfo::exists(path))
        return verb.fail(path + QStringLiteral(" exists already; wdltool translations update brings it up to date"));
    Sources sources;
    if (!openWizard(verb, o.wizard(), &sources))
        return ToolCommand::Failed;
    TranslationDocument document;
    document.read(skeleton(language, QFileInfo(o.wizard()).fileName()));
    const TranslationMerge::UpdateCounts counts = TranslationMerge::update(document, sources, true);
    out << "Creating '" << path << "'...\n" << updateReport(counts, true);
    out.flush();
    return writeFile(verb, path, document.toUtf8()) ? ToolCommand::Ok : ToolCommand::Failed;
}

int exportPo(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const Verb verb{"export", out, err};
    Options o;
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("PO"));
    o.parser.addOption(output);
    const int code = o.parse(verb, arguments, 2, QStringLiteral("export needs a WDL file and a translation file"));
    if (code != ToolCommand::Proceed)
        return code;
    Sources sources;
    if (!openWizard(verb, o.wizard(), &sources))
        return ToolCommand::Failed;
    const QString path = o.parser.positionalArguments().at(1);
    TranslationDocument document;
    QByteArray data;
    if (!readDocument(verb, path, &document, &data))
        return ToolCommand::Failed;

    const QString wizardName = QFileInfo(o.wizard()).fileName();
    PoCatalog po;
    po.setComment(document.language() + QStringLiteral(" translation of ") + wizardName
                  + QStringLiteral(", exported from ") + QFileInfo(path).fileName()
                  + QStringLiteral(" by wdltool.\nEach message is one text or help, named id/type in msgctxt. "
                                   "A fuzzy message is stale:\nits English changed since it was translated; "
                                   "#| msgid is the English it was made from."));
    po.addHeaderField(QStringLiteral("Project-Id-Version"), wizardName);
    for (const char *field : {"PO-Revision-Date", "Last-Translator", "Language-Team"})
        po.addHeaderField(QLatin1String(field), QString());
    po.addHeaderField(QStringLiteral("Language"), codeOf(document.language()));
    po.addHeaderField(QStringLiteral("MIME-Version"), QStringLiteral("1.0"));
    po.addHeaderField(QStringLiteral("Content-Type"), QStringLiteral("text/plain; charset=UTF-8"));
    po.addHeaderField(QStringLiteral("Content-Transfer-Encoding"), QStringLiteral("8bit"));
    po.addHeaderField(kLanguageField, document.language());

    QHash<QString, int> first;
    const QList<TranslationDocument::Entry> &entries = document.entries();
    for (int i = 0; i < entries.size(); ++i) {
        const QString name = TranslationMerge::entryName(entries.at(i).id, entries.at(i).type);
        if (entries.at(i).kind == TranslationDocument::Translated && !first.contains(name))
            first.insert(name, i);
    }
    int translated = 0;
    int fuzzy = 0;
    for (const TranslationMerge::Source &s : qAsConst(sources)) {
        PoCatalog::Message m;
        m.context = TranslationMerge::entryName(s.id, s.type);
        m.id = s.english;
        m.str = QLatin1String("");
        if (first.contains(m.context) && !entries.at(first.value(m.context)).content.isEmpty()) {
            const TranslationDocument::Entry &entry = entries.at(first.value(m.context));
            m.str = entry.content;
            m.fuzzy = TranslationMerge::isStale(entry, s.english);
            if (m.fuzzy)
                m.previousId = entry.stale.isNull() ? entry.source : entry.stale;
            ++(m.fuzzy ? fuzzy : translated);
        }
        po.addMessage(m);
    }
    const QString target = o.parser.value(output);
    if (ToolCommand::deliver("translations export", target, QString::fromUtf8(po.toUtf8()), out, err)
        != ToolCommand::Ok)
        return ToolCommand::Failed;
    if (!target.isEmpty()) {
        out << "Exporting '" << path << "' to '" << target << "'...\n    " << translated << " translated message(s), "
            << fuzzy << " fuzzy translation(s), " << sources.size() - translated - fuzzy
            << " untranslated message(s)\n";
        out.flush();
    }
    return ToolCommand::Ok;
}

int importPo(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const Verb verb{"import", out, err};
    Options o;
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("FILE"));
    o.parser.addOption(output);
    int code = o.parse(verb, arguments, 2, QStringLiteral("import needs a WDL file and a PO file"));
    if (code != ToolCommand::Proceed)
        return code;
    if (!o.parser.isSet(output))
        return ToolCommand::usageError(QStringLiteral("import needs -o with the translation file to write"),
                                       TranslationsCommand::usage(), err);
    Sources sources;
    if (!openWizard(verb, o.wizard(), &sources))
        return ToolCommand::Failed;
    const QString poPath = o.parser.positionalArguments().at(1);
    QByteArray data;
    if (!readFile(verb, poPath, &data))
        return ToolCommand::Failed;
    PoCatalog po;
    if (!po.read(data))
        return verb.failAt(poPath, po.errorLine(), po.error());

    QHash<QString, const TranslationMerge::Source *> byName;
    for (const TranslationMerge::Source &s : qAsConst(sources))
        byName.insert(TranslationMerge::entryName(s.id, s.type), &s);
    QHash<QString, int> seen;
    QList<TranslationMerge::Translation> translations;
    int finished = 0;
    int unfinished = 0;
    for (const PoCatalog::Message &m : po.messages()) {
        if (m.context.isNull())
            return verb.failAt(poPath, m.line,
                               QStringLiteral("This message has no msgctxt, which names the text: its id and "
                                              "type, as in msgctxt \"")
                                   + (sources.isEmpty()
                                          ? QStringLiteral("title/text")
                                          : TranslationMerge::entryName(sources.first().id, sources.first().type))
                                   + QStringLiteral("\"."));
        const TranslationMerge::Source *source = byName.value(m.context);
        if (!source)
            return verb.failAt(poPath, m.line,
                               QStringLiteral("The wizard has no text or help ") + m.context + QLatin1Char('.'));
        if (seen.contains(m.context))
            return verb.failAt(poPath, m.line,
                               QStringLiteral("A second message for ") + m.context
                                   + QStringLiteral("; the first is on line ") + QString::number(seen.value(m.context))
                                   + QLatin1Char('.'));
        seen.insert(m.context, m.line);
        translations.append({source->id, source->type, m.id, m.str, m.fuzzy, m.previousId});
        if (!m.str.isEmpty())
            ++(m.fuzzy ? unfinished : finished);
    }

    const QString path = o.parser.value(output);
    QString language = po.headerField(kLanguageField);
    if (language.isEmpty())
        language = languageOfCode(po.headerField(QStringLiteral("Language")));
    TranslationDocument document;
    QByteArray before;
    if (QFileInfo::exists(path)) {
        if (!readDocument(verb, path, &document, &before))
            return ToolCommand::Failed;
        if (!language.isEmpty() && !document.language().isEmpty() && language != document.language())
            return verb.fail(poPath + QStringLiteral(" is ") + language + QStringLiteral(", but ") + path
                             + QStringLiteral(" is ") + document.language() + QStringLiteral("; nothing is imported"));
    } else {
        // The compiler goes by the attribute alone; a file named after
        // another language is a slip all the same.
        const QString named = QFileInfo(path).completeBaseName().section(QLatin1Char('_'), 1);
        if (EnumKeys::of<SaveWdl::Translations>().value(named) >= 0 && named != language)
            return verb.fail(poPath + QStringLiteral(" is ") + language + QStringLiteral(", but ") + path
                             + QStringLiteral(" is named for ") + named + QStringLiteral("; nothing is imported"));
        if (EnumKeys::of<SaveWdl::Translations>().value(language) < 0)
            return verb.fail(poPath + QStringLiteral(" names no language wdlc knows (") + kLanguageField
                             + QStringLiteral(" or Language in its header), so ") + path
                             + QStringLiteral(" cannot be made; the languages are ") + supportedLanguages());
        document.read(skeleton(language, QFileInfo(o.wizard()).fileName()));
        TranslationMerge::update(document, sources, true);
        // The entries just added are the places the translations go.
        document.read(document.toUtf8());
    }
    TranslationMerge::apply(document, sources, translations);
    out << "Importing '" << poPath << "' into '" << path << "'...\n    Imported " << finished + unfinished
        << " translation(s) (" << finished << " finished and " << unfinished << " unfinished)\n";
    const int ignored = int(translations.size()) - finished - unfinished;
    if (ignored > 0)
        out << "    Ignored " << ignored << " untranslated source text(s)\n";
    out.flush();
    const QByteArray after = document.toUtf8();
    if (after == before)
        return ToolCommand::Ok;
    return writeFile(verb, path, after) ? ToolCommand::Ok : ToolCommand::Failed;
}

struct VerbRow
{
    const char *name;
    int (*run)(const QStringList &arguments, QTextStream &out, QTextStream &err);
};

const VerbRow kVerbs[] = {
    {"status", &status}, {"update", &update}, {"new", &create}, {"export", &exportPo}, {"import", &importPo},
};

} // namespace

QString TranslationsCommand::usage()
{
    return QStringLiteral("Usage: wdltool translations <verb> <wdl> [arguments] [options]\n"
                          "\n"
                          "Keeps the translation files beside a wizard (translation_<Language>.xml) in\n"
                          "step with its texts, and trades them with translators' tools as gettext PO\n"
                          "files. Entries waiting for a translator, obsolete ones and the English each\n"
                          "translation was made from are kept in forms wdlc ignores.\n"
                          "\n"
                          "Verbs:\n"
                          "  status <wdl> [--json] [--min-percent N]\n"
                          "                        per file: its language, how much is translated, and\n"
                          "                        what is missing, stale, empty, unknown or given twice;\n"
                          "                        a file wdlc would refuse, with wdlc's reason\n"
                          "  update <wdl> [--no-obsolete]\n"
                          "                        merges the wizard's texts into every file: marks stale\n"
                          "                        what was translated from English that has changed, adds\n"
                          "                        new texts as untranslated, keeps texts that left the\n"
                          "                        wizard as obsolete (or drops them)\n"
                          "  new <wdl> <Language>  starts translation_<Language>.xml with every text\n"
                          "  export <wdl> <file> [-o PO]\n"
                          "                        writes a translation file as a PO file, stale entries fuzzy\n"
                          "  import <wdl> <PO> -o <file>\n"
                          "                        writes a PO file's translations into a translation file\n"
                          "\n"
                          "Options:\n"
                          "  --dir <DIR>           the translation files are in DIR, not beside the wizard\n"
                          "  --json                status: one JSON document\n"
                          "  --min-percent <N>     status: fail when a file has less than N% translated\n"
                          "  --no-obsolete         update: drop the entries of texts the wizard no longer has\n"
                          "  -o, --output <FILE>   export, import: the file to write\n"
                          "  -h, --help            show this help\n"
                          "\n"
                          "Exit status: 0 when all is well; 1 when a file is refused by wdlc or below\n"
                          "--min-percent, the wizard has warnings, or a file cannot be read or written;\n"
                          "2 for a usage error.\n");
}

int TranslationsCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.isEmpty())
        return ToolCommand::usageError(QStringLiteral("translations needs a verb"), usage(), err);
    const QString verb = arguments.first();
    if (verb == QLatin1String("-h") || verb == QLatin1String("--help")) {
        out << usage();
        out.flush();
        return ToolCommand::Ok;
    }
    for (const VerbRow &row : kVerbs) {
        if (verb == QLatin1String(row.name))
            return row.run(arguments.mid(1), out, err);
    }
    return ToolCommand::usageError(QStringLiteral("unknown translations verb ") + verb, usage(), err);
}
