#include "lsp/wizardindex.h"

#include "core/fileurl.h"
#include "core/inputfile.h"
#include "core/warning.h"
#include "core/wdlwizard.h"
#include "items/wdltokenfilter.h"
#include "items/wdltokenlocalparam.h"
#include "items/wdltokenoverlay.h"
#include "reader/sourceoverlay.h"
#include "reader/wdlsourcefile.h"
#include "tool/diagnosticcollector.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>

#include <climits>

namespace {

using Kind = SourceSymbols::Kind;

bool readBytes(const QString &path, const SourceOverlay *overlay, QByteArray *bytes)
{
    if (overlay && overlay->find(path, bytes))
        return true;
    QFile file(path);
    if (!InputFile::open(file))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

// A text quoted for Markdown: on one line, and no character Markdown reads.
QString quoted(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            out += QLatin1String("⏎");
        else if (QStringLiteral("\\`*_[]<>#|").contains(c))
            out += QLatin1Char('\\') + c;
        else
            out += c;
    }
    return out;
}

QString code(const QString &id)
{
    return QLatin1Char('`') + id + QLatin1Char('`');
}

QString textLine(const WdlTokenText *text)
{
    return text ? code(text->id()) + QStringLiteral(" \"") + quoted(text->getText()) + QLatin1Char('"')
                : QStringLiteral("none");
}

QString scriptLine(const WdlTokenScript *script)
{
    return script ? code(script->id()) : QStringLiteral("none");
}

QString describeParameter(const WdlTokenParam *param, QString *detail)
{
    QString out;
    if (param->kind() == WdlTokenParam::KindP) {
        *detail = QStringLiteral("P ") + QString::number(param->parameterNumber());
        out = QStringLiteral("**drive parameter** ") + code(param->id()) + QStringLiteral(", number ")
              + QString::number(param->parameterNumber());
        if (param->text())
            out += QStringLiteral("\n\nname: ") + textLine(param->text());
        if (param->apf())
            out += QStringLiteral("\n\narray filter: ") + code(param->apf()->id());
        if (param->clf())
            out += QStringLiteral("\n\nchoice-list filter: ") + code(param->clf()->id());
    } else if (param->kind() == WdlTokenParam::KindVP) {
        *detail = QStringLiteral("VP ") + QString::number(param->minValue()) + QStringLiteral("..")
                  + QString::number(param->maxValue());
        out = QStringLiteral("**virtual parameter** ") + code(param->id()) + QStringLiteral("\n\nname: ")
              + textLine(param->text()) + QStringLiteral("\n\nminimum ") + QString::number(param->minValue())
              + QStringLiteral(", maximum ") + QString::number(param->maxValue()) + QStringLiteral(", default ")
              + QString::number(param->defaultValue()) + QStringLiteral(", scale ")
              + QString::number(param->scaleValue());
        if (param->unitText())
            out += QStringLiteral("\n\nunit: ") + textLine(param->unitText());
    } else {
        *detail = QStringLiteral("VCP");
        out = QStringLiteral("**virtual choice parameter** ") + code(param->id()) + QStringLiteral("\n\nname: ")
              + textLine(param->text());
        if (const WdlTokenChoiceList *list = param->choiceList()) {
            out += QStringLiteral("\n\nchoices (") + code(list->id()) + QStringLiteral("):");
            const QList<WdlTokenText *> choices = list->getChoices();
            for (int i = 0; i < choices.size(); ++i)
                out += QStringLiteral("\n- ") + textLine(choices.at(i))
                       + (i == list->defaultChoice() ? QStringLiteral(" (default)") : QString());
        }
    }
    if (param->writeScript())
        out += QStringLiteral("\n\nwrite script: ") + scriptLine(param->writeScript());
    return out;
}

QString describeScreen(const WdlTokenScreen *screen, const QString &keyword)
{
    QString out = QStringLiteral("**screen** ") + code(screen->id());
    if (!keyword.isEmpty())
        out += QStringLiteral(" (") + keyword + QLatin1Char(')');
    if (screen->overlay())
        out += QStringLiteral("\n\noverlay: ") + code(screen->overlay()->id());
    QStringList params;
    for (const WdlTokenParam *param : screen->parameters())
        params.append(code(param->id()));
    if (!params.isEmpty())
        out += QStringLiteral("\n\nparameters: ") + params.join(QStringLiteral(", "));
    QStringList next;
    if (screen->nextScreen())
        next.append(code(screen->nextScreen()->id()));
    if (const WdlTokenScript *nss = screen->nextScreenScript()) {
        for (const QString &id : nss->getNextScreensFromScript()) {
            if (!next.contains(code(id)))
                next.append(code(id));
        }
        out += QStringLiteral("\n\nnext-screen script: ") + code(nss->id());
    }
    out += QStringLiteral("\n\nnext screens: ")
           + (next.isEmpty() ? QStringLiteral("none") : next.join(QStringLiteral(", ")));
    if (screen->pss())
        out += QStringLiteral("\n\nPSS: ") + code(screen->pss()->id());
    if (screen->preScreenScript())
        out += QStringLiteral("\n\npre-screen script: ") + code(screen->preScreenScript()->id());
    return out;
}

QString describeOverlay(const WdlTokenOverlay *overlay)
{
    QString out = QStringLiteral("**overlay** ") + code(overlay->id()) + QStringLiteral("\n\ntext: ")
                  + textLine(overlay->text());
    const QMetaEnum keys = QMetaEnum::fromType<WdlTokenOverlay::OverlayCommands>();
    for (int key = 0; key < WdlTokenOverlay::kKeyCount; ++key) {
        if (!overlay->action(key).isEmpty())
            out += QStringLiteral("\n- ") + QLatin1String(keys.valueToKey(key)) + QStringLiteral(": ")
                   + overlay->action(key);
    }
    return out;
}

QString describeScript(const WdlTokenScript *script, QString *detail)
{
    *detail = WdlTokenScript::typeName(script->scriptType());
    QString out = QStringLiteral("**script** ") + code(script->id()) + QStringLiteral(" (") + *detail
                  + QStringLiteral("), ") + QString::number(script->commandCount())
                  + (script->commandCount() == 1 ? QStringLiteral(" command") : QStringLiteral(" commands"));
    if (script->commandCount() > 0)
        out += QStringLiteral("\n\n```wdl\n") + script->getScriptText() + QStringLiteral("```");
    return out;
}

// The wizard's own items, in each collection's order, as symbols.
struct Collection
{
    WizardContent::Slot slot;
    Kind kind;
};

const Collection kCollections[] = {
    {WizardContent::TextsSlot, SourceSymbols::Text},
    {WizardContent::ChoiceListsSlot, SourceSymbols::ChoiceList},
    {WizardContent::FiltersSlot, SourceSymbols::Filter},
    {WizardContent::LocalParametersSlot, SourceSymbols::LocalParameter},
    {WizardContent::ParametersSlot, SourceSymbols::Parameter},
    {WizardContent::ScreensSlot, SourceSymbols::Screen},
    {WizardContent::OverlaysSlot, SourceSymbols::Overlay},
    {WizardContent::ScriptsSlot, SourceSymbols::Script},
};

bool isIdCharacter(QChar c)
{
    return !c.isSpace() && c != QLatin1Char('"') && c != QLatin1Char('.');
}

// Whether word stands in message as a word of its own.
bool mentions(const QString &message, const QString &word)
{
    for (int at = message.indexOf(word); at >= 0; at = message.indexOf(word, at + 1)) {
        const int end = at + word.size();
        if ((at == 0 || !isIdCharacter(message.at(at - 1)))
            && (end == message.size() || !isIdCharacter(message.at(end))))
            return true;
    }
    return false;
}

// A file's lines, found once: the text of each from its bytes.
class Lines
{
public:
    explicit Lines(const QByteArray &bytes) : m_bytes(bytes)
    {
        m_starts.append(0);
        for (int at = bytes.indexOf('\n'); at >= 0; at = bytes.indexOf('\n', at + 1))
            m_starts.append(at + 1);
    }
    // From 0, without its line break; empty past the end.
    QString at(int line) const
    {
        if (line < 0 || line >= m_starts.size())
            return QString();
        const int start = m_starts.at(line);
        const int end = line + 1 < m_starts.size() ? m_starts.at(line + 1) - 1 : m_bytes.size();
        QString text = QString::fromUtf8(m_bytes.constData() + start, end - start);
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        return text;
    }

private:
    QByteArray m_bytes;
    QVector<int> m_starts;
};

// A finding on the word that starts at check's column: up to a blank, a
// double quote or the colon after a tag. False when the column is not on a
// word of the line.
bool placeAtColumn(WizardIndex::Diagnostic *d, const QString &line)
{
    const int start = d->column - 1;
    if (d->column <= 0 || start >= line.size() || line.at(start).isSpace())
        return false;
    int end = start + 1;
    while (end < line.size() && !line.at(end).isSpace() && line.at(end) != QLatin1Char('"')
           && line.at(end) != QLatin1Char(':'))
        ++end;
    d->location.start = start;
    d->location.end = end;
    return true;
}

WizardIndex::Diagnostic fromCheck(const ::Diagnostic &f)
{
    WizardIndex::Diagnostic d;
    d.message = f.message;
    d.rule = f.rule;
    d.isError = f.level == ::Diagnostic::Error;
    d.location.path = SourceOverlay::key(f.file);
    d.location.line = qMax(0, f.line - 1);
    d.column = f.column;
    return d;
}

} // namespace

