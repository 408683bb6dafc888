#ifndef WDLC_TESTS_WIZARDFILES_H
#define WDLC_TESTS_WIZARDFILES_H

#include "core/fileurl.h"
#include "core/warning.h"
#include "core/wdlwizard.h"
#include "reader/wdlparser.h"
#include "support/testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>

// The seven header tags of a complete wizard, one line each.
inline const char kHeaderTags[] = "FILE_FORMAT_VERSION: 1.0\nFILE_VERSION: 1.0\nRUN_MODE: 0\nPRODUCT_TYPE: 417\n"
                                  "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: 1.0\nFILE_NAME: \"w\"\n";

// Named files in a fresh temporary directory, for tests that read wizards
// from disk (includes, translations, CSIV files).
class WizardFiles
{
public:
    // Writes text as UTF-8 under name (which may contain directories); returns its path.
    QString write(const QString &name, const QString &text)
    {
        writeBytes(name, text.toUtf8());
        return path(name);
    }
    void writeBytes(const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }
    // Copies every file below dir, at the same relative path.
    void copyTree(const QString &dir)
    {
        QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            writeBytes(QDir(dir).relativeFilePath(source), readFile(source));
        }
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString url(const QString &name) const { return FileUrl::fromLocalPath(path(name)); }
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Every file below root whose name matches one of patterns (all without
// patterns), relative to root, sorted.
inline QStringList filesBelow(const QString &root, const QStringList &patterns = {})
{
    QStringList out;
    QDirIterator it(root, patterns, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out.append(QDir(root).relativeFilePath(it.next()));
    out.sort();
    return out;
}

// Sets the working directory for its lifetime, as a command-line run sees it.
class WorkingDirectory
{
public:
    explicit WorkingDirectory(const QString &dir) : m_previous(QDir::currentPath()) { QDir::setCurrent(dir); }
    ~WorkingDirectory() { QDir::setCurrent(m_previous); }

private:
    const QString m_previous;
};

// The wizard's warnings as "file:line: text", in list order.
inline QStringList warningLines(WdlWizard *wizard)
{
    QStringList out;
    for (int i = 0; i < wizard->warningsModel()->count(); ++i) {
        const Warning *w = wizard->warningsModel()->itemAt(i);
        out.append(QStringLiteral("%1:%2: %3").arg(w->fileName(), QString::number(w->lineNumber()), w->text()));
    }
    return out;
}

// Reads files/name with the reader alone (no checks after reading); returns the warnings.
inline QStringList readOnly(WdlWizard *wizard, const WizardFiles &files,
                            const QString &name = QStringLiteral("main.wdl"))
{
    wizard->clearAllModels();
    wizard->setCurrentFile(files.path(name));
    WdlParser(wizard->content()).parseFile(files.url(name), true);
    return warningLines(wizard);
}

// Opens path as the editor does, with every check; returns the warnings.
inline QStringList openFile(const QString &path)
{
    WdlWizard::instance()->openWDLFile(FileUrl::fromLocalPath(path));
    return warningLines(WdlWizard::instance());
}

// Opens wdl written as w.wdl, the header tags after it unless withHeader is
// false (so that lines keep their numbers).
inline QStringList openWizard(WizardFiles &files, const QString &wdl, bool withHeader = true)
{
    const QString header = QString::fromUtf8(withHeader ? kHeaderTags : "");
    return openFile(files.write(QStringLiteral("w.wdl"), wdl + QStringLiteral("\n") + header));
}

// One row of a warnings table: WDL text and every warning opening it gives,
// in order, as "file:line: text".
struct WarningsRow
{
    const char *name;
    QString wdl;
    QStringList expected;
    bool withHeader = true;

    friend void PrintTo(const WarningsRow &row, std::ostream *os) { *os << row.name; }
};

// The top-level example wizards: every .wdl under examples/ but the shared
// files of examples/common/, which exist only to be included.
inline QStringList exampleWizards()
{
    QStringList out;
    const QString root = QStringLiteral(WDLC_SOURCE_DIR "/examples");
    QDirIterator it(root, {QStringLiteral("*.wdl")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.startsWith(root + QStringLiteral("/common/")))
            out.append(path);
    }
    out.sort();
    return out;
}

#endif
