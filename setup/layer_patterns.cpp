#include "setup/layer_patterns.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/dbcs.h"
#include "base/message_table.h"
#include "command/host_hooks.h"
#include "setup/layer_tree.h"
#include "setup/layers.h"
#include "win/message_box.h"

namespace {

constexpr const char* kVersionSection = "VER";
constexpr const char* kListSection = "PLISTNAME";
constexpr const char* kVersion = "3.0";
constexpr int kEntryMax = 1024;

std::string Key(int i) { return std::to_string(i); }
std::string GroupKey(int i) { return std::to_string(i) + "Grp"; }

std::string ReadRaw(const char* section, const char* key, const std::string& file) {
    char buffer[512] = "";
    GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, file.c_str());
    return buffer;
}

std::string Format(int id, const char* name) {
    char text[600];
    std::snprintf(text, sizeof text, GetMessageText(id), name ? name : "");
    return text;
}

// The listed names in list order (the list ends at the first empty key).
std::vector<std::string> ListedNames(const std::string& file) {
    std::vector<std::string> names;
    for (int i = 0; i < kLayerPatternListMax; ++i) {
        std::string name = ReadRaw(kListSection, Key(i).c_str(), file);
        if (name.empty()) break;
        names.push_back(name);
    }
    return names;
}

// INI sections ignore letter case, so two names that differ only in it
// would share one section: they count as the same pattern.
int FindListed(const std::vector<std::string>& names, const char* name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (lstrcmpiA(names[i].c_str(), name) == 0) return static_cast<int>(i);
    return -1;
}

void WriteEntry(const char* section, int i, int layer, char display, char detect, const char* name,
                const char* group, const std::string& file) {
    char value[300];
    std::snprintf(value, sizeof value, "%04d%c%c%s", layer, display, detect, name);
    WriteQuotedProfileString(section, Key(i).c_str(), value, file.c_str());
    WriteQuotedProfileString(section, GroupKey(i).c_str(), group, file.c_str());
}

void WriteTerminator(const char* section, int i, const std::string& file) {
    WritePrivateProfileStringA(section, Key(i).c_str(), "", file.c_str());
    WritePrivateProfileStringA(section, GroupKey(i).c_str(), "", file.c_str());
}

// The older form of one entry: number, two flags, then the name, or a
// 10-byte group, '-' and the name.
void SplitOldEntry(const std::string& raw, int* layer, char* display, char* detect, std::string* group,
                   std::string* name) {
    *layer = std::atoi(raw.substr(0, 4).c_str());
    *display = raw.size() > 4 ? raw[4] : '1';
    *detect = raw.size() > 5 ? raw[5] : '1';
    if (raw.size() > 16 && raw[16] == '-') {
        std::string g = raw.substr(6, 10);
        while (!g.empty() && g.back() == ' ')
            g.pop_back();
        *group = g;
        *name = raw.substr(17);
    } else {
        group->clear();
        *name = raw.size() > 6 ? raw.substr(6) : std::string();
    }
}

}  // namespace

std::string LayerPatternFile() {
    auto& hook = HostHooks().readSettingFileName;
    return hook ? hook("LAYER") : std::string();
}

BOOL WriteQuotedProfileString(const char* section, const char* key, const char* value, const char* file) {
    std::string quoted = "\"" + std::string(value ? value : "") + "\"";
    return WritePrivateProfileStringA(section, key, quoted.c_str(), file);
}

DWORD ReadQuotedProfileString(const char* section, const char* key, const char* def, char* buffer, DWORD size,
                              const char* file) {
    if (!buffer || size == 0) return 0;
    DWORD n = GetPrivateProfileStringA(section, key, def ? def : "", buffer, size, file);
    // The platform already strips one pair of quotes; a lone leading or
    // trailing quote is ours to take off.
    if (n > 0 && buffer[0] == '"') {
        std::memmove(buffer, buffer + 1, n);
        --n;
        if (n > 0 && buffer[n - 1] == '"') buffer[--n] = '\0';
    }
    return n;
}

