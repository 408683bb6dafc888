#ifndef WDLC_DIAGNOSTICFORMATS_H
#define WDLC_DIAGNOSTICFORMATS_H

#include "tool/diagnostic.h"

#include <QList>
#include <QString>

// The ways `wdltool check` prints diagnostics: as compilers print theirs, as
// one JSON document for scripts, and as SARIF 2.1.0 for code-scanning services.
class DiagnosticFormats
{
public:
    // "FILE:LINE:COLUMN: error|warning: MESSAGE [-Wname]", ":COLUMN" left out
    // when unknown; "[-Werror=name]" for a warning that -Werror made an error.
    // The lines after a message's first follow it, without its final line feeds.
    static QString line(const Diagnostic &d);
    // Every diagnostic on its line, then the summary; wizards is the number
    // of wizards that have any.
    static QString text(const QList<Diagnostic> &diagnostics, int wizards);
    // {"diagnostics": [{"file", "line", "column", "level", "rule", "message"}]},
    // rule null for a problem that makes wdlc refuse the image.
    static QString json(const QList<Diagnostic> &diagnostics);
    // One run of wdltool whose rules are the lint rules and "wdlc", the
    // rule of every problem that makes wdlc refuse the image.
    static QString sarif(const QList<Diagnostic> &diagnostics);

    // The SARIF rule id of problems without a lint rule.
    static constexpr const char *kCompilerRule = "wdlc";
};

#endif
