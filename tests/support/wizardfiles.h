#ifndef WDLC_TESTS_WIZARDFILES_H
#define WDLC_TESTS_WIZARDFILES_H

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class WdlWizard;

// Named files in a fresh temporary directory, for tests that read wizards
// from disk (includes, translations, CSIV files).
class WizardFiles
{
public:
    WizardFiles();

    // Writes text as UTF-8 under name (which may contain directories).
    QString write(const QString &name, const QString &text);
    void writeBytes(const QString &name, const QByteArray &bytes);
    QString path(const QString &name) const;
    QString url(const QString &name) const;
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// The wizard's warnings as "file:line: text", in list order.
QStringList warningLines(WdlWizard *wizard);

// Opens main.wdl through the wizard with only the reader at work (no checks
// after reading), and returns its warnings.
QStringList readOnly(WdlWizard *wizard, const WizardFiles &files, const QString &name = QStringLiteral("main.wdl"));

#endif