QList<::Diagnostic> WizardIndex::check(const QString &topLevelPath, const SourceOverlay *overlay,
                                       const QSet<QString> &rules)
{
    return DiagnosticCollector(rules, overlay).check(SourceOverlay::key(topLevelPath));
}

bool WizardIndex::placeAlone(const QList<::Diagnostic> &found, const SourceOverlay *overlay, const QStringList &paths,
                             QVector<Diagnostic> *placed)
{
    if (paths.isEmpty())
        return false;
    const QSet<QString> wizardFiles(paths.cbegin(), paths.cend());
    QHash<QString, Lines> files;
    for (const ::Diagnostic &f : found) {
        Diagnostic d = fromCheck(f);
        // A file of no wizard, a translation file say, keeps the line alone.
        if (wizardFiles.contains(d.location.path)) {
            auto it = files.find(d.location.path);
            if (it == files.end()) {
                QByteArray bytes;
                if (!readBytes(d.location.path, overlay, &bytes))
                    return false;
                it = files.insert(d.location.path, Lines(bytes));
            }
            const QString line = it.value().at(d.location.line);
            // What an INCLUDE line is blamed for belongs to the included file.
            if (line.trimmed().startsWith(QLatin1String("INCLUDE")))
                return false;
            if (!placeAtColumn(&d, line)) {
                // As build does, with the line's words split at blanks and
                // after colons; where build splits otherwise, it places the
                // finding again.
                int best = -1;
                int bestEnd = -1;
                int first = -1;
                int last = -1;
                for (int start = 0; start < line.size() && line.at(start) != QLatin1Char('"');) {
                    if (line.at(start).isSpace()) {
                        ++start;
                        continue;
                    }
                    int end = start;
                    while (end < line.size() && !line.at(end).isSpace() && line.at(end) != QLatin1Char('"')
                           && line.at(end) != QLatin1Char(':'))
                        ++end;
                    const int next = end < line.size() && line.at(end) == QLatin1Char(':') ? end + 1 : end;
                    first = first < 0 ? start : first;
                    last = next;
                    if (end > start && mentions(d.message, line.mid(start, end - start))
                        && end - start > bestEnd - best) {
                        best = start;
                        bestEnd = end;
                    }
                    start = next;
                }
                d.location.start = best >= 0 ? best : qMax(0, first);
                d.location.end = best >= 0 ? bestEnd : qMax(0, last);
            }
        }
        placed->append(d);
    }
    return true;
}

