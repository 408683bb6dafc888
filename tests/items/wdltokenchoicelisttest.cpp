#include "items/wdltokenchoicelist.h"

#include "testhelpers.h"

#include <memory>

namespace {

std::unique_ptr<WdlTokenText> makeText(const char *id, quint16 position)
{
    auto text = std::make_unique<WdlTokenText>(QString::fromLatin1(id), QString::fromLatin1(id), false);
    text->setItemNumber(position);
    return text;
}

TEST(WdlTokenChoiceListRecord, EntriesUseTextNumbers)
{
    // Positions 3 and 247: the second text reports 251.
    const auto low = makeText("Low", 3);
    const auto high = makeText("High", 247);
    WdlTokenChoiceList list(QStringLiteral("cl"));
    list.setItemNumber(5);
    list.addChoice(low.get());
    list.addChoice(high.get());
    list.setDefaultChoice(1);
    EXPECT_EQ(hexBytes(list.toByteArray()), "04 05 00 06 00 02 01 03 00 FB 00");
}

TEST(WdlTokenChoiceListRecord, EmptyListKeepsCountAndDefault)
{
    WdlTokenChoiceList list(QStringLiteral("cl"));
    list.setItemNumber(2);
    EXPECT_EQ(hexBytes(list.toByteArray()), "04 02 00 02 00 00 00");
}

TEST(WdlTokenChoiceListDump, ListsEntryIdsWithoutDefault)
{
    const auto low = makeText("Low", 1);
    const auto high = makeText("High", 2);
    WdlTokenChoiceList list(QStringLiteral("speeds"));
    list.addChoice(low.get());
    list.addChoice(high.get());
    list.setDefaultChoice(1);
    EXPECT_EQ(list.toString(false).toStdString(), "CL: speeds\n{\n   Low\n   High\n}\n\n");
    EXPECT_EQ(list.toString(true).toStdString(), "");
}

TEST(WdlTokenChoiceListEditor, AddChoiceCountsReferencesAndIgnoresNull)
{
    const auto low = makeText("Low", 1);
    WdlTokenChoiceList list(QStringLiteral("cl"));
    metaCallVoid(&list, "addChoice", low.get());
    metaCallVoid(&list, "addChoice", low.get());
    metaCallVoid(&list, "addChoice", static_cast<WdlTokenText *>(nullptr));
    EXPECT_EQ(list.choiceCount(), 2);
    EXPECT_EQ(low->referenceCount(), 2);
}

TEST(WdlTokenChoiceListEditor, DefaultChoiceKeepsLow16BitsAndStaysUnchecked)
{
    const auto a = makeText("A", 1);
    const auto b = makeText("B", 2);
    const auto c = makeText("C", 3);
    WdlTokenChoiceList list(QStringLiteral("cl"));
    for (WdlTokenText *text : {a.get(), b.get(), c.get()})
        list.addChoice(text);

    metaCallVoid(&list, "setDefaultChoice", 65537);
    EXPECT_EQ(list.defaultChoice(), 1);
    EXPECT_EQ(metaCall<WdlTokenText *>(&list, "getDefaultText"), b.get());

    metaCallVoid(&list, "setDefaultChoice", 3);
    EXPECT_EQ(metaCall<WdlTokenText *>(&list, "getDefaultText"), nullptr);
}

TEST(WdlTokenChoiceListEditor, EmptyListHasNoDefaultText)
{
    WdlTokenChoiceList list(QStringLiteral("cl"));
    EXPECT_EQ(metaCall<WdlTokenText *>(&list, "getDefaultText"), nullptr);
}

TEST(WdlTokenChoiceListSameChoices, ComparesItemsByIdentityAndOrder)
{
    const auto a = makeText("A", 1);
    const auto b = makeText("B", 2);
    const auto twinOfA = makeText("A", 3);
    WdlTokenChoiceList ab(QStringLiteral("ab"));
    WdlTokenChoiceList ab2(QStringLiteral("ab2"));
    WdlTokenChoiceList ba(QStringLiteral("ba"));
    WdlTokenChoiceList twin(QStringLiteral("twin"));
    WdlTokenChoiceList onlyA(QStringLiteral("a"));
    for (WdlTokenChoiceList *list : {&ab, &ab2}) {
        list->addChoice(a.get());
        list->addChoice(b.get());
    }
    ba.addChoice(b.get());
    ba.addChoice(a.get());
    twin.addChoice(twinOfA.get());
    twin.addChoice(b.get());
    onlyA.addChoice(a.get());

    EXPECT_TRUE(ab.sameChoices(&ab2));
    EXPECT_FALSE(ab.sameChoices(&ba));
    EXPECT_FALSE(ab.sameChoices(&twin));
    EXPECT_FALSE(ab.sameChoices(&onlyA));
    EXPECT_FALSE(ab.sameChoices(nullptr));
}

} // namespace
