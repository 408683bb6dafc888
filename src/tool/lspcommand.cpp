#include "tool/lspcommand.h"

#include "core/wdlwizard.h"
#include "lsp/lspserver.h"
#include "tool/toolcommand.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

// Writes all of bytes to fd; false when the other end is gone.
bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

} // namespace

QString LspCommand::usage()
{
    return QStringLiteral("Usage: wdltool lsp\n"
                          "\n"
                          "Runs the WDL language server on standard input and output (Language Server\n"
                          "Protocol 3.17): diagnostics as you type, go to definition, references, hover,\n"
                          "completion, outline, formatting, rename and quick fixes. Editors start it\n"
                          "themselves; see the README for VS Code, Neovim and Kate.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help  show this help\n"
                          "\n"
                          "Exit status: 0 after the client's shutdown and exit, 1 when the input ends\n"
                          "or exit comes without shutdown, 2 for a usage error.\n");
}

int LspCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    if (!ToolCommand::parse(parser, arguments, usage(), err))
        return ToolCommand::UsageError;
    if (parser.isSet(help)) {
        out << usage();
        return ToolCommand::Ok;
    }
    if (!parser.positionalArguments().isEmpty())
        return ToolCommand::usageError(QStringLiteral("lsp takes no files: the editor sends them"), usage(), err);

    // A client that goes away while an answer is written ends the write, not the process.
    std::signal(SIGPIPE, SIG_IGN);
    QEventLoop loop;
    LspServer server(WdlWizard::instance(), [&loop](const QByteArray &framed) {
        if (!writeAll(STDOUT_FILENO, framed))
            loop.quit();
    });
    QObject::connect(&server, &LspServer::finished, &loop, &QEventLoop::quit);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &server, [&server, &input] {
        char buffer[65536];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (n <= 0) {
            input.setEnabled(false);
            server.endOfInput();
            return;
        }
        server.receive(QByteArray(buffer, int(n)));
    });
    loop.exec();
    return server.exitCode();
}
