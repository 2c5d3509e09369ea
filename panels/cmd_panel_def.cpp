#include "panels/cmd_panel_def.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <list>

#include "base/csv_parser.h"
#include "base/def_file.h"
#include "base/file_utils.h"

namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = ::MultiByteToWideChar(932, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    ::MultiByteToWideChar(932, 0, text.data(), (int)text.size(), &out[0], n);
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    int n = ::WideCharToMultiByte(932, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    ::WideCharToMultiByte(932, 0, text.data(), (int)text.size(), &out[0], n, nullptr, nullptr);
    return out;
}

// Element-name characters; ':' is left out because a path step would take
// it for a namespace prefix.
bool IsNameStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || (c >= 0xC0 && c <= 0xD6) ||
           (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D) ||
           (c >= 0x37F && c <= 0x1FFF) || c == 0x200C || c == 0x200D || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
           (c >= 0xFDF0 && c <= 0xFFFD);
}

bool IsNameChar(wchar_t c) {
    return IsNameStart(c) || c == L'-' || c == L'.' || (c >= L'0' && c <= L'9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || c == 0x203F || c == 0x2040;
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

// "_xHHHH_" at i: the code, or -1.
int EscapeAt(const std::wstring& s, size_t i) {
    if (i + 7 > s.size() || s[i] != L'_' || s[i + 1] != L'x' || s[i + 6] != L'_') return -1;
    int code = 0;
    for (size_t k = 2; k < 6; ++k) {
        int h = HexValue(s[i + k]);
        if (h < 0) return -1;
        code = code * 16 + h;
    }
    return code;
}

}  // namespace

bool IsCmdPanelRowBreak(const std::string& item) { return item == kCmdPanelRowBreak; }

bool ParseCmdPanelItem(const std::string& line, CmdPanelItem* out) {
    if (IsCmdPanelRowBreak(line)) return false;
    CCsvParser csv(line);
    if (csv.GetCount() < 3) return false;
    if (out) {
        out->label = csv[0];
        out->id = std::atoi(csv[1].c_str());
        out->tip = csv[2];
        out->style = csv.GetCount() == 4 ? std::atoi(csv[3].c_str()) : 0;
    }
    return true;
}

std::string EncodePageElementName(const std::string& name) {
    const std::wstring in = Wide(name);
    std::wstring out;
    for (size_t i = 0; i < in.size(); ++i) {
        const wchar_t c = in[i];
        const bool plain = (i == 0 ? IsNameStart(c) : IsNameChar(c)) && EscapeAt(in, i) < 0;
        if (plain) {
            out += c;
        } else {
            wchar_t buf[8];
            std::swprintf(buf, 8, L"_x%04X_", (unsigned)c);
            out += buf;
        }
    }
    if (out.empty()) out = L"_x0000_";  // an empty name still needs an element
    return Narrow(out);
}

std::string DecodePageElementName(const std::string& element) {
    const std::wstring in = Wide(element);
    std::wstring out;
    for (size_t i = 0; i < in.size();) {
        const int code = EscapeAt(in, i);
        if (code < 0) {
            out += in[i++];
            continue;
        }
        if (code) out += (wchar_t)code;
        i += 7;
    }
    return Narrow(out);
}

int LoadCmdPanelPages(const char* path, const char* section, std::vector<CmdPanelPageDef>& pages,
                      std::string* error) {
    pages.clear();
    if (!section) section = kCmdPanelSection;
    CDefFile file;
    if (!path || !file.Load(path)) {
        if (error) *error = file.GetLastError();
        return -1;
    }
    std::list<std::string> names;
    file.GetChildNames(section, names);
    for (const std::string& element : names) {
        if (element.empty() || element[0] == '#') continue;  // comments and text between pages
        CmdPanelPageDef page;
        page.name = DecodePageElementName(element);
        std::list<std::string> items;
        file.GetValueList(section, (element + "/data/item").c_str(), items);
        page.items.assign(items.begin(), items.end());
        pages.push_back(std::move(page));
    }
    return 0;
}

int SaveCmdPanelPages(const char* path, const char* section, const std::vector<CmdPanelPageDef>& pages,
                      std::string* error) {
    if (!section) section = kCmdPanelSection;
    CDefFile file;
    if (!path || !file.Load(path)) {
        if (error) *error = file.GetLastError();
        return -1;
    }
    // Every old item is emptied (however many there are), so that pruning
    // removes the old pages whole and the pages written below come in the
    // panel's order.
    std::list<std::string> oldNames;
    file.GetChildNames(section, oldNames);
    for (const std::string& element : oldNames) {
        if (element.empty() || element[0] == '#') continue;
        const std::string key = element + "/data/item";
        for (int i = 0; i < 1000000 && file.SetValueAt(section, key.c_str(), "", i) == 0; ++i) {
        }
    }
    file.RemoveEmptyElements();
    for (const CmdPanelPageDef& page : pages) {
        const std::string key = EncodePageElementName(page.name) + "/data/item";
        for (const std::string& item : page.items) {
            if (item.empty()) continue;
            if (file.SetValue(section, key.c_str(), item.c_str(), 1) != 0) {
                if (error) *error = file.GetLastError();
                return -1;
            }
        }
    }
    const std::string bytes = file.FormatIndented();
    if (bytes.empty()) {
        if (error) *error = "nothing to write";
        return -1;
    }
    return WriteFileReplacing(path, bytes, error) ? 0 : -1;
}
