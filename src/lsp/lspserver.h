#ifndef WDLC_LSPSERVER_H
#define WDLC_LSPSERVER_H

#include "lsp/lspframing.h"
#include "lsp/translationtexts.h"
#include "lsp/wizardindex.h"
#include "reader/sourceoverlay.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>

class WdlWizard;

// A language server for WDL (LSP 3.17): bytes of the base protocol in, framed
// messages out through a sink. It keeps the editor's texts of open files, and
// one index per wizard they belong to, made by opening the wizard with those
// texts in place of the files on disk.
//
// Everything runs on the caller's thread. Diagnostics are published when the
// changes have settled (a timer of diagnosticsDelay ms after the last one);
// any request first brings the indexes up to date with every change received.
class LspServer : public QObject
{
    Q_OBJECT
public:
    using Sink = std::function<void(const QByteArray &framed)>;

    enum ErrorCode {
        ParseError = -32700,
        InvalidRequest = -32600,
        MethodNotFound = -32601,
        InvalidParams = -32602,
        ServerNotInitialized = -32002,
        RequestFailed = -32803
    };

    static constexpr int kDefaultDiagnosticsDelay = 10;

    LspServer(WdlWizard *wizard, Sink sink, QObject *parent = nullptr);

    // Bytes from the client, in pieces of any size.
    void receive(const QByteArray &bytes);
    // The client's input ended: the server is done.
    void endOfInput();
    // One message, already unframed.
    void handleMessage(const QByteArray &body);
    // Analyses what changed and publishes its diagnostics now, without
    // waiting for the timer.
    void flush();

    bool isFinished() const { return m_finished; }
    // 0 after shutdown then exit; 1 when the input ended or exit came first.
    int exitCode() const { return m_shutdown ? 0 : 1; }
    void setDiagnosticsDelay(int ms) { m_timer.setInterval(ms); }
    int diagnosticsDelay() const { return m_timer.interval(); }

    static QString pathOfUri(const QString &uri);
    static QString uriOfPath(const QString &path);

signals:
    // After exit, or at the end of the input.
    void finished();

private:
    struct Document
    {
        QString uri;
        int version = 0;
        QString text;
    };

    void handleRequest(const QJsonValue &id, const QString &method, const QJsonObject &params);
    void handleNotification(const QString &method, const QJsonObject &params);
    QJsonValue answer(const QString &method, const QJsonObject &params, QString *error, int *code);
    void send(const QJsonObject &message);
    void reply(const QJsonValue &id, const QJsonValue &result);
    void replyError(const QJsonValue &id, int code, const QString &message);
    void finish();

    QJsonObject initializeResult(const QJsonObject &params);
    void didOpen(const QJsonObject &params);
    void didChange(const QJsonObject &params);
    void didClose(const QJsonObject &params);
    void documentChanged(const QString &path);

    // The wizards a file belongs to: itself when it is one, else those that
    // include it.
    QStringList wizardsOf(const QString &path);
    QStringList findIncluders(const QString &path) const;
    // Brings the stale indexes up to date; true when it published their
    // diagnostics already.
    bool analyse();
    void publishDiagnostics();
    // The index answering for a file, brought up to date; null for a file
    // of no wizard.
    const WizardIndex *indexFor(const QString &path);
    // The same, with the wizard holding its items, for what only they tell.
    const WizardIndex *loadedIndexFor(const QString &path);
    void releaseItems();
    QByteArray sourceOf(const QString &path) const;

    QJsonValue hover(const QJsonObject &params);
    QJsonValue definition(const QJsonObject &params);
    QJsonValue references(const QJsonObject &params);
    QJsonValue documentSymbols(const QJsonObject &params);
    QJsonValue completion(const QJsonObject &params);
    QJsonValue formatting(const QJsonObject &params);
    QJsonValue prepareRename(const QJsonObject &params, QString *error);
    QJsonValue rename(const QJsonObject &params, QString *error);
    QJsonValue codeActions(const QJsonObject &params);

    WdlWizard *m_wizard;
    Sink m_sink;
    LspFraming m_framing;
    QTimer m_timer;
    // The lint rules whose findings are published: check's default set, or
    // as the client's -W switches leave it; -Werror makes them errors.
    QSet<QString> m_rules;
    bool m_rulesAsErrors = false;
    bool m_initialized = false;
    bool m_shutdown = false;
    bool m_finished = false;

    QHash<QString, Document> m_documents;
    SourceOverlay m_overlay;
    QStringList m_roots;
    // Top-level file to its index; the wizards waiting for a new one.
    QHash<QString, WizardIndex> m_indexes;
    QSet<QString> m_stale;
    QList<WizardIndex> m_retired;
    // Included file to the wizards that include it, found when it was opened.
    QHash<QString, QStringList> m_includers;
    QSet<QString> m_published;
    // The wizard whose items the wizard object holds, or empty.
    QString m_loaded;
    TranslationTexts m_translations;
};

#endif
