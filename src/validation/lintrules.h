#ifndef WDLC_LINTRULES_H
#define WDLC_LINTRULES_H

#include "core/sourcepositions.h"

#include <QList>
#include <QSet>
#include <QString>

struct BuildProducts;
struct WizardContent;

// Findings that wdlc accepts but that break or mislead on the drive: a next
// screen that does not exist, a branch to no label, a number cut short in the
// image. They never stop a build and wdlc never runs them; `wdltool check`
// reports them as warnings, each under the name of its rule.
class LintRules
{
public:
    struct Rule
    {
        // The name the -W switches use, stable across releases.
        QString name;
        // One line that says what the rule finds.
        QString summary;
    };

    struct Finding
    {
        QString rule;
        // The file as warnings name it: the top-level file's name, an included
        // file's name as written, a translation file relative to the
        // top-level file's directory.
        SourcePosition where;
        QString message;
    };

    // Every rule, in the order the help lists them.
    static const QList<Rule> &rules();
    static bool isRule(const QString &name);

    // build: what a build of the wizard made, for the rules about its
    // translation files; null when the wizard was not built.
    LintRules(const WizardContent &content, const SourcePositions &positions, const BuildProducts *build);

    // The findings of the enabled rules, rule by rule.
    QList<Finding> run(const QSet<QString> &enabled) const;

private:
    const WizardContent &m_content;
    const SourcePositions &m_positions;
    const BuildProducts *m_build;
};

#endif
