// The message-box seam: tests answer boxes and read what was asked.
#include <gtest/gtest.h>

#include "win/message_box.h"

namespace {

TEST(MessageBoxSeam, HookAnswersInOrderAndRecordsEachBox) {
    win::MessageBoxTestHook hook;
    hook.Answer(IDNO).Answer(IDCANCEL);
    EXPECT_EQ(IDNO, ZavMessageBox(nullptr, "保存しますか？", "確認", MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(IDCANCEL, ZavMessageBox(nullptr, "二つ目", "警告", MB_OKCANCEL));
    // Queue empty: the default button answers and the box is counted.
    EXPECT_EQ(IDOK, ZavMessageBox(nullptr, "三つ目", "エラー", MB_OK));
    ASSERT_EQ(3u, hook.Calls().size());
    EXPECT_EQ("保存しますか？", hook.Calls()[0].text);
    EXPECT_EQ("確認", hook.Calls()[0].caption);
    EXPECT_EQ((UINT)(MB_YESNOCANCEL | MB_ICONQUESTION), hook.Calls()[0].flags);
    EXPECT_EQ(IDNO, hook.Calls()[0].answer);
    EXPECT_EQ(1, hook.Unanswered());

    // Hooks nest: the newest answers, the outer one sees nothing meanwhile.
    {
        win::MessageBoxTestHook inner;
        inner.Answer(IDRETRY);
        EXPECT_EQ(IDRETRY, ZavMessageBox(nullptr, "x", nullptr, MB_RETRYCANCEL));
        EXPECT_EQ("", inner.Calls()[0].caption);
    }
    EXPECT_EQ(3u, hook.Calls().size());
    EXPECT_EQ(IDOK, ZavMessageBox(nullptr, nullptr, "null text", MB_OK));
    EXPECT_EQ("", hook.Calls().back().text);
}

TEST(MessageBoxSeam, DefaultAnswerFollowsTheDefaultButton) {
    struct Row {
        UINT flags;
        int answer;
    } rows[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_RETRYCANCEL, IDRETRY},
        {MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2, IDNO},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.answer, win::DefaultMessageBoxAnswer(r.flags)) << "flags 0x" << std::hex << r.flags;
}

}  // namespace
