#include "base/settings_message.h"

namespace {
HWND g_owner = nullptr;
SettingsMessageFn g_show = nullptr;
}  // namespace

void SetSettingsMessageOwner(HWND owner) { g_owner = owner; }
HWND GetSettingsMessageOwner() { return g_owner; }

void SetSettingsMessageHandler(SettingsMessageFn show) { g_show = show; }
SettingsMessageFn GetSettingsMessageHandler() { return g_show; }

int ShowSettingsMessage(HWND owner, const char* text, const char* caption, UINT flags) {
    return g_show ? g_show(owner, text, caption, flags) : 0;
}
