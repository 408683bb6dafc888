#include "support/wizardfiles.h"

#include "core/fileurl.h"
#include "core/warning.h"
#include "core/wdlwizard.h"
#include "reader/wdlparser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

WizardFiles::WizardFiles() = default;

QString WizardFiles::write(const QString &name, const QString &text)
{
    writeBytes(name, text.toUtf8());
    return path(name);
}

void WizardFiles::writeBytes(const QString &name, const QByteArray &bytes)
{
    const QString full = path(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QString WizardFiles::path(const QString &name) const
{
    return m_dir.filePath(name);
}

QString WizardFiles::url(const QString &name) const
{
    return FileUrl::fromLocalPath(path(name));
}

QStringList warningLines(WdlWizard *wizard)
{
    QStringList out;
    WarningsModel *warnings = wizard->warningsModel();
    for (int i = 0; i < warnings->count(); ++i) {
        const Warning *w = warnings->itemAt(i);
        out.append(w->fileName() + QLatin1Char(':') + QString::number(w->lineNumber()) + QStringLiteral(": ")
                   + w->text());
    }
    return out;
}

QStringList readOnly(WdlWizard *wizard, const WizardFiles &files, const QString &name)
{
    wizard->clearAllModels();
    wizard->setCurrentFile(files.path(name));
    WdlParser reader(wizard);
    reader.parseFile(files.url(name), true);
    return warningLines(wizard);
}
