#include "win/message_box.h"

namespace {
win::MessageBoxTestHook* g_hook = nullptr;
}

int ZavMessageBox(HWND owner, const char* text, const char* caption, UINT flags) {
    if (text == nullptr) text = "";
    if (g_hook != nullptr) return g_hook->Take(owner, text, caption, flags);
    if (owner != nullptr && !::IsWindow(owner)) owner = nullptr;
    return ::MessageBoxA(owner, text, caption, flags);
}

int ZavAskQuestion(HWND owner, const char* text, const char* caption, UINT flags, int (*show)(void*), void* context) {
    if (g_hook != nullptr) return g_hook->Take(owner, text ? text : "", caption, flags);
    return show ? show(context) : win::DefaultMessageBoxAnswer(flags);
}

namespace win {

int DefaultMessageBoxAnswer(UINT flags) {
    static const int kButtons[][3] = {
        {IDOK, IDOK, IDOK},                  // MB_OK
        {IDOK, IDCANCEL, IDCANCEL},          // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},        // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},             // MB_YESNOCANCEL
        {IDYES, IDNO, IDNO},                 // MB_YESNO
        {IDRETRY, IDCANCEL, IDCANCEL},       // MB_RETRYCANCEL
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE},  // MB_CANCELTRYCONTINUE
    };
    UINT type = flags & MB_TYPEMASK;
    if (type >= sizeof(kButtons) / sizeof(kButtons[0])) type = 0;
    UINT def = (flags & MB_DEFMASK) >> 8;
    if (def > 2) def = 0;
    return kButtons[type][def];
}

MessageBoxTestHook::MessageBoxTestHook() : m_outer(g_hook) { g_hook = this; }

MessageBoxTestHook::~MessageBoxTestHook() {
    if (g_hook == this) g_hook = m_outer;
}

int MessageBoxTestHook::Take(HWND owner, const char* text, const char* caption, UINT flags) {
    MessageBoxCall call;
    call.owner = owner;
    call.text = text ? text : "";
    call.caption = caption ? caption : "";
    call.flags = flags;
    if (!m_answers.empty()) {
        call.answer = m_answers.front();
        m_answers.pop_front();
    } else {
        call.answer = DefaultMessageBoxAnswer(flags);
        ++m_unanswered;
    }
    m_calls.push_back(call);
    return call.answer;
}

}  // namespace win
