#include "tool/fmtcommand.h"

#include "core/fileurl.h"
#include "core/outputfile.h"
#include "core/warning.h"
#include "core/wdlwizard.h"
#include "output/wdlformatter.h"
#include "output/wdlsourceformatter.h"
#include "reader/sourceoverlay.h"
#include "reader/wdlline.h"
#include "reader/wdlsourcefile.h"
#include "tool/checkcommand.h"
#include "tool/toolcommand.h"
#include "tool/unifieddiff.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

// Reads the formatted text back, in place of the wizard's file, and formats
// it again. A file that the formatter writes must open without warnings and
// be its own canonical form; should it not, the fault is the formatter's, and
// nothing is written rather than a file that changes the wizard. Empty when
// it holds, else what failed.
QString readBackProblem(WdlWizard *wizard, const QString &formatted, const QString &path)
{
    SourceOverlay overlay;
    overlay.set(path, formatted.toUtf8());
    wizard->setSourceOverlay(&overlay);
    wizard->openWDLFile(FileUrl::fromLocalPath(path));
    wizard->setSourceOverlay(nullptr);
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

int writeOutput(const QString &path, const QByteArray &bytes, QTextStream &err)
{
    QString error;
    if (!OutputFile::write(path, bytes, &error)) {
        err << "wdltool fmt: cannot write " << path << ": " << error << '\n';
        err.flush();
        return ToolCommand::Failed;
    }
    return ToolCommand::Ok;
}

// One file of a wizard: as it is and as it would be formatted.
struct SourceChange
{
    QString name; // as the user named it, or as the wizard's INCLUDE line does from there
    QString path; // absolute
    QByteArray before;
    QByteArray after;
};

// What one version of a wizard builds into: its warnings, and the products
// of a build in memory (image, translation template, problems with the
// translation and CSIV files).
struct Build
{
    QStringList warnings;
    BuildProducts products;
};

// The files an INCLUDE line names at top level, as the reader resolves them:
// against the wizard's directory.
QStringList includedNames(const WdlSourceFile &wizard)
{
    QStringList names;
    for (const WdlSourceFile::Line &line : wizard.lines()) {
        if (line.depth == 0 && line.kind == WdlSourceFile::Code && line.words.size() >= 2
            && WdlLine::tag(line.words.first().text) == QLatin1String("INCLUDE")
            && !names.contains(line.words.at(1).text))
            names.append(line.words.at(1).text);
    }
    return names;
}

// Builds the wizard from the given contents of its WDL files (the wizard
// first), read in place of the files on disk, in memory: nothing is written.
Build buildFrom(const QList<SourceChange> &files, bool formatted)
{
    SourceOverlay overlay;
    for (const SourceChange &file : files)
        overlay.set(file.path, formatted ? file.after : file.before);
    Build build;
    WdlWizard *wizard = WdlWizard::instance();
    wizard->setSourceOverlay(&overlay);
    const QString wizardUrl = FileUrl::fromLocalPath(files.first().path);
    wizard->openWDLFile(wizardUrl);
    wizard->setSourceOverlay(nullptr);
    const WarningsModel *warnings = wizard->warningsModel();
    for (int i = 0; i < warnings->count(); ++i) {
        const Warning *w = warnings->itemAt(i);
        build.warnings.append(w->fileName() + QLatin1Char(':') + QString::number(w->lineNumber()) + QStringLiteral(": ")
                              + w->text());
    }
    if (wizard->isValidForSaving())
        build.products = wizard->buildInMemory(wizardUrl + QStringLiteral(".sas"));
    wizard->clearAllModels();
    return build;
}

// Why the formatted wizard would not be the same wizard, or an empty string.
QString difference(const Build &before, const Build &after)
{
    if (before.products.image != after.products.image)
        return QStringLiteral("the images differ");
    if (before.products.translationTemplate != after.products.translationTemplate)
        return QStringLiteral("the translation templates differ");
    if (before.products.refusal != after.products.refusal
        || before.products.problems.size() != after.products.problems.size())
        return QStringLiteral("the builds differ");
    for (int i = 0; i < qMax(before.warnings.size(), after.warnings.size()); ++i) {
        if (before.warnings.value(i) != after.warnings.value(i))
            return QStringLiteral("the warnings differ: \"") + before.warnings.value(i)
                   + QStringLiteral("\" becomes \"") + after.warnings.value(i) + QLatin1Char('"');
    }
    return QString();
}

// Formats the wizard at name and the files it includes, and proves on a
// build of both versions that nothing but their layout changed. A wizard
// with warnings keeps every line at its number, so that its warnings stay
// the same. Empty with a message in *problem when it cannot be formatted.
QList<SourceChange> formatWizard(const QString &name, QString *problem)
{
    QList<SourceChange> files;
    const QString path = QFileInfo(name).absoluteFilePath();
    WdlSourceFile wizard;
    if (!WdlSourceFile::read(path, &wizard)) {
        *problem = QStringLiteral("cannot be read");
        return {};
    }
    files.append({name, path, wizard.bytes(), QByteArray()});
    for (const QString &include : includedNames(wizard)) {
        const QString includePath = QDir::cleanPath(QDir(QFileInfo(path).absolutePath()).absoluteFilePath(include));
        WdlSourceFile file;
        // What cannot be read stays as it is; the reader says so in either build.
        if (includePath != path && WdlSourceFile::read(includePath, &file))
            files.append({QDir::cleanPath(QDir(QFileInfo(name).path()).filePath(include)), includePath, file.bytes(),
                          QByteArray()});
    }
    const Build before = buildFrom(files, false);
    const WdlSourceFormatter::BlankLines blankLines = before.warnings.isEmpty() ? WdlSourceFormatter::CollapseBlankLines
                                                                                : WdlSourceFormatter::KeepLineNumbers;
    for (SourceChange &file : files)
        file.after = WdlSourceFormatter::format(WdlSourceFile::fromBytes(file.before), blankLines);
    *problem = difference(before, buildFrom(files, true));
    if (!problem->isEmpty()) {
        *problem = QStringLiteral("the formatted wizard would not build the same (") + *problem
                   + QStringLiteral("); nothing written");
        return {};
    }
    return files;
}

// Today's reordering into the editor's layout, its included files inlined.
int runCanonical(const QString &file, const QString &output, QTextStream &out, QTextStream &err)
{

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

    const QString formatted = FmtCommand::text(wizard);
    const QString problem = readBackProblem(wizard, formatted, QFileInfo(file).absoluteFilePath());
    if (!problem.isEmpty()) {
        err << "wdltool fmt: " << file << ": its canonical form would not open as the same wizard (" << problem
            << "); nothing written\n";
        err.flush();
        return ToolCommand::Failed;
    }

    return ToolCommand::deliver("fmt", output, formatted, out, err);
}

} // namespace

