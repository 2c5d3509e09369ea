// The input histories: the last 20 values typed into a text field, per
// history key, in the text-history INI file (key DATSTR of section CONFIG,
// "rirekimoji.ini" by default). A key names the file's section; an empty
// key means "DATA"; a key that begins with "~" keeps no history. Inside a
// section the entries are keys "0" to "19", most recent first.
#pragma once

#include <windows.h>

enum { kInputHistoryCount = 20, kInputHistoryEntrySize = 300 };
// The first menu id of the history pop-up (1236-1255).
enum { kInputHistoryFirstMenuId = 1236 };

// False for a key that begins with "~".
bool IsInputHistoryEnabled(const char* key);
// Fills the working list from section "DATA" (start-up).
void LoadInputHistory();
// Puts the value in front of the key's history (a value it already holds
// moves to the front, else the oldest drops out) and writes the section.
// A value longer than an entry is cut on a character boundary.
void AddInputHistory(const char* value, const char* key);
// The key's history as a pop-up menu centred on `point` (client
// coordinates of `owner`, x low word, y high word): the chosen entry comes
// to the owner as WM_COMMAND 1236 + i. 0.
int ShowInputHistoryMenu(HWND owner, const char* key, LPARAM point);
// Entry i of the list loaded last (at most 300 bytes with the terminator).
void GetInputHistoryItem(char* buffer, int i);
// Writes the "DATA" history back (shut-down). Only a list that holds the
// "DATA" history is written, so another field's history never takes its
// place and a history that was never loaded is not emptied.
void SaveInputHistory();
