// CCadSysCmdConfig: the settings services for command modules.
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>

#include "base/dbcs.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/host_objects.h"

namespace {

IniRequest* Req(LPARAM lParam) { return reinterpret_cast<IniRequest*>(lParam); }
const char* Str(uint32_t word) { return reinterpret_cast<const char*>(word); }
char* Buf(uint32_t word) { return reinterpret_cast<char*>(word); }

// Module buffers hold a fixed number of bytes: copy bounded, on a character
// boundary.
void CopyOut(uint32_t buffer, const std::string& text, size_t size) {
    if (buffer) DbcsCopy(Buf(buffer), size, text.c_str());
}

std::string CmdIni(const char* section, const char* key, const char* def) {
    auto& hook = HostHooks().readCmdIniString;
    return hook ? hook(section, key, def) : std::string(def ? def : "");
}

}  // namespace

LRESULT CCadSysCmdConfig::OnGetCmdIni(UINT, WPARAM, LPARAM lParam, BOOL&) {
    IniRequest* r = Req(lParam);
    CopyOut(r->word0c, CmdIni(Str(r->word08), Str(r->word00), Str(r->word04)), kSettingValueBuffer);
    return 1;
}

LRESULT CCadSysCmdConfig::OnSetCmdIni(UINT, WPARAM, LPARAM lParam, BOOL&) {
    IniRequest* r = Req(lParam);
    if (HostHooks().writeCmdIniString) HostHooks().writeCmdIniString(Str(r->word08), Str(r->word00), Str(r->word0c));
    return 1;
}

LRESULT CCadSysCmdConfig::OnGetProfileString(UINT, WPARAM, LPARAM lParam, BOOL&) {
    IniRequest* r = Req(lParam);
    auto& hook = HostHooks().readSettingText;
    CopyOut(r->word28, hook ? hook(Str(r->word08), Str(r->word0c), "") : std::string(), kSettingValueBuffer);
    return 1;
}

LRESULT CCadSysCmdConfig::OnSetProfileString(UINT, WPARAM, LPARAM lParam, BOOL&) {
    IniRequest* r = Req(lParam);
    if (HostHooks().writeSettingText) HostHooks().writeSettingText(Str(r->word08), Str(r->word0c), Str(r->word28));
    return 1;
}

LRESULT CCadSysCmdConfig::OnGetConfigFileName(UINT, WPARAM, LPARAM lParam, BOOL&) {
    IniRequest* r = Req(lParam);
    auto& hook = HostHooks().readSettingFileName;
    CopyOut(r->word08, hook ? hook(Str(r->word0c)) : std::string(), kPathBuffer);
    return 1;
}

LRESULT CCadSysCmdConfig::OnGetProfileSection(UINT, WPARAM, LPARAM lParam, BOOL&) {
    IniRequest* r = Req(lParam);
    if (!r->word08) return 1;
    auto& hook = HostHooks().readSettingSection;
    std::string names = hook ? hook(Str(r->word0c)) : std::string();
    // A list of zero-terminated names ending in an empty one: keep whole
    // names only, and always end with the double zero.
    char* out = Buf(r->word08);
    size_t used = 0;
    size_t pos = 0;
    while (pos < names.size()) {
        size_t end = names.find('\0', pos);
        if (end == std::string::npos) end = names.size();
        const size_t len = end - pos;
        if (len == 0) break;
        if (used + len + 2 > kSettingValueBuffer) break;
        std::memcpy(out + used, names.data() + pos, len);
        used += len;
        out[used++] = '\0';
        pos = end + 1;
    }
    out[used] = '\0';
    return 1;
}

LRESULT CCadSysCmdConfig::OnGetPrivateProfile(UINT, WPARAM, LPARAM lParam, BOOL&) {
    IniRequest* r = Req(lParam);
    auto& hook = HostHooks().readSettingString;
    const int size = static_cast<int>(r->word28);
    if (hook) return hook(Str(r->word00), Str(r->word04), Str(r->word08), Buf(r->word0c), size, Str(r->word10));
    if (r->word0c && size > 0) DbcsCopy(Buf(r->word0c), size, r->word08 ? Str(r->word08) : "");
    return 0;
}

LRESULT CCadSysCmdConfig::OnSetPrivateProfile(UINT, WPARAM, LPARAM lParam, BOOL&) {
    IniRequest* r = Req(lParam);
    auto& hook = HostHooks().writeSettingString;
    return hook ? hook(Str(r->word00), Str(r->word04), Str(r->word08), Str(r->word0c)) : 0;
}

LRESULT CCadSysCmdConfig::OnGetAppObject(UINT, WPARAM, LPARAM, BOOL&) {
    return reinterpret_cast<LRESULT>(HostHooks().appObject ? HostHooks().appObject() : nullptr);
}

LRESULT CCadSysCmdConfig::OnGetPtnSave(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (!Executor().cmdSaveFlag) return 0;
    char key[32];
    std::snprintf(key, sizeof key, "%ld", static_cast<long>(wParam));
    return std::atoi(CmdIni("PTNSAVE", key, "1").c_str());
}
