#ifndef WDLC_XMLATTRIBUTELIMIT_H
#define WDLC_XMLATTRIBUTELIMIT_H

#include <QByteArray>
#include <QString>

// A translation file's elements carry two attributes at most (a text's id and
// type), and it needs no namespaces and no declarations. An XML reader checks
// every attribute of an element against those before it, every name against
// the namespaces in scope and every declared attribute against the others
// declared, so a crafted document with a hundred thousand of any of them
// keeps it busy for minutes. Such a document is refused before any XML reader
// sees it; every full reader of translation files asks here first (the fast
// one refuses crowded elements itself and leaves them to the full reader).
class XmlAttributeLimit
{
public:
    // Far above what any translation file needs.
    static constexpr int kMaxAttributes = 64;

    enum Excess {
        None,
        // Attributes of one element, namespace declarations among them.
        OnOneElement,
        // Namespace declarations in scope at once.
        NamespacesInScope,
        // Attributes declared in the document type declaration.
        Declared
    };
    struct Finding
    {
        Excess excess = None;
        // Where the limit is passed.
        int line = 0;
    };

    // The first place in document where more than kMaxAttributes are met.
    // The document may be in any encoding an XML reader takes.
    static Finding find(const QByteArray &document);
    // The warning that refuses the file fileName for it.
    static QString message(const QString &fileName, const Finding &finding);
    // What the file has too many of, as in "The file has ...".
    static QString excess(const Finding &finding);
};

#endif