WizardIndex WizardIndex::provisional(const QString &topLevelPath, const QStringList &paths,
                                     const QVector<Diagnostic> &placed)
{
    WizardIndex index;
    index.m_topLevel = SourceOverlay::key(topLevelPath);
    index.m_paths = paths;
    index.m_diagnostics = placed;
    return index;
}

void WizardIndex::placeOnIncludedDefinition(Diagnostic *d) const
{
    // The message names the item among its words, perhaps in quotes.
    for (QString word : d->message.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        word.remove(QLatin1Char('"'));
        if (word.endsWith(QLatin1Char('.')))
            word.chop(1);
        for (const Collection &collection : kCollections) {
            const Symbol *s = symbol(collection.kind, word);
            if (s && !s->definition.path.isEmpty() && s->definition.path != d->location.path) {
                d->location = s->definition;
                return;
            }
        }
    }
}

QString WizardIndex::kindName(Kind kind)
{
    switch (kind) {
    case SourceSymbols::Text:
        return QStringLiteral("text");
    case SourceSymbols::ChoiceList:
        return QStringLiteral("choice list");
    case SourceSymbols::Filter:
        return QStringLiteral("filter");
    case SourceSymbols::LocalParameter:
        return QStringLiteral("local parameter");
    case SourceSymbols::Parameter:
    case SourceSymbols::AnyParameter:
    case SourceSymbols::LocalFirstParameter:
        return QStringLiteral("parameter");
    case SourceSymbols::Screen:
        return QStringLiteral("screen");
    case SourceSymbols::Overlay:
        return QStringLiteral("overlay");
    case SourceSymbols::Script:
        return QStringLiteral("script");
    default:
        return QString();
    }
}

