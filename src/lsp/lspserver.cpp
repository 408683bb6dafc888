#include "lsp/lspserver.h"

#include "core/inputfile.h"
#include "core/wdlwizard.h"
#include "items/scriptcommandtable.h"
#include "items/wdltokenoverlay.h"
#include "items/wdltokenscript.h"
#include "lsp/lspcompletion.h"
#include "output/wdlsourceformatter.h"
#include "reader/wdlparser.h"
#include "reader/wdlsourcefile.h"
#include "tool/checkcommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

#include <algorithm>

namespace {

using Kind = SourceSymbols::Kind;

// Files looked at when searching the wizards that include a file.
constexpr int kMaxSearchedFiles = 2000;
constexpr qint64 kMaxSearchedSize = 16 * 1024 * 1024;

QJsonObject position(int line, int character)
{
    return QJsonObject{{QStringLiteral("line"), line}, {QStringLiteral("character"), character}};
}

QJsonObject range(int line, int start, int endLine, int end)
{
    return QJsonObject{{QStringLiteral("start"), position(line, start)},
                       {QStringLiteral("end"), position(endLine, end)}};
}

QJsonObject range(const WizardIndex::Location &at)
{
    return range(at.line, at.start, at.line, at.end);
}

QString uriOf(const QJsonObject &params)
{
    return params.value(QStringLiteral("textDocument")).toObject().value(QStringLiteral("uri")).toString();
}

void positionOf(const QJsonObject &params, int *line, int *character)
{
    const QJsonObject p = params.value(QStringLiteral("position")).toObject();
    *line = p.value(QStringLiteral("line")).toInt(-1);
    *character = p.value(QStringLiteral("character")).toInt(-1);
}

// The offset in text of an editor's position: lines end at LF, CR LF or a
// lone CR, as the protocol counts them; a position past a line's end is at
// its end, past the last line at the end of the text.
int offsetOf(const QString &text, int line, int character)
{
    if (line < 0)
        return 0;
    int at = 0;
    for (int l = 0; l < line && at < text.size(); ++l) {
        while (at < text.size() && text.at(at) != QLatin1Char('\n') && text.at(at) != QLatin1Char('\r'))
            ++at;
        if (at == text.size())
            break;
        // CR LF ends one line, as LF and a lone CR do.
        const bool carriageReturn = at < text.size() && text.at(at) == QLatin1Char('\r');
        ++at;
        if (carriageReturn && at < text.size() && text.at(at) == QLatin1Char('\n'))
            ++at;
    }
    int end = at;
    while (end < text.size() && text.at(end) != QLatin1Char('\n') && text.at(end) != QLatin1Char('\r'))
        ++end;
    return qMin(end, at + qMax(0, character));
}

// The lines of a text as the reader splits them: at LF, CR bytes dropped.
QStringList linesOf(const QByteArray &bytes)
{
    QStringList lines;
    for (const QByteArray &line : bytes.split('\n'))
        lines.append(QString::fromUtf8(QByteArray(line).replace('\r', QByteArray())));
    return lines;
}

int symbolKindCode(Kind kind)
{
    // The protocol's SymbolKind values.
    switch (kind) {
    case SourceSymbols::Text:
        return 15; // String
    case SourceSymbols::ChoiceList:
        return 10; // Enum
    case SourceSymbols::Filter:
        return 23; // Struct
    case SourceSymbols::LocalParameter:
        return 13; // Variable
    case SourceSymbols::Parameter:
        return 7; // Property
    case SourceSymbols::Screen:
        return 5; // Class
    case SourceSymbols::Overlay:
        return 11; // Interface
    case SourceSymbols::Script:
        return 12; // Function
    default:
        return 13;
    }
}

int distance(const QString &a, const QString &b)
{
    QVector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a.at(i - 1) == b.at(j - 1) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// An id that a rename may give: one word as the reader splits it in any
// block, that starts no comment, text, brace or setup list.
bool isValidId(const QString &id)
{
    if (id.isEmpty() || id.contains(QLatin1String("//")) || id.endsWith(QLatin1Char('*'))
        || id.startsWith(QLatin1Char('{')) || id.startsWith(QLatin1Char('}')))
        return false;
    for (const QChar c : id) {
        if (c.isSpace() || c == QLatin1Char(':') || c == QLatin1Char('"') || c == QLatin1Char('#')
            || c == QLatin1Char('[') || c == QLatin1Char(']'))
            return false;
    }
    return true;
}

// A problem as the protocol publishes it: a rule's finding is a warning with
// the -W name that check's switches take as its code; what makes wdlc refuse
// the image is an error.
QJsonObject diagnosticJson(const WizardIndex::Diagnostic &d, bool rulesAsErrors)
{
    QJsonObject out{{QStringLiteral("range"), range(d.location)},
                    {QStringLiteral("severity"), d.isError || rulesAsErrors ? 1 : 2},
                    {QStringLiteral("source"), QStringLiteral("wdltool")},
                    {QStringLiteral("message"), d.message}};
    if (!d.rule.isEmpty())
        out.insert(QStringLiteral("code"), QStringLiteral("-W") + d.rule);
    return out;
}

// The id a finding proposes in place of a misspelt one ("... Did you mean
// finish?"); empty when it proposes none.
QString proposedId(const QString &message)
{
    static const QString kAsk = QStringLiteral(" Did you mean ");
    const int at = message.lastIndexOf(kAsk);
    if (at < 0 || !message.endsWith(QLatin1Char('?')))
        return QString();
    const QString id = message.mid(at + kAsk.size(), message.size() - at - kAsk.size() - 1);
    return isValidId(id) ? id : QString();
}

QString markdownQuoted(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    out.replace(QLatin1String("\n"), QLatin1String("  \n> "));
    return QStringLiteral("> ") + out;
}

} // namespace

LspServer::LspServer(WdlWizard *wizard, Sink sink, QObject *parent)
    : QObject(parent), m_wizard(wizard), m_sink(std::move(sink)), m_rules(CheckCommand::defaultRules())
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDefaultDiagnosticsDelay);
    connect(&m_timer, &QTimer::timeout, this, &LspServer::flush);
}

