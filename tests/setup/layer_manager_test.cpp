// The layer manager's rules without its window: the icon of a row, the click
// zones, and what a click on an icon does to the tree, the live layer table
// and the linked pages; deletion checks; the add dialog's free numbers.
#include <cstring>
#include <string>

#include "setup_fixture.h"
#include "setup/layer_edit_dialogs.h"
#include "setup/layer_manager_dialog.h"
#include "setup/layer_tree.h"
#include "setup/page_services.h"
#include "win/message_box.h"

namespace {

TEST(LayerManagerRules, IconOfEveryKindOfRow) {
    const struct {
        int display, detect, use, lock, icon;
    } cases[] = {
        // pages
        {0, 0, -1, -1, 0}, {1, 0, -1, -1, 1}, {1, 1, -1, -1, 2}, {2, 1, -1, -1, 3}, {1, 2, -1, -1, 3},
        // layers: hidden, shown only, shown and detectable by use, then locked
        {0, 0, 0, 0, 4}, {0, 0, 1, 0, 5}, {0, 0, 2, 0, 6}, {1, 0, 0, 0, 7}, {1, 0, 2, 0, 9},
        {1, 1, 0, 0, 10}, {1, 1, 1, 0, 11}, {1, 1, 2, 0, 12}, {0, 0, 0, 1, 13}, {1, 1, 2, 1, 21},
        // groups: none, all shown, all shown and detectable, mixed; locked
        {0, 0, -1, 0, 22}, {1, 0, -1, 0, 23}, {1, 1, -1, 0, 24}, {2, 1, -1, 0, 25}, {1, 2, -1, 0, 25},
        {0, 0, -1, 1, 26}, {1, 1, -1, 1, 28}, {2, 2, -1, 1, 29},
        {0, 1, -1, 0, 22},  // detectable but none shown
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.icon, IconIndexFor(c.display, c.detect, c.use, c.lock))
            << c.display << c.detect << c.use << c.lock;
}

TEST(LayerManagerRules, ClickZonesOfTheThreeRowKinds) {
    const struct {
        int kind, x, zone;
    } cases[] = {
        {kLayerRowPage, 0, 1},    {kLayerRowPage, 44, 1},   {kLayerRowPage, 45, 2},   {kLayerRowPage, 71, 2},
        {kLayerRowPage, 80, 0},   {kLayerRowPage, 90, 5},   {kLayerRowGroup, 89, 1},  {kLayerRowGroup, 90, 2},
        {kLayerRowGroup, 104, 2}, {kLayerRowGroup, 105, 6}, {kLayerRowGroup, 125, 6}, {kLayerRowGroup, 130, 0},
        {kLayerRowGroup, 135, 5}, {kLayerRowLayer, 134, 1}, {kLayerRowLayer, 135, 3}, {kLayerRowLayer, 149, 2},
        {kLayerRowLayer, 163, 2}, {kLayerRowLayer, 164, 6}, {kLayerRowLayer, 177, 6}, {kLayerRowLayer, 178, 0},
        {kLayerRowLayer, 180, 4}, {kLayerRowLayer, 209, 4}, {kLayerRowLayer, 210, 5}, {kLayerRowLayer, 900, 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.zone, LayerRowZone(c.kind, c.x)) << c.kind << " " << c.x;
}

class LayerManagerModel : public SetupFixture {
protected:
    void TearDown() override {
        FreeLayerTree(&tree);
        SetupFixture::TearDown();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& c : boxes.Calls())
            out.push_back(c.text);
        return out;
    }
    LayerTable& Table(int page = 0) { return DAriGetDbInfoPtr(page, db)->layers; }
    void Name(int layer, const char* name, const char* group, int page = 0) {
        DAriSetLayerName(page, layer, name, db);
        std::strcpy(Table(page).groupNames[layer], group);
    }
    static bool Bit(const uint16_t* words, int layer) { return (words[layer / 16] >> (layer % 16)) & 1; }
    LayerTreeLayer& Node(int page, int group, int layer) { return tree.pages[page].groups[group].layers[layer]; }

    LayerTree tree;
    win::MessageBoxTestHook boxes;
};

TEST_F(LayerManagerModel, LayerClicksToggleTheTreeAndTheLiveBits) {
    Name(2, "a", "G");
    BuildLayerTree(&tree);
    LayerTreeLayer& n = Node(0, 0, 0);
    ASSERT_EQ(2, n.number);
    // Left twice: both off, both on again; right from both: shown only, then hidden.
    ASSERT_EQ(1, ApplyLayerTreeClick(&tree, 0, 0, 0, 2, 0));
    EXPECT_EQ(0, n.display + n.detect);
    EXPECT_FALSE(Bit(Table().display, 2));
    ApplyLayerTreeClick(&tree, 0, 0, 0, 2, 0);
    EXPECT_TRUE(Bit(Table().display, 2) && Bit(Table().detect, 2));
    ApplyLayerTreeClick(&tree, 0, 0, 0, 2, 1);
    EXPECT_TRUE(Bit(Table().display, 2) && !Bit(Table().detect, 2));
    ApplyLayerTreeClick(&tree, 0, 0, 0, 2, 1);
    EXPECT_FALSE(Bit(Table().display, 2));
    // Lock and the input layer.
    ApplyLayerTreeClick(&tree, 0, 0, 0, 6, 0);
    EXPECT_TRUE(Bit(Table().lock, 2));
    ApplyLayerTreeClick(&tree, 0, 0, 0, 3, 0);
    EXPECT_EQ(2, tree.inputLayer);
    EXPECT_EQ(15, LayerNodeIcon(&tree, tree.pages[0], n)) << "locked, hidden, the input layer: 13 + 2";
}

TEST_F(LayerManagerModel, GroupClicksSwitchEveryLayerAndLinkedPagesFollowInTheTree) {
    Name(1, "a", "G");
    Name(4, "b", "G");
    ASSERT_EQ(1, AddPageFrom(1, 0));
    Name(1, "a", "G", 1);
    Name(4, "b", "G", 1);
    for (int layer : {1, 4}) {
        SetLayerBit(Table(1).display, layer, true);
        SetLayerBit(Table(1).detect, layer, true);
    }
    BuildLayerTree(&tree);
    ASSERT_EQ(2u, tree.pages.size());
    ASSERT_EQ(1, CLayerPageList(&tree).AllPagesAlike());
    // Right on a group that is all shown and detectable: all shown only.
    ApplyLayerTreeClick(&tree, 0, 0, -1, 2, 1);
    EXPECT_EQ(23, GroupNodeIcon(tree.pages[0].groups[0]));
    EXPECT_FALSE(Bit(Table(0).detect, 4));
    EXPECT_EQ(0, Node(1, 0, 1).detect) << "the linked page in the tree";
    EXPECT_TRUE(Bit(Table(1).detect, 4)) << "its table follows only on OK";
    // Right again: all hidden. Lock the group.
    ApplyLayerTreeClick(&tree, 0, 0, -1, 2, 1);
    EXPECT_EQ(22, GroupNodeIcon(tree.pages[0].groups[0]));
    ApplyLayerTreeClick(&tree, 0, 0, -1, 6, 0);
    EXPECT_EQ(26, GroupNodeIcon(tree.pages[0].groups[0]));
    EXPECT_EQ(1, Node(1, 0, 0).lock);
    // A page click stores the page's own bits.
    ApplyLayerTreeClick(&tree, 1, -1, -1, 2, 0);
    EXPECT_EQ(0, IsPageDisplayed(1));
    EXPECT_EQ(0, PageNodeIcon(tree.pages[1]));
}

TEST_F(LayerManagerModel, AllOnAndAllOffReachEveryPageAndLayer) {
    Name(1, "a", "G");
    Name(7, "b", "");
    ASSERT_EQ(1, AddPageFrom(1, 0));
    Name(3, "c", "", 1);
    BuildLayerTree(&tree);
    ASSERT_EQ(1, SetAllLayersShown(&tree, false));
    for (int layer : {1, 7})
        EXPECT_FALSE(Bit(Table(0).display, layer) || Bit(Table(0).detect, layer));
    EXPECT_FALSE(Bit(Table(1).display, 3));
    EXPECT_EQ(0, tree.pages[1].display);
    ASSERT_EQ(1, SetAllLayersShown(&tree, true));
    EXPECT_TRUE(Bit(Table(1).display, 3) && Bit(Table(1).detect, 3));
}

TEST_F(LayerManagerModel, DeletionRefusesTheInputLayerAndTheLastLayerAndAsksOnceForUsedLayers) {
    Name(0, "in", "G");
    Name(2, "used", "G");
    Name(5, "free", "H");
    ElementRecord r = {};
    r.kind = kElmLine;
    r.layer = 2;
    r.colour = 1;
    DAriAppendElement(&r, db);
    Table().inputLayer = 0;
    BuildLayerTree(&tree);
    bool confirmed = false;
    EXPECT_EQ(0, DeleteLayerTreeNode(nullptr, nullptr, &tree, 0, -1, -1, &confirmed));
    EXPECT_EQ(0, DeleteLayerTreeNode(nullptr, nullptr, &tree, 0, 0, 0, &confirmed));
    EXPECT_EQ(0, DeleteLayerTreeNode(nullptr, nullptr, &tree, 0, 0, -1, &confirmed));
    EXPECT_EQ((std::vector<std::string>{"ページは削除できません。", "入力レイヤは削除できません。",
                                        "入力レイヤを含むグループは削除できません。"}),
              Texts());
    boxes.Clear();
    boxes.Answer(IDCANCEL);
    EXPECT_EQ(0, DeleteLayerTreeNode(nullptr, nullptr, &tree, 0, 0, 1, &confirmed)) << "not confirmed";
    boxes.Answer(IDOK);
    EXPECT_EQ(1, DeleteLayerTreeNode(nullptr, nullptr, &tree, 0, 0, 1, &confirmed));
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(2u, boxes.Calls().size());
    EXPECT_FALSE(Bit(Table().display, 2)) << "hidden at once";
    EXPECT_EQ(1, DeleteLayerTreeNode(nullptr, nullptr, &tree, 0, 1, 0, &confirmed));
    EXPECT_EQ(2u, boxes.Calls().size()) << "no question for an unused layer";
    tree.inputLayer = 1023;  // elsewhere: the last layer of the last group is what stays
    EXPECT_EQ(0, DeleteLayerTreeNode(nullptr, nullptr, &tree, 0, 0, 0, &confirmed));
    EXPECT_EQ("レイヤ数が0になるため削除できません。", Texts().back()) << "the last layer of the last group";
}

TEST_F(LayerManagerModel, FreeNumbersAndGroupNamesCutOnACharacterBoundary) {
    Name(0, "a", "");
    Name(1, "b", "");
    BuildLayerTree(&tree);
    const std::vector<int> free = FreeLayerNumbers(&tree, 0);
    ASSERT_FALSE(free.empty());
    EXPECT_EQ(2, free.front());
    EXPECT_EQ(1022u, free.size());
    // Six double-byte characters do not fit 10 bytes: five stay whole.
    ASSERT_EQ(1, SetLayerNameAndGroup(&tree, nullptr, 0, 1, "ＡＢＣＤＥＦ", "b", 0));
    int g = 0, l = 0;
    ASSERT_EQ(1, CLayerPageList(&tree).FindLayer(0, 1, &g, &l));
    EXPECT_STREQ("ＡＢＣＤＥ", tree.pages[0].groups[g].name);
    ASSERT_EQ(1, WriteLayerTree(&tree));
    EXPECT_STREQ("ＡＢＣＤＥ", Table().groupNames[1]);
}

}  // namespace
