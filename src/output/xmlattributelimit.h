#ifndef WDLC_XMLATTRIBUTELIMIT_H
#define WDLC_XMLATTRIBUTELIMIT_H

#include <QByteArray>
#include <QString>

// A translation file's elements carry two attributes at most (a text's id and
// type). An XML reader checks every attribute of an element against those
// before it, so a crafted element with hundreds of thousands of attributes
// would take minutes; a document with a crowded element is refused before
// any XML reader sees it. Every reader of translation files asks here first.
class XmlAttributeLimit
{
public:
    // Far above what any translation file needs.
    static constexpr int kMaxAttributes = 64;

    // The line of the first start tag in document with more than
    // kMaxAttributes attributes (namespace declarations count too), or 0 when
    // there is none. The document may be in any encoding an XML reader takes.
    static int crowdedLine(const QByteArray &document);
    // The warning that refuses the file fileName for such an element.
    static QString message(const QString &fileName, int line);
};

#endif