int WizardIndex::addSymbol(Kind kind, const QString &id)
{
    QHash<QString, int> &byId = m_symbolById[kind];
    const auto it = byId.constFind(id);
    if (it != byId.cend())
        return it.value();
    Symbol symbol;
    symbol.kind = kind;
    symbol.id = id;
    m_symbols.append(symbol);
    byId.insert(id, m_symbols.size() - 1);
    return m_symbols.size() - 1;
}

const WizardIndex::File *WizardIndex::file(const QString &path) const
{
    for (const File &f : m_files) {
        if (f.path == path)
            return &f;
    }
    return nullptr;
}

const WizardIndex::Symbol *WizardIndex::symbol(Kind kind, const QString &id) const
{
    if (kind <= SourceSymbols::NoKind || kind > SourceSymbols::LocalFirstParameter)
        return nullptr;
    const auto it = m_symbolById[kind].constFind(id);
    return it == m_symbolById[kind].cend() ? nullptr : &m_symbols.at(it.value());
}

const WizardIndex::Symbol *WizardIndex::symbolAt(const QString &path, int line, int column, Location *word) const
{
    const File *f = file(path);
    if (!f)
        return nullptr;
    const int at = f->symbols.occurrenceAt(line, column);
    if (at < 0 || f->symbolOfOccurrence.at(at) < 0)
        return nullptr;
    if (word) {
        const SourceSymbols::Occurrence &o = f->symbols.occurrences().at(at);
        *word = Location{path, o.line, o.start, o.end};
    }
    return &m_symbols.at(f->symbolOfOccurrence.at(at));
}

WizardIndex WizardIndex::build(WdlWizard *wizard, const QString &topLevelPath, const SourceOverlay *overlay,
                               const QSet<QString> &rules, const WizardIndex *earlier)
{
    const QList<::Diagnostic> found = check(topLevelPath, overlay, rules);
    return build(wizard, topLevelPath, overlay, found, earlier);
}

