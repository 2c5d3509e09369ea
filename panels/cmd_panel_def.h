// The command-panel definition files ("CmdPanel.def" and the catalogues
// "CmdPanelBase.def", "CmdKeyBase.def"): pages under one section, each page an
// element named for the page holding data/item lines. An item is a row break
// (the two characters "\n") or "label,command id,tooltip[,style]".
#pragma once

#include <string>
#include <vector>

constexpr const char* kCmdPanelSection = "PanelInfo";
constexpr const char* kCmdKeySection = "KeyInfo";
constexpr const char* kCmdPanelRowBreak = "\\n";

struct CmdPanelPageDef {
    std::string name;
    std::vector<std::string> items;
};

// One button line split: at least 3 fields; the style is the 4th field of a
// line of exactly 4, else 0. Text that is not a number gives 0 (atoi).
struct CmdPanelItem {
    std::string label;
    int id = 0;
    std::string tip;
    int style = 0;
};

bool IsCmdPanelRowBreak(const std::string& item);
// False for a row break or a line of fewer than 3 fields.
bool ParseCmdPanelItem(const std::string& line, CmdPanelItem* out);

// A page name as an element name and back. Names that are valid element
// names stay as they are; any other character (and the escape "_x" itself)
// is written as "_xHHHH_" with the UTF-16 code in hex, so every name
// survives a save and a load.
std::string EncodePageElementName(const std::string& name);
std::string DecodePageElementName(const std::string& element);

// Reads every page of `section` of the file at `path`, in file order.
// 0, or -1 with the file's error text in `error` when it did not load.
int LoadCmdPanelPages(const char* path, const char* section, std::vector<CmdPanelPageDef>& pages,
                      std::string* error);
// Replaces the pages of `section` by `pages`, in their order, and keeps the
// rest of the file. Written through a temporary file moved into place.
// 0, or -1 with the reason in `error`.
int SaveCmdPanelPages(const char* path, const char* section, const std::vector<CmdPanelPageDef>& pages,
                      std::string* error);
