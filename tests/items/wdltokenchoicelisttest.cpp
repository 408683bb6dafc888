#include "items/wdltokenchoicelist.h"

#include "testhelpers.h"

#include <memory>

namespace {

struct Texts
{
    WdlTokenText low{QStringLiteral("Low"), QStringLiteral("Low"), false};
    WdlTokenText high{QStringLiteral("High"), QStringLiteral("High"), false};
    WdlTokenText max{QStringLiteral("Max"), QStringLiteral("Max"), false};

    Texts()
    {
        low.setItemNumber(3);
        // The 247th text reports 251.
        high.setItemNumber(247);
        max.setItemNumber(4);
    }
};

TEST(WdlTokenChoiceListRecord, EntriesUseTextNumbers)
{
    Texts texts;
    WdlTokenChoiceList list(QStringLiteral("cl"));
    list.setItemNumber(5);
    list.addChoice(&texts.low);
    list.addChoice(&texts.high);
    list.setDefaultChoice(1);
    EXPECT_EQ(hexBytes(list.toByteArray()), "04 05 00 06 00 02 01 03 00 FB 00");

    WdlTokenChoiceList empty(QStringLiteral("cl"));
    empty.setItemNumber(2);
    EXPECT_EQ(hexBytes(empty.toByteArray()), "04 02 00 02 00 00 00");
}

TEST(WdlTokenChoiceListDump, ListsEntryIdsWithoutDefault)
{
    Texts texts;
    WdlTokenChoiceList list(QStringLiteral("speeds"));
    list.addChoice(&texts.low);
    list.addChoice(&texts.high);
    list.setDefaultChoice(1);
    EXPECT_EQ(list.toString(false).toStdString(), "CL: speeds\n{\n   Low\n   High\n}\n\n");
    EXPECT_EQ(list.toString(true).toStdString(), "");
}

TEST(WdlTokenChoiceListEditor, AddChoiceCountsReferencesAndIgnoresNull)
{
    Texts texts;
    WdlTokenChoiceList list(QStringLiteral("cl"));
    EXPECT_EQ(metaCall<WdlTokenText *>(&list, "getDefaultText"), nullptr);
    metaCallVoid(&list, "addChoice", &texts.low);
    metaCallVoid(&list, "addChoice", &texts.low);
    metaCallVoid(&list, "addChoice", static_cast<WdlTokenText *>(nullptr));
    EXPECT_EQ(list.choiceCount(), 2);
    EXPECT_EQ(texts.low.referenceCount(), 2);
}

TEST(WdlTokenChoiceListEditor, DefaultChoiceKeepsLow16BitsAndStaysUnchecked)
{
    Texts texts;
    WdlTokenChoiceList list(QStringLiteral("cl"));
    for (WdlTokenText *text : {&texts.low, &texts.high, &texts.max})
        list.addChoice(text);
    metaCallVoid(&list, "setDefaultChoice", 65537);
    EXPECT_EQ(metaCall<WdlTokenText *>(&list, "getDefaultText"), &texts.high);
    metaCallVoid(&list, "setDefaultChoice", 3);
    EXPECT_EQ(metaCall<WdlTokenText *>(&list, "getDefaultText"), nullptr);
}

// Same text items in the same order; look-alike texts do not count.
TEST(WdlTokenChoiceListSameChoices, ComparesItemsByIdentityAndOrder)
{
    Texts texts;
    WdlTokenText lowTwin(QStringLiteral("Low"), QStringLiteral("Low"), false);
    const auto listOf = [](std::initializer_list<WdlTokenText *> entries) {
        auto list = std::make_unique<WdlTokenChoiceList>(QStringLiteral("cl"));
        for (WdlTokenText *text : entries)
            list->addChoice(text);
        return list;
    };
    const auto lowHigh = listOf({&texts.low, &texts.high});
    EXPECT_TRUE(lowHigh->sameChoices(listOf({&texts.low, &texts.high}).get()));
    EXPECT_FALSE(lowHigh->sameChoices(listOf({&texts.high, &texts.low}).get()));
    EXPECT_FALSE(lowHigh->sameChoices(listOf({&lowTwin, &texts.high}).get()));
    EXPECT_FALSE(lowHigh->sameChoices(listOf({&texts.low}).get()));
    EXPECT_FALSE(lowHigh->sameChoices(nullptr));
}

} // namespace
