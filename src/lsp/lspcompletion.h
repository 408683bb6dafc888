#ifndef WDLC_LSPCOMPLETION_H
#define WDLC_LSPCOMPLETION_H

#include "lsp/sourcesymbols.h"

#include <QJsonArray>
#include <QString>

class WdlWizard;
class WizardIndex;

// What may be written at a place in a WDL line: the tags of the block the
// line is in, a script's mnemonics, the ids of the kind the grammar expects
// after a tag or as a script command's operand, an overlay key's actions.
class LspCompletion
{
public:
    // Completion items for the cursor at character of lineText, the line
    // number line of a file of index whose line is described by info; the
    // wizard holds the index's items, which give each id its detail.
    static QJsonArray items(const WizardIndex &index, WdlWizard *wizard, const SourceSymbols::LineInfo &info,
                            const QString &lineText, int line, int character);

    // The tags a line in context may start with, by their keyword values.
    static QVector<int> tagsOf(SourceSymbols::Context context);
    // The kind of id that follows the tag keyword in context, or NoKind.
    static SourceSymbols::Kind kindAfterTag(SourceSymbols::Context context, int keyword);
};

#endif
