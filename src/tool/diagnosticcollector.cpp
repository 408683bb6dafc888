#include "tool/diagnosticcollector.h"

#include "core/fileurl.h"
#include "core/warning.h"
#include "core/wdlwizard.h"
#include "reader/sourcecolumns.h"
#include "tool/toolcommand.h"
#include "validation/lintrules.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Files named relative to the wizard's directory (included files, files
// beside the image), shown as the user reaches them from where they are: an
// argument's directory joined with that name.
class FileNames
{
public:
    explicit FileNames(const QString &wizardPath)
        : m_wizardPath(wizardPath),
          m_directory(QFileInfo(wizardPath).path()),
          m_absoluteDirectory(QFileInfo(wizardPath).absolutePath())
    {
    }

    // A name as warnings carry it; empty for the wizard itself.
    QString shown(const QString &name) const
    {
        if (name.isEmpty())
            return m_wizardPath;
        return QDir::cleanPath(QDir(m_directory).filePath(name));
    }
    // A path the build used, absolute or relative to the working directory.
    QString shownPath(const QString &path) const
    {
        return shown(QDir(m_absoluteDirectory).relativeFilePath(QFileInfo(path).absoluteFilePath()));
    }

private:
    QString m_wizardPath;
    QString m_directory;
    QString m_absoluteDirectory;
};

} // namespace

QList<Diagnostic> DiagnosticCollector::check(const QString &path) const
{
    QList<Diagnostic> out;
    const FileNames names(path);
    WdlWizard *wizard = WdlWizard::instance();
    wizard->setSourceOverlay(m_overlay);
    wizard->openWDLFile(FileUrl::fromLocalPath(path));
    SourceColumns columns(m_overlay);
    const WarningsModel *warnings = wizard->warningsModel();
    for (int i = 0; i < warnings->count(); ++i) {
        const Warning *w = warnings->itemAt(i);
        const QString file = names.shown(w->fileName());
        out.append({file, w->lineNumber(), columns.column(file, w->lineNumber(), w->subject()), Diagnostic::Error,
                    QString(), ToolCommand::spoken(file, w->text())});
    }
    if (wizard->isEmpty())
        return out;

    // wdlc builds only a wizard without warnings.
    BuildProducts products;
    const bool built = out.isEmpty();
    if (built) {
        products = wizard->buildInMemory(FileUrl::fromLocalPath(path + QStringLiteral(".sas")));
        if (!products.refusal.isEmpty())
            out.append({path, 0, 0, Diagnostic::Error, QString(), products.refusal});
        for (const BuildProducts::Problem &p : qAsConst(products.problems)) {
            // The translation files have a rule of their own.
            if (p.source == BuildProducts::Problem::CsivFile)
                out.append({names.shownPath(p.file), p.line, 0, Diagnostic::Error, QString(), p.text});
        }
    }

    const WizardContent content = wizard->content();
    const LintRules rules(content, wizard->sourcePositions(), built ? &products : nullptr);
    for (const LintRules::Finding &f : rules.run(m_enabledRules)) {
        const QString file = names.shown(f.where.file);
        out.append({file, f.where.line, columns.column(file, f.where.line, f.where.word), Diagnostic::Warning, f.rule,
                    f.message});
    }
    wizard->setSourceOverlay(nullptr);
    return out;
}
