#include "panels/key_editor_model.h"

#include <algorithm>
#include <cstdio>

#include "panels/cmd_panel_def.h"

BYTE KeyListFilter(bool shift, bool ctrl) {
    BYTE filter = FVIRTKEY;
    if (shift) filter |= FSHIFT;
    if (ctrl) filter |= FCONTROL;
    return filter;
}

bool KeyEntryShown(BYTE flags, BYTE filter) { return (BYTE)(flags & ~FNOINVERT) == filter; }

namespace {
std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return std::string();
    size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}
}  // namespace

std::string KeyListLine(const std::string& keyName, const std::string& commandName) {
    char line[512];
    std::snprintf(line, sizeof line, "%-12s%s", keyName.c_str(), Trim(commandName).c_str());
    return line;
}

std::string ReplaceKeyLineCommand(const std::string& line, const std::string& label) {
    char out[512];
    std::snprintf(out, sizeof out, "%-12s%s", line.substr(0, 12).c_str(), label.c_str());
    return out;
}

std::string CatalogueLine(const std::string& label, const std::string& tip) {
    char out[512];
    std::snprintf(out, sizeof out, "%-15s：%s", label.c_str(), tip.c_str());
    return out;
}

std::vector<std::string> KeyCategoryNames(const std::vector<std::string>& catalogue,
                                          const std::vector<std::string>& livePages) {
    std::vector<std::string> out;
    for (const std::string& name : catalogue) {
        if (name == "建築図面") break;
        out.push_back(name);
    }
    // A live page adds the catalogue pages of its name that are not listed
    // yet (the same category twice would only repeat the list).
    const size_t first = out.size();
    for (const std::string& live : livePages)
        for (size_t i = first; i < catalogue.size(); ++i)
            if (catalogue[i] == live && std::find(out.begin(), out.end(), live) == out.end()) out.push_back(live);
    return out;
}

std::map<int, std::string> KeyCommandNames(const std::vector<CmdPanelPageDef>& pages) {
    std::map<int, std::string> names;
    for (const CmdPanelPageDef& page : pages)
        for (const std::string& entry : page.items) {
            CmdPanelItem item;
            if (ParseCmdPanelItem(entry, &item) && item.id > 0) names[item.id] = item.label;
        }
    return names;
}
