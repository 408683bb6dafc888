#include "lsp/lspframing.h"
#include "lsp/lspsession.h"
#include "support/testsupport.h"

#include <QJsonArray>

namespace {

struct FramingRow
{
    const char *name;
    // Pieces as they arrive, "|" between them.
    const char *input;
    // The bodies that come out, "|" between them.
    const char *bodies;
    int dropped;

    friend void PrintTo(const FramingRow &row, std::ostream *os) { *os << row.name; }
};

class LspFramingTable : public ::testing::TestWithParam<FramingRow>
{
};

TEST_P(LspFramingTable, GivesWholeBodies)
{
    LspFraming framing;
    QStringList bodies;
    for (const QByteArray &piece : QByteArray(GetParam().input).split('|')) {
        framing.append(QByteArray(piece).replace("\\r", "\r").replace("\\n", "\n"));
        QByteArray body;
        while (framing.next(&body))
            bodies.append(QString::fromUtf8(body));
    }
    EXPECT_EQ(bodies.join(QLatin1Char('|')).toStdString(), GetParam().bodies);
    EXPECT_EQ(framing.droppedHeaders(), GetParam().dropped);
}

INSTANTIATE_TEST_SUITE_P(
    Lsp, LspFramingTable,
    ::testing::Values(
        FramingRow{"one", "Content-Length: 2\\r\\n\\r\\n{}", "{}", 0},
        FramingRow{"two_in_one_piece", "Content-Length: 2\\r\\n\\r\\n{}Content-Length: 3\\r\\n\\r\\n[1]", "{}|[1]", 0},
        FramingRow{"split_everywhere", "Cont|ent-Length: 2\\r|\\n\\r\\n|{|}", "{}", 0},
        FramingRow{"other_headers_and_any_case",
                   "content-length:2\\r\\nContent-Type: application/vscode-jsonrpc; charset=utf-8\\r\\n\\r\\n{}", "{}",
                   0},
        FramingRow{"no_length_is_dropped", "Content-Type: x\\r\\n\\r\\nContent-Length: 2\\r\\n\\r\\n{}", "{}", 1},
        FramingRow{"bad_length_is_dropped", "Content-Length: -4\\r\\n\\r\\nContent-Length: 2\\r\\n\\r\\n{}", "{}", 1},
        FramingRow{"too_long_is_dropped", "Content-Length: 99999999999\\r\\n\\r\\nContent-Length: 2\\r\\n\\r\\n{}",
                   "{}", 1},
        FramingRow{"body_not_yet_complete", "Content-Length: 5\\r\\n\\r\\n{}", "", 0},
        FramingRow{"empty_body", "Content-Length: 0\\r\\n\\r\\n", "", 0}),
    rowName<FramingRow>);

TEST(LspFraming, FramesWithTheLengthInBytes)
{
    EXPECT_EQ(LspFraming::frame("\"\xC3\xA4\""), QByteArray("Content-Length: 4\r\n\r\n\"\xC3\xA4\""));
}

struct LifecycleRow
{
    const char *name;
    // Raw bodies sent in turn, "|" between them.
    const char *messages;
    // Every message the server sends, compact, "|" between them.
    const char *expected;
    bool finished;
    int exitCode;

