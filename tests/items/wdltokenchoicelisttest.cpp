#include "items/wdltokenchoicelist.h"

#include "support/testsupport.h"

namespace {

// Choice list 5 of Low, text 3, and High, the 247th text, which reports 251.
TEST(WdlTokenChoiceList, RecordAndDumpNameEntriesByTextNumberAndId)
{
    WdlTokenText low(QStringLiteral("Low"), QStringLiteral("Low"), false);
    WdlTokenText high(QStringLiteral("High"), QStringLiteral("High"), false);
    low.setItemNumber(3);
    high.setItemNumber(247);
    WdlTokenChoiceList list(QStringLiteral("speeds"));
    list.setItemNumber(5);
    EXPECT_EQ(hex(list.toByteArray()), "04 05 00 02 00 00 00");
    // The editor's calls skip a null text and keep the low 16 bits of the default.
    metaCallVoid(&list, "addChoice", &low);
    metaCallVoid(&list, "addChoice", static_cast<WdlTokenText *>(nullptr));
    metaCallVoid(&list, "addChoice", &high);
    metaCallVoid(&list, "setDefaultChoice", 65537);
    EXPECT_EQ(hex(list.toByteArray()), "04 05 00 06 00 02 01 03 00 FB 00");
    EXPECT_EQ(list.toString(false).toStdString(), "CL: speeds\n{\n   Low\n   High\n}\n\n");
    EXPECT_EQ(list.toString(true).toStdString(), "");
    EXPECT_EQ(metaCall<WdlTokenText *>(&list, "getDefaultText"), &high);
    EXPECT_EQ(low.referenceCount(), 1);
    metaCallVoid(&list, "setDefaultChoice", 2);
    EXPECT_EQ(metaCall<WdlTokenText *>(&list, "getDefaultText"), nullptr);
}

} // namespace
