// Damaged definition files: a table of typical damage, then thousands of
// random mutations. Nothing may crash or hang, and whatever loads must save
// indented into a file that loads again with the same content.
#include <gtest/gtest.h>

#include <list>
#include <random>
#include <string>

#include "base/def_file.h"
#include "win/message_box.h"
#include "test_files.h"

namespace {

const char kValid[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
    "<CadAppCmd>\r\n"
    "  <GROUP name=\"基本\">\r\n"
    "    <CMD id=\"5001\">CadAppBase.dll,1 表示ソ</CMD>\r\n"
    "    <CMD id=\"5002\">CadAppBase.dll,2 能力</CMD>\r\n"
    "  </GROUP>\r\n"
    "  <READONLY><ID>4001</ID><ID>4002</ID></READONLY>\r\n"
    "  <!-- comment -->\r\n"
    "</CadAppCmd>\r\n";

std::string WithoutBlanks(std::string text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') out += c;
    return out;
}

// Exercises every operation on whatever the load produced.
void Exercise(CDefFile& file, const TestFolder& folder, const std::string& label) {
    std::string out;
    std::list<std::string> list;
    file.GetValue("GROUP", "CMD", "d", out);
    file.GetValueList("GROUP", "CMD", list);
    file.GetChildNames(".", list);
    file.GetChildNames("GROUP", list);
    file.SetValue("GROUP", "CMD", "x", 0);
    file.SetValue("NEW", "KEY", "値", 1);
    file.SetValueAt("READONLY", "ID", "1", 1);
    file.RemoveEmptyElements();
    if (!file.IsLoaded()) return;
    const std::string saved = folder.File("saved.def");
    ASSERT_EQ(1, file.SaveFormatted(saved.c_str())) << label;
    CDefFile reread(saved.c_str());
    ASSERT_TRUE(reread.IsLoaded()) << label << ": " << reread.GetLastError() << "\n" << ReadBytes(saved);
    // Blanks at the edges of mixed text may be normalised by the parser;
    // every element, attribute and character must come back.
    EXPECT_EQ(WithoutBlanks(file.FormatIndented()), WithoutBlanks(reread.FormatIndented())) << label;
}

}  // namespace

TEST(DefFileDamage, TableOfDamagedFiles) {
    win::MessageBoxTestHook boxes;
    TestFolder folder;
    const std::string valid = kValid;
    // loads: 1 yes, 0 no, -1 the parser's choice
    struct Row {
        const char* name;
        std::string bytes;
        int loads;
    } rows[] = {
        {"empty", "", false},
        {"blanks", "  \r\n\t ", false},
        {"binary", std::string("\x00\x01\xFF\xFE\x80\x00garbage", 14), false},
        {"truncated half", valid.substr(0, valid.size() / 2), false},
        {"truncated in declaration", valid.substr(0, 20), false},
        {"no root close", "<?xml version=\"1.0\"?><R><S><K>1</K></S>", false},
        {"two roots", "<?xml version=\"1.0\"?><R/><R/>", false},
        {"bad entity", "<R><S><K>&nope;</K></S></R>", false},
        {"bad lead byte", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><R><S><K>\x81</K></S></R>", false},
        {"UTF-8 bytes declared Shift_JIS",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><R><S><K>\xE8\xA1\xA8</K></S></R>", true},
        {"Shift_JIS bytes declared UTF-8",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><R><S><K>\x95\x5C\x8E\xA6</K></S></R>", false},
        {"unknown encoding", "<?xml version=\"1.0\" encoding=\"X-NONE\"?><R/>", false},
        {"external entity",
         "<?xml version=\"1.0\"?><!DOCTYPE R [<!ENTITY e SYSTEM \"C:\\nothing\\here.txt\">]><R><S><K>&e;</K></S></R>",
         -1},
        {"nested entities",
         "<?xml version=\"1.0\"?><!DOCTYPE R [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
         "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d "
         "\"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]><R><S><K>&d;</K></S></R>",
         -1},
        {"deep nesting", std::string(2000, '<') + "R>", false},
        {"long name", "<R><" + std::string(5000, 'A') + ">1</" + std::string(5000, 'A') + "></R>", true},
        {"valid", valid, true},
    };
    for (const Row& row : rows) {
        CDefFile file(folder.Write("d.def", row.bytes).c_str());
        if (row.loads < 0) {
            // either way, as long as it is handled
        } else if (row.loads) {
            EXPECT_TRUE(file.IsLoaded()) << row.name << ": " << file.GetLastError();
        } else {
            EXPECT_FALSE(file.IsLoaded()) << row.name;
            EXPECT_EQ(0u, file.GetLastError().find("設定ファイル処理でエラーが発生しました。\n")) << row.name;
        }
        Exercise(file, folder, row.name);
    }
    EXPECT_EQ(0u, boxes.Calls().size());
}

TEST(DefFileDamage, MutationLoop) {
    win::MessageBoxTestHook boxes;
    TestFolder folder;
    std::mt19937 random(20240105u);
    const std::string valid = kValid;
    const int rounds = 3000;
    int loaded = 0;
    for (int i = 0; i < rounds; ++i) {
        std::string bytes = valid;
        int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            size_t at = random() % bytes.size();
            switch (random() % 5) {
            case 0: bytes[at] = static_cast<char>(random() & 0xFF); break;           // flip a byte
            case 1: bytes.erase(at, 1 + random() % 8); break;                        // drop a few
            case 2: bytes.insert(at, 1, "<>&\"/=!?\x81\x5C"[random() % 10]); break;  // markup or half a character
            case 3: bytes.resize(at); break;                                         // truncate
            default:
                bytes.insert(at, bytes.substr(random() % bytes.size(), random() % 16));
                break;  // duplicate a piece
            }
        }
        CDefFile file(folder.Write("m.def", bytes).c_str());
        if (file.IsLoaded()) ++loaded;
        Exercise(file, folder, "mutation " + std::to_string(i));
        if (HasFatalFailure()) break;
    }
    EXPECT_EQ(0u, boxes.Calls().size());
    RecordProperty("loaded", loaded);
}