QString LspServer::pathOfUri(const QString &uri)
{
    const QUrl url(uri);
    if (!url.isLocalFile())
        return QString();
    return SourceOverlay::key(url.toLocalFile());
}

QString LspServer::uriOfPath(const QString &path)
{
    return QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
}

void LspServer::receive(const QByteArray &bytes)
{
    m_framing.append(bytes);
    QByteArray body;
    while (!m_finished && m_framing.next(&body))
        handleMessage(body);
}

void LspServer::endOfInput()
{
    finish();
}

void LspServer::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_timer.stop();
    emit finished();
}

void LspServer::send(const QJsonObject &message)
{
    QJsonObject out = message;
    out.insert(QStringLiteral("jsonrpc"), QStringLiteral("2.0"));
    m_sink(LspFraming::frame(QJsonDocument(out).toJson(QJsonDocument::Compact)));
}

void LspServer::reply(const QJsonValue &id, const QJsonValue &result)
{
    send(QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("result"), result}});
}

void LspServer::replyError(const QJsonValue &id, int code, const QString &message)
{
    send(QJsonObject{
        {QStringLiteral("id"), id},
        {QStringLiteral("error"), QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("message"), message}}}});
}

void LspServer::handleMessage(const QByteArray &body)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        replyError(QJsonValue::Null, ParseError, QStringLiteral("The message is no JSON object."));
        return;
    }
    const QJsonObject message = document.object();
    const QJsonValue method = message.value(QStringLiteral("method"));
    if (!method.isString())
        return; // a response to a request of ours; the server sends none
    const QJsonObject params = message.value(QStringLiteral("params")).toObject();
    if (message.contains(QStringLiteral("id")))
        handleRequest(message.value(QStringLiteral("id")), method.toString(), params);
    else
        handleNotification(method.toString(), params);
}

void LspServer::handleRequest(const QJsonValue &id, const QString &method, const QJsonObject &params)
{
    if (method == QLatin1String("initialize")) {
        if (m_initialized) {
            replyError(id, InvalidRequest, QStringLiteral("The server is initialized already."));
            return;
        }
        m_initialized = true;
        reply(id, initializeResult(params));
        return;
    }
    if (!m_initialized) {
        replyError(id, ServerNotInitialized, QStringLiteral("The server is not initialized."));
        return;
    }
    if (m_shutdown) {
        replyError(id, InvalidRequest, QStringLiteral("The server is shutting down."));
        return;
    }
    if (method == QLatin1String("shutdown")) {
        m_shutdown = true;
        m_timer.stop();
        reply(id, QJsonValue::Null);
        return;
    }
    QString error;
    int code = RequestFailed;
    const QJsonValue result = answer(method, params, &error, &code);
    if (!error.isEmpty())
        replyError(id, code, error);
    else
        reply(id, result);
}

QJsonValue LspServer::answer(const QString &method, const QJsonObject &params, QString *error, int *code)
{
    if (method == QLatin1String("textDocument/hover"))
        return hover(params);
    if (method == QLatin1String("textDocument/definition"))
        return definition(params);
    if (method == QLatin1String("textDocument/references"))
        return references(params);
    if (method == QLatin1String("textDocument/documentSymbol"))
        return documentSymbols(params);
    if (method == QLatin1String("textDocument/completion"))
        return completion(params);
    if (method == QLatin1String("textDocument/formatting"))
        return formatting(params);
    if (method == QLatin1String("textDocument/prepareRename"))
        return prepareRename(params, error);
    if (method == QLatin1String("textDocument/rename"))
        return rename(params, error);
    if (method == QLatin1String("textDocument/codeAction"))
        return codeActions(params);
    *code = MethodNotFound;
    *error = QStringLiteral("Unknown method ") + method + QLatin1Char('.');
    return QJsonValue::Null;
}

void LspServer::handleNotification(const QString &method, const QJsonObject &params)
{
    if (method == QLatin1String("exit")) {
        finish();
        return;
    }
    if (!m_initialized || m_shutdown)
        return;
    if (method == QLatin1String("textDocument/didOpen"))
        didOpen(params);
    else if (method == QLatin1String("textDocument/didChange"))
        didChange(params);
    else if (method == QLatin1String("textDocument/didClose"))
        didClose(params);
}

