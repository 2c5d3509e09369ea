// XML definition files: section/key reads and writes, pruning, the indented
// Shift_JIS save, COM balance.
#include <gtest/gtest.h>

#include <windows.h>

#include <list>
#include <string>
#include <thread>

#include "base/def_file.h"
#include "win/message_box.h"
#include "test_files.h"

namespace {

// "表示", "ソ", "能" end in the byte 0x5C in Shift_JIS.
const char kDefinition[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
    "<ROOT>\r\n"
    "  <CONFIG>\r\n"
    "    <CMDINI>sonota.ini</CMDINI>\r\n"
    "    <TITLE>表示ソフト能力</TITLE>\r\n"
    "    <EMPTY></EMPTY>\r\n"
    "    <LIST>一番</LIST>\r\n"
    "    <LIST>二番</LIST>\r\n"
    "  </CONFIG>\r\n"
    "  <Menu><Sub><AppPanelType>2</AppPanelType></Sub></Menu>\r\n"
    "  <Caption>見出し表示<Key>1</Key></Caption>\r\n"
    "</ROOT>\r\n";

std::string Value(CDefFile& file, const char* section, const char* key, int* result = nullptr) {
    std::string out = "unset";
    int r = file.GetValue(section, key, "既定", out);
    if (result) *result = r;
    return out;
}

}  // namespace

TEST(DefFile, ReadsKeysBySectionAndPath) {
    TestFolder folder;
    CDefFile file(folder.Write("a.def", kDefinition).c_str());
    ASSERT_TRUE(file.IsLoaded()) << file.GetLastError();

    struct Row {
        const char* section;
        const char* key;
        int result;
        const char* value;
    } rows[] = {
        {"CONFIG", "CMDINI", 0, "sonota.ini"},
        {"CONFIG", "TITLE", 0, "表示ソフト能力"},
        {"CONFIG", "EMPTY", 1, "既定"},  // existing but empty key
        {"CONFIG", "NOKEY", 1, "既定"},
        {"NOSECTION", "CMDINI", 1, "既定"},
        {"CONFIG", "LIST", 0, "一番"},         // the first occurrence
        {"Menu/Sub", "AppPanelType", 0, "2"},  // a section naming a deeper element
        {"Caption", "Key", 0, "1"},
    };
    for (const Row& row : rows) {
        int result = 99;
        std::string value = Value(file, row.section, row.key, &result);
        EXPECT_EQ(row.result, result) << row.section << "/" << row.key;
        EXPECT_EQ(row.value, value) << row.section << "/" << row.key;
    }

    std::string out = "x";
    EXPECT_EQ(1, file.GetValue("CONFIG", "NOKEY", nullptr, out));
    EXPECT_EQ("", out);
    EXPECT_EQ(-1, file.GetValue("CONFIG", "[[bad", "d", out)) << "an XPath error is a platform failure";
    EXPECT_NE(std::string::npos, file.GetLastError().find("設定ファイルの読込みに失敗しました。"));

    std::list<std::string> list;
    EXPECT_EQ(0, file.GetValueList("CONFIG", "LIST", list));
    EXPECT_EQ((std::list<std::string>{"一番", "二番"}), list);
    list.clear();
    EXPECT_EQ(-1, file.GetValueList("CONFIG", "NONE", list));
    EXPECT_TRUE(list.empty());

    std::list<std::string> names;
    EXPECT_EQ(0, file.GetChildNames("CONFIG", names));
    EXPECT_EQ((std::list<std::string>{"CMDINI", "TITLE", "EMPTY", "LIST", "LIST"}), names);
    names.clear();
    EXPECT_EQ(-1, file.GetChildNames("NOSECTION", names));
    EXPECT_EQ(-1, file.GetChildNames("CONFIG/EMPTY", names));
    EXPECT_EQ(0, file.m_modified);
}

TEST(DefFile, OperationsWithoutDocumentFail) {
    TestFolder folder;
    CDefFile missing(folder.File("none.def").c_str());
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_NE(std::string::npos, missing.GetLastError().find("設定ファイル処理でエラーが発生しました。\n"));
    std::string out = "x";
    EXPECT_EQ(-1, missing.GetValue("A", "B", "d", out));
    EXPECT_EQ("d", out);
    std::list<std::string> list;
    EXPECT_EQ(-1, missing.GetValueList("A", "B", list));
    EXPECT_EQ(-1, missing.SetValue("A", "B", "v", 1));
    EXPECT_EQ(-1, missing.SetValueAt("A", "B", "v", 0));
    EXPECT_EQ(-1, missing.GetChildNames("A", list));
    missing.RemoveEmptyElements();
    EXPECT_EQ(0, missing.Save(folder.File("out.def").c_str()));
}

TEST(DefFile, WritesKeys) {
    TestFolder folder;
    const std::string path = folder.Write("a.def", kDefinition);

    {  // without the add flag a missing key is not created
        CDefFile file(path.c_str());
        EXPECT_EQ(-1, file.SetValue("CONFIG", "NOKEY", "1", 0));
        EXPECT_EQ(0, file.m_modified);
        std::list<std::string> names;
        file.GetChildNames("CONFIG", names);
        EXPECT_EQ(5u, names.size());
    }
    {  // the same text again leaves the flag alone; a new text sets it
        CDefFile file(path.c_str());
        EXPECT_EQ(0, file.SetValue("CONFIG", "CMDINI", "sonota.ini", 0));
        EXPECT_EQ(0, file.m_modified);
        EXPECT_EQ(0, file.SetValue("CONFIG", "CMDINI", "能表示ソ.ini", 0));
        EXPECT_EQ(1, file.m_modified);
        EXPECT_EQ("能表示ソ.ini", Value(file, "CONFIG", "CMDINI"));
    }
    {  // an empty element gets a text node; an empty value does not write
        CDefFile file(path.c_str());
        EXPECT_EQ(-1, file.SetValue("CONFIG", "EMPTY", "", 0));
        EXPECT_EQ(0, file.m_modified);
        EXPECT_EQ(0, file.SetValue("CONFIG", "EMPTY", "値", 0));
        EXPECT_EQ("値", Value(file, "CONFIG", "EMPTY"));
        // an element holding only elements is not given text
        EXPECT_EQ(-1, file.SetValue("Menu", "Sub", "x", 0));
    }
    {  // the add flag appends a further occurrence after the section's last child
        CDefFile file(path.c_str());
        EXPECT_EQ(0, file.SetValue("CONFIG", "CMDINI", "second.ini", 1));
        std::list<std::string> list;
        EXPECT_EQ(0, file.GetValueList("CONFIG", "CMDINI", list));
        EXPECT_EQ((std::list<std::string>{"sonota.ini", "second.ini"}), list);
        std::list<std::string> names;
        file.GetChildNames("CONFIG", names);
        EXPECT_EQ("CMDINI", names.back());
        EXPECT_EQ(1, file.m_modified);
    }
    {  // the add flag on a missing section creates the section, then the key
        CDefFile file(path.c_str());
        EXPECT_EQ(0, file.SetValue("NEW/DEEP", "KEY", "新しい", 1));
        EXPECT_EQ("新しい", Value(file, "NEW/DEEP", "KEY"));
        EXPECT_EQ(1, file.m_modified);
    }
    {  // by index
        CDefFile file(path.c_str());
        EXPECT_EQ(0, file.SetValueAt("CONFIG", "LIST", "三番", 1));
        EXPECT_EQ(-1, file.SetValueAt("CONFIG", "LIST", "x", 2)) << "index equal to the count";
        std::list<std::string> list;
        file.GetValueList("CONFIG", "LIST", list);
        EXPECT_EQ((std::list<std::string>{"一番", "三番"}), list);
        EXPECT_EQ(0, file.SetValueAt("CONFIG", "LIST", "四番", -1));
        list.clear();
        file.GetValueList("CONFIG", "LIST", list);
        EXPECT_EQ(3u, list.size());
    }
}

// A write to a key must never replace the text of the section it passes
// through on the way.
TEST(DefFile, SetValueKeepsTextOfIntermediateSection) {
    TestFolder folder;
    const std::string path = folder.Write("a.def", kDefinition);
    CDefFile file(path.c_str());
    ASSERT_EQ(0, file.SetValue("Caption", "Key", "2", 0));
    EXPECT_EQ("2", Value(file, "Caption", "Key"));
    std::list<std::string> whole;
    ASSERT_EQ(0, file.GetValueList(".", "Caption", whole));
    EXPECT_EQ("見出し表示2", whole.front()) << "section text kept, key changed";

    // The same with the add flag, and through a deeper path.
    ASSERT_EQ(0, file.SetValue("Caption", "Key2", "3", 1));
    whole.clear();
    file.GetValueList(".", "Caption", whole);
    EXPECT_EQ("見出し表示23", whole.front());

    // And the file written afterwards still holds both.
    ASSERT_EQ(1, file.Save(folder.File("b.def").c_str()));
    CDefFile reread(folder.File("b.def").c_str());
    whole.clear();
    reread.GetValueList(".", "Caption", whole);
    EXPECT_EQ("見出し表示23", whole.front());
}

TEST(DefFile, RemoveEmptyElementsPrunesUpwards) {
    TestFolder folder;
    const std::string path =
        folder.Write("p.def",
                     "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>"
                     "<R><A><K></K><!--note--></A><B><K>1</K><E/></B><C>text<D/></C><F><G><H/></G></F></R>");
    CDefFile file(path.c_str());
    ASSERT_TRUE(file.IsLoaded()) << file.GetLastError();
    file.RemoveEmptyElements();
    std::list<std::string> names;
    ASSERT_EQ(0, file.GetChildNames(".", names));
    EXPECT_EQ((std::list<std::string>{"B", "C"}), names);
    names.clear();
    file.GetChildNames("B", names);
    EXPECT_EQ((std::list<std::string>{"K"}), names);
    names.clear();
    file.GetChildNames("C", names);
    EXPECT_EQ((std::list<std::string>{"#text", "D"}), names) << "siblings after a text stay";
}

TEST(DefFile, IndentedSaveRoundTrip) {
    TestFolder folder;
    // UTF-8 source with characters that Shift_JIS lacks, markup characters,
    // attributes, comments, CDATA and mixed content.
    const std::string source =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- head -->\n"
        "<ROOT ver=\"1 &amp; &lt;2&gt; &quot;q&quot;\">"
        "<S a=\"\xE8\xA1\xA8\xE7\xA4\xBA\"><K>caf\xC3\xA9 \xF0\xA0\xAE\xB7 &amp; &lt;x&gt;</K>"
        "<K>\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x82\xBD</K><!-- c --><D><![CDATA[raw <text>]]></D></S>"
        "<M>lead<I>in</I>tail</M><E/></ROOT>";
    CDefFile file(folder.Write("u.xml", source).c_str());
    ASSERT_TRUE(file.IsLoaded()) << file.GetLastError();
    ASSERT_EQ(0, file.SetValue("S", "J", "能力表示ソ", 1));

    // A file name whose Shift_JIS form holds 0x5C trail bytes.
    const std::string saved = folder.File("表示ソ.def");
    ASSERT_EQ(1, file.SaveFormatted(saved.c_str()));
    const std::string bytes = ReadBytes(saved);
    EXPECT_EQ(0u, bytes.find("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<!-- head -->\r\n<ROOT"));
    EXPECT_NE(std::string::npos,
              bytes.find("\r\n\t<S a=\"表示\">\r\n\t\t<K>caf&#xE9; &#x20BB7; &amp; &lt;x&gt;</K>\r\n"))
        << bytes;
    EXPECT_NE(std::string::npos, bytes.find("\t\t<J>能力表示ソ</J>\r\n")) << "raw Shift_JIS with 0x5C trail bytes";
    EXPECT_NE(std::string::npos, bytes.find("\t<M>lead<I>in</I>tail</M>\r\n")) << "mixed content stays on its line";
    EXPECT_NE(std::string::npos, bytes.find("\t<E/>\r\n</ROOT>\r\n"));

    CDefFile reread(saved.c_str());
    ASSERT_TRUE(reread.IsLoaded()) << reread.GetLastError();
    EXPECT_EQ(file.FormatIndented(), reread.FormatIndented());
    std::list<std::string> keys;
    ASSERT_EQ(0, reread.GetValueList("S", "K", keys));
    EXPECT_EQ(std::string("caf"), keys.front().substr(0, 3));
    EXPECT_EQ(std::string(" & <x>"), keys.front().substr(keys.front().size() - 6));
    EXPECT_EQ("表示ソ", keys.back());
    EXPECT_EQ("能力表示ソ", Value(reread, "S", "J"));
    reread.GetValueList(".", "M", keys);
    EXPECT_EQ("leadintail", keys.back());
}

TEST(DefFile, IndentedSaveFailureShowsBox) {
    win::MessageBoxTestHook boxes;
    TestFolder folder;
    CDefFile file(folder.Write("a.def", kDefinition).c_str());
    EXPECT_EQ(0, file.SaveFormatted(folder.File("no\\such\\folder\\x.def").c_str()));
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ("エラー", boxes.Calls()[0].caption);
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), boxes.Calls()[0].flags);
    EXPECT_EQ(0u, boxes.Calls()[0].text.find("設定ファイルの書き込みに失敗しました。\nError: 80070003: "));
}

// Each object enters COM once and leaves it once: after any number of loads
// (failed ones too) the thread is out of its apartment again.
TEST(DefFile, ComUseIsBalanced) {
    TestFolder folder;
    const std::string good = folder.Write("a.def", kDefinition);
    const std::string bad = folder.Write("b.def", "<ROOT><open></ROOT>");
    HRESULT after = E_FAIL;
    std::thread worker([&] {
        {
            CDefFile a(good.c_str());
            a.Load(good.c_str());
            a.Load(bad.c_str());
            CDefFile b;
            b.Load(bad.c_str());
            CDefFile c(good.c_str());
        }
        // Still in the single-threaded apartment this would be RPC_E_CHANGED_MODE.
        after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(after)) CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(S_OK, after);

    // A thread that holds its own apartment keeps it after our objects end.
    HRESULT own = E_FAIL, still = E_FAIL;
    std::thread owner([&] {
        own = CoInitialize(nullptr);
        { CDefFile a(good.c_str()); }
        still = CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // changed mode: still ours
        if (SUCCEEDED(still)) CoUninitialize();
        CoUninitialize();
    });
    owner.join();
    EXPECT_EQ(S_OK, own);
    EXPECT_EQ(RPC_E_CHANGED_MODE, still);
}
