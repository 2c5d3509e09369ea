// The command registry and the module loading around it.
#include "command/cad_app_cmd.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/csv_parser.h"
#include "base/dbcs.h"
#include "base/file_utils.h"
#include "base/message_ids.h"
#include "command/command_ids.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "command/safe_call.h"

const char* const KnownCmdModules[20] = {"CadAppBase.dll",
                                         "CadAppRaster.dll",
                                         "CadAppPrint.dll",
                                         "CadAppArch.dll",
                                         "CadAppDenki.dll",
                                         "CadAppKikai.dll",
                                         "CadAppSuido.dll",
                                         "CadAppAcad.dll",
                                         "CadIo.dll",
                                         "CadIoJww.dll",
                                         "CadIoSxf.dll",
                                         "CadIoDwg.dll",
                                         "CadIoUtils.dll",
                                         "",
                                         "",
                                         "",
                                         "",
                                         "",
                                         "",
                                         ""};

namespace {

CCadAppCmd* g_registry = nullptr;

void ShowError(int messageId) {
    if (HostHooks().showErrorMessage) HostHooks().showErrorMessage(messageId);
}

// The executable's folder without trailing backslashes, then exactly one.
std::string ExeDirWithOneSlash() {
    std::string dir = GetModuleDir();
    while (!dir.empty() && dir.back() == '\\' && !IsDbcsTrailAt(dir, dir.size() - 1))
        dir.pop_back();
    return dir + "\\";
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
}

int ToId(const std::string& field) { return std::atoi(field.c_str()); }

}  // namespace

void SetCmdRegistry(CCadAppCmd* registry) { g_registry = registry; }
CCadAppCmd* GetCmdRegistry() { return g_registry; }

CCadAppCmd::CCadAppCmd() {
    for (int i = 0; i < kSlotCount && KnownCmdModules[i][0] != '\0'; ++i)
        m_slots[i].dllName = KnownCmdModules[i];
}

CCadAppCmd::~CCadAppCmd() {
    Clear();
    for (auto& slot : m_slots) {
        if (slot.module) FreeLibrary(slot.module);
        slot.module = nullptr;
    }
    if (m_current && m_currentSlot < 0) FreeLibrary(m_current);
    if (g_registry == this) g_registry = nullptr;
}

void CCadAppCmd::Clear() {
    for (auto* group : m_groups)
        delete group;
    m_groups.clear();
    m_readOnly.clear();
}

void CCadAppCmd::Load(const CmdDefText& def) {
    Clear();
    if (!def.readOnlyIds.empty()) {
        CCsvParser csv(def.readOnlyIds);
        for (const auto& field : csv.Fields())
            m_readOnly.push_back(ToId(field));
    }
    for (const auto& groupText : def.groups) {
        auto* group = new CCmdInfoGroup;
        group->name = groupText.name;
        group->dir = groupText.dir;
        for (const auto& item : groupText.items) {
            CCsvParser csv(item);
            CCmdInfo info;
            const std::string& names = csv.GetField(0);
            size_t semi = DbcsFind(names, ';');
            if (semi == std::string::npos) {
                info.commandName = info.displayName = names;
            } else {
                info.commandName = names.substr(0, semi);
                info.displayName = names.substr(semi + 1);
            }
            info.id = static_cast<uint16_t>(ToId(csv.GetField(1)));
            info.commandLine = csv.GetField(2);
            info.extraText = csv.GetField(3);
            for (int s = 0; s < kSlotCount; ++s) {
                const std::string& dll = m_slots[s].dllName;
                if (!dll.empty() && info.commandLine.compare(0, dll.size(), dll) == 0) {
                    info.slot = s;
                    break;
                }
            }
            group->commands.push_back(info);
        }
        m_groups.push_back(group);
    }
}

const CCmdInfo* CCadAppCmd::FindCmd(int id, const CCmdInfoGroup** groupOut) const {
    const uint16_t key = static_cast<uint16_t>(id & 0xFFFF);
    for (const auto* group : m_groups) {
        for (const auto& info : group->commands) {
            if (info.id == key) {
                if (groupOut) *groupOut = group;
                return &info;
            }
        }
    }
    return nullptr;
}

int CCadAppCmd::FindCmdLine(int id, std::string& line, int* slot) const {
    if (slot) *slot = -1;
    const CCmdInfoGroup* group = nullptr;
    const CCmdInfo* info = FindCmd(id, &group);
    if (!info) return -1;
    if (info->slot >= 0) {
        line = info->commandLine;
        if (line.find("/C:") == std::string::npos && line.find("/c:") == std::string::npos)
            line += " /C:" + info->commandName;
        if (slot) *slot = info->slot;
        return 1;
    }
    std::string dir = group->dir;
    ReplaceAll(dir, "%EXECDIR%", ExeDirWithOneSlash());
    char combined[MAX_PATH] = {};
    // PathCombine refuses results beyond MAX_PATH; the line then stays as
    // written, and loading it reports that the command cannot run.
    if (PathCombineA(combined, dir.empty() ? nullptr : dir.c_str(), info->commandLine.c_str()))
        line = combined;
    else
        line = info->commandLine;
    return 0;
}

