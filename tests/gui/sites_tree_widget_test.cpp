#include "common/scripted_dialogs.h"
#include "common/temp_trash.h"
#include "gui_test_support.h"
#include "mainwindow/sites_frame.h"
#include "sites/site_tree_texts.h"
#include "storage/sites_tree_model.h"
#include "widgets/sites_tree_widget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace kv::test {
namespace {

// Notes every drag the tree starts; the drag itself then runs as usual.
class DragNotingTree : public SitesTreeWidget {
public:
    std::vector<std::string> started;

protected:
    void startDrag(Qt::DropActions actions) override
    {
        started.push_back(key(currentItem()));
        SitesTreeWidget::startDrag(actions);
    }
};

// Presses the left button on the item and moves away in steps, well past the drag distance.
void DragFrom(QTreeWidget& tree, QTreeWidgetItem* item)
{
    QWidget* viewport = tree.viewport();
    const QPoint from = tree.visualItemRect(item).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QPoint to = from;
    for (int step = 0; step < 3; ++step) {
        to += QPoint(0, QApplication::startDragDistance());
        QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &move);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
}

TEST(SitesTreeDrag, TheRootStartsADragLikeEveryOtherNode)
{
    TestProfile profile;
    profile.makeSite("Work/Mail.QVR");
    SitesTreeModel model;
    FillSitesTree(model, profile.directory());
    DragNotingTree tree;
    tree.showModel(model);
    tree.resize(300, 300);
    tree.show();

    DragFrom(tree, tree.topLevelItem(0));
    DragFrom(tree, tree.findKey(profile.folderKey("Work")));

    EXPECT_EQ(tree.started, (std::vector<std::string>{profile.folderKey(""), profile.folderKey("Work")}));
}

TEST(SitesTreeDrag, DroppingTheRootAnywhereIsRefusedInWords)
{
    TestProfile profile;
    profile.makeSite("Work/Mail.QVR");
    ScriptedDialogs dialogs{Dialogs::Answer::OK, Dialogs::Answer::OK};
    RecordingLauncher launcher;
    TempTrash trash;
    SitesFrame frame{{profile.directory(), profile.file(), dialogs, launcher, trash}};
    frame.reloadTree();
    SitesTreeWidget* tree = frame.TreeView1();
    QTreeWidgetItem* root = tree->topLevelItem(0);

    frame.dropNode(root, tree->findKey(profile.folderKey("Work")));
    frame.dropNode(root, tree->findKey(profile.key("Work/Mail.QVR")));

    EXPECT_EQ(dialogs.asked(), std::vector<std::string>(2, std::string(kDragNotPermitted)));
    EXPECT_EQ(tree->topLevelItem(0), root);
    EXPECT_TRUE(fs::exists(profile.key("Work/Mail.QVR")));
}

} // namespace
} // namespace kv::test
