// The yes/no questions of command modules: each is put to the user, and the
// module receives the user's answer.
#include <windows.h>

#include "command/host_messages.h"
#include "frame_fixture.h"
#include "win/message_box.h"

namespace {

TEST_F(FrameTest, YesNoQuestionsAreAskedAndAnswered) {
    struct {
        const char* name;
        UINT message;
        int button;    // what the user presses
        LRESULT back;  // what the module receives
        UINT buttons;  // the buttons offered
    } rows[] = {
        {"plain, yes", UM_CONFIRM_YESNO, IDYES, 1, MB_YESNO},
        {"plain, no", UM_CONFIRM_YESNO, IDNO, 0, MB_YESNO},
        {"with cancel, yes", UM_CONFIRM_YESNO_EX, IDYES, 1, MB_YESNOCANCEL},
        {"with cancel, no", UM_CONFIRM_YESNO_EX, IDNO, 0, MB_YESNOCANCEL},
        {"with cancel, cancel", UM_CONFIRM_YESNO_EX, IDCANCEL, 2, MB_YESNOCANCEL},
    };
    for (auto& r : rows) {
        win::MessageBoxTestHook boxes;
        boxes.Answer(r.button);
        CmdRequest req = {};
        const char* prompt = "選択した要素を削除しますか？";
        req.word70 = reinterpret_cast<uint32_t>(prompt);
        EXPECT_EQ(r.back, SendMessageA(frame->m_hWnd, r.message, 0, (LPARAM)&req)) << r.name;
        ASSERT_EQ(1u, boxes.Calls().size()) << r.name << ": the user is asked";
        EXPECT_EQ(prompt, boxes.Calls()[0].text) << r.name;
        EXPECT_EQ(r.buttons, boxes.Calls()[0].flags & MB_TYPEMASK) << r.name;
        EXPECT_EQ(0, boxes.Unanswered()) << r.name;
    }
}

}  // namespace
