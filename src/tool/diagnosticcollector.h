#ifndef WDLC_DIAGNOSTICCOLLECTOR_H
#define WDLC_DIAGNOSTICCOLLECTOR_H

#include "tool/diagnostic.h"

#include <QList>
#include <QSet>
#include <QString>

class SourceOverlay;

// Everything wrong with one wizard, found as wdlc would find it and then
// some: the warnings of the open (errors: wdlc writes no image), the build
// in memory (its refusal and its CSIV files are errors, its translation
// files a rule's warnings), and the findings of the enabled lint rules.
// Writes no file.
class DiagnosticCollector
{
public:
    explicit DiagnosticCollector(const QSet<QString> &enabledRules, const SourceOverlay *overlay = nullptr)
        : m_enabledRules(enabledRules), m_overlay(overlay)
    {
    }

    // The diagnostics of the wizard at path, in the order found.
    QList<Diagnostic> check(const QString &path) const;

private:
    QSet<QString> m_enabledRules;
    const SourceOverlay *m_overlay;
};

#endif