QJsonObject LspServer::initializeResult(const QJsonObject &params)
{
    const QJsonObject options = params.value(QStringLiteral("initializationOptions")).toObject();
    const QJsonValue delay = options.value(QStringLiteral("diagnosticsDelay"));
    if (delay.isDouble() && delay.toInt(-1) >= 0)
        setDiagnosticsDelay(delay.toInt());
    // check's -W switches, left to right; one it does not know is said and skipped.
    CheckCommand::Warnings warnings{m_rules, m_rulesAsErrors};
    QStringList unknown;
    for (const QJsonValue &option : options.value(QStringLiteral("warnings")).toArray()) {
        const QString name = option.toString();
        if (!name.startsWith(QLatin1String("-W")) || !CheckCommand::applySwitch(name.mid(2), &warnings))
            unknown.append(name);
    }
    m_rules = warnings.enabled;
    m_rulesAsErrors = warnings.asErrors;
    if (!unknown.isEmpty())
        send(QJsonObject{{QStringLiteral("method"), QStringLiteral("window/showMessage")},
                         {QStringLiteral("params"),
                          QJsonObject{{QStringLiteral("type"), 2},
                                      {QStringLiteral("message"), QStringLiteral("wdltool lsp: unknown warning switch ")
                                                                      + unknown.join(QStringLiteral(", "))
                                                                      + QStringLiteral(", left out.")}}}});
    for (const QJsonValue &folder : params.value(QStringLiteral("workspaceFolders")).toArray()) {
        const QString path = pathOfUri(folder.toObject().value(QStringLiteral("uri")).toString());
        if (!path.isEmpty())
            m_roots.append(path);
    }
    if (m_roots.isEmpty()) {
        const QString root = pathOfUri(params.value(QStringLiteral("rootUri")).toString());
        if (!root.isEmpty())
            m_roots.append(root);
    }

    const QJsonObject capabilities{
        {QStringLiteral("positionEncoding"), QStringLiteral("utf-16")},
        {QStringLiteral("textDocumentSync"),
         QJsonObject{{QStringLiteral("openClose"), true}, {QStringLiteral("change"), 2}}},
        {QStringLiteral("hoverProvider"), true},
        {QStringLiteral("definitionProvider"), true},
        {QStringLiteral("referencesProvider"), true},
        {QStringLiteral("documentSymbolProvider"), true},
        {QStringLiteral("documentFormattingProvider"), true},
        {QStringLiteral("renameProvider"), QJsonObject{{QStringLiteral("prepareProvider"), true}}},
        {QStringLiteral("codeActionProvider"),
         QJsonObject{{QStringLiteral("codeActionKinds"), QJsonArray{QStringLiteral("quickfix")}}}},
        {QStringLiteral("completionProvider"),
         QJsonObject{{QStringLiteral("triggerCharacters"), QJsonArray{QStringLiteral(":"), QStringLiteral(" ")}}}},
    };
    return QJsonObject{
        {QStringLiteral("capabilities"), capabilities},
        {QStringLiteral("serverInfo"), QJsonObject{{QStringLiteral("name"), QStringLiteral("wdltool")},
                                                   {QStringLiteral("version"), QStringLiteral(WDLC_VERSION)}}}};
}

void LspServer::didOpen(const QJsonObject &params)
{
    const QJsonObject item = params.value(QStringLiteral("textDocument")).toObject();
    const QString uri = item.value(QStringLiteral("uri")).toString();
    const QString path = pathOfUri(uri);
    if (path.isEmpty())
        return;
    Document &document = m_documents[path];
    document.uri = uri;
    document.version = item.value(QStringLiteral("version")).toInt();
    document.text = item.value(QStringLiteral("text")).toString();
    // Who includes it is looked for again: the files may have changed while it was closed.
    m_includers.remove(path);
    documentChanged(path);
}

void LspServer::didChange(const QJsonObject &params)
{
    const QJsonObject item = params.value(QStringLiteral("textDocument")).toObject();
    const QString path = pathOfUri(item.value(QStringLiteral("uri")).toString());
    const auto it = m_documents.find(path);
    if (it == m_documents.end())
        return;
    Document &document = it.value();
    document.version = item.value(QStringLiteral("version")).toInt(document.version + 1);
    for (const QJsonValue &value : params.value(QStringLiteral("contentChanges")).toArray()) {
        const QJsonObject change = value.toObject();
        const QString text = change.value(QStringLiteral("text")).toString();
        if (!change.contains(QStringLiteral("range"))) {
            document.text = text;
            continue;
        }
        const QJsonObject r = change.value(QStringLiteral("range")).toObject();
        const QJsonObject start = r.value(QStringLiteral("start")).toObject();
        const QJsonObject end = r.value(QStringLiteral("end")).toObject();
        const int from = offsetOf(document.text, start.value(QStringLiteral("line")).toInt(),
                                  start.value(QStringLiteral("character")).toInt());
        const int to = offsetOf(document.text, end.value(QStringLiteral("line")).toInt(),
                                end.value(QStringLiteral("character")).toInt());
        document.text.replace(from, qMax(0, to - from), text);
    }
    documentChanged(path);
}

