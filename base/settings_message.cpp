#include "base/settings_message.h"

namespace {
HWND g_owner = nullptr;
}  // namespace

void SetSettingsMessageOwner(HWND owner) { g_owner = owner; }
HWND GetSettingsMessageOwner() { return g_owner; }