WizardIndex WizardIndex::build(WdlWizard *wizard, const QString &topLevelPath, const SourceOverlay *overlay,
                               const QList<::Diagnostic> &found, const WizardIndex *earlier)
{
    WizardIndex index;
    index.m_topLevel = SourceOverlay::key(topLevelPath);
    const QString directory = QFileInfo(index.m_topLevel).absolutePath();

    // The files in reading order: the top-level file, each included file at
    // its INCLUDE line. The reader follows no INCLUDE of an included file. A
    // file as it was at the last build is taken whole, a changed one split
    // anew but for the lines it shares with that build.
    const auto read = [&](const QString &path) {
        File f;
        f.path = path;
        if (!readBytes(path, overlay, &f.bytes))
            return false;
        const File *before = earlier ? earlier->file(path) : nullptr;
        if (before && before->bytes == f.bytes) {
            index.m_files.append(*before);
            return true;
        }
        f.source = before ? WdlSourceFile::fromBytes(f.bytes, before->source) : WdlSourceFile::fromBytes(f.bytes);
        f.symbols = SourceSymbols::scan(f.source);
        index.m_files.append(f);
        return true;
    };
    if (read(index.m_topLevel)) {
        const QVector<SourceSymbols::Include> includes = index.m_files.first().symbols.includes();
        for (const SourceSymbols::Include &include : includes) {
            const QString path = QDir::cleanPath(QDir(directory).absoluteFilePath(include.name));
            if (!index.file(path) && path != index.m_topLevel)
                read(path);
        }
    }
    for (const File &f : index.m_files)
        index.m_paths.append(f.path);

    // Symbols of the items first, in each collection's order.
    for (const Collection &collection : kCollections) {
        for (WdlToken *item : wizard->model(collection.slot)->items()) {
            Symbol &symbol = index.m_symbols[index.addSymbol(collection.kind, item->id())];
            symbol.defined = true;
        }
    }
    const auto resolve = [wizard](Kind kind, const QString &id) {
        const bool isParameter = wizard->parametersModel()->containsId(id);
        const bool isLocal = wizard->localParameterModel()->containsId(id);
        if (kind == SourceSymbols::AnyParameter)
            return isParameter || !isLocal ? SourceSymbols::Parameter : SourceSymbols::LocalParameter;
        if (kind == SourceSymbols::LocalFirstParameter)
            return isLocal || !isParameter ? SourceSymbols::LocalParameter : SourceSymbols::Parameter;
        return kind;
    };

    // Uses in reading order: the top-level file's lines, each included file
    // in place of its INCLUDE line.
    const auto takeUses = [&](File &f, int fromLine, int toLine) {
        const QVector<SourceSymbols::Occurrence> &occurrences = f.symbols.occurrences();
        for (int i = 0; i < occurrences.size(); ++i) {
            const SourceSymbols::Occurrence &o = occurrences.at(i);
            if (o.line < fromLine || o.line >= toLine)
                continue;
            const int s = index.addSymbol(resolve(o.kind, o.id), o.id);
            f.symbolOfOccurrence[i] = s;
            Symbol &symbol = index.m_symbols[s];
            const Location at{f.path, o.line, o.start, o.end};
            symbol.uses.append(at);
            if (symbol.definition.path.isEmpty() && o.declares && symbol.defined)
                symbol.definition = at;
        }
    };
    for (File &f : index.m_files)
        f.symbolOfOccurrence.fill(-1, f.symbols.occurrences().size());
    if (!index.m_files.isEmpty()) {
        QStringList taken;
        int from = 0;
        for (const SourceSymbols::Include &include : index.m_files.first().symbols.includes()) {
            takeUses(index.m_files.first(), from, include.line + 1);
            from = include.line + 1;
            // A file included twice is read twice, but its words are its words once.
            const QString path = QDir::cleanPath(QDir(directory).absoluteFilePath(include.name));
            for (int f = 1; f < index.m_files.size(); ++f) {
                if (index.m_files.at(f).path == path && !taken.contains(path)) {
                    taken.append(path);
                    takeUses(index.m_files[f], 0, INT_MAX);
                }
            }
        }
        takeUses(index.m_files.first(), from, INT_MAX);
    }
    // An item that no line declares (a screen only named by NS, say) is
    // defined where it is first named.
    for (Symbol &symbol : index.m_symbols) {
        if (symbol.defined && symbol.definition.path.isEmpty() && !symbol.uses.isEmpty())
            symbol.definition = symbol.uses.first();
    }

    // The problems, each on the word it names where the line holds one.
    QVector<Diagnostic> diagnostics;
    for (const ::Diagnostic &f : found)
        diagnostics.append(fromCheck(f));
    QHash<QString, Lines> fileLines;

    for (Diagnostic &d : diagnostics) {
        const File *f = index.file(d.location.path);
        if (!f || d.location.line >= f->symbols.lines().size())
            continue;
        const QVector<SourceSymbols::Token> &tokens = f->symbols.lines().at(d.location.line).tokens;
        // A problem of an item from an included file is reported at the
        // INCLUDE line: it belongs on the item's definition.
        for (const SourceSymbols::Include &include : f->symbols.includes()) {
            if (include.line == d.location.line)
                index.placeOnIncludedDefinition(&d);
        }
        if (d.location.path != f->path || d.location.start != d.location.end)
            continue;
        // Check knows the column of the word it means: the word starts there,
        // as placeAlone places it.
        auto lines = fileLines.find(f->path);
        if (lines == fileLines.end())
            lines = fileLines.insert(f->path, Lines(f->bytes));
        if (placeAtColumn(&d, lines.value().at(d.location.line)))
            continue;
        // Else the longest word the message names; a tag without its colon.
        int best = -1;
        QString bestWord;
        for (int t = 0; t < tokens.size(); ++t) {
            QString word = tokens.at(t).text;
            while (word.endsWith(QLatin1Char(':')))
                word.chop(1);
            if (!word.isEmpty() && mentions(d.message, word) && word.size() > bestWord.size()) {
                best = t;
                bestWord = word;
            }
        }
        if (best >= 0) {
            d.location.start = tokens.at(best).start;
            d.location.end = tokens.at(best).start + bestWord.size();
        } else if (!tokens.isEmpty()) {
            d.location.start = tokens.first().start;
            d.location.end = tokens.last().end;
        }
    }
    index.m_diagnostics = diagnostics;
    return index;
}

