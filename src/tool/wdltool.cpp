#include "tool/wdltool.h"

#include "tool/buildrevision.h"
#include "tool/checkcommand.h"
#include "tool/dumpcommand.h"
#include "tool/fmtcommand.h"
#include "tool/graphcommand.h"
#include "tool/lspcommand.h"
#include "tool/toolcommand.h"
#include "tool/translationscommand.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <csignal>
#include <cstdio>

namespace {

struct Subcommand
{
    const char *name;
    int (*run)(const QStringList &arguments, QTextStream &out, QTextStream &err);
};

// A new subcommand is one more row here and a line in the usage.
const Subcommand kSubcommands[] = {
    {"check", &CheckCommand::run}, {"dump", &DumpCommand::run}, {"fmt", &FmtCommand::run},
    {"graph", &GraphCommand::run}, {"lsp", &LspCommand::run},   {"translations", &TranslationsCommand::run},
};

// The core writes a few diagnostic lines to the debug output ("OPEN failed",
// "Recursive scripts!"); on the tool's standard error they would mix with
// the diagnostics people and scripts read.
void keepDebugQuiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

QString WdlTool::usage()
{
    return QStringLiteral("Usage: wdltool <command> [options] [arguments]\n"
                          "\n"
                          "Looks into drive panel wizards and the images wdlc makes of them.\n"
                          "\n"
                          "Commands:\n"
                          "  check <wdl>...         print errors and warnings as FILE:LINE:COLUMN: ...\n"
                          "  dump [--json] <sas>    print an image section by section\n"
                          "  fmt <wdl>...           lay the wizards out tidily, keeping comments and order\n"
                          "  graph <wdl> [-o OUT]   write the screen flow as a Graphviz DOT graph\n"
                          "  lsp                    run the language server on standard input and output\n"
                          "  translations <verb>    keep translation files in step; trade them as PO files\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help             show this help; after a command, that command's help\n"
                          "  --version              show the version\n"
                          "\n"
                          "Exit status: 0 when all is well, 1 for errors, a damaged image or a file\n"
                          "that cannot be used, 2 for a usage error.\n");
}

QString WdlTool::version()
{
    return QStringLiteral("wdltool " WDLC_VERSION " (revision ") + QLatin1String(BuildRevision::text())
           + QStringLiteral(")\n");
}

int WdlTool::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption showVersion(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(showVersion);
    // Everything after the command's name is the command's own.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!ToolCommand::parse(parser, arguments, usage(), err))
        return ToolCommand::UsageError;
    if (parser.isSet(help)) {
        out << usage();
        out.flush();
        return ToolCommand::Ok;
    }
    if (parser.isSet(showVersion)) {
        out << version();
        out.flush();
        return ToolCommand::Ok;
    }
    QStringList rest = parser.positionalArguments();
    if (rest.isEmpty())
        return ToolCommand::usageError(QStringLiteral("no command given"), usage(), err);
    const QString name = rest.takeFirst();
    for (const Subcommand &command : kSubcommands) {
        if (name == QLatin1String(command.name))
            return command.run(rest, out, err);
    }
    return ToolCommand::usageError(QStringLiteral("unknown command ") + name, usage(), err);
}

int WdlTool::run(int argc, char **argv)
{
    qInstallMessageHandler(keepDebugQuiet);
    // Past a file-size limit a write fails, is cancelled and said so, where
    // the signal would end the tool in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromUtf8(argv[i]));
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    return run(arguments, out, err);
}
