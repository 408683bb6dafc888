#include "items/wdltokenlocalparam.h"

#include "support/testsupport.h"

namespace {

TEST(WdlTokenLocalParam, RecordHoldsSignedValueAndDumpIsOneAssignment)
{
    WdlTokenLocalParam lp(QStringLiteral("counter"), -1);
    lp.setItemNumber(3);
    EXPECT_EQ(hex(lp.toByteArray()), "07 03 00 04 00 FF FF FF FF");
    EXPECT_EQ(lp.toString(false).toStdString(), "LP: counter = -1\n");
    EXPECT_EQ(lp.toString(true).toStdString(), "");
}

} // namespace
