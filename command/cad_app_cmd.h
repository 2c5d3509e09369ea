// The command registry: which module provides which command id, read once
// from CadAppCmd.def; loads a module on demand and releases it again.
//
// Thirteen well-known modules stay loaded once used (resident); any other
// module is named by path and lives for one run only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CCmdInfo {
public:
    virtual ~CCmdInfo() = default;
    std::string displayName;  // prompt bar and recent-command list
    std::string commandName;  // appended after " /C:" for resident modules
    uint16_t id = 0;          // every lookup compares these 16 bits
    std::string commandLine;  // module part and arguments
    std::string extraText;    // fourth field, kept only
    int slot = -1;            // resident slot, -1 for none
};

class CCmdInfoGroup {
public:
    virtual ~CCmdInfoGroup() = default;
    std::string name;
    std::string dir;  // may hold "%EXECDIR%"
    std::vector<CCmdInfo> commands;
};

struct CmdModuleSlot {
    std::string dllName;
    HMODULE module = nullptr;
};

// The definition as read from the file, before it becomes groups.
struct CmdDefGroupText {
    std::string name;
    std::string dir;
    std::vector<std::string> items;  // one comma-separated line each
};
struct CmdDefText {
    std::string readOnlyIds;  // "id" of ReadOnlyCmd
    std::vector<CmdDefGroupText> groups;
};

extern const char* const KnownCmdModules[20];

class CCadAppCmd {
public:
    static const int kSlotCount = 20;

    CCadAppCmd();
    virtual ~CCadAppCmd();
    CCadAppCmd(const CCadAppCmd&) = delete;
    CCadAppCmd& operator=(const CCadAppCmd&) = delete;

    // Reads "CadAppCmd.def" from the current folder (or the given path):
    // 0 read, -1 failed to load (after a message box).
    int ReadDefFile(const char* path = "CadAppCmd.def");
    // Builds the lists from the texts of the file (used by ReadDefFile).
    void Load(const CmdDefText& def);

    // 1 resident, 0 by path, -1 not registered.
    int FindCmdLine(int id, std::string& line, int* slot = nullptr) const;
    // The module handle, or null after a message.
    HMODULE LoadCmdModule(int id, std::string& modulePath, std::string& args, UINT* previousErrorMode = nullptr);
    void ReleaseModule();
    int IsReadOnlyCmd(int id) const;

    // The first command with this id (16-bit compare), or null.
    const CCmdInfo* FindCmd(int id, const CCmdInfoGroup** group = nullptr) const;

    const std::vector<CCmdInfoGroup*>& Groups() const { return m_groups; }
    const std::vector<int>& ReadOnlyIds() const { return m_readOnly; }
    const CmdModuleSlot& Slot(int i) const { return m_slots[i]; }
    HMODULE CurrentModule() const { return m_current; }
    int CurrentSlot() const { return m_currentSlot; }

private:
    void Clear();

    std::vector<CCmdInfoGroup*> m_groups;
    std::vector<int> m_readOnly;
    CmdModuleSlot m_slots[kSlotCount];
    HMODULE m_current = nullptr;
    int m_currentSlot = -1;
};

// The one registry of the application object (owned by it; registered here
// so that the command system reaches it).
void SetCmdRegistry(CCadAppCmd* registry);
CCadAppCmd* GetCmdRegistry();

// 0 when the argument text is not empty, else -1.
int SplitCmdLine(const std::string& line, std::string& modulePath, std::string& args);
// 1 and the text copied into the caller's 260-byte buffer, or 0.
int GetCmdDisplayName(int id, char* buffer, size_t size = MAX_PATH);
int GetCmdLineOfId(int id, char* buffer, size_t size = MAX_PATH);
int CmdModuleExists(int id);
int CallLoadingDB(int id, const char* fileName, void* database, void* info1, void* info2);

// Entry points of a command module.
typedef int(__stdcall* StartCmdProc)(HWND mainFrame, const char* args);
typedef int(__stdcall* CwCmdSaveFgProc)();
typedef int(__stdcall* CwCmdVerProc)();
typedef int(__stdcall* LoadingDBProc)(HWND mainFrame, const char* fileName, void* database);
typedef int(__stdcall* LoadingDBInfoProc)(HWND mainFrame, const char* fileName, void* database, void* info1,
                                          void* info2);
