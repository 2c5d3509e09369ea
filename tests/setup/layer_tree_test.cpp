// The layer tree of a real drawing: building it from the pages' layer
// tables and elements, editing nodes, writing it back, snapshots.
#include <cstring>
#include <string>
#include <vector>

#include "setup_fixture.h"
#include "base/paper_sizes.h"
#include "command/host_hooks.h"
#include "setup/layer_tree.h"
#include "setup/layers.h"
#include "setup/page_services.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

class LayerTreeTest : public SetupFixture {
protected:
    LayerTable& Table(int page = 0) { return DAriGetDbInfoPtr(page, db)->layers; }
    void Name(int layer, const char* name, const char* group, int page = 0) {
        DAriSetLayerName(page, layer, name, db);
        std::strcpy(Table(page).groupNames[layer], group);
    }
    StoredElement* Add(uint16_t layer, int page = 0) {
        ElementRecord r = {};
        r.kind = kElmLine;
        r.layer = layer;
        r.page = page;
        r.colour = 1;
        return DAriAppendElement(&r, db);
    }
    int OnLayer(int layer) {
        int n = 0;
        ElementRecord r;
        for (StoredElement* e = DAriReadElement(nullptr, 0, &r, db); e; e = DAriReadElement(e, 1, &r, db))
            n += r.layer == layer;
        return n;
    }
    // "G1:3,5 |:4" — groups with their layer numbers.
    std::string Shape(int page = 0) {
        std::string s;
        for (const LayerTreeGroup& g : tree.pages[page].groups) {
            if (!s.empty()) s += " ";
            s += std::string(g.name) + ":";
            for (size_t i = 0; i < g.layers.size(); ++i)
                s += (i ? "," : "") + std::to_string(g.layers[i].number);
        }
        return s;
    }
    static bool Bit(const uint16_t* words, int layer) { return (words[layer / 16] >> (layer % 16)) & 1; }

    LayerTree tree;
};

TEST_F(LayerTreeTest, AnEmptyCurrentPageOffersLayerOneAndNamesItInTheDrawing) {
    modified = 0;
    BuildLayerTree(&tree);
    ASSERT_EQ(1u, tree.pages.size());
    EXPECT_EQ(":0", Shape());
    EXPECT_STREQ("レイヤ 1", tree.pages[0].groups[0].layers[0].name);
    ASSERT_NE(nullptr, Table().names[0]);
    EXPECT_STREQ("レイヤ 1", Table().names[0]);
    EXPECT_EQ(tree.pages[0].groups[0].layers[0].nodeId, tree.currentNodeId);
    // Naming the layer changed the drawing.
    EXPECT_GT(modified, 0);
}

TEST_F(LayerTreeTest, GroupsFollowTheFirstAppearanceOfTheirNamesAndIdsArePreOrder) {
    Name(3, "壁", "G1");
    Name(5, "窓", "G1");
    Add(4);  // used, unnamed: the unnamed group
    BuildLayerTree(&tree);
    EXPECT_EQ("G1:3,5 :4", Shape());
    const LayerTreePage& p = tree.pages[0];
    EXPECT_EQ(0, p.nodeId);
    EXPECT_EQ(1, p.groups[0].nodeId);
    EXPECT_EQ(2, p.groups[0].layers[0].nodeId);
    EXPECT_EQ(3, p.groups[0].layers[1].nodeId);
    EXPECT_EQ(4, p.groups[1].nodeId);
    EXPECT_EQ(5, p.groups[1].layers[0].nodeId);
    EXPECT_EQ(6, tree.nextNodeId);
    EXPECT_STREQ("レイヤ 5", p.groups[1].layers[0].name);
    EXPECT_EQ(1, p.groups[1].layers[0].used);
    EXPECT_EQ(3, p.groups[0].firstLayer);
}

TEST_F(LayerTreeTest, RemovingANodeDeletesItsElementsOnWriteBack) {
    Name(3, "壁", "G1");
    Name(5, "窓", "G1");
    Add(3);
    Add(3);
    Add(5);
    Add(8);  // used only: stays, and stays unnamed
    BuildLayerTree(&tree);
    ASSERT_EQ(1, RemoveLayerNode(&tree, 0, 3, 0));
    EXPECT_EQ("G1:5 :8", Shape());
    EXPECT_EQ(5, tree.pages[0].groups[0].firstLayer);
    ASSERT_EQ(1, WriteLayerTree(&tree));
    EXPECT_EQ(0, OnLayer(3));
    EXPECT_EQ(1, OnLayer(5));
    EXPECT_EQ(1, OnLayer(8));
    EXPECT_STREQ("", Table().names[3]);
    EXPECT_STREQ("窓", Table().names[5]);
    EXPECT_TRUE(Table().names[8] == nullptr || Table().names[8][0] == '\0');
    EXPECT_STREQ("G1", Table().groupNames[5]);
}

