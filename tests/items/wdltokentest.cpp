#include "items/wdltoken.h"

#include "testhelpers.h"

#include <QSignalSpy>

namespace {

TEST(WdlToken, BaseRecordIsSixFFBytes)
{
    const WdlToken item(QStringLiteral("x"));
    EXPECT_EQ(hexBytes(item.toByteArray()), "FF FF FF FF FF FF");
}

TEST(WdlToken, IdWriteEmitsAlsoWhenUnchanged)
{
    WdlToken item(QStringLiteral("x"));
    QSignalSpy spy(&item, SIGNAL(idChanged()));
    EXPECT_TRUE(item.setProperty("id", QStringLiteral("x")));
    EXPECT_EQ(spy.count(), 1);
}

} // namespace