void LspServer::didClose(const QJsonObject &params)
{
    const QString path = pathOfUri(uriOf(params));
    if (!m_documents.remove(path))
        return;
    m_overlay.remove(path);
    m_includers.remove(path);
    // The wizards that no open file needs any more are forgotten; those that
    // remain read the closed file from disk again.
    QSet<QString> needed;
    for (auto it = m_documents.cbegin(); it != m_documents.cend(); ++it) {
        for (const QString &wizard : wizardsOf(it.key()))
            needed.insert(wizard);
    }
    const QStringList known = m_indexes.keys();
    for (const QString &wizard : known) {
        if (!needed.contains(wizard)) {
            m_indexes.remove(wizard);
            m_stale.remove(wizard);
        } else if (m_indexes.value(wizard).paths().contains(path)) {
            m_stale.insert(wizard);
        }
    }
    m_timer.start();
}

void LspServer::documentChanged(const QString &path)
{
    m_overlay.set(path, m_documents.value(path).text.toUtf8());
    for (const QString &wizard : wizardsOf(path))
        m_stale.insert(wizard);
    m_timer.start();
}

QStringList LspServer::wizardsOf(const QString &path)
{
    if (m_indexes.contains(path))
        return {path};
    QStringList owners;
    for (auto it = m_indexes.cbegin(); it != m_indexes.cend(); ++it) {
        if (it.value().paths().contains(path))
            owners.append(it.key());
    }
    if (owners.isEmpty()) {
        const auto found = m_includers.constFind(path);
        owners = found != m_includers.cend() ? found.value() : findIncluders(path);
        m_includers.insert(path, owners);
    }
    if (owners.isEmpty())
        owners.append(path);
    std::sort(owners.begin(), owners.end());
    return owners;
}