    friend void PrintTo(const LifecycleRow &row, std::ostream *os) { *os << row.name; }
};

class LspLifecycle : public ::testing::TestWithParam<LifecycleRow>
{
};

// The protocol's rules around initialize, shutdown and exit, and what the
// server answers to what it cannot use.
TEST_P(LspLifecycle, AnswersAsTheProtocolSays)
{
    QStringList sent;
    LspServer server(WdlWizard::instance(), [&sent](const QByteArray &framed) {
        sent.append(QString::fromUtf8(framed.mid(framed.indexOf("\r\n\r\n") + 4)));
    });
    for (const QByteArray &body : QByteArray(GetParam().messages).split('|'))
        server.handleMessage(body);
    for (QString &message : sent)
        message.remove(QStringLiteral(",\"jsonrpc\":\"2.0\"")).remove(QStringLiteral("\"jsonrpc\":\"2.0\","));
    QStringList expected = QString::fromUtf8(GetParam().expected).split(QLatin1Char('|'));
    // The initialize result is long; rows name it as INIT.
    for (QString &message : sent) {
        if (message.contains(QStringLiteral("\"capabilities\"")))
            message = QStringLiteral("INIT");
    }
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(server.isFinished(), GetParam().finished);
    EXPECT_EQ(server.exitCode(), GetParam().exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Lsp, LspLifecycle,
    ::testing::Values(
        LifecycleRow{"request_before_initialize",
                     R"({"jsonrpc":"2.0","id":1,"method":"textDocument/hover","params":{}})",
                     R"({"error":{"code":-32002,"message":"The server is not initialized."},"id":1})", false, 1},
        LifecycleRow{"shutdown_then_exit",
                     R"({"id":1,"method":"initialize","params":{}}|{"id":2,"method":"shutdown"}|{"method":"exit"})",
                     R"(INIT|{"id":2,"result":null})", true, 0},
        LifecycleRow{"exit_without_shutdown", R"({"id":1,"method":"initialize","params":{}}|{"method":"exit"})", "INIT",
                     true, 1},
        LifecycleRow{
            "request_after_shutdown",
            R"({"id":1,"method":"initialize","params":{}}|{"id":2,"method":"shutdown"}|{"id":"x","method":"textDocument/hover"})",
            R"(INIT|{"id":2,"result":null}|{"error":{"code":-32600,"message":"The server is shutting down."},"id":"x"})",
            false, 0},
        LifecycleRow{
            "unknown_method",
            R"({"id":1,"method":"initialize","params":{}}|{"id":2,"method":"workspace/frobnicate"}|{"method":"$/cancelRequest","params":{"id":2}})",
            R"(INIT|{"error":{"code":-32601,"message":"Unknown method workspace/frobnicate."},"id":2})", false, 1},
        LifecycleRow{"not_json", "{\"id\":1,",
                     R"({"error":{"code":-32700,"message":"The message is no JSON object."},"id":null})", false, 1},
        LifecycleRow{"initialize_twice",
                     R"({"id":1,"method":"initialize","params":{}}|{"id":2,"method":"initialize","params":{}})",
                     R"(INIT|{"error":{"code":-32600,"message":"The server is initialized already."},"id":2})", false,
                     1},
        LifecycleRow{
            "requests_on_unknown_documents",
            R"({"id":1,"method":"initialize","params":{}}|{"id":2,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///nowhere/x.wdl"},"position":{"line":0,"character":0}}}|{"id":3,"method":"textDocument/definition","params":{"textDocument":{"uri":"untitled:1"}}})",
            R"(INIT|{"id":2,"result":null}|{"id":3,"result":null})", false, 1}),
    rowName<LifecycleRow>);

// Edits in pieces, as editors send them, give the text the editor shows:
// positions count UTF-16 units, and CR LF, LF and a lone CR each end a line.
TEST(LspServer, AppliesIncrementalChanges)
{
    WizardFiles files;
    const QString path = files.write(QStringLiteral("main.wdl"), QString());
    LspSession session;
    session.initialize();
    session.open(path, QStringLiteral("T: a \"\u00E4x\"\r\nT: b \"y\"\rT: c \"z\"\n"));
    const auto edit = [&](int l1, int c1, int l2, int c2, const QString &text) {
        session.notify(
            QStringLiteral("textDocument/didChange"),
            QJsonObject{
                {QStringLiteral("textDocument"),
                 QJsonObject{{QStringLiteral("uri"), LspServer::uriOfPath(path)}, {QStringLiteral("version"), 2}}},
                {QStringLiteral("contentChanges"),
                 QJsonArray{QJsonObject{
                     {QStringLiteral("range"),
                      QJsonObject{{QStringLiteral("start"),
                                   QJsonObject{{QStringLiteral("line"), l1}, {QStringLiteral("character"), c1}}},
                                  {QStringLiteral("end"),
                                   QJsonObject{{QStringLiteral("line"), l2}, {QStringLiteral("character"), c2}}}}},
                     {QStringLiteral("text"), text}}}}});
    };
    edit(0, 7, 0, 8, QStringLiteral("X"));     // after the a-umlaut, one unit
    edit(1, 3, 1, 4, QStringLiteral("bb"));    // the line after CR LF
    edit(2, 3, 2, 4, QStringLiteral("d"));     // the line after a lone CR
    edit(9, 0, 9, 0, QStringLiteral("\nend")); // past the end: appended
    // What the server holds shows in the reader's view, where a lone CR ends
    // no line: b's text runs on into what the editor shows as the next line.
    const QJsonValue hover = session.result(
        QStringLiteral("textDocument/documentSymbol"),
        QJsonObject{
            {QStringLiteral("textDocument"), QJsonObject{{QStringLiteral("uri"), LspServer::uriOfPath(path)}}}});
    QStringList names;
    for (const QJsonValue &s : hover.toArray())
        names.append(s[QStringLiteral("name")].toString() + QLatin1Char('=') + s[QStringLiteral("detail")].toString());
    EXPECT_EQ(names, QStringList({QStringLiteral("a=\u00E4X"), QStringLiteral("bb=y\"T: d \"z")}));
}

} // namespace
