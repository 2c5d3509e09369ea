// Layer-pattern files on disk: saving a page of the layer tree, loading a
// pattern into the tree and into a drawing, deleting, the older form and
// the names a pattern may not have.
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "setup_fixture.h"
#include "setup/layer_patterns.h"
#include "setup/layer_tree.h"
#include "win/message_box.h"

namespace {

class LayerPatternsTest : public SetupFixture {
protected:
    void SetUp() override {
        SetupFixture::SetUp();
        file = dir.File("LayerPattern.PTN");
        DeleteFileA(file.c_str());
        HostHooks().readSettingFileName = [this](const char*) { return file; };
    }
    void TearDown() override {
        FreeLayerTree(&SharedLayerTree());
        SetupFixture::TearDown();
    }
    LayerTable& Table() { return DAriGetDbInfoPtr(0, db)->layers; }
    void Name(int layer, const char* name, const char* group) {
        DAriSetLayerName(0, layer, name, db);
        std::strcpy(Table().groupNames[layer], group);
    }
    void SetBits(int layer, bool display, bool detect) {
        SetLayerBit(Table().display, layer, display);
        SetLayerBit(Table().detect, layer, detect);
    }
    std::string Bytes() {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string Raw(const char* section, const char* key) {
        char b[600] = "";
        GetPrivateProfileStringA(section, key, "", b, sizeof b, file.c_str());
        return b;
    }
    void Write(const char* section, const char* key, const char* value) {
        WritePrivateProfileStringA(section, key, value, file.c_str());
    }

    TempDir dir{"patterns"};
    std::string file;
};

TEST_F(LayerPatternsTest, SavingAPageWritesItsLayersGroupByGroup) {
    Name(0, "壁", "A");
    Name(4, "窓", "");
    SetBits(4, true, false);
    BuildLayerTree(&SharedLayerTree());
    ASSERT_EQ(1, SaveLayerPattern(nullptr, "標準"));
    EXPECT_EQ(
        "[VER]\r\nVER=3.0\r\n"
        "[PLISTNAME]\r\n0=標準\r\n"
        "[標準]\r\n0=\"000011壁\"\r\n0Grp=\"A\"\r\n1=\"000410窓\"\r\n1Grp=\"\"\r\n2=\r\n2Grp=\r\n",
        Bytes());
}

TEST_F(LayerPatternsTest, NamesThatWouldBreakTheFileOrCollideAreRefused) {
    BuildLayerTree(&SharedLayerTree());
    win::MessageBoxTestHook boxes;
    for (const char* bad : {"", "ver", "PlistName", "a]b", "[x"}) EXPECT_EQ(0, SaveLayerPattern(nullptr, bad)) << bad;
    EXPECT_EQ("", Raw("PLISTNAME", "0"));
    ASSERT_EQ(1, SaveLayerPattern(nullptr, "ABC"));
    boxes.Answer(IDNO);
    EXPECT_EQ(0, SaveLayerPattern(nullptr, "abc"));  // the same section: asks first
    EXPECT_EQ("ABC", Raw("PLISTNAME", "0"));
    EXPECT_EQ("", Raw("PLISTNAME", "1"));
    boxes.Answer(IDYES);
    EXPECT_EQ(1, SaveLayerPattern(nullptr, "abc"));
    EXPECT_EQ("", Raw("PLISTNAME", "1"));
}

TEST_F(LayerPatternsTest, ResavingAShorterPatternLeavesNoOldEntries) {
    Name(1, "a", "");
    Name(2, "b", "");
    BuildLayerTree(&SharedLayerTree());
    ASSERT_EQ(1, SaveLayerPattern(nullptr, "P"));
    RemoveLayerNode(&SharedLayerTree(), 0, 2, 0);
    win::MessageBoxTestHook boxes;
    boxes.Answer(IDYES);
    ASSERT_EQ(1, SaveLayerPattern(nullptr, "P"));
    LayerPatternEntry e;
    EXPECT_EQ(1, ReadLayerPatternEntry(&e, "P", 0));
    EXPECT_EQ(0, ReadLayerPatternEntry(&e, "P", 1));
    EXPECT_EQ("", Raw("P", "2"));
}

TEST_F(LayerPatternsTest, LoadingIntoTheTreeKeepsUsedLayersThePatternLacks) {
    Write("PLISTNAME", "0", "P");
    Write("VER", "VER", "3.0");
    Write("P", "0", "\"000210配管\"");
    Write("P", "0Grp", "\"設備\"");
    Write("P", "1", "\"000011\"");  // empty name
    Write("P", "1Grp", "\"\"");
    Name(7, "既存", "古");
    ElementRecord r = {};
    r.kind = kElmLine;
    r.layer = 7;
    DAriAppendElement(&r, db);
    Name(9, "未使用", "古");
    BuildLayerTree(&SharedLayerTree());
    ASSERT_EQ(1, LoadLayerPatternToTree(nullptr, "p"));
    const LayerTreePage& page = SharedLayerTree().pages[0];
    ASSERT_EQ(3u, page.groups.size());
    EXPECT_STREQ("設備", page.groups[0].name);
    EXPECT_EQ(2, page.groups[0].layers[0].number);
    EXPECT_EQ(1, page.groups[0].layers[0].display);
    EXPECT_EQ(0, page.groups[0].layers[0].detect);
    EXPECT_STREQ(" ", page.groups[1].layers[0].name);
    EXPECT_STREQ("古", page.groups[2].name);
    ASSERT_EQ(1u, page.groups[2].layers.size());  // layer 9 was not used: gone
    EXPECT_EQ(7, page.groups[2].layers[0].number);
    EXPECT_STREQ("既存", page.groups[2].layers[0].name);
    EXPECT_EQ(1, page.groups[2].layers[0].used);

    win::MessageBoxTestHook boxes;
    EXPECT_EQ(0, LoadLayerPatternToTree(nullptr, "無い"));
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ("無いは存在しません。", boxes.Calls()[0].text);
}

TEST_F(LayerPatternsTest, ANewDrawingTakesThePatternOnPageZero) {
    Write("PLISTNAME", "0", "P");
    Write("VER", "VER", "3.0");
    Write("P", "0", "\"000501ダクト\"");
    Write("P", "0Grp", "\"空調\"");
    Write("P", "1", "\"2000111範囲外\"");
    Write("P", "2", "\"000311冷媒\"");
    Table().inputLayer = 9;
    ASSERT_EQ(1, LoadLayerPatternToDb(nullptr, "P", db));
    EXPECT_STREQ("ダクト", Table().names[5]);
    EXPECT_STREQ("空調", Table().groupNames[5]);
    EXPECT_FALSE(Table().display[0] & (1 << 5));
    EXPECT_TRUE(Table().detect[0] & (1 << 5));
    EXPECT_STREQ("冷媒", Table().names[3]);
    EXPECT_EQ(0, Table().inputLayer);
    EXPECT_EQ(0, db->pages.currentPage);
}

TEST_F(LayerPatternsTest, TheOlderFormIsConvertedByOneRule) {
    Write("PLISTNAME", "0", "古い");
    Write("PLISTNAME", "1", "別");
    Write("古い", "0", "000011壁");
    Write("古い", "1", "000510空調      -ダクト");
    Write("古い", "2", "0000");  // empty name: the end
    Write("古い", "3", "000711残り");
    Write("別", "0", "102311最後");
    char names[kLayerPatternListMax][kLayerPatternNameMax + 1];
    ASSERT_EQ(2, ReadLayerPatternNames(names));
    EXPECT_STREQ("古い", names[0]);
    EXPECT_EQ("3.0", Raw("VER", "VER"));
    LayerPatternEntry e;
    ASSERT_EQ(1, ReadLayerPatternEntry(&e, "古い", 1));
    EXPECT_EQ(5, e.layer);
    EXPECT_EQ('1', e.display);
    EXPECT_EQ('0', e.detect);
    EXPECT_STREQ("ダクト", e.name);
    EXPECT_STREQ("空調", e.group);
    EXPECT_EQ(0, ReadLayerPatternEntry(&e, "古い", 2));
    ASSERT_EQ(1, ReadLayerPatternEntry(&e, "別", 0));
    EXPECT_EQ(1023, e.layer);
    // Converting again changes nothing.
    const std::string once = Bytes();
    ASSERT_EQ(2, ReadLayerPatternNames(names));
    EXPECT_EQ(once, Bytes());
}

TEST_F(LayerPatternsTest, DeletingRewritesTheListAndTheNamesFillUpTo300) {
    Write("VER", "VER", "3.0");
    for (int i = 0; i < 300; ++i) Write("PLISTNAME", std::to_string(i).c_str(), ("P" + std::to_string(i)).c_str());
    Write("P1", "0", "\"000111x\"");
    char names[kLayerPatternListMax][kLayerPatternNameMax + 1];
    EXPECT_EQ(300, ReadLayerPatternNames(names));
    win::MessageBoxTestHook boxes;
    boxes.Answer(IDYES);
    ASSERT_EQ(1, DeleteLayerPattern(nullptr, "P1"));
    EXPECT_EQ(299, ReadLayerPatternNames(names));
    EXPECT_STREQ("P2", names[1]);
    EXPECT_EQ("", Raw("P1", "0"));
    EXPECT_EQ(0, DeleteLayerPattern(nullptr, "P1"));
}

TEST_F(LayerPatternsTest, ThePreviewShowsSixteenLines) {
    Write("VER", "VER", "3.0");
    Write("PLISTNAME", "0", "P");
    for (int i = 0; i < 20; ++i) {
        char v[80];
        std::snprintf(v, sizeof v, "\"%04d11名前が二十一バイトを超える長さ\"", i);
        Write("P", std::to_string(i).c_str(), v);
    }
    const std::string text = LayerPatternPreviewText("P");
    int lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(16, lines);
    EXPECT_EQ(0u, text.find("   1 名前が二十一バイトを\n"));
}

}  // namespace