int CCadAppCmd::IsReadOnlyCmd(int id) const {
    if (m_readOnly.empty()) return 1;
    return std::find(m_readOnly.begin(), m_readOnly.end(), id) != m_readOnly.end() ? 1 : 0;
}

HMODULE CCadAppCmd::LoadCmdModule(int id, std::string& modulePath, std::string& args, UINT* previousErrorMode) {
    m_currentSlot = -1;
    std::string line;
    int slot = -1;
    if (FindCmdLine(id, line, &slot) < 0) {
        ShowError(IDS_CMD_NOT_REGISTERED);
        return nullptr;
    }
    SplitCmdLine(line, modulePath, args);
    if (previousErrorMode) *previousErrorMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    HMODULE module = nullptr;
    if (slot >= 0) {
        CmdModuleSlot& s = m_slots[slot];
        if (!s.module && !s.dllName.empty()) {
            std::string full = GetModuleDir();
            AppendPath(full, s.dllName.c_str());
            s.module = LoadLibraryA(full.c_str());
        }
        module = s.module;
        if (module) {
            m_current = module;
            m_currentSlot = slot;
        }
    } else {
        module = modulePath.empty() ? nullptr : LoadLibraryA(modulePath.c_str());
        if (module) m_current = module;
    }
    if (!module) {
        ShowError(IDS_CMD_CANNOT_RUN);
        if (previousErrorMode) SetErrorMode(*previousErrorMode);
        return nullptr;
    }
    return module;
}

void CCadAppCmd::ReleaseModule() {
    if (m_current && m_currentSlot < 0) FreeLibrary(m_current);
    m_current = nullptr;
    m_currentSlot = -1;
}

int SplitCmdLine(const std::string& line, std::string& modulePath, std::string& args) {
    modulePath.clear();
    args.clear();
    std::string lower = line;
    for (auto& c : lower)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    size_t end;
    size_t pos = lower.find(".dll");
    if (pos != std::string::npos) {
        end = pos + 4;
    } else {
        pos = line.find("$SYSTEMCMD$");
        if (pos == std::string::npos) return -1;
        end = pos + 11;
    }
    size_t p = end;
    while (p < line.size() && (line[p] == ' ' || line[p] == '\t'))
        ++p;
    if (p > end && p < line.size()) args = line.substr(p);
    modulePath = line.substr(0, end);
    return args.empty() ? -1 : 0;
}

int GetCmdDisplayName(int id, char* buffer, size_t size) {
    const CCmdInfo* info = g_registry ? g_registry->FindCmd(id) : nullptr;
    if (!info) return 0;
    DbcsCopy(buffer, size, info->displayName.c_str());
    return 1;
}

int GetCmdLineOfId(int id, char* buffer, size_t size) {
    std::string line;
    if (!g_registry || g_registry->FindCmdLine(id, line) < 0) return 0;
    DbcsCopy(buffer, size, line.c_str());
    return 1;
}

int CmdModuleExists(int id) {
    std::string line;
    if (!g_registry || g_registry->FindCmdLine(id, line) < 0) return 0;
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i] == ' ' && !IsDbcsTrailAt(line, i)) {
            line.resize(i);
            break;
        }
    }
    std::string full = GetModuleDir();
    if (!AppendPath(full, line.c_str())) return 0;
    DWORD attr = GetFileAttributesA(full.c_str());
    return (attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY)) ? 1 : 0;
}

int CallLoadingDB(int id, const char* fileName, void* database, void* info1, void* info2) {
    if (!g_registry) return 0;
    std::string path, args;
    UINT mode = 0;
    HMODULE module = g_registry->LoadCmdModule(id, path, args, &mode);
    if (!module) return 0;
    SetErrorMode(mode);
    // The loading entry of the module: with information blocks when asked
    // for them, an entry of its own for the JWC import.
    FARPROC proc = GetProcAddress(module, (info1 || info2)                     ? "LoadingDB_Info"
                                          : (id & 0xFFFF) == ID_CMD_IMPORT_JWC ? "Jwc_LoadingDB"
                                                                               : "LoadingDB");
    if (!proc) {
        g_registry->ReleaseModule();
        ShowError(IDS_CMD_MODULE_BROKEN);
        return 0;
    }
    const int loaded = CallModuleGuarded(
        [&] {
            if (info1 || info2)
                reinterpret_cast<LoadingDBInfoProc>(proc)(CmdMainFrame(), fileName, database, info1, info2);
            else
                reinterpret_cast<LoadingDBProc>(proc)(CmdMainFrame(), fileName, database);
            return 0;
        },
        module);
    g_registry->ReleaseModule();
    if (HostHooks().showElementCount) HostHooks().showElementCount();
    // A load that faulted is no load: the caller must not keep its result.
    return loaded == -1 ? 0 : 1;
}
