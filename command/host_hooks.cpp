// The table of services the shell lends the command system.
#include "command/host_hooks.h"

#include <cstdarg>

#include "base/text_utils.h"

CmdHostHooks& HostHooks() {
    static CmdHostHooks hooks;
    return hooks;
}

std::vector<std::string> EmptyHostServices() {
    std::vector<std::string> empty;
    const CmdHostHooks& h = HostHooks();
#define CMD_HOST_SERVICE_CHECK(name, signature, what) \
    if (!h.name) empty.push_back(#name);
    CMD_HOST_SERVICES(CMD_HOST_SERVICE_CHECK)
#undef CMD_HOST_SERVICE_CHECK
    return empty;
}

void CmdLog(int level, const char* category, const char* format, ...) {
    auto& hook = HostHooks().writeLog;
    if (!hook) return;
    char text[1024];
    va_list args;
    va_start(args, format);
    FormatTextV(text, format, args);
    va_end(args);
    hook(level, category, text);
}

HWND CmdActiveView() {
    auto& hook = HostHooks().activeView;
    return hook ? hook() : nullptr;
}
