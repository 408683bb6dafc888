#ifndef WDLC_TESTS_HELPTEXTS_H
#define WDLC_TESTS_HELPTEXTS_H

#include "tool/toolrun.h"

#include <QRegularExpression>

// wdltool's help texts are the list of its commands and options that the
// manual page and the completion are held to.

// The lines of text's section that starts with the line title, up to the next
// empty line.
inline QStringList helpSection(const QString &text, const QString &title)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const int start = lines.indexOf(title);
    QStringList out;
    for (int i = start + 1; start >= 0 && i < lines.size() && !lines.at(i).isEmpty(); ++i)
        out.append(lines.at(i));
    return out;
}

// The commands of `wdltool --help`, in its order.
inline QStringList helpCommands()
{
    QStringList out;
    for (const QString &line :
         helpSection(runToolIn(QDir::currentPath(), {QStringLiteral("--help")}).out, QStringLiteral("Commands:")))
        out.append(line.trimmed().section(QLatin1Char(' '), 0, 0));
    return out;
}

// The options of `wdltool --help` (command empty) or `wdltool <command>
// --help`: each "-x" and "--name" in the option column of its Options, sorted.
inline QStringList helpOptions(const QString &command = QString())
{
    QStringList arguments{QStringLiteral("--help")};
    if (!command.isEmpty())
        arguments.prepend(command);
    const QString help = runToolIn(QDir::currentPath(), arguments).out;
    static const QRegularExpression option(QStringLiteral("(?:^|[ ,])(--?[A-Za-z][A-Za-z0-9-]*)"));
    QStringList out;
    for (const QString &line : helpSection(help, QStringLiteral("Options:"))) {
        // Continuation lines of a description start with blanks, not a dash.
        if (!line.trimmed().startsWith(QLatin1Char('-')))
            continue;
        const QString column = line.trimmed().section(QStringLiteral("  "), 0, 0);
        for (auto it = option.globalMatch(column); it.hasNext();)
            out.append(it.next().captured(1));
    }
    out.sort();
    return out;
}

// The rules of `wdltool <command> --help` (check's), each "-Wrule" of its
// Rules section with its "-Wno-rule", sorted; none for a command without rules.
inline QStringList helpRules(const QString &command)
{
    const QString help = runToolIn(QDir::currentPath(), {command, QStringLiteral("--help")}).out;
    QStringList out;
    for (const QString &line : helpSection(help, QStringLiteral("Rules:"))) {
        const QString rule = line.trimmed().section(QLatin1Char(' '), 0, 0).mid(2);
        out << QStringLiteral("-W") + rule << QStringLiteral("-Wno-") + rule;
    }
    out.sort();
    return out;
}

#endif
