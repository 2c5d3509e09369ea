#include "base/message_box.h"

namespace {
MessageBoxHook g_hook = nullptr;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    if (g_hook)
        return g_hook(owner, text ? text : "", caption ? caption : "", type);
    return MessageBoxA(owner, text ? text : "", caption ? caption : "", type);
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    MessageBoxHook old = g_hook;
    g_hook = hook;
    return old;
}
