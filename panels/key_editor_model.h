// The pieces of the shortcut-key editor that are plain text and numbers: the
// modifier filter of the key list, the list lines, the category list and the
// names of the catalogue's commands.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// FVIRTKEY, plus FSHIFT and FCONTROL as the two boxes say.
BYTE KeyListFilter(bool shift, bool ctrl);
// Shown when the flags, without FNOINVERT, equal the filter.
bool KeyEntryShown(BYTE flags, BYTE filter);
// "%-12s%s": the key's display name and the command name without the
// blanks around it.
std::string KeyListLine(const std::string& keyName, const std::string& commandName);
// The line with its command replaced: its first 12 characters, then the label.
std::string ReplaceKeyLineCommand(const std::string& line, const std::string& label);
// "%-15s：%s" of a catalogue entry's label and tooltip.
std::string CatalogueLine(const std::string& label, const std::string& tip);
// The categories: the catalogue's pages up to, not including, "建築図面";
// then for each page of the live panel, the catalogue page of that name
// when it is not listed yet.
std::vector<std::string> KeyCategoryNames(const std::vector<std::string>& catalogue,
                                          const std::vector<std::string>& livePages);

struct CmdPanelPageDef;
// Command id (above 0) to label over every entry of every page; a later
// entry of the same id wins.
std::map<int, std::string> KeyCommandNames(const std::vector<CmdPanelPageDef>& pages);
