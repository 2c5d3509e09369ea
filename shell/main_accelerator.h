// Shortcut-key table of a window, read from "ZavIrurer.key": an accelerator
// table the platform translates, plus the number-entry keys that only fire
// while the prompt bar holds a typed number.
//
// File layout: sections "[CustomKey]" (keys the user assigned) and
// "[SystemKey]" (keys the system assigns), each "BEGIN" ... "END", one entry
// a line: key, command id, flag names.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Flag bits of an entry: the platform's accelerator flags plus NUM.
enum : BYTE { ACCEL_NUM = 0x40 };

struct VkNameRow {
    WORD code;
    const char* name;
    const char* displayName;
};
// 154 rows in ascending key-code order, ended by a row of code 0.
extern const VkNameRow VkNameTable[];

class CMainAccelerator {
public:
    CMainAccelerator() = default;
    virtual ~CMainAccelerator();
    CMainAccelerator(const CMainAccelerator&) = delete;
    CMainAccelerator& operator=(const CMainAccelerator&) = delete;

    // 0 built, 1 already built, -1 no file, no custom entry or nothing left.
    int Load(const char* fileName);
    // fileName null: "ZavIrurer.key". 0 when "[CustomKey]" gave an entry.
    int ReadKeyFile(const char* fileName, std::vector<ACCEL>& out, bool merge, bool installed);
    // Writes the per-user file: custom entries plus the system-key list.
    int SaveKeyFile(const char* fileName, const std::vector<ACCEL>& custom);

    static std::string KeyText(WORD key, bool display);
    static std::string EntryText(const ACCEL& entry);
    static std::string FlagText(BYTE flags);
    // Fires the first number-entry key matching the message's key code and
    // exactly these flags: WM_COMMAND (its command, lParam 0) to the window.
    int FireNumberKey(HWND window, const MSG* keyMessage, BYTE flags) const;

    // The per-user path (seeded from the installation folder when missing) or,
    // with `installed`, the installed copy beside the executable.
    static std::string KeyFilePath(const char* fileName, bool installed);

    HACCEL Handle() const { return m_hAccel; }
    const std::vector<ACCEL>& NumberKeys() const { return m_numberKeys; }
    const std::vector<ACCEL>& SystemKeys() const { return m_systemKeys; }

private:
    int ReadSection(FILE* f, const char* header, std::vector<ACCEL>& entries);

    HACCEL m_hAccel = nullptr;
    std::vector<ACCEL> m_numberKeys;
    std::vector<ACCEL> m_systemKeys;
};

// Parses one entry line (already stripped of leading blanks). 1 with the
// entry filled, 0 when the line gives no entry (unknown key).
int ParseKeyEntry(const char* line, ACCEL& entry);
