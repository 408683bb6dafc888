#ifndef WDLC_TESTS_LSPSESSION_H
#define WDLC_TESTS_LSPSESSION_H

#include "core/wdlwizard.h"
#include "lsp/lspframing.h"
#include "lsp/lspserver.h"
#include "support/wizardfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// A language server in the test's own thread, driven as a client would:
// every message it sends is kept, requests return their answers at once
// (the server brings its indexes up to date before it answers).
class LspSession
{
public:
    LspSession()
        : m_server(WdlWizard::instance(), [this](const QByteArray &framed) {
              m_framing.append(framed);
              QByteArray body;
              while (m_framing.next(&body))
                  m_received.append(QJsonDocument::fromJson(body).object());
          })
    {
    }

    LspServer &server() { return m_server; }
    QList<QJsonObject> &received() { return m_received; }

    void send(const QJsonObject &message)
    {
        QJsonObject out = message;
        out.insert(QStringLiteral("jsonrpc"), QStringLiteral("2.0"));
        m_server.receive(LspFraming::frame(QJsonDocument(out).toJson(QJsonDocument::Compact)));
    }
    void notify(const QString &method, const QJsonObject &params)
    {
        send(QJsonObject{{QStringLiteral("method"), method}, {QStringLiteral("params"), params}});
    }
    // The whole response to a request: its result or its error.
    QJsonObject call(const QString &method, const QJsonObject &params = QJsonObject())
    {
        const int id = ++m_lastId;
        send(QJsonObject{
            {QStringLiteral("id"), id}, {QStringLiteral("method"), method}, {QStringLiteral("params"), params}});
        for (const QJsonObject &message : qAsConst(m_received)) {
            if (message.value(QStringLiteral("id")).toInt() == id && !message.contains(QStringLiteral("method")))
                return message;
        }
        return QJsonObject();
    }
    QJsonValue result(const QString &method, const QJsonObject &params)
    {
        return call(method, params).value(QStringLiteral("result"));
    }

    void initialize(const QString &root = QString())
    {
        QJsonObject params{{QStringLiteral("capabilities"), QJsonObject()}};
        if (!root.isEmpty())
            params.insert(QStringLiteral("rootUri"), LspServer::uriOfPath(root));
        call(QStringLiteral("initialize"), params);
        notify(QStringLiteral("initialized"), QJsonObject());
    }
    void open(const QString &path, const QString &text)
    {
        notify(QStringLiteral("textDocument/didOpen"),
               QJsonObject{
                   {QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), LspServer::uriOfPath(path)},
                                                                {QStringLiteral("languageId"), QStringLiteral("wdl")},
                                                                {QStringLiteral("version"), 1},
                                                                {QStringLiteral("text"), text}}}});
    }
    void open(const QString &path) { open(path, QString::fromUtf8(readFile(path))); }
    // Replaces the whole text of an open document.
    void change(const QString &path, const QString &text, int version = 2)
    {
        notify(QStringLiteral("textDocument/didChange"),
               QJsonObject{
                   {QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), LspServer::uriOfPath(path)},
                                                                {QStringLiteral("version"), version}}},
                   {QStringLiteral("contentChanges"), QJsonArray{QJsonObject{{QStringLiteral("text"), text}}}}});
    }

    // The last diagnostics published for path, as "line:start-end message"
    // with lines counted from 1; empty when none were published.
    QStringList diagnostics(const QString &path)
    {
        m_server.flush();
        QStringList out;
        for (const QJsonObject &message : qAsConst(m_received)) {
            const QJsonObject params = message.value(QStringLiteral("params")).toObject();
            if (message.value(QStringLiteral("method")).toString() != QLatin1String("textDocument/publishDiagnostics")
                || params.value(QStringLiteral("uri")).toString() != LspServer::uriOfPath(path))
                continue;
            out.clear();
            for (const QJsonValue &d : params.value(QStringLiteral("diagnostics")).toArray()) {
                const QJsonObject start = d[QStringLiteral("range")][QStringLiteral("start")].toObject();
                const QJsonObject end = d[QStringLiteral("range")][QStringLiteral("end")].toObject();
                out.append(QString::number(start[QStringLiteral("line")].toInt() + 1) + QLatin1Char(':')
                           + QString::number(start[QStringLiteral("character")].toInt()) + QLatin1Char('-')
                           + QString::number(end[QStringLiteral("character")].toInt()) + QLatin1Char(' ')
                           + d[QStringLiteral("message")].toString());
            }
        }
        return out;
    }

    static QJsonObject at(const QString &path, int line, int character)
    {
        return QJsonObject{
            {QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), LspServer::uriOfPath(path)}}},
            {QStringLiteral("position"),
             QJsonObject{{QStringLiteral("line"), line}, {QStringLiteral("character"), character}}}};
    }

private:
    LspFraming m_framing;
    QList<QJsonObject> m_received;
    LspServer m_server;
    int m_lastId = 0;
};

// Where a word stands in a file: the line (from 0) that holds snippet and the
// column of word within it, so that tables name places by their text.
inline QJsonObject placeOf(const QString &path, const QString &snippet, const QString &word)
{
    const QStringList lines = QString::fromUtf8(readFile(path)).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int at = lines.at(i).indexOf(snippet);
        if (at >= 0)
            return LspSession::at(path, i, at + snippet.indexOf(word) + 1);
    }
    return LspSession::at(path, -1, -1);
}

// A location of the protocol as "file:line:start-end", the file relative to
// dir and the line counted from 1.
inline QString locationText(const QJsonValue &location, const QString &dir)
{
    const QJsonObject o = location.toObject();
    const QJsonObject start = o[QStringLiteral("range")][QStringLiteral("start")].toObject();
    const QJsonObject end = o[QStringLiteral("range")][QStringLiteral("end")].toObject();
    return QDir(dir).relativeFilePath(LspServer::pathOfUri(o[QStringLiteral("uri")].toString())) + QLatin1Char(':')
           + QString::number(start[QStringLiteral("line")].toInt() + 1) + QLatin1Char(':')
           + QString::number(start[QStringLiteral("character")].toInt()) + QLatin1Char('-')
           + QString::number(end[QStringLiteral("character")].toInt());
}

#endif
