#ifndef WDLC_DIAGNOSTICSDOCUMENT_H
#define WDLC_DIAGNOSTICSDOCUMENT_H

#include <QHash>
#include <QString>
#include <QStringList>

// The entries of docs/diagnostics.md, the one place where what a message
// means and how to fix it is written. An entry is a heading, a marker
// comment on the line below it naming the catalogue's key or the rule, and
// everything up to the next heading:
//
//   ### `Screen <screen> is defined more than once.`
//   <!-- diagnostic: ScreenDefinedTwice -->
//
//   ### -Wlabel: a branch to no LBL of its script, or a label marked twice
//   <!-- rule: label -->
//
// An entry whose message no wizard can bring about carries the comment
// <!-- no example --> in its body. The comment <!-- origin: Reader --> under
// a section's heading says where the messages of its entries arise.
class DiagnosticsDocument
{
public:
    struct Entry
    {
        // The heading's text, without the hashes.
        QString heading;
        // The lines after the marker, blank lines at either end left out.
        QString body;
        // Where the heading stands and where the next heading does (or the
        // line after the end), counted from 1.
        int line = 0;
        int endLine = 0;
        bool hasExample = true;
        // The origin of the section it stands in, as its comment names it.
        QString origin;
    };

    explicit DiagnosticsDocument(const QString &markdown);
    // The document compiled into the program.
    static const DiagnosticsDocument &builtIn();

    // The entry of a catalogue key ("ScreenDefinedTwice") or a rule name
    // ("label"); null when there is none.
    const Entry *diagnostic(const QString &key) const;
    const Entry *rule(const QString &name) const;

    // Every key and rule name that has an entry, and those given more than once.
    QStringList diagnosticKeys() const { return m_diagnostics.keys(); }
    QStringList ruleNames() const { return m_rules.keys(); }
    QStringList duplicates() const { return m_duplicates; }

private:
    QHash<QString, Entry> m_diagnostics;
    QHash<QString, Entry> m_rules;
    QStringList m_duplicates;
};

#endif
