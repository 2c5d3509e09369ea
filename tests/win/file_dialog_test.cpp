// The file-dialog seam: answers in the platform's layout, within the
// caller's buffer, and the record of what was asked.
#include <gtest/gtest.h>

#include <cstring>

#include "win/file_dialog.h"

namespace {

OPENFILENAMEA MakeOfn(char* buf, DWORD size, DWORD flags) {
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFile = buf;
    ofn.nMaxFile = size;
    ofn.lpstrFilter = "図面ファイル (*.tcf)\0*.tcf\0All Files\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrTitle = "ファイルを開く";
    ofn.lpstrInitialDir = "C:\\図面";
    ofn.Flags = flags;
    return ofn;
}

TEST(FileDialogSeam, SingleFileWithOffsets) {
    win::FileDialogTestHook hook;
    // "表" ends in the byte 0x5C: the name must still start after the real '\'.
    hook.Choose("C:\\表\\ソ.tcf", 2);
    char buf[260] = "start.tcf";
    OPENFILENAMEA ofn = MakeOfn(buf, sizeof(buf), OFN_EXPLORER | OFN_FILEMUSTEXIST);
    char title[64] = {};
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = sizeof(title);
    ASSERT_TRUE(ZavGetOpenFileName(&ofn));
    EXPECT_STREQ("C:\\表\\ソ.tcf", buf);
    EXPECT_STREQ("ソ.tcf", buf + ofn.nFileOffset);
    EXPECT_STREQ("tcf", buf + ofn.nFileExtension);
    EXPECT_STREQ("ソ.tcf", title);
    EXPECT_EQ(2u, ofn.nFilterIndex);
    EXPECT_EQ(std::vector<std::string>{"C:\\表\\ソ.tcf"}, win::SelectedFiles(ofn));

    ASSERT_EQ(1u, hook.Calls().size());
    const auto& call = hook.Calls()[0];
    EXPECT_FALSE(call.save);
    EXPECT_EQ("ファイルを開く", call.title);
    EXPECT_EQ("C:\\図面", call.initialDir);
    EXPECT_EQ("start.tcf", call.initialFile);
    EXPECT_EQ((std::vector<std::string>{"図面ファイル (*.tcf)", "*.tcf", "All Files", "*.*"}), call.filters);
}

TEST(FileDialogSeam, MultipleSelectionCancelAndSmallBuffer) {
    win::FileDialogTestHook hook;
    hook.ChooseMany("C:\\図面", {"a.tcf", "表.tcf"}).Cancel().Choose("C:\\long\\name.tcf");
    char buf[1020] = {};
    OPENFILENAMEA ofn = MakeOfn(buf, sizeof(buf), OFN_EXPLORER | OFN_ALLOWMULTISELECT);
    ASSERT_TRUE(ZavGetOpenFileName(&ofn));
    EXPECT_EQ((std::vector<std::string>{"C:\\図面\\a.tcf", "C:\\図面\\表.tcf"}), win::SelectedFiles(ofn));
    EXPECT_STREQ("a.tcf", buf + ofn.nFileOffset);

    EXPECT_FALSE(ZavGetSaveFileName(&ofn));  // cancelled
    EXPECT_EQ(0u, win::FileDialogError());
    EXPECT_TRUE(hook.Calls()[1].save);

    // The answer does not fit: nothing beyond the buffer is written.
    char small[12];
    std::memset(small, 'x', sizeof(small));
    OPENFILENAMEA tight = MakeOfn(small, 8, OFN_EXPLORER);
    EXPECT_FALSE(ZavGetSaveFileName(&tight));
    EXPECT_EQ((DWORD)FNERR_BUFFERTOOSMALL, win::FileDialogError());
    for (int i = 8; i < 12; ++i)
        EXPECT_EQ('x', small[i]) << "byte " << i;

    // An empty queue cancels.
    EXPECT_FALSE(ZavGetOpenFileName(&ofn));
    EXPECT_EQ(4u, hook.Calls().size());
}

}  // namespace