QString FmtCommand::usage()
{
    return QStringLiteral("Usage: wdltool fmt [-o OUT | -i | --check | --diff] <wdl>...\n"
                          "       wdltool fmt --canonical <wdl> [-o OUT]\n"
                          "\n"
                          "Lays WDL files out in one layout and keeps everything their authors wrote:\n"
                          "every comment beside its line, INCLUDE lines, the order of items and of the\n"
                          "lines in a block. It sets the indentation (three blanks a block), one blank\n"
                          "between words and after the colon of a tag inside a block, at most one blank\n"
                          "line between lines, LF line ends with one at the end, and header versions\n"
                          "without leading zeros. Text in double quotes is never touched, nor a tab in\n"
                          "a script line. Included files are formatted on their own.\n"
                          "\n"
                          "Before anything is printed or written, the wizard is built as it is and as\n"
                          "formatted; should the images, the translation templates or the warnings\n"
                          "differ in one byte, nothing is written. A wizard with warnings keeps every\n"
                          "line at its number, so that its warnings stay as they are.\n"
                          "\n"
                          "Options:\n"
                          "  -o, --output OUT  write the formatted wizard to OUT (one wizard; OUT may\n"
                          "                    be the wizard itself)\n"
                          "  -i, --in-place    rewrite the wizards and the files they include\n"
                          "  --check           write nothing; list the files that formatting would\n"
                          "                    change, and exit with 1 if there are any\n"
                          "  --diff            print what formatting would change, as a unified diff\n"
                          "  --canonical       write the wizard in the editor's canonical form\n"
                          "                    instead: header, texts, filters, local parameters,\n"
                          "                    the scripts that no block holds, the parameters that\n"
                          "                    no screen holds, then the screens, each item in full\n"
                          "                    where it is first used; included files inlined,\n"
                          "                    comments left out. A wizard with warnings is refused.\n"
                          "                    The result opens as the same wizard, and formatting it\n"
                          "                    again changes nothing.\n"
                          "  -h, --help        show this help\n"
                          "\n"
                          "Without -o, -i, --check or --diff the formatted files are printed, one\n"
                          "after the other.\n"
                          "\n"
                          "Exit status: 0 when done, 1 for a file that cannot be formatted or\n"
                          "written, or with --check for files that formatting would change, 2 for a\n"
                          "usage error.\n");
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
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("OUT"));
    const QCommandLineOption inPlace(QStringList{QStringLiteral("i"), QStringLiteral("in-place")});
    const QCommandLineOption check(QStringLiteral("check"));
    const QCommandLineOption diff(QStringLiteral("diff"));
    const QCommandLineOption canonical(QStringLiteral("canonical"));
    parser.addOptions({help, output, inPlace, check, diff, canonical});
    if (!ToolCommand::parse(parser, arguments, usage(), err))
        return ToolCommand::UsageError;
    if (parser.isSet(help)) {
        out << usage();
        return ToolCommand::Ok;
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return ToolCommand::usageError(QStringLiteral("fmt needs a WDL file"), usage(), err);
    int modes = 0;
    for (const QCommandLineOption *option : {&output, &inPlace, &check, &diff})
        modes += parser.isSet(*option) ? 1 : 0;
    if (modes > 1)
        return ToolCommand::usageError(QStringLiteral("fmt takes one of -o, -i, --check and --diff"), usage(), err);
    if ((parser.isSet(output) || parser.isSet(canonical)) && files.size() != 1)
        return ToolCommand::usageError(QStringLiteral("fmt needs exactly one WDL file with -o or --canonical"), usage(),
                                       err);
    if (parser.isSet(canonical)) {
        if (parser.isSet(inPlace) || parser.isSet(check) || parser.isSet(diff))
            return ToolCommand::usageError(QStringLiteral("--canonical writes only with -o"), usage(), err);
        return runCanonical(files.first(), parser.value(output), out, err);
    }

    int status = ToolCommand::Ok;
    QList<SourceChange> changes;
    QStringList seen;
    for (const QString &file : files) {
        QString problem;
        const QList<SourceChange> formatted = formatWizard(file, &problem);
        if (formatted.isEmpty()) {
            err << "wdltool fmt: " << file << ": " << problem << '\n';
            status = ToolCommand::Failed;
            continue;
        }
        if (!parser.isSet(inPlace) && !parser.isSet(check) && !parser.isSet(diff)) {
            if (parser.isSet(output))
                return ToolCommand::deliver("fmt", parser.value(output), formatted.first().after, out, err);
            out << QString::fromUtf8(formatted.first().after);
            continue;
        }
        // A file that two wizards include is formatted once.
        for (const SourceChange &change : formatted) {
            if (!seen.contains(change.path) && change.before != change.after)
                changes.append(change);
            seen.append(change.path);
        }
    }
    if (parser.isSet(check)) {
        for (const SourceChange &change : qAsConst(changes))
            out << change.name << '\n';
        if (!changes.isEmpty())
            status = ToolCommand::Failed;
    } else if (parser.isSet(diff)) {
        for (const SourceChange &change : qAsConst(changes))
            out << QString::fromUtf8(UnifiedDiff::diff(change.before, change.after, change.name));
    } else if (parser.isSet(inPlace)) {
        // All or nothing: a run in which one wizard fails rewrites no file.
        if (status != ToolCommand::Ok) {
            err << "wdltool fmt: nothing rewritten\n";
        } else {
            for (const SourceChange &change : qAsConst(changes)) {
                if (writeOutput(change.path, change.after, err) != ToolCommand::Ok)
                    status = ToolCommand::Failed;
            }
        }
    }
    out.flush();
    err.flush();
    return status;
}