int ConvertLayerPatternFile(const char* file) {
    if (!file || !*file) return 0;
    const std::string path = file;
    if (!ReadRaw(kVersionSection, kVersionSection, path).empty()) return 0;
    for (const std::string& pattern : ListedNames(path)) {
        for (int i = 0; i < kEntryMax; ++i) {
            const std::string raw = ReadRaw(pattern.c_str(), Key(i).c_str(), path);
            int layer = 0;
            char display = '1', detect = '1';
            std::string group, name;
            if (!raw.empty()) SplitOldEntry(raw, &layer, &display, &detect, &group, &name);
            if (raw.empty() || name.empty()) {
                WriteTerminator(pattern.c_str(), i, path);
                break;
            }
            // Every entry takes the current form; readers skip numbers that
            // are out of range, so none is dropped here.
            WriteEntry(pattern.c_str(), i, layer, display, detect, name.c_str(), group.c_str(), path);
        }
    }
    WritePrivateProfileStringA(kVersionSection, kVersionSection, kVersion, file);
    return 1;
}

int ReadLayerPatternNames(char names[kLayerPatternListMax][kLayerPatternNameMax + 1]) {
    const std::string file = LayerPatternFile();
    if (file.empty() || !names) return 0;
    ConvertLayerPatternFile(file.c_str());
    const std::vector<std::string> listed = ListedNames(file);
    for (size_t i = 0; i < listed.size(); ++i)
        DbcsCopy(names[i], kLayerPatternNameMax + 1, listed[i].c_str());
    return static_cast<int>(listed.size());
}

int ReadLayerPatternEntry(LayerPatternEntry* entry, const char* pattern, int index) {
    const std::string file = LayerPatternFile();
    if (!entry || !pattern || file.empty()) return 0;
    char value[512] = "";
    ReadQuotedProfileString(pattern, Key(index).c_str(), "", value, sizeof value, file.c_str());
    if (!value[0]) return 0;
    *entry = LayerPatternEntry();
    char number[5] = {};
    std::memcpy(number, value, 4);
    entry->layer = std::atoi(number);
    const size_t length = std::strlen(value);
    entry->display = length > 4 ? value[4] : '0';
    entry->detect = length > 5 ? value[5] : '0';
    DbcsCopy(entry->name, 258, length > 6 ? value + 6 : "");
    if (!entry->name[0]) std::strcpy(entry->name, " ");
    char group[512] = "";
    ReadQuotedProfileString(pattern, GroupKey(index).c_str(), "", group, sizeof group, file.c_str());
    DbcsCopy(entry->group, sizeof entry->group, group);
    return 1;
}

const char* LayerPatternNameProblem(const char* name) {
    if (!name || !*name) return "パターン名を入力してください。";
    if (lstrcmpiA(name, kVersionSection) == 0 || lstrcmpiA(name, kListSection) == 0)
        return "この名前はパターン名に使えません。";
    // A bracket or a line break would end the section name early.
    for (const char* p = name; *p; p += DbcsCharLength(p))
        if (*p == ']' || *p == '[' || *p == '\r' || *p == '\n') return "パターン名に [ ] と改行は使えません。";
    return nullptr;
}

