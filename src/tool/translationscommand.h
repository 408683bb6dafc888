#ifndef WDLC_TRANSLATIONSCOMMAND_H
#define WDLC_TRANSLATIONSCOMMAND_H

#include <QString>
#include <QStringList>

class QTextStream;

// `wdltool translations <verb> <wdl> ...`: keeps the translation files beside
// a wizard in step with its texts, as lupdate and msgmerge do for programs,
// and trades them with translators' tools as gettext PO files. What it writes
// into a translation file compiles as before: entries that wait for a
// translator, and the English each translation was made from, are in forms
// the compiler ignores.
class TranslationsCommand
{
public:
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static QString usage();
};

#endif
