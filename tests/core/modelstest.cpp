#include "core/warning.h"
#include "core/warningsmodel.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokentext.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <memory>
#include <vector>

namespace {

class ItemsModel : public ::testing::Test
{
protected:
    WdlToken *add(const QString &id)
    {
        m_items.push_back(std::make_unique<WdlToken>(id));
        m_model.addItem(m_items.back().get());
        return m_items.back().get();
    }

    std::vector<std::unique_ptr<WdlToken>> m_items;
    WizardItemsModel m_model;
};

TEST_F(ItemsModel, AddingNumbersTheItemAndAnnouncesItsRow)
{
    for (int i = 0; i < 4; ++i)
        add(QStringLiteral("t") + QString::number(i));
    QSignalSpy inserted(&m_model, SIGNAL(rowsInserted(QModelIndex, int, int)));
    WdlToken *fifth = add(QStringLiteral("fifth"));
    EXPECT_EQ(fifth->itemNumber(), 5);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 4);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 4);
}

TEST_F(ItemsModel, RolesGiveIdAndItem)
{
    WdlToken *a = add(QStringLiteral("a"));
    const QHash<int, QByteArray> roles = m_model.roleNames();
    ASSERT_EQ(roles.value(257), QByteArray("wizarditem"));
    EXPECT_EQ(roles.value(Qt::DisplayRole), QByteArray("display"));
    EXPECT_EQ(m_model.data(m_model.index(0), Qt::DisplayRole).toString(), QStringLiteral("a"));
    EXPECT_EQ(m_model.data(m_model.index(0), 257).value<WdlToken *>(), a);
    EXPECT_FALSE(m_model.data(m_model.index(0), 258).isValid());
    EXPECT_FALSE(m_model.data(m_model.index(1), Qt::DisplayRole).isValid());
    EXPECT_FALSE(m_model.data(m_model.index(-1), Qt::DisplayRole).isValid());
    EXPECT_EQ(m_model.rowCount(), 1);
}

TEST_F(ItemsModel, LookupGivesTheFirstOfEqualIds)
{
    WdlToken *first = add(QStringLiteral("x"));
    add(QStringLiteral("x"));
    EXPECT_EQ(m_model.itemById(QStringLiteral("x")), first);
    EXPECT_FALSE(m_model.itemById(QStringLiteral("X"))) << "ids are case-sensitive";
    EXPECT_FALSE(m_model.containsId(QString()));
}

TEST_F(ItemsModel, LookupFollowsRenamesThroughTheIdProperty)
{
    WdlToken *a = add(QStringLiteral("a"));
    WdlToken *b = add(QStringLiteral("b"));
    WdlToken *c = add(QStringLiteral("b"));
    a->setProperty("id", QStringLiteral("renamed"));
    EXPECT_FALSE(m_model.containsId(QStringLiteral("a")));
    EXPECT_EQ(m_model.itemById(QStringLiteral("renamed")), a);
    b->setProperty("id", QStringLiteral("other"));
    EXPECT_EQ(m_model.itemById(QStringLiteral("b")), c);
    c->setProperty("id", QStringLiteral("renamed"));
    EXPECT_EQ(m_model.itemById(QStringLiteral("renamed")), a) << "the first in list order still wins";
}

TEST_F(ItemsModel, ClearEmptiesWithAResetAndLeavesItems)
{
    WdlToken *a = add(QStringLiteral("a"));
    QSignalSpy reset(&m_model, SIGNAL(modelReset()));
    m_model.clear();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(m_model.count(), 0);
    EXPECT_FALSE(m_model.containsId(QStringLiteral("a")));
    EXPECT_EQ(a->id(), QStringLiteral("a"));
}

TEST(WarningsModel, RolesGiveTextLineAndFile)
{
    WarningsModel model;
    Warning w(QStringLiteral("Unknown tag FOO"), QStringLiteral("pump.wdl"), 12);
    QSignalSpy inserted(&model, SIGNAL(rowsInserted(QModelIndex, int, int)));
    model.appendWarning(&w);
    EXPECT_EQ(inserted.count(), 1);
    const QHash<int, QByteArray> roles = model.roleNames();
    EXPECT_EQ(roles.value(257), QByteArray("lineNumber"));
    EXPECT_EQ(roles.value(258), QByteArray("fileName"));
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), QStringLiteral("Unknown tag FOO"));
    EXPECT_EQ(model.data(model.index(0), 257).toInt(), 12);
    EXPECT_EQ(model.data(model.index(0), 258).toString(), QStringLiteral("pump.wdl"));
    EXPECT_FALSE(model.data(model.index(0), 259).isValid());
    EXPECT_FALSE(model.data(model.index(1), Qt::DisplayRole).isValid());
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

} // namespace