int SaveLayerPattern(HWND owner, const char* name) {
    const std::string file = LayerPatternFile();
    if (file.empty()) return 0;
    char wanted[kLayerPatternNameMax + 1];
    DbcsCopy(wanted, sizeof wanted, name ? name : "");
    if (const char* problem = LayerPatternNameProblem(wanted)) {
        ZavMessageBox(owner, problem, GetMessageText(7537), MB_OK | MB_ICONWARNING);
        return 0;
    }
    ConvertLayerPatternFile(file.c_str());
    std::vector<std::string> listed = ListedNames(file);
    const int at = FindListed(listed, wanted);
    std::string section = wanted;
    if (at >= 0) {
        if (ZavMessageBox(owner, Format(7102, listed[at].c_str()).c_str(), GetMessageText(7537),
                          MB_YESNO | MB_ICONWARNING) != IDYES)
            return 0;
        section = listed[at];
    } else {
        if (static_cast<int>(listed.size()) >= kLayerPatternListMax) {
            ZavMessageBox(owner, "これ以上パターンは登録できません。", GetMessageText(7537), MB_OK | MB_ICONWARNING);
            return 0;
        }
        WritePrivateProfileStringA(kListSection, Key(static_cast<int>(listed.size())).c_str(), wanted, file.c_str());
    }
    // The old entries go first, so a shorter pattern leaves none behind.
    WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str());
    LayerTree& tree = SharedLayerTree();
    int i = 0;
    if (!tree.pages.empty()) {
        const LayerTreePage& page = tree.pages[PageIndexOfCurrentNode(&tree)];
        for (const LayerTreeGroup& g : page.groups)
            for (const LayerTreeLayer& l : g.layers)
                WriteEntry(section.c_str(), i++, l.number, l.display ? '1' : '0', l.detect ? '1' : '0', l.name,
                           g.name, file);
    }
    WriteTerminator(section.c_str(), i, file);
    WritePrivateProfileStringA(kVersionSection, kVersionSection, kVersion, file.c_str());
    return 1;
}

int DeleteLayerPattern(HWND owner, const char* name) {
    const std::string file = LayerPatternFile();
    if (file.empty() || !name) return 0;
    std::vector<std::string> listed = ListedNames(file);
    const int at = FindListed(listed, name);
    if (at < 0) {
        ZavMessageBox(owner, Format(7103, name).c_str(), GetMessageText(7416), MB_OK | MB_ICONWARNING);
        return 0;
    }
    if (ZavMessageBox(owner, Format(7105, name).c_str(), GetMessageText(7416), MB_YESNO | MB_ICONWARNING) != IDYES)
        return 0;
    const std::string section = listed[at];
    listed.erase(listed.begin() + at);
    for (size_t i = 0; i < listed.size(); ++i)
        WritePrivateProfileStringA(kListSection, Key(static_cast<int>(i)).c_str(), listed[i].c_str(), file.c_str());
    WritePrivateProfileStringA(kListSection, Key(static_cast<int>(listed.size())).c_str(), nullptr, file.c_str());
    WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str());
    return 1;
}

int LoadLayerPatternToTree(HWND owner, const char* name) {
    const std::string file = LayerPatternFile();
    LayerTree& tree = SharedLayerTree();
    if (file.empty() || !name || tree.pages.empty()) return 0;
    const std::vector<std::string> listed = ListedNames(file);
    const int at = FindListed(listed, name);
    if (at < 0) {
        ZavMessageBox(owner, Format(7103, name).c_str(), "Loading", MB_OK | MB_ICONWARNING);
        return 0;
    }
    LayerTreePage& page = tree.pages[PageIndexOfCurrentNode(&tree)];
    std::vector<LayerPatternEntry> entries;
    std::vector<bool> defined(kLayerCount, false);
    for (int i = 0; i < kEntryMax; ++i) {
        LayerPatternEntry e;
        if (!ReadLayerPatternEntry(&e, listed[at].c_str(), i)) break;
        if (e.layer < 0 || e.layer >= kLayerCount) continue;
        e.lock = '0';
        defined[e.layer] = true;
        entries.push_back(e);
    }
    // Used layers the pattern leaves out keep their place after it.
    for (const LayerTreeGroup& g : page.groups)
        for (const LayerTreeLayer& l : g.layers) {
            if (!l.used || defined[l.number]) continue;
            LayerPatternEntry e;
            e.layer = l.number;
            e.display = l.display ? '1' : '0';
            e.detect = l.detect ? '1' : '0';
            e.lock = l.lock ? '1' : '0';
            DbcsCopy(e.name, sizeof e.name, l.name);
            DbcsCopy(e.group, sizeof e.group, g.name);
            defined[l.number] = true;
            entries.push_back(e);
        }
    unsigned char used[kLayerCount];
    CollectUsedLayers(0, used, page.page);
    std::vector<LayerTreeGroup> groups;
    for (const LayerPatternEntry& e : entries) {
        LayerTreeGroup* group = nullptr;
        for (LayerTreeGroup& g : groups)
            if (std::strcmp(g.name, e.group) == 0) group = &g;
        if (!group) {
            groups.emplace_back();
            group = &groups.back();
            DbcsCopy(group->name, sizeof group->name, e.group);
            group->firstLayer = e.layer;
        }
        LayerTreeLayer n;
        n.number = e.layer;
        n.display = e.display == '1';
        n.detect = e.detect == '1';
        n.lock = e.lock == '1';
        n.used = used[e.layer] ? 1 : 0;
        DbcsCopy(n.name, sizeof n.name, e.name);
        group->layers.push_back(n);
    }
    page.groups = std::move(groups);
    return 1;
}