// Wizards that include path: the .wdl files beside it, in the folder above
// and that folder's subfolders (where examples/common is included from
// examples/pump), and in the workspace's folders.
QStringList LspServer::findIncluders(const QString &path) const
{
    const QFileInfo info(path);
    const QDir directory = info.absoluteDir();
    QStringList candidates;
    const auto addFrom = [&candidates](const QString &folder, QDirIterator::IteratorFlags flags) {
        QDirIterator it(folder, {QStringLiteral("*.wdl")}, QDir::Files, flags);
        while (it.hasNext() && candidates.size() < kMaxSearchedFiles)
            candidates.append(SourceOverlay::key(it.next()));
    };
    addFrom(directory.path(), QDirIterator::NoIteratorFlags);
    QDir parent = directory;
    if (parent.cdUp()) {
        addFrom(parent.path(), QDirIterator::NoIteratorFlags);
        for (const QString &sub : parent.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            addFrom(parent.filePath(sub), QDirIterator::NoIteratorFlags);
    }
    for (const QString &root : m_roots)
        addFrom(root, QDirIterator::Subdirectories);
    candidates.removeDuplicates();

    QStringList includers;
    for (const QString &candidate : qAsConst(candidates)) {
        if (candidate == path || QFileInfo(candidate).size() > kMaxSearchedSize)
            continue;
        const QByteArray bytes = sourceOf(candidate);
        if (!bytes.contains("INCLUDE") || !bytes.contains(info.fileName().toUtf8()))
            continue;
        const SourceSymbols symbols = SourceSymbols::scan(WdlSourceFile::fromBytes(bytes));
        for (const SourceSymbols::Include &include : symbols.includes()) {
            if (QDir::cleanPath(QFileInfo(candidate).absoluteDir().absoluteFilePath(include.name)) == path) {
                includers.append(candidate);
                break;
            }
        }
    }
    return includers;
}

QByteArray LspServer::sourceOf(const QString &path) const
{
    QByteArray bytes;
    if (m_overlay.find(path, &bytes))
        return bytes;
    QFile file(path);
    if (InputFile::open(file))
        bytes = file.readAll();
    return bytes;
}

void LspServer::flush()
{
    m_timer.stop();
    if (m_stale.isEmpty())
        return;
    if (!analyse())
        publishDiagnostics();
    releaseItems();
}

// The items go once the diagnostics are out, not before: their release takes
// about as long as an open. A hover or a completion opens the wizard again.
// The second call lets Qt compact its list of posted events, which the first
// leaves one slot longer per item.
void LspServer::releaseItems()
{
    m_wizard->clearAllModels();
    m_loaded.clear();
    m_retired.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents();
}

bool LspServer::analyse()
{
    QStringList stale = m_stale.values();
    std::sort(stale.begin(), stale.end());
    m_stale.clear();
    bool published = false;
    for (const QString &wizard : qAsConst(stale)) {
        // The index it replaces goes with the items, after the diagnostics.
        m_retired.append(m_indexes.take(wizard));
        const WizardIndex *earlier = &m_retired.constLast();
        const QList<::Diagnostic> found = WizardIndex::check(wizard, &m_overlay, m_rules);
        // The one wizard an edit changed has its problems out before its
        // index is made, when they can be placed without it: the index takes
        // a third of the time, and only the questions after need it.
        QVector<WizardIndex::Diagnostic> placed;
        published = stale.size() == 1 && WizardIndex::placeAlone(found, &m_overlay, earlier->paths(), &placed);
        if (published) {
            m_indexes.insert(wizard, WizardIndex::provisional(wizard, earlier->paths(), placed));
            publishDiagnostics();
        }
        m_indexes.insert(wizard, WizardIndex::build(m_wizard, wizard, &m_overlay, found, earlier));
        // A new INCLUDE line changes the files, and where their problems go.
        const WizardIndex &index = m_indexes[wizard];
        if (published && (index.paths() != earlier->paths() || index.diagnostics() != placed))
            publishDiagnostics();
    }
    m_loaded = stale.isEmpty() ? m_loaded : stale.constLast();
    return published;
}

void LspServer::publishDiagnostics()
{
    QHash<QString, QJsonArray> byPath;
    QHash<QString, QSet<QString>> seen;
    QStringList wizards = m_indexes.keys();
    std::sort(wizards.begin(), wizards.end());
    for (const QString &wizard : qAsConst(wizards)) {
        const WizardIndex &index = m_indexes[wizard];
        for (const QString &path : index.paths())
            byPath[path];
        for (const WizardIndex::Diagnostic &d : index.diagnostics()) {
            // A file that two wizards include is told a problem once.
            const QString key = QString::number(d.location.line) + QLatin1Char(':') + QString::number(d.location.start)
                                + QLatin1Char(':') + d.message;
            if (seen[d.location.path].contains(key))
                continue;
            seen[d.location.path].insert(key);
            byPath[d.location.path].append(diagnosticJson(d, m_rulesAsErrors));
        }
    }
    // Files that had problems and belong to no wizard now are cleared.
    for (const QString &path : qAsConst(m_published)) {
        if (!byPath.contains(path))
            byPath.insert(path, QJsonArray());
    }
    QStringList paths = byPath.keys();
    std::sort(paths.begin(), paths.end());
    m_published.clear();
    for (const QString &path : qAsConst(paths)) {
        const QJsonArray &diagnostics = byPath[path];
        QJsonObject params{
            {QStringLiteral("uri"), m_documents.contains(path) ? m_documents.value(path).uri : uriOfPath(path)},
            {QStringLiteral("diagnostics"), diagnostics}};
        if (m_documents.contains(path))
            params.insert(QStringLiteral("version"), m_documents.value(path).version);
        send(QJsonObject{{QStringLiteral("method"), QStringLiteral("textDocument/publishDiagnostics")},
                         {QStringLiteral("params"), params}});
        if (!diagnostics.isEmpty() || m_documents.contains(path))
            m_published.insert(path);
    }
}

const WizardIndex *LspServer::indexFor(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    // Only what the editor has open, or a wizard reads, is looked into.
    bool known = m_documents.contains(path);
    for (auto it = m_indexes.cbegin(); !known && it != m_indexes.cend(); ++it)
        known = it.value().paths().contains(path);
    if (!known)
        return nullptr;
    const QStringList wizards = wizardsOf(path);
    if (!m_indexes.contains(wizards.first()))
        m_stale.insert(wizards.first());
    if (!m_stale.isEmpty())
        flush();
    const auto it = m_indexes.constFind(wizards.first());
    return it == m_indexes.cend() ? nullptr : &it.value();
}

const WizardIndex *LspServer::loadedIndexFor(const QString &path)
{
    const WizardIndex *index = indexFor(path);
    if (!index || index->topLevel() == m_loaded)
        return index;
    // The items are gone, or another wizard's: this one is opened again, and
    // its items stay for the questions that follow.
    const QString wizard = index->topLevel();
    m_indexes.insert(wizard, WizardIndex::build(m_wizard, wizard, &m_overlay, m_rules, index));
    m_loaded = wizard;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents();
    return &m_indexes[wizard];
}

QJsonValue LspServer::hover(const QJsonObject &params)
{
    const QString path = pathOfUri(uriOf(params));
    const WizardIndex *index = loadedIndexFor(path);
    int line = 0;
    int character = 0;
    positionOf(params, &line, &character);
    WizardIndex::Location word;
    const WizardIndex::Symbol *symbol = index ? index->symbolAt(path, line, character, &word) : nullptr;
    if (!symbol)
        return QJsonValue::Null;
    QString text;
    if (!symbol->defined) {
        text = QStringLiteral("**") + WizardIndex::kindName(symbol->kind) + QStringLiteral("** `") + symbol->id
               + QStringLiteral("` is not defined.");
    } else {
        text = index->description(*symbol, m_wizard);
    }
    if (symbol->defined && symbol->kind == SourceSymbols::Text) {
        QString help;
        text += QStringLiteral("\n\nEnglish:\n\n") + markdownQuoted(index->text(*symbol, m_wizard, &help));
        if (!help.isEmpty())
            text += QStringLiteral("\n\nhelp:\n\n") + markdownQuoted(help);
        QStringList ids;
        for (const WizardIndex::Symbol &s : index->symbols()) {
            if (s.kind == SourceSymbols::Text && s.defined)
                ids.append(s.id);
        }
        m_translations.update(QFileInfo(index->topLevel()).absolutePath(), ids);
        for (const TranslationTexts::Entry &entry : m_translations.of(symbol->id)) {
            text += QStringLiteral("\n\n") + entry.language + QStringLiteral(":\n\n") + markdownQuoted(entry.text);
            if (!entry.help.isEmpty())
                text += QStringLiteral("\n\n") + entry.language + QStringLiteral(" help:\n\n")
                        + markdownQuoted(entry.help);
        }
    }
    return QJsonObject{{QStringLiteral("contents"), QJsonObject{{QStringLiteral("kind"), QStringLiteral("markdown")},
                                                                {QStringLiteral("value"), text}}},
                       {QStringLiteral("range"), range(word)}};
}

QJsonValue LspServer::definition(const QJsonObject &params)
{
    const QString path = pathOfUri(uriOf(params));
    const WizardIndex *index = indexFor(path);
    if (!index)
        return QJsonValue::Null;
    int line = 0;
    int character = 0;
    positionOf(params, &line, &character);
    // An INCLUDE line's file name leads to the file.
    if (const WizardIndex::File *file = index->file(path)) {
        for (const SourceSymbols::Include &include : file->symbols.includes()) {
            if (include.line == line && character >= include.start && character <= include.end) {
                const QString target = QDir::cleanPath(
                    QFileInfo(index->topLevel()).absoluteDir().absoluteFilePath(include.name));
                return QJsonObject{{QStringLiteral("uri"), uriOfPath(target)},
                                   {QStringLiteral("range"), range(0, 0, 0, 0)}};
            }
        }
    }
    const WizardIndex::Symbol *symbol = index->symbolAt(path, line, character);
    if (!symbol || symbol->definition.path.isEmpty())
        return QJsonValue::Null;
    const QString uri = m_documents.contains(symbol->definition.path) ? m_documents.value(symbol->definition.path).uri
                                                                      : uriOfPath(symbol->definition.path);
    return QJsonObject{{QStringLiteral("uri"), uri}, {QStringLiteral("range"), range(symbol->definition)}};
}

QJsonValue LspServer::references(const QJsonObject &params)
{
    const QString path = pathOfUri(uriOf(params));
    const WizardIndex *index = indexFor(path);
    int line = 0;
    int character = 0;
    positionOf(params, &line, &character);
    const WizardIndex::Symbol *symbol = index ? index->symbolAt(path, line, character) : nullptr;
    if (!symbol)
        return QJsonValue::Null;
    const bool withDefinition =
        params.value(QStringLiteral("context")).toObject().value(QStringLiteral("includeDeclaration")).toBool(true);
    QJsonArray out;
    for (const WizardIndex::Location &use : symbol->uses) {
        if (!withDefinition && use.path == symbol->definition.path && use.line == symbol->definition.line
            && use.start == symbol->definition.start)
            continue;
        out.append(QJsonObject{{QStringLiteral("uri"),
                                m_documents.contains(use.path) ? m_documents.value(use.path).uri : uriOfPath(use.path)},
                               {QStringLiteral("range"), range(use)}});
    }
    return out;
}

QJsonValue LspServer::documentSymbols(const QJsonObject &params)
{
    const QString path = pathOfUri(uriOf(params));
    const WizardIndex *index = loadedIndexFor(path);
    const WizardIndex::File *file = index ? index->file(path) : nullptr;
    if (!file)
        return QJsonArray();
    const QStringList lines = linesOf(sourceOf(path));
    const QVector<SourceSymbols::Occurrence> &occurrences = file->symbols.occurrences();

    // The outline holds the definitions; each under the nearest definition
    // whose block it stands in.
    struct Node
    {
        QJsonObject symbol;
        QVector<int> children;
    };
    QVector<Node> nodes;
    QVector<int> nodeOfOccurrence(occurrences.size(), -1);
    QVector<int> roots;
    for (int i = 0; i < occurrences.size(); ++i) {
        const int s = file->symbolOfOccurrence.at(i);
        if (s < 0)
            continue;
        const SourceSymbols::Occurrence &o = occurrences.at(i);
        const WizardIndex::Symbol &symbol = index->symbols().at(s);
        if (symbol.definition.path != path || symbol.definition.line != o.line || symbol.definition.start != o.start)
            continue;
        const int lastLine = qMax(o.line, o.lastLine);
        const QString detail = index->detail(symbol, m_wizard);
        Node node;
        node.symbol = QJsonObject{
            {QStringLiteral("name"), symbol.id},
            {QStringLiteral("detail"), detail.isEmpty() ? WizardIndex::kindName(symbol.kind) : detail},
            {QStringLiteral("kind"), symbolKindCode(symbol.kind)},
            {QStringLiteral("range"), range(o.line, 0, lastLine, lines.value(lastLine).size())},
            {QStringLiteral("selectionRange"), range(o.line, o.start, o.line, o.end)}};
        nodes.append(node);
        nodeOfOccurrence[i] = nodes.size() - 1;
        int parent = o.parent;
        while (parent >= 0 && nodeOfOccurrence.at(parent) < 0)
            parent = occurrences.at(parent).parent;
        if (parent >= 0)
            nodes[nodeOfOccurrence.at(parent)].children.append(nodes.size() - 1);
        else
            roots.append(nodes.size() - 1);
    }
    // Children come after their parents: built from the last node back.
    QVector<QJsonObject> built(nodes.size());
    for (int n = nodes.size() - 1; n >= 0; --n) {
        QJsonObject symbol = nodes.at(n).symbol;
        if (!nodes.at(n).children.isEmpty()) {
            QJsonArray children;
            for (int child : nodes.at(n).children)
                children.append(built.at(child));
            symbol.insert(QStringLiteral("children"), children);
        }
        built[n] = symbol;
    }
    QJsonArray out;
    for (int root : qAsConst(roots))
        out.append(built.at(root));
    return out;
}

QJsonValue LspServer::completion(const QJsonObject &params)
{
    const QString path = pathOfUri(uriOf(params));
    const WizardIndex *index = loadedIndexFor(path);
    const WizardIndex::File *file = index ? index->file(path) : nullptr;
    if (!file)
        return QJsonArray();
    int line = 0;
    int character = 0;
    positionOf(params, &line, &character);
    const QStringList lines = linesOf(sourceOf(path));
    if (line < 0 || line >= lines.size())
        return QJsonArray();
    const SourceSymbols::LineInfo info = file->symbols.lines().value(line);
    return LspCompletion::items(*index, m_wizard, info, lines.at(line), line, character);
}

QJsonValue LspServer::formatting(const QJsonObject &params)
{
    const QString path = pathOfUri(uriOf(params));
    if (!m_documents.contains(path))
        return QJsonArray();
    const WizardIndex *index = indexFor(path);
    const QString before = m_documents.value(path).text;
    // A wizard with problems keeps every line where it is, so that the
    // problems stay on their lines.
    const bool keepLines = index && !index->diagnostics().isEmpty();
    const QString after = QString::fromUtf8(WdlSourceFormatter::format(
        WdlSourceFile::fromBytes(before.toUtf8()),
        keepLines ? WdlSourceFormatter::KeepLineNumbers : WdlSourceFormatter::CollapseBlankLines));
    if (after == before)
        return QJsonArray();
    // One edit over the lines that differ, so that the editor keeps its place.
    const QStringList a = before.split(QLatin1Char('\n'));
    const QStringList b = after.split(QLatin1Char('\n'));
    int head = 0;
    while (head < a.size() - 1 && head < b.size() - 1 && a.at(head) == b.at(head))
        ++head;
    int tail = 0;
    while (tail < a.size() - 1 - head && tail < b.size() - 1 - head
           && a.at(a.size() - 1 - tail) == b.at(b.size() - 1 - tail))
        ++tail;
    QStringList replacement = b.mid(head, b.size() - head - tail);
    const int lastLine = a.size() - 1 - tail;
    QString newText = replacement.join(QLatin1Char('\n'));
    return QJsonArray{QJsonObject{{QStringLiteral("range"), range(head, 0, lastLine, a.at(lastLine).size())},
                                  {QStringLiteral("newText"), newText}}};
}

QJsonValue LspServer::prepareRename(const QJsonObject &params, QString *error)
{
    const QString path = pathOfUri(uriOf(params));
    const WizardIndex *index = indexFor(path);
    int line = 0;
    int character = 0;
    positionOf(params, &line, &character);
    WizardIndex::Location word;
    const WizardIndex::Symbol *symbol = index ? index->symbolAt(path, line, character, &word) : nullptr;
    if (!symbol) {
        *error = QStringLiteral("There is no id here to rename.");
        return QJsonValue::Null;
    }
    return QJsonObject{{QStringLiteral("range"), range(word)}, {QStringLiteral("placeholder"), symbol->id}};
}

QJsonValue LspServer::rename(const QJsonObject &params, QString *error)
{
    const QString path = pathOfUri(uriOf(params));
    const WizardIndex *index = indexFor(path);
    int line = 0;
    int character = 0;
    positionOf(params, &line, &character);
    const WizardIndex::Symbol *symbol = index ? index->symbolAt(path, line, character) : nullptr;
    if (!symbol) {
        *error = QStringLiteral("There is no id here to rename.");
        return QJsonValue::Null;
    }
    const QString newName = params.value(QStringLiteral("newName")).toString();
    if (!isValidId(newName)) {
        *error = QStringLiteral("\"") + newName
                 + QStringLiteral("\" cannot be an id: it must be one word without colons, quotes, brackets, "
                                  "comment signs or a final star.");
        return QJsonValue::Null;
    }
    if (newName == symbol->id)
        return QJsonObject{{QStringLiteral("changes"), QJsonObject()}};
    // Every wizard that reads the file with the definition uses the id: all
    // their files change together.
    QStringList wizards{index->topLevel()};
    if (symbol->defined) {
        for (auto it = m_indexes.cbegin(); it != m_indexes.cend(); ++it) {
            if (it.key() != index->topLevel() && it.value().paths().contains(symbol->definition.path))
                wizards.append(it.key());
        }
    }
    QHash<QString, QSet<QString>> done;
    QHash<QString, QJsonArray> edits;
    for (const QString &wizard : qAsConst(wizards)) {
        const WizardIndex &other = wizard == index->topLevel() ? *index : m_indexes[wizard];
        const WizardIndex::Symbol *same = other.symbol(symbol->kind, symbol->id);
        if (!same)
            continue;
        if (const WizardIndex::Symbol *taken = other.symbol(symbol->kind, newName)) {
            if (taken->defined) {
                *error = QStringLiteral("The ") + WizardIndex::kindName(symbol->kind) + QStringLiteral(" ") + newName
                         + QStringLiteral(" exists already.");
                return QJsonValue::Null;
            }
        }
        for (const WizardIndex::Location &use : same->uses) {
            const QString key = QString::number(use.line) + QLatin1Char(':') + QString::number(use.start);
            if (done[use.path].contains(key))
                continue;
            done[use.path].insert(key);
            edits[use.path].append(
                QJsonObject{{QStringLiteral("range"), range(use)}, {QStringLiteral("newText"), newName}});
        }
    }
    QJsonObject changes;
    for (auto it = edits.cbegin(); it != edits.cend(); ++it)
        changes.insert(m_documents.contains(it.key()) ? m_documents.value(it.key()).uri : uriOfPath(it.key()),
                       it.value());
    return QJsonObject{{QStringLiteral("changes"), changes}};
}

QJsonValue LspServer::codeActions(const QJsonObject &params)
{
    const QString uri = uriOf(params);
    const QString path = pathOfUri(uri);
    const WizardIndex *index = indexFor(path);
    const WizardIndex::File *file = index ? index->file(path) : nullptr;
    if (!file)
        return QJsonArray();
    const QJsonObject r = params.value(QStringLiteral("range")).toObject();
    const int first = r.value(QStringLiteral("start")).toObject().value(QStringLiteral("line")).toInt();
    const int last = r.value(QStringLiteral("end")).toObject().value(QStringLiteral("line")).toInt();
    const QVector<SourceSymbols::Occurrence> &occurrences = file->symbols.occurrences();

    QVector<const WizardIndex::Diagnostic *> here;
    for (const WizardIndex::Diagnostic &d : index->diagnostics()) {
        if (d.location.path == path && d.location.line >= first && d.location.line <= last)
            here.append(&d);
    }

    QJsonArray actions;
    // An edit offered once, however many problems ask for it.
    QSet<QString> offered;
    const auto action = [&](const QString &title, int line, int start, int end, const QString &newText,
                            const QJsonArray &fixes, bool preferred) {
        const QString key = QString::number(line) + QLatin1Char(':') + QString::number(start) + QLatin1Char(':')
                            + QString::number(end) + QLatin1Char(':') + newText;
        if (offered.contains(key))
            return;
        offered.insert(key);
        QJsonObject a{
            {QStringLiteral("title"), title},
            {QStringLiteral("kind"), QStringLiteral("quickfix")},
            {QStringLiteral("edit"),
             QJsonObject{
                 {QStringLiteral("changes"),
                  QJsonObject{{uri, QJsonArray{QJsonObject{{QStringLiteral("range"), range(line, start, line, end)},
                                                           {QStringLiteral("newText"), newText}}}}}}}}};
        if (!fixes.isEmpty())
            a.insert(QStringLiteral("diagnostics"), fixes);
        if (preferred)
            a.insert(QStringLiteral("isPreferred"), true);
        actions.append(a);
    };

    // A finding that names the id it meant (a next screen, an overlay's
    // action) is fixed by that id, on the word it lies on.
    for (const WizardIndex::Diagnostic *d : qAsConst(here)) {
        const QString id = proposedId(d->message);
        if (!id.isEmpty())
            action(QStringLiteral("Change to ") + id, d->location.line, d->location.start, d->location.end, id,
                   QJsonArray{diagnosticJson(*d, m_rulesAsErrors)}, true);
    }

    // An id no block defines: the defined one of its kind nearest in spelling,
    // and for a text, its definition.
    for (int line = qMax(0, first); line <= last && line < file->symbols.lines().size(); ++line) {
        for (int i : file->symbols.occurrencesOn(line)) {
            const int s = file->symbolOfOccurrence.at(i);
            if (s < 0 || index->symbols().at(s).defined)
                continue;
            const WizardIndex::Symbol &symbol = index->symbols().at(s);
            const SourceSymbols::Occurrence &o = occurrences.at(i);
            // The problems on the word.
            QJsonArray fixes;
            for (const WizardIndex::Diagnostic *d : qAsConst(here)) {
                if (d->location.line == o.line && d->location.start < o.end && o.start < d->location.end)
                    fixes.append(diagnosticJson(*d, m_rulesAsErrors));
            }
            QString nearest;
            int best = qMax(2, symbol.id.size() / 3) + 1;
            for (const WizardIndex::Symbol &other : index->symbols()) {
                if (other.kind != symbol.kind || !other.defined)
                    continue;
                const int d = distance(symbol.id, other.id);
                if (d < best || (d == best && !nearest.isEmpty() && other.id < nearest)) {
                    best = d;
                    nearest = other.id;
                }
            }
            if (!nearest.isEmpty())
                action(QStringLiteral("Change to ") + nearest, o.line, o.start, o.end, nearest, fixes, true);
            if (symbol.kind == SourceSymbols::Text) {
                // Before the top-level item that uses it: texts are read before use.
                int top = i;
                while (occurrences.at(top).parent >= 0)
                    top = occurrences.at(top).parent;
                QString english = symbol.id;
                english.replace(QLatin1Char('_'), QLatin1Char(' '));
                const int at = occurrences.at(top).line;
                action(QStringLiteral("Define text ") + symbol.id, at, 0, 0,
                       QStringLiteral("T: ") + symbol.id + QStringLiteral(" \"") + english + QStringLiteral("\"\n"),
                       fixes, nearest.isEmpty());
            }
        }
    }
    return actions;
}
