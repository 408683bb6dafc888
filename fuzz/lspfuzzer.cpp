// The language server under a stream of edits and requests: the input is a
// list of operations, each a byte that picks it and its bytes. Texts replace
// a wizard or its included file whole or in part, requests of every kind ask
// at positions taken from the input, and raw bytes go through the framing.
// Whatever comes, the server answers every request and never crashes.
#include "fuzzsupport.h"

#include "lsp/lspframing.h"
#include "lsp/lspserver.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

const char *const kRequests[] = {
    "textDocument/hover",         "textDocument/definition",     "textDocument/references",
    "textDocument/completion",    "textDocument/documentSymbol", "textDocument/formatting",
    "textDocument/prepareRename", "textDocument/rename",         "textDocument/codeAction"};
constexpr int kRequestCount = int(sizeof kRequests / sizeof kRequests[0]);

// The input, read from the front.
class Input
{
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_at >= m_size; }
    int byte() { return atEnd() ? 0 : m_data[m_at++]; }
    // Bytes up to the next 0xFF, or the end.
    QByteArray chunk()
    {
        const size_t start = m_at;
        while (m_at < m_size && m_data[m_at] != 0xFF)
            ++m_at;
        const QByteArray out(reinterpret_cast<const char *>(m_data + start), int(m_at - start));
        if (m_at < m_size)
            ++m_at;
        return out;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

QJsonObject position(Input &in)
{
    return QJsonObject{{QStringLiteral("line"), in.byte() % 64}, {QStringLiteral("character"), in.byte() % 48}};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzsupport::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const QString files[] = {dir.filePath(QStringLiteral("main.wdl")),
                                    dir.filePath(QStringLiteral("texts.wdl"))};
    static bool written = false;
    if (!written) {
        fuzzsupport::writeFile(files[0], reinterpret_cast<const uint8_t *>("INCLUDE texts.wdl\n"), 18);
        fuzzsupport::writeFile(files[1], reinterpret_cast<const uint8_t *>("T: a \"A\"\n"), 9);
        written = true;
    }

    int requests = 0;
    int answers = 0;
    LspServer server(WdlWizard::instance(), [&answers](const QByteArray &framed) {
        if (!framed.contains("publishDiagnostics"))
            ++answers;
    });
    const auto send = [&server](const QJsonObject &message) {
        server.handleMessage(QJsonDocument(message).toJson(QJsonDocument::Compact));
    };
    send(QJsonObject{{QStringLiteral("id"), 0},
                     {QStringLiteral("method"), QStringLiteral("initialize")},
                     {QStringLiteral("params"), QJsonObject()}});
    ++requests;
    bool opened[2] = {false, false};

    Input in(data, size);
    while (!in.atEnd() && !server.isFinished()) {
        const int op = in.byte();
        const int file = op & 1;
        const QJsonObject document{{QStringLiteral("uri"), LspServer::uriOfPath(files[file])},
                                   {QStringLiteral("version"), 1}};
        switch ((op >> 1) % 4) {
        case 0: { // the whole text
            const QString text = QString::fromUtf8(in.chunk());
            if (!opened[file]) {
                QJsonObject item = document;
                item.insert(QStringLiteral("text"), text);
                send(QJsonObject{{QStringLiteral("method"), QStringLiteral("textDocument/didOpen")},
                                 {QStringLiteral("params"), QJsonObject{{QStringLiteral("textDocument"), item}}}});
                opened[file] = true;
            } else {
                send(QJsonObject{{QStringLiteral("method"), QStringLiteral("textDocument/didChange")},
                                 {QStringLiteral("params"),
                                  QJsonObject{{QStringLiteral("textDocument"), document},
                                              {QStringLiteral("contentChanges"),
                                               QJsonArray{QJsonObject{{QStringLiteral("text"), text}}}}}}});
            }
            break;
        }
        case 1: { // a part of it
            const QJsonObject start = position(in);
            const QJsonObject end = position(in);
            const QString text = QString::fromUtf8(in.chunk());
            send(QJsonObject{{QStringLiteral("method"), QStringLiteral("textDocument/didChange")},
                             {QStringLiteral("params"),
                              QJsonObject{{QStringLiteral("textDocument"), document},
                                          {QStringLiteral("contentChanges"),
                                           QJsonArray{QJsonObject{
                                               {QStringLiteral("range"), QJsonObject{{QStringLiteral("start"), start},
                                                                                     {QStringLiteral("end"), end}}},
                                               {QStringLiteral("text"), text}}}}}}});
            break;
        }
        case 2: { // a request
            const QJsonObject at = position(in);
            const QJsonObject params{
                {QStringLiteral("textDocument"), document},
                {QStringLiteral("position"), at},
                {QStringLiteral("range"),
                 QJsonObject{{QStringLiteral("start"), at}, {QStringLiteral("end"), position(in)}}},
                {QStringLiteral("newName"), QString::fromUtf8(in.chunk())},
                {QStringLiteral("context"), QJsonObject{{QStringLiteral("includeDeclaration"), true}}}};
            send(QJsonObject{{QStringLiteral("id"), ++requests},
                             {QStringLiteral("method"), QLatin1String(kRequests[in.byte() % kRequestCount])},
                             {QStringLiteral("params"), params}});
            break;
        }
        default: // bytes of the base protocol, whatever they hold
            server.receive(in.chunk());
            server.flush();
            break;
        }
        if (in.byte() % 4 == 0)
            server.flush();
    }
    // Every request is answered once, until the bytes of the protocol end
    // the server or leave a message half-read.
    if (!server.isFinished() && answers < requests)
        std::abort();
    fuzzsupport::releaseDeferred();
    return 0;
}