int LoadLayerPatternToDb(HWND owner, const char* name, DbHeader* db) {
    const std::string file = LayerPatternFile();
    DbInfo* info = db ? DAriGetDbInfoPtr(0, db) : nullptr;
    if (file.empty() || !name || !info) return 0;
    ConvertLayerPatternFile(file.c_str());
    const std::vector<std::string> listed = ListedNames(file);
    const int at = FindListed(listed, name);
    if (at < 0) {
        ZavMessageBox(owner, Format(7103, name).c_str(), "Loading", MB_OK | MB_ICONWARNING);
        return 0;
    }
    LayerTable& t = info->layers;
    t.inputLayer = kLayerCount;
    for (int i = 0; i < kEntryMax; ++i) {
        LayerPatternEntry e;
        if (!ReadLayerPatternEntry(&e, listed[at].c_str(), i)) break;
        if (e.layer < 0 || e.layer >= kLayerCount) continue;
        DAriSetLayerName(0, e.layer, e.name, db);
        DbcsCopy(t.groupNames[e.layer], sizeof t.groupNames[e.layer], e.group);
        if (e.display == '0') SetLayerBit(t.display, e.layer, false);
        if (e.detect == '0') SetLayerBit(t.detect, e.layer, false);
    }
    db->pages.currentPage = 0;
    if (t.inputLayer == kLayerCount) t.inputLayer = 0;
    return 1;
}

int ImportExportLayerPatterns(HWND owner, int direction) {
    const std::string file = LayerPatternFile();
    if (file.empty()) return 0;
    char chosen[MAX_PATH] = "";
    static const char kFilter[] = "PTNファイル (*.PTN)\0*.PTN\0All Files (*.*)\0*.*\0";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = chosen;
    ofn.nMaxFile = sizeof chosen;
    ofn.lpstrDefExt = "PTN";
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    if (direction == 1) {
        ofn.lpstrTitle = "ファイル書出";
        ofn.Flags |= OFN_OVERWRITEPROMPT;
        if (!GetSaveFileNameA(&ofn)) return 0;
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());  // flush the cache
        CopyFileA(file.c_str(), chosen, FALSE);
        return 1;
    }
    ofn.lpstrTitle = "ファイル読込";
    ofn.Flags |= OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameA(&ofn)) return 0;
    if (ReadRaw(kListSection, "0", chosen).empty()) {
        ZavMessageBox(owner, "指定のファイルはレイヤパターンではありません。", "読込", MB_OK | MB_ICONWARNING);
        return 1;
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    CopyFileA(chosen, file.c_str(), FALSE);
    return 1;
}

std::string LayerPatternPreviewText(const char* name) {
    std::string text;
    for (int i = 0; i < 16; ++i) {
        LayerPatternEntry e;
        if (!ReadLayerPatternEntry(&e, name, i)) break;
        char cut[22];
        DbcsCopy(cut, sizeof cut, e.name);
        char line[64];
        std::snprintf(line, sizeof line, "%4d %s\n", e.layer + 1, cut);
        text += line;
    }
    return text;
}
