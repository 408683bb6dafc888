#include "items/wdltokenlocalparam.h"

#include "testhelpers.h"

#include <QSignalSpy>

namespace {

TEST(WdlTokenLocalParam, RecordHoldsSignedValue)
{
    WdlTokenLocalParam lp(QStringLiteral("lp"), -1);
    lp.setItemNumber(3);
    EXPECT_EQ(hexBytes(lp.toByteArray()), "07 03 00 04 00 FF FF FF FF");
}

TEST(WdlTokenLocalParam, DumpIsOneAssignmentLine)
{
    const WdlTokenLocalParam lp(QStringLiteral("counter"), -5);
    EXPECT_EQ(lp.toString(false).toStdString(), "LP: counter = -5\n");
    EXPECT_EQ(lp.toString(true).toStdString(), "");
}

TEST(WdlTokenLocalParam, ValuePropertyEmitsOnlyOnChange)
{
    WdlTokenLocalParam lp(QStringLiteral("lp"), 7);
    QSignalSpy spy(&lp, SIGNAL(valueChanged(int)));
    ASSERT_TRUE(spy.isValid());
    EXPECT_TRUE(lp.setProperty("value", 7));
    EXPECT_EQ(spy.count(), 0);
    EXPECT_TRUE(lp.setProperty("value", 8));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 8);
    EXPECT_EQ(lp.property("value").toInt(), 8);
}

} // namespace
