#include "droptarget.h"

#include <QUrl>
#include <QVariant>
#include <gtest/gtest.h>

namespace {
class PocketDouble : public QObject {
    Q_OBJECT
    Q_PROPERTY(QVariantList items MEMBER items)
public:
    // Files it takes; the rest it turns down.
    bool takes = true;
    QVariantList items;
    int ingests = 0;
    Q_INVOKABLE void ingest(const QList<QUrl> &urls)
    {
        ++ingests;
        if (takes)
            for (const QUrl &u : urls)
                items.append(QVariant(u));
    }
};

class ModelDouble : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool fileDropTargeted MEMBER fileDropTargeted)
    Q_PROPERTY(QObject *pocket MEMBER pocket)
public:
    bool fileDropTargeted = false;
    QObject *pocket = nullptr;
    int pocketOpens = 0;
    Q_INVOKABLE void openPocket() { ++pocketOpens; }
};
} // namespace

class DropTargetTest : public ::testing::Test {
protected:
    void SetUp() override { model.pocket = &pocket; }
    PocketDouble pocket;
    ModelDouble model;
    DropTarget target{&model};
    const QList<QUrl> files{QUrl::fromLocalFile("/tmp/a.txt")};
};

TEST_F(DropTargetTest, DraggingOverRaisesTheFlagAndOpensThePocket)
{
    target.setTargeted(true);
    EXPECT_TRUE(model.fileDropTargeted);
    EXPECT_EQ(model.pocketOpens, 1);
    target.setTargeted(false);
    EXPECT_FALSE(model.fileDropTargeted);
    EXPECT_EQ(model.pocketOpens, 1);
}

TEST_F(DropTargetTest, HiddenPocketRefusesAndIgnoresDrags)
{
    target.setPocketHidden(true);
    target.setTargeted(true);
    EXPECT_FALSE(model.fileDropTargeted);
    EXPECT_EQ(model.pocketOpens, 0);
    EXPECT_FALSE(target.drop(files));
    EXPECT_EQ(pocket.ingests, 0);
}

TEST_F(DropTargetTest, DropOpensThePocketOnlyWhenItHoldsSomething)
{
    model.fileDropTargeted = true;
    pocket.takes = false;
    EXPECT_TRUE(target.drop(files));
    EXPECT_EQ(pocket.ingests, 1);
    EXPECT_EQ(model.pocketOpens, 0);
    EXPECT_FALSE(model.fileDropTargeted);

    model.fileDropTargeted = true;
    pocket.takes = true;
    EXPECT_TRUE(target.drop(files));
    EXPECT_EQ(model.pocketOpens, 1);
    EXPECT_FALSE(model.fileDropTargeted);
}

#include "droptarget_test.moc"
