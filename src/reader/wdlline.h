#ifndef WDLC_WDLLINE_H
#define WDLC_WDLLINE_H

#include <QString>
#include <QStringList>

// How one WDL line falls apart into words, tag and quoted text. Pure functions.
class WdlLine
{
public:
    // A physical line without its comment ("#" or "//" onwards), trimmed.
    static QString significant(const QString &physicalLine);
    // Words separated by runs of white space.
    static QStringList words(const QString &line);
    // Inside blocks: words separated by white space and by every ":".
    static QStringList itemWords(const QString &line);
    // The tag of a top-level line: its first word without any ":".
    static QString tag(const QString &firstWord);

    // A text line is complete when its double quotes and its \" pairs both
    // come in even numbers.
    static bool isCompleteText(const QString &line);
    // The text from the first to the last double quote, \n turned into line feeds.
    static QString quotedText(const QString &line);
    // What follows the last double quote but one: the data of a filter line.
    static QString lastQuotedSection(const QString &line);
};

#endif
