#include "tool/fmtcommand.h"

#include "core/fileurl.h"
#include "core/outputfile.h"
#include "core/warning.h"
#include "core/wdlwizard.h"
#include "output/wdlformatter.h"
#include "tool/checkcommand.h"
#include "tool/toolcommand.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Reads the formatted text back and formats it again. A file that the
// formatter writes must open without warnings and be its own canonical form;
// should it not, the fault is the formatter's, and nothing is written rather
// than a file that changes the wizard. Empty when it holds, else what failed.
QString readBackProblem(WdlWizard *wizard, const QString &formatted, const QString &fileName)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(fileName);
    QString error;
    if (!dir.isValid() || !OutputFile::write(copy, formatted.toUtf8(), &error))
        return QStringLiteral("cannot write a temporary copy to read back");
    wizard->openWDLFile(FileUrl::fromLocalPath(copy));
    const WarningsModel *warnings = wizard->warningsModel();
    if (warnings->count() > 0) {
        const Warning *first = warnings->itemAt(0);
        return QStringLiteral("read back, it gives ") + ToolCommand::counted(warnings->count(), "warning", "warnings")
               + QStringLiteral(", the first at its line ") + QString::number(first->lineNumber())
               + QStringLiteral(": ") + first->text();
    }
    if (FmtCommand::text(wizard) != formatted)
        return QStringLiteral("formatted again, it changes");
    return QString();
}

} // namespace

QString FmtCommand::usage()
{
    return QStringLiteral("Usage: wdltool fmt <wdl> [-o OUT]\n"
                          "\n"
                          "Opens the wizard as wdlc does and writes it back in one canonical form, in\n"
                          "the regions of the editor's WDL files: header, texts, filters, local\n"
                          "parameters, the scripts that no block holds, the parameters that no screen\n"
                          "holds, then the screens. Every parameter, choice list, overlay and script\n"
                          "is written in full where it is first used and by its id after that;\n"
                          "included files are inlined, comments left out. The result opens as the\n"
                          "same wizard, and formatting it again changes nothing.\n"
                          "\n"
                          "A wizard with warnings is refused: its warnings go to standard error as\n"
                          "check prints them, and nothing is written.\n"
                          "\n"
                          "Options:\n"
                          "  -o, --output OUT  write to OUT instead of the standard output (OUT may\n"
                          "                    be the wizard itself)\n"
                          "  -h, --help        show this help\n"
                          "\n"
                          "Exit status: 0 when written, 1 for warnings or a file that cannot be\n"
                          "written, 2 for a usage error.\n");
}

QString FmtCommand::text(WdlWizard *wizard)
{
    WizardItemsModel *models[WizardContent::SlotCount];
    for (int slot = 0; slot < WizardContent::SlotCount; ++slot)
        models[slot] = wizard->model(slot);
    return WdlFormatter(models, wizard->header()).text();
}

int FmtCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("OUT"));
    parser.addOption(output);
    QString file;
    const QString missing = QStringLiteral("fmt needs exactly one WDL file");
    const int status = ToolCommand::parseOneFile(parser, arguments, usage(), missing, out, err, &file);
    if (status != ToolCommand::Proceed)
        return status;

    WdlWizard *wizard = WdlWizard::instance();
    wizard->openWDLFile(FileUrl::fromLocalPath(file));
    const WarningsModel *warnings = wizard->warningsModel();
    if (warnings->count() > 0) {
        for (int i = 0; i < warnings->count(); ++i)
            err << CheckCommand::warningLine(file, *warnings->itemAt(i)) << '\n';
        err << "wdltool fmt: " << file << ": " << ToolCommand::counted(warnings->count(), "warning", "warnings")
            << ", nothing written\n";
        err.flush();
        return ToolCommand::Failed;
    }

    const QString formatted = text(wizard);
    const QString problem = readBackProblem(wizard, formatted, QFileInfo(file).fileName());
    if (!problem.isEmpty()) {
        err << "wdltool fmt: " << file << ": its canonical form would not open as the same wizard (" << problem
            << "); nothing written\n";
        err.flush();
        return ToolCommand::Failed;
    }

    return ToolCommand::deliver("fmt", parser.value(output), formatted, out, err);
}
