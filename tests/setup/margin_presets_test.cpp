// Paper-margin presets: the file format of "margin.dat" and ".mgn" files,
// the list text, and the margin check.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "setup/margin_presets.h"
#include "win/message_box.h"

namespace {

std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + name;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

CMarginData Preset(const std::string& name, std::initializer_list<double> values) {
    CMarginData p;
    p.name = name;
    int i = 0;
    for (double v : values)
        p.values[i++] = v;
    return p;
}

TEST(MarginPresets, SavedFilesReadBackExactlyAndLookAsTheyShould) {
    const std::string path = TempPath("zav_margin_roundtrip.dat");
    CMargin file;
    file.presets = {Preset("標準", {25, 12.5, 12.25, 0, 10, 10, 20, 99.5}),
                    Preset("カンマ,入り", {1, 2, 3, 4, 5, 6, 7, 8})};
    ASSERT_EQ(0, file.Save(path.c_str()));
    EXPECT_EQ(
        "Quillmar Margin Data Ver.1.0\r\n"
        "標準, 25, 12.5, 12.25, 0, 10, 10, 20, 99.5\r\n"
        "カンマ,入り, 1, 2, 3, 4, 5, 6, 7, 8\r\n",
        ReadBytes(path));
    CMargin back;
    ASSERT_EQ(0, back.Load(path.c_str()));
    ASSERT_EQ(2u, back.presets.size());
    EXPECT_EQ("標準", back.presets[0].name);
    EXPECT_DOUBLE_EQ(12.25, back.presets[0].values[2]);
    EXPECT_EQ("カンマ,入り", back.presets[1].name) << "a name with a comma is kept";
    EXPECT_DOUBLE_EQ(8, back.presets[1].values[7]);
    // Saved again, the file is the same byte for byte.
    const std::string again = TempPath("zav_margin_roundtrip2.dat");
    ASSERT_EQ(0, back.Save(again.c_str()));
    EXPECT_EQ(ReadBytes(path), ReadBytes(again));
    // Values of more decimals than the list shows come back as they were.
    back.presets[0].values[2] = 12.345;
    ASSERT_EQ(0, back.Save(again.c_str()));
    CMargin third;
    ASSERT_EQ(0, third.Load(again.c_str()));
    EXPECT_DOUBLE_EQ(12.345, third.presets[0].values[2]);
    std::remove(path.c_str());
    std::remove(again.c_str());
}

TEST(MarginPresets, LoadingTellsMissingEmptyAndForeignFilesApart) {
    const std::string path = TempPath("zav_margin_load.dat");
    struct Row {
        const char* name;
        const char* bytes;  // null: no file
        int result;
        size_t presets;
    } rows[] = {
        {"no file", nullptr, -1, 0},
        {"an empty file", "", -1, 0},
        {"the header followed by blanks", "Quillmar Margin Data Ver.1.0  \t\nA, 1, 2, 3, 4, 5, 6, 7, 8\n", 0, 1},
        {"a header after a blank", " Quillmar Margin Data Ver.1.0\nA, 1, 2, 3, 4, 5, 6, 7, 8\n", -2, 0},
        {"lines of fewer fields are skipped",
         "Quillmar Margin Data Ver.1.0\nA, 1, 2\nB, 1, 2, 3, 4, 5, 6, 7, 8\n\nC, x, 2, 3, 4, 5, 6, 7, 8\n", 0, 2},
        {"the same preset twice is read twice",
         "Quillmar Margin Data Ver.1.0\nA, 1, 2, 3, 4, 5, 6, 7, 8\nA, 1, 2, 3, 4, 5, 6, 7, 8\n", 0, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::remove(path.c_str());
        if (r.bytes) WriteBytes(path, r.bytes);
        CMargin file;
        EXPECT_EQ(r.result, file.Load(path.c_str()));
        EXPECT_EQ(r.presets, file.presets.size());
    }
    CMargin file;
    WriteBytes(path, "Quillmar Margin Data Ver.1.0\nC, x, 2, 3, 4, 5, 6, 7, 8\n");
    ASSERT_EQ(0, file.Load(path.c_str()));
    EXPECT_DOUBLE_EQ(0, file.presets[0].values[0]) << "text that is not a number reads 0";
    std::remove(path.c_str());
}

TEST(MarginPresets, TheListTextHoldsTheNameIn30BytesAndTwoDecimals) {
    const std::string text = MarginItemText(Preset("A", {25, 12.345, 0, 999.99, -99.99, 1, 2, 3}));
    EXPECT_EQ(std::string("A") + std::string(29, ' '), text.substr(0, 30));
    const char* values[] = {" 25.00", " 12.35", "  0.00", "999.99", "-99.99", "  1.00", "  2.00", "  3.00"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(values[i], text.substr(31 + 7 * i, 6)) << i;
    // A name beyond 30 bytes is cut on a character boundary for the list.
    std::string wide;
    for (int i = 0; i < 20; ++i)
        wide += "幅";
    const std::string cut = MarginItemText(Preset(wide, {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(wide.substr(0, 30), cut.substr(0, 30));
    EXPECT_EQ("  1.00", cut.substr(31, 6));
}

TEST(MarginPresets, MarginsFrom0ToBelow100AreValid) {
    struct Row {
        double value;
        bool valid;
    } rows[] = {{0, true}, {99.99, true}, {100 - 1e-7, true}, {100 - 1e-9, false}, {100, false},
                {100.5, false}, {-0.01, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        win::MessageBoxTestHook boxes;
        EXPECT_EQ(r.valid, MarginValueIsValid(r.value, nullptr));
        ASSERT_EQ(r.valid ? 0u : 1u, boxes.Calls().size());
        if (!r.valid)
            EXPECT_EQ("マージンの値が異常です 0以上100未満の値を入力してください", boxes.Calls()[0].text);
    }
}

}  // namespace
