#include "base/settings_message.h"

namespace {
SettingsMessageFn g_handler = nullptr;
HWND g_owner = nullptr;
}  // namespace

int ShowSettingsMessage(HWND owner, const char* text, const char* caption, UINT flags) {
  if (g_handler) return g_handler(owner, text, caption, flags);
  return MessageBoxA(owner, text, caption, flags);
}

SettingsMessageFn SetSettingsMessageHandler(SettingsMessageFn fn) {
  SettingsMessageFn old = g_handler;
  g_handler = fn;
  return old;
}

void SetSettingsMessageOwner(HWND owner) { g_owner = owner; }
HWND GetSettingsMessageOwner() { return g_owner; }
