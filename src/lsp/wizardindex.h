#ifndef WDLC_WIZARDINDEX_H
#define WDLC_WIZARDINDEX_H

#include "lsp/sourcesymbols.h"
#include "reader/wdlsourcefile.h"
#include "tool/diagnostic.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

class SourceOverlay;
class WdlToken;
class WdlWizard;

// What an editor asks about one wizard, taken from one open of it: every id
// with its definition, its uses and a description, in the top-level file and
// the files it includes, and the wizard's problems placed on their words.
//
// It holds plain copies of positions, not items: the wizard holds the items
// of one open at a time, while a server keeps one index per open wizard. What
// only the items tell (descriptions, a text's English) is asked of the wizard
// while it still holds the items of the open this index was made from.
class WizardIndex
{
public:
    // Lines count from 0, columns in UTF-16 units from 0.
    struct Location
    {
        QString path;
        int line = 0;
        int start = 0;
        int end = 0;
    };

    struct Symbol
    {
        SourceSymbols::Kind kind = SourceSymbols::NoKind;
        QString id;
        // Whether the reader made an item of it; a misspelt id is used but not defined.
        bool defined = false;
        // Empty path when no line defines it.
        Location definition;
        // Every word that names it, the definition included, in reading order.
        QVector<Location> uses;
    };

    struct Diagnostic
    {
        Location location;
        QString message;
        // The -W name of the rule for a finding wdlc accepts; empty for a
        // problem that makes wdlc refuse the image.
        QString rule;
        bool isError = true;
        // Check's column of the word it is about, from 1; 0 when unknown.
        int column = 0;

        friend bool operator==(const Diagnostic &a, const Diagnostic &b)
        {
            return a.location.path == b.location.path && a.location.line == b.location.line
                   && a.location.start == b.location.start && a.location.end == b.location.end && a.message == b.message
                   && a.rule == b.rule && a.isError == b.isError && a.column == b.column;
        }
    };

    struct File
    {
        QString path;
        QByteArray bytes;
        WdlSourceFile source;
        SourceSymbols symbols;
        // The symbol each occurrence names, by index into symbols().
        QVector<int> symbolOfOccurrence;
    };

    // Checks the wizard at topLevelPath as `wdltool check` does, with the
    // rules given and the overlay's texts in place of files. The items stay
    // in the wizard until its next open.
    static QList<::Diagnostic> check(const QString &topLevelPath, const SourceOverlay *overlay,
                                     const QSet<QString> &rules);
    // Places what check found in the files of a wizard, paths, without an
    // index: on the word that starts at check's column, or else on the
    // longest word of the line that the message names, as build places them
    // but for lines build splits otherwise. False when a finding needs the
    // index: one on an INCLUDE line (it belongs on a definition in the
    // included file), or in a file that cannot be read.
    static bool placeAlone(const QList<::Diagnostic> &found, const SourceOverlay *overlay, const QStringList &paths,
                           QVector<Diagnostic> *placed);
    // An index of problems alone, until build makes the whole one.
    static WizardIndex provisional(const QString &topLevelPath, const QStringList &paths,
                                   const QVector<Diagnostic> &placed);

    // Takes what an editor needs from the items check left in the wizard and
    // the files they were read from, with the overlay's texts in place of
    // files. What earlier, an index of the same wizard, read of a file is not
    // read again.
    static WizardIndex build(WdlWizard *wizard, const QString &topLevelPath, const SourceOverlay *overlay,
                             const QList<::Diagnostic> &found, const WizardIndex *earlier = nullptr);
    // Checks, then builds.
    static WizardIndex build(WdlWizard *wizard, const QString &topLevelPath, const SourceOverlay *overlay,
                             const QSet<QString> &rules, const WizardIndex *earlier = nullptr);

    // From the items, which the wizard must still hold: one line for
    // lists (a text's English, a parameter's kind and number, ...), Markdown
    // for hovers, a text's English and help.
    QString detail(const Symbol &symbol, WdlWizard *wizard) const;
    QString description(const Symbol &symbol, WdlWizard *wizard) const;
    QString text(const Symbol &symbol, WdlWizard *wizard, QString *help) const;

    QString topLevel() const { return m_topLevel; }
    // The top-level file and the files it includes, as absolute clean paths.
    QStringList paths() const { return m_paths; }
    const File *file(const QString &path) const;
    const QVector<Symbol> &symbols() const { return m_symbols; }
    // The symbol of kind and id, or null.
    const Symbol *symbol(SourceSymbols::Kind kind, const QString &id) const;
    // The symbol named at a position, or null.
    const Symbol *symbolAt(const QString &path, int line, int column, Location *word = nullptr) const;
    const QVector<Diagnostic> &diagnostics() const { return m_diagnostics; }

    // "text", "parameter", ... as a person names the kind.
    static QString kindName(SourceSymbols::Kind kind);

private:
    int addSymbol(SourceSymbols::Kind kind, const QString &id);
    QString describe(const Symbol &symbol, WdlWizard *wizard, QString *detail) const;
    // The wizard's item a symbol names; null for one it does not define.
    WdlToken *itemOf(const Symbol &symbol, WdlWizard *wizard) const;
    // Moves a problem reported at an INCLUDE line onto the definition, in the
    // included file, of the item its message names.
    void placeOnIncludedDefinition(Diagnostic *d) const;

    QString m_topLevel;
    QStringList m_paths;
    QVector<File> m_files;
    QVector<Symbol> m_symbols;
    // Symbols by id, one table per kind.
    QHash<QString, int> m_symbolById[SourceSymbols::LocalFirstParameter + 1];
    QVector<Diagnostic> m_diagnostics;
};

#endif