TEST_F(LayerTreeTest, WriteBackSetsTheBitsOfLayersOutsideTheTreeAndKeepsNodeFlags) {
    Name(2, "A", "");
    for (int w = 0; w < 64; ++w) Table().display[w] = Table().detect[w] = 0;
    BuildLayerTree(&tree);
    tree.pages[0].groups[0].layers[0].display = 0;
    tree.pages[0].groups[0].layers[0].lock = 1;
    ASSERT_EQ(1, WriteLayerTree(&tree));
    EXPECT_TRUE(Bit(Table().display, 900));
    EXPECT_TRUE(Bit(Table().detect, 1023));
    // Layer 2's node keeps what it read: hidden and not detectable, now locked.
    EXPECT_FALSE(Bit(Table().display, 2));
    EXPECT_FALSE(Bit(Table().detect, 2));
    EXPECT_TRUE(Bit(Table().lock, 2));
}

TEST_F(LayerTreeTest, InsertedLayersFindTheirPlace) {
    Name(2, "a", "G2");
    Name(9, "b", "G9");
    BuildLayerTree(&tree);
    struct Case {
        int layer;
        const char* group;
        const char* shape;
    } cases[] = {
        {7, "新", "G2:2 新:7 G9:9"},
        {12, "G2", "G2:2,12 新:7 G9:9"},
        {1, "G2", "G2:1,2,12 新:7 G9:9"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(1, InsertLayerNode(&tree, nullptr, 0, c.layer, c.group, "n", 0, 1)) << c.layer;
        EXPECT_EQ(c.shape, Shape()) << c.layer;
    }
    EXPECT_EQ(1, tree.pages[0].groups[0].firstLayer);
}

TEST_F(LayerTreeTest, RenamingMovesALayerBetweenGroupsKeepingItsFlags) {
    Name(2, "a", "G1");
    Name(3, "b", "G1");
    BuildLayerTree(&tree);
    tree.pages[0].groups[0].layers[1].lock = 1;
    ASSERT_EQ(1, SetLayerNameAndGroup(&tree, nullptr, 0, 3, "G2", "配管", 0));
    EXPECT_EQ("G1:2 G2:3", Shape());
    EXPECT_STREQ("配管", tree.pages[0].groups[1].layers[0].name);
    EXPECT_EQ(1, tree.pages[0].groups[1].layers[0].lock);
    EXPECT_EQ(0, SetLayerNameAndGroup(&tree, nullptr, 0, 44, "G2", "x", 0));
}

TEST_F(LayerTreeTest, PagesAreAlikeUntilOneIsEdited) {
    Name(1, "a", "");
    BuildLayerTree(&tree);
    CLayerPageList list(&tree);
    EXPECT_EQ(1, list.AllPagesAlike());  // one page
    ASSERT_EQ(1, AddPageFrom(1, 0));
    Name(1, "a", "", 1);
    BuildLayerTree(&tree);
    EXPECT_EQ(1, list.AllPagesAlike());
    InsertLayerNode(&tree, nullptr, 0, 6, "", "x", 0, 1);  // on every page
    EXPECT_EQ(1, list.AllPagesAlike());
    InsertLayerNode(&tree, nullptr, 1, 7, "", "y", 0, 0);  // this page only
    EXPECT_EQ(0, list.AllPagesAlike());
}

TEST_F(LayerTreeTest, SnapshotsUndoLivePreviewsAndGuardsReportBadIndices) {
    Name(1, "a", "");
    BuildLayerTree(&tree);
    CLayerPageList list(&tree);
    ASSERT_EQ(1, list.Snapshot());
    Table().display[0] = 0;
    Table().inputLayer = 9;
    ASSERT_EQ(1, list.Restore());
    EXPECT_NE(0, Table().display[0]);
    EXPECT_NE(9, Table().inputLayer);
    tree.pages.push_back(tree.pages[0]);
    EXPECT_EQ(0, list.Restore());  // counts differ
    tree.pages.pop_back();

    win::MessageBoxTestHook boxes;
    LayerTreeLayer* first = list.GetLayer(0, 0, 0);
    EXPECT_EQ(first, list.GetLayer(0, 0, 5));
    EXPECT_EQ(3, list.LastError());
    EXPECT_EQ(&tree.pages[0], list.GetPage(4));
    EXPECT_EQ(1, list.LastError());
    ASSERT_EQ(2u, boxes.Calls().size());
    EXPECT_EQ("レイヤ情報に問題が発生しました。(レイヤ)", boxes.Calls()[0].text);
    EXPECT_EQ("異常", boxes.Calls()[0].caption);
}

TEST_F(LayerTreeTest, ATableBuildsOnePageOfItsNamedLayers) {
    LayerTable saved = {};
    char a[] = "壁", empty[] = "";
    saved.names[4] = a;
    saved.names[6] = empty;  // cleared: left out
    std::strcpy(saved.groupNames[4], "建築");
    BuildLayerTreeFromTable(&tree, &saved);
    ASSERT_EQ(1u, tree.pages.size());
    EXPECT_EQ("建築:4", Shape());
    EXPECT_EQ(1, tree.pages[0].groups[0].layers[0].display);
    LayerTable none = {};
    BuildLayerTreeFromTable(&tree, &none);
    ASSERT_EQ(1u, tree.pages[0].groups.size());
    EXPECT_TRUE(tree.pages[0].groups[0].layers.empty());
}

}  // namespace
