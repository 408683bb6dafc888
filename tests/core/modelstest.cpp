#include "core/warning.h"
#include "core/warningsmodel.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltoken.h"
#include "support/testsupport.h"

#include <QSignalSpy>

#include <memory>
#include <vector>

namespace {

class ItemsModel : public ::testing::Test
{
protected:
    WdlToken *add(const char *id)
    {
        m_items.push_back(std::make_unique<WdlToken>(QString::fromUtf8(id)));
        m_model.addItem(m_items.back().get());
        return m_items.back().get();
    }

    std::vector<std::unique_ptr<WdlToken>> m_items;
    WizardItemsModel m_model;
};

TEST_F(ItemsModel, AddingNumbersTheItemAnnouncesItsRowAndServesIdAndItemRoles)
{
    WdlToken *a = add("a");
    QSignalSpy inserted(&m_model, SIGNAL(rowsInserted(QModelIndex, int, int)));
    EXPECT_EQ(add("b")->itemNumber(), 2);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 1);
    EXPECT_EQ(m_model.roleNames().value(257), QByteArray("wizarditem"));
    EXPECT_EQ(m_model.roleNames().value(Qt::DisplayRole), QByteArray("display"));
    EXPECT_EQ(m_model.data(m_model.index(0), Qt::DisplayRole).toString(), QStringLiteral("a"));
    EXPECT_EQ(m_model.data(m_model.index(0), 257).value<WdlToken *>(), a);
    EXPECT_FALSE(m_model.data(m_model.index(0), 258).isValid());
    EXPECT_FALSE(m_model.data(m_model.index(2), Qt::DisplayRole).isValid());
}

TEST_F(ItemsModel, LookupGivesTheFirstOfEqualIdsFollowsRenamesAndEndsWithClear)
{
    WdlToken *a = add("a");
    WdlToken *b = add("b");
    WdlToken *c = add("b");
    EXPECT_EQ(m_model.itemById(QStringLiteral("b")), b);
    EXPECT_FALSE(m_model.itemById(QStringLiteral("B"))) << "ids are case-sensitive";
    a->setProperty("id", QStringLiteral("renamed"));
    EXPECT_FALSE(m_model.containsId(QStringLiteral("a")));
    b->setProperty("id", QStringLiteral("other"));
    EXPECT_EQ(m_model.itemById(QStringLiteral("b")), c);
    c->setProperty("id", QStringLiteral("renamed"));
    EXPECT_EQ(m_model.itemById(QStringLiteral("renamed")), a) << "the first in list order still wins";
    QSignalSpy reset(&m_model, SIGNAL(modelReset()));
    m_model.clear();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_FALSE(m_model.containsId(QStringLiteral("renamed")));
    EXPECT_EQ(a->id(), QStringLiteral("renamed")) << "clearing leaves the items";
}

TEST(WarningsModel, RolesGiveTextLineAndFile)
{
    WarningsModel model;
    Warning w(QStringLiteral("Unknown tag FOO"), QStringLiteral("pump.wdl"), 12);
    QSignalSpy inserted(&model, SIGNAL(rowsInserted(QModelIndex, int, int)));
    model.appendWarning(&w);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.roleNames().value(257), QByteArray("lineNumber"));
    EXPECT_EQ(model.roleNames().value(258), QByteArray("fileName"));
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), QStringLiteral("Unknown tag FOO"));
    EXPECT_EQ(model.data(model.index(0), 257).toInt(), 12);
    EXPECT_EQ(model.data(model.index(0), 258).toString(), QStringLiteral("pump.wdl"));
    EXPECT_FALSE(model.data(model.index(0), 259).isValid());
    EXPECT_FALSE(model.data(model.index(1), Qt::DisplayRole).isValid());
}

} // namespace
