// The one message box of the system. Every message box and modal yes/no
// question goes through ZavMessageBox, so that tests can answer them.
//
// A test installs a MessageBoxTestHook: while it lives, no box is shown;
// each call is recorded and answered from the hook's queue of answers (or,
// when the queue is empty, with the box's default button).
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

// Shows `text` with `caption` (code page 932) and the MB_ flags; returns
// the pressed button (IDOK, IDYES, ...), as MessageBox does.
int ZavMessageBox(HWND owner, const char* text, const char* caption, UINT flags);

// A question the system asks with a dialog of its own (the yes/no dialogs):
// the same seam as ZavMessageBox. While a test hook lives, the hook answers
// it as a box of `flags` (text and caption say what was asked) and `show` is
// not called; otherwise `show` runs the dialog and its answer is returned.
int ZavAskQuestion(HWND owner, const char* text, const char* caption, UINT flags, int (*show)(void* context),
                   void* context);

namespace win {

struct MessageBoxCall {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT flags = 0;
    int answer = 0;  // what the hook answered
};

// The button a box answers with when Enter is pressed at once.
int DefaultMessageBoxAnswer(UINT flags);

class MessageBoxTestHook {
public:
    // Installs itself; hooks nest (the newest answers).
    MessageBoxTestHook();
    ~MessageBoxTestHook();
    MessageBoxTestHook(const MessageBoxTestHook&) = delete;
    MessageBoxTestHook& operator=(const MessageBoxTestHook&) = delete;

    // Queues the answer of the next box.
    MessageBoxTestHook& Answer(int id) {
        m_answers.push_back(id);
        return *this;
    }
    const std::vector<MessageBoxCall>& Calls() const { return m_calls; }
    // Boxes that found the queue empty and got their default button.
    int Unanswered() const { return m_unanswered; }
    void Clear() {
        m_calls.clear();
        m_answers.clear();
        m_unanswered = 0;
    }

    int Take(HWND owner, const char* text, const char* caption, UINT flags);

private:
    std::deque<int> m_answers;
    std::vector<MessageBoxCall> m_calls;
    int m_unanswered = 0;
    MessageBoxTestHook* m_outer = nullptr;
};

}  // namespace win
