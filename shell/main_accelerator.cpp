// Shortcut keys: the key file, its grammar and the key names.
#include "shell/main_accelerator.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/csv_parser.h"
#include "base/dbcs.h"
#include "shell/shell_seams.h"
#include "shell/text_lines.h"

namespace {

const char kKeyFileName[] = "ZavIrurer.key";

struct FlagName {
    BYTE bit;
    const char* name;
};
const FlagName kFlagNames[] = {
    {FVIRTKEY, "VIRTKEY"}, {FNOINVERT, "NOINVERT"}, {FSHIFT, "SHIFT"},
    {FCONTROL, "CONTROL"}, {FALT, "ALT"},           {ACCEL_NUM, "NUM"},
};

WORD KeyFromName(const std::string& name) {
    if (name.size() == 1 && std::isalnum((unsigned char)name[0])) return (unsigned char)name[0];
    for (const VkNameRow* row = VkNameTable; row->code; ++row)
        if (name == row->name) return row->code;
    return 0;
}

// A flag field cut at its comment; `hadComment` tells the caller to stop.
std::string CutFlagComment(const std::string& field, bool& hadComment) {
    hadComment = false;
    size_t cut = DbcsFind(field, ';');
    if (cut == 0) {
        hadComment = true;
        return std::string();
    }
    if (cut == std::string::npos) {
        size_t pos = 0;
        while ((pos = DbcsFind(field, '/', pos)) != std::string::npos) {
            if (pos + 1 < field.size() && field[pos + 1] == '/') break;
            ++pos;
        }
        cut = pos;
    }
    if (cut == std::string::npos) return field;
    hadComment = true;
    std::string kept = field.substr(0, cut);
    while (!kept.empty() && (kept.back() == ' ' || kept.back() == '\t'))
        kept.pop_back();
    return kept;
}

}  // namespace

int ParseKeyEntry(const char* line, ACCEL& entry) {
    CCsvParser csv(line);
    entry = ACCEL{};
    entry.key = KeyFromName(csv.GetField(0));
    if (entry.key == 0) return 0;
    entry.cmd = (WORD)std::strtoul(csv.GetField(1).c_str(), nullptr, 10);
    for (size_t i = 2; i < csv.GetCount(); ++i) {
        bool hadComment = false;
        std::string flag = CutFlagComment(csv[i], hadComment);
        for (const FlagName& f : kFlagNames)
            if (flag == f.name) entry.fVirt |= f.bit;
        if (hadComment) break;
    }
    return 1;
}

CMainAccelerator::~CMainAccelerator() {
    if (m_hAccel) DestroyAcceleratorTable(m_hAccel);
}

std::string CMainAccelerator::KeyFilePath(const char* fileName, bool installed) {
    const char* name = fileName ? fileName : kKeyFileName;
    // A full path is taken as it stands.
    if (std::strchr(name, '\\') || std::strchr(name, ':')) return name;
    if (installed) return ShellExeDir() + "\\" + name;
    return SeedUserFile(name);
}

int CMainAccelerator::ReadSection(FILE* f, const char* header, std::vector<ACCEL>& entries) {
    std::rewind(f);
    std::string line;
    enum { Before, Header, Body } state = Before;
    while (ReadDefLine(f, line)) {
        const char* t = SkipBlanks(line.c_str());
        if (IsCommentLine(t)) continue;
        if (state == Before) {
            if (StartsWith(t, header)) state = Header;
        } else if (state == Header) {
            if (StartsWith(t, "BEGIN")) state = Body;
        } else {
            if (StartsWith(t, "END")) break;
            ACCEL entry;
            if (ParseKeyEntry(t, entry)) entries.push_back(entry);
        }
    }
    return 0;
}

int CMainAccelerator::ReadKeyFile(const char* fileName, std::vector<ACCEL>& out, bool merge, bool installed) {
    std::string path = KeyFilePath(fileName, installed);
    FILE* f = std::fopen(path.c_str(), "rt");
    if (!f) return -1;
    if (!merge) m_numberKeys.clear();

    auto sort = [&](const std::vector<ACCEL>& entries, std::vector<ACCEL>& target) {
        for (const ACCEL& e : entries) {
            if (merge) {
                target.push_back(e);
            } else if (e.cmd == 0) {
                continue;
            } else if (e.fVirt >= ACCEL_NUM) {
                m_numberKeys.push_back(e);
            } else {
                target.push_back(e);
            }
        }
    };

    std::vector<ACCEL> custom;
    ReadSection(f, "[CustomKey]", custom);
    sort(custom, out);
    m_systemKeys.clear();
    std::vector<ACCEL> system;
    ReadSection(f, "[SystemKey]", system);
    sort(system, merge ? m_systemKeys : out);
    std::fclose(f);
    return custom.empty() ? -1 : 0;
}

int CMainAccelerator::Load(const char* fileName) {
    if (m_hAccel) return 1;
    std::vector<ACCEL> entries;
    if (ReadKeyFile(fileName, entries, false, false) != 0) return -1;
    entries.insert(entries.end(), m_systemKeys.begin(), m_systemKeys.end());
    if (entries.empty()) return -1;
    m_hAccel = CreateAcceleratorTableA(entries.data(), (int)entries.size());
    return m_hAccel ? 0 : -1;
}

int CMainAccelerator::SaveKeyFile(const char* fileName, const std::vector<ACCEL>& custom) {
    if (custom.empty() || m_systemKeys.empty()) return -1;
    std::string path = KeyFilePath(fileName, false);
    FILE* f = std::fopen(path.c_str(), "wt");
    if (!f) return -1;
    auto section = [&](const char* header, const std::vector<ACCEL>& entries) {
        std::fprintf(f, "%s\nBEGIN\n", header);
        for (const ACCEL& e : entries) {
            std::string text = EntryText(e);
            if (!text.empty()) std::fprintf(f, "    %s\n", text.c_str());
        }
        std::fprintf(f, "END\n");
    };
    section("[CustomKey]", custom);
    section("[SystemKey]", m_systemKeys);
    int ok = std::ferror(f) == 0;
    ok = (std::fclose(f) == 0) && ok;
    return ok ? 0 : -1;
}

std::string CMainAccelerator::KeyText(WORD key, bool display) {
    for (const VkNameRow* row = VkNameTable; row->code; ++row)
        if (row->code == key) return display ? row->displayName : row->name;
    if (key < 128 && std::isalnum(key)) return std::string(1, (char)key);
    return std::string();
}

std::string CMainAccelerator::FlagText(BYTE flags) {
    std::string text;
    for (const FlagName& f : kFlagNames) {
        if (!(flags & f.bit)) continue;
        if (!text.empty()) text += ',';
        text += f.name;
    }
    return text;
}

std::string CMainAccelerator::EntryText(const ACCEL& entry) {
    std::string key = KeyText(entry.key, false);
    if (key.empty()) return key;
    char line[400];
    std::snprintf(line, sizeof line, "\"%s\",%ld,%s", key.c_str(), (long)entry.cmd, FlagText(entry.fVirt).c_str());
    return line;
}

int CMainAccelerator::FireNumberKey(HWND window, const MSG* msg, BYTE flags) const {
    for (const ACCEL& e : m_numberKeys) {
        if (e.key == (WORD)msg->wParam && e.fVirt == flags) {
            SendMessageA(window, WM_COMMAND, e.cmd, 0);
            return 1;
        }
    }
    return 0;
}