WdlToken *WizardIndex::itemOf(const Symbol &symbol, WdlWizard *wizard) const
{
    if (!symbol.defined)
        return nullptr;
    for (const Collection &collection : kCollections) {
        if (collection.kind == symbol.kind)
            return wizard->model(collection.slot)->itemById(symbol.id);
    }
    return nullptr;
}

QString WizardIndex::text(const Symbol &symbol, WdlWizard *wizard, QString *help) const
{
    const auto *text = symbol.kind == SourceSymbols::Text ? static_cast<WdlTokenText *>(itemOf(symbol, wizard))
                                                          : nullptr;
    if (help)
        *help = text ? text->getHelp() : QString();
    return text ? text->getText() : QString();
}

QString WizardIndex::detail(const Symbol &symbol, WdlWizard *wizard) const
{
    QString detail;
    describe(symbol, wizard, &detail);
    return detail;
}

QString WizardIndex::description(const Symbol &symbol, WdlWizard *wizard) const
{
    return describe(symbol, wizard, nullptr);
}

// The Markdown description of the symbol's item, and its one-line detail;
// the detail alone when description is not wanted (detail given).
QString WizardIndex::describe(const Symbol &symbol, WdlWizard *wizard, QString *detail) const
{
    WdlToken *item = itemOf(symbol, wizard);
    QString ignored;
    QString &line = detail ? *detail : ignored;
    if (!item)
        return QString();
    switch (symbol.kind) {
    case SourceSymbols::Text: {
        const auto *text = static_cast<WdlTokenText *>(item);
        line = text->getText();
        return detail ? QString()
                      : QStringLiteral("**text** ") + code(text->id()) + QStringLiteral(", number ")
                            + QString::number(text->getIndex());
    }
    case SourceSymbols::ChoiceList: {
        const auto *list = static_cast<WdlTokenChoiceList *>(item);
        line = QString::number(list->choiceCount()) + QStringLiteral(" choices");
        if (detail)
            return QString();
        QString out = QStringLiteral("**choice list** ") + code(list->id());
        const QList<WdlTokenText *> choices = list->getChoices();
        for (int i = 0; i < choices.size(); ++i)
            out += QStringLiteral("\n- ") + textLine(choices.at(i))
                   + (i == list->defaultChoice() ? QStringLiteral(" (default)") : QString());
        return out;
    }
    case SourceSymbols::Filter: {
        const auto *filter = static_cast<WdlTokenFilter *>(item);
        line = filter->isClf() ? QStringLiteral("CLF") : QStringLiteral("APF");
        if (detail)
            return QString();
        QStringList indexes;
        const QBitArray bits = filter->bits();
        for (int i = 0; i < bits.size() && indexes.size() < 64; ++i) {
            if (bits.testBit(i))
                indexes.append(QString::number(i));
        }
        return QStringLiteral("**")
               + (filter->isClf() ? QStringLiteral("choice-list filter") : QStringLiteral("array filter"))
               + QStringLiteral("** ") + code(filter->id()) + QStringLiteral("\n\nindexes: ")
               + (indexes.isEmpty() ? QStringLiteral("none") : indexes.join(QStringLiteral(", ")));
    }
    case SourceSymbols::LocalParameter: {
        const auto *local = static_cast<WdlTokenLocalParam *>(item);
        line = QStringLiteral("LP = ") + QString::number(local->value());
        return QStringLiteral("**local parameter** ") + code(local->id()) + QStringLiteral(" = ")
               + QString::number(local->value());
    }
    case SourceSymbols::Parameter:
        return describeParameter(static_cast<WdlTokenParam *>(item), &line);
    case SourceSymbols::Screen: {
        // The kind of screen is its head's keyword.
        QString keyword;
        if (const File *f = file(symbol.definition.path)) {
            const QVector<SourceSymbols::Token> &tokens = f->symbols.lines().at(symbol.definition.line).tokens;
            if (!tokens.isEmpty())
                keyword = tokens.first().text;
            keyword.remove(QLatin1Char(':'));
        }
        line = keyword;
        return detail ? QString() : describeScreen(static_cast<WdlTokenScreen *>(item), keyword);
    }
    case SourceSymbols::Overlay:
        line = QStringLiteral("overlay");
        return detail ? QString() : describeOverlay(static_cast<WdlTokenOverlay *>(item));
    case SourceSymbols::Script:
        return describeScript(static_cast<WdlTokenScript *>(item), &line);
    default:
        return QString();
    }
}
