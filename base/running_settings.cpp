#include "base/running_settings.h"

namespace {
RunningSettings g_running{};
}

RunningSettings& Running() { return g_running; }

int LineEndEnableTable[16];
