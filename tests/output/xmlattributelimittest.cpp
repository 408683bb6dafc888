#include "output/xmlattributelimit.h"

#include "support/testsupport.h"

#include <QTextCodec>

namespace {

// n attributes a0="0" a1="1" ...
QByteArray attributes(int n)
{
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out += " a" + QByteArray::number(i) + "=\"" + QByteArray::number(i) + '"';
    return out;
}

struct CrowdedRow
{
    const char *name;
    QByteArray document;
    XmlAttributeLimit::Excess excess;
    // Where the limit is passed; 0 for none.
    int line;

    friend void PrintTo(const CrowdedRow &row, std::ostream *os) { *os << row.name; }
};

class CrowdedElement : public ::testing::TestWithParam<CrowdedRow>
{
};

TEST_P(CrowdedElement, IsFoundBeforeAnyXmlReaderSeesIt)
{
    const XmlAttributeLimit::Finding found = XmlAttributeLimit::find(GetParam().document);
    EXPECT_EQ(found.excess, GetParam().excess);
    EXPECT_EQ(found.line, GetParam().line);
}

// n nested elements, each declaring a namespace prefix of its own.
QByteArray nestedNamespaces(int n)
{
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out += "<a xmlns:p" + QByteArray::number(i) + "=\"u\">\n";
    for (int i = 0; i < n; ++i)
        out += "</a>";
    return out;
}

QByteArray declaredAttributes(int n)
{
    QByteArray out = "<!DOCTYPE r [\n<!ATTLIST text";
    for (int i = 0; i < n; ++i)
        out += " a" + QByteArray::number(i) + (i % 2 ? " CDATA #IMPLIED" : " (x|y) \"x\"");
    return out + ">\n]>\n<r/>";
}

QByteArray encoded(const char *codec, const QByteArray &utf8)
{
    return QTextCodec::codecForName(codec)->fromUnicode(QString::fromUtf8(utf8));
}

const QByteArray kCrowded = "<text" + attributes(65) + ">x</text>";
const QByteArray kFull = "<text" + attributes(64) + ">x</text>";

INSTANTIATE_TEST_SUITE_P(
    Documents, CrowdedElement,
    ::testing::Values(
        CrowdedRow{"SixtyFourAttributesPass", "<root>\n" + kFull + "\n</root>", XmlAttributeLimit::None, 0},
        CrowdedRow{"SixtyFiveAttributesAreTooMany", "<?xml version=\"1.0\"?>\n<root>\n" + kCrowded + "</root>",
                   XmlAttributeLimit::OnOneElement, 3},
        CrowdedRow{"EmptyElementTag", "<root><e" + attributes(65) + "/></root>", XmlAttributeLimit::OnOneElement, 1},
        CrowdedRow{"NamespaceDeclarationsCount",
                   "<root" + attributes(60) + " xmlns=\"u\" xmlns:a=\"u\" xmlns:b=\"u\" xmlns:c=\"u\" xmlns:d=\"u\"/>",
                   XmlAttributeLimit::OnOneElement, 1},
        CrowdedRow{"LinesEndAtLfCrLfAndLoneCr", "<a>\r\n<b>\r<c>\n\n" + kCrowded, XmlAttributeLimit::OnOneElement, 5},
        CrowdedRow{"EqualsInsideValuesDoNotCount", "<text id=\"" + QByteArray(200, '=') + "\" type='=>='>x</text>",
                   XmlAttributeLimit::None, 0},
        CrowdedRow{"CommentsCdataAndInstructionsDoNotCount",
                   "<!--" + attributes(100) + "--><r><![CDATA[" + attributes(100) + "]]><?pi" + attributes(100)
                       + "?></r>",
                   XmlAttributeLimit::None, 0},
        CrowdedRow{"EntityValuesDoNotCount",
                   "<!DOCTYPE r [ <!ENTITY e \"" + attributes(100) + ">\"> <!ATTLIST r a CDATA \"=\"> ]>\n" + kCrowded,
                   XmlAttributeLimit::OnOneElement, 2},
        CrowdedRow{"CutInsideATag", "<root>\n<text" + attributes(65), XmlAttributeLimit::OnOneElement, 2},
        CrowdedRow{"SixtyFourNamespacesInScope", nestedNamespaces(64), XmlAttributeLimit::None, 0},
        CrowdedRow{"SixtyFiveNamespacesInScope", nestedNamespaces(65), XmlAttributeLimit::NamespacesInScope, 65},
        CrowdedRow{"NamespacesGoOutOfScope", nestedNamespaces(40) + nestedNamespaces(40) + "<e xmlns=\"u\"/>",
                   XmlAttributeLimit::None, 0},
        CrowdedRow{"SixtyFourDeclaredAttributes", declaredAttributes(64), XmlAttributeLimit::None, 0},
        CrowdedRow{"SixtyFiveDeclaredAttributes", declaredAttributes(65), XmlAttributeLimit::Declared, 2},
        CrowdedRow{"Utf16LittleEndianWithoutMark", encoded("UTF-16LE", "<root>\n" + kCrowded + "</root>"),
                   XmlAttributeLimit::OnOneElement, 2},
        CrowdedRow{"Utf16WithMark", encoded("UTF-16", "<root>\n\n" + kCrowded + "</root>"),
                   XmlAttributeLimit::OnOneElement, 3},
        CrowdedRow{"Utf32LittleEndian", encoded("UTF-32LE", kCrowded), XmlAttributeLimit::OnOneElement, 1}),
    rowName<CrowdedRow>);

TEST(XmlAttributeLimit, MessageNamesTheFileTheLineAndTheExcess)
{
    const auto message = [](XmlAttributeLimit::Excess excess) {
        return XmlAttributeLimit::message(QStringLiteral("dir/translation_German.xml"), {excess, 12});
    };
    EXPECT_EQ(message(XmlAttributeLimit::OnOneElement),
              QStringLiteral("XML file dir/translation_German.xml has an element with more than 64 attributes on "
                             "line 12. This file is not a translation file."));
    EXPECT_EQ(message(XmlAttributeLimit::NamespacesInScope),
              QStringLiteral("XML file dir/translation_German.xml has more than 64 namespace declarations in scope "
                             "on line 12. This file is not a translation file."));
    EXPECT_EQ(message(XmlAttributeLimit::Declared),
              QStringLiteral("XML file dir/translation_German.xml declares more than 64 attributes on line 12. This "
                             "file is not a translation file."));
}

} // namespace
