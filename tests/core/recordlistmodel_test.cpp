#include "games/action/dinoengine.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

std::vector<DinoObstacle> withIds(std::initializer_list<qint64> ids, double x = 0)
{
    std::vector<DinoObstacle> out;
    for (qint64 id : ids)
        out.push_back(DinoObstacle{id, x + double(id), 0, 10, 10, false});
    return out;
}

std::vector<qint64> idsOf(const RecordListModel<DinoObstacle> &m)
{
    std::vector<qint64> out;
    for (int r = 0; r < m.rowCount(); ++r)
        out.push_back(m.index(r).data(Qt::UserRole).toLongLong());
    return out;
}

} // namespace

TEST(RecordListModelTest, SyncKeepsSurvivingRowsAndTheirIdentity)
{
    RecordListModel<DinoObstacle> model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy counts(&model, &RecordListModelBase::countChanged);

    model.sync(withIds({1, 2, 3}));
    const QPersistentModelIndex two(model.index(1));

    // The oldest leaves, one arrives, the rest move.
    model.sync(withIds({2, 3, 4}, -5));
    EXPECT_EQ(idsOf(model), (std::vector<qint64>{2, 3, 4}));
    ASSERT_TRUE(two.isValid());
    EXPECT_EQ(two.row(), 0);
    EXPECT_EQ(two.data(Qt::UserRole + 1).toDouble(), -3.0);

    model.sync(withIds({}));
    EXPECT_EQ(model.rowCount(), 0);
    model.sync(withIds({5, 6}));
    EXPECT_EQ(resets.count(), 0);

    // A changed order moves the rows; they keep their identity.
    const QPersistentModelIndex six(model.index(1));
    QSignalSpy moves(&model, &QAbstractItemModel::rowsMoved);
    model.sync(withIds({7, 6, 5}));
    EXPECT_EQ(idsOf(model), (std::vector<qint64>{7, 6, 5}));
    EXPECT_EQ(six.row(), 1);
    model.sync(withIds({5, 7, 6}));
    EXPECT_EQ(idsOf(model), (std::vector<qint64>{5, 7, 6}));
    EXPECT_EQ(six.row(), 2);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_GE(moves.count(), 1);
    EXPECT_EQ(counts.count(), 4); // 0→3, 3→0, 0→2, 2→3; the reorder keeps 3
    EXPECT_EQ(model.roleNames().value(Qt::UserRole + 5), "flying");
}
