// Layer patterns: named sets of layer definitions kept in one INI-form
// file, saved from a page of the layer manager's tree and loaded into a
// page of it or into a new drawing.
#pragma once

#include <windows.h>

#include <string>

#include "view/db_info.h"

constexpr int kLayerPatternNameMax = 20;  // bytes of a pattern name
constexpr int kLayerPatternListMax = 300;

struct LayerPatternEntry {
    int layer = 0;
    char display = '1', detect = '1', lock = '0';
    char name[258] = "";
    char group[11] = "";
};

// The pattern file (asked of the settings under the key "LAYER").
std::string LayerPatternFile();

// A value written in double quotes, so that blanks at either end survive.
BOOL WriteQuotedProfileString(const char* section, const char* key, const char* value, const char* file);
// Reads a value and takes off the quotes a writer put around it.
DWORD ReadQuotedProfileString(const char* section, const char* key, const char* def, char* buffer, DWORD size,
                              const char* file);

// Rewrites a file of the older form (no "VER") into the current one; 1
// when it converted, 0 when there was nothing to do.
int ConvertLayerPatternFile(const char* file);
// The listed pattern names (after a conversion); their number.
int ReadLayerPatternNames(char names[kLayerPatternListMax][kLayerPatternNameMax + 1]);
// Entry `index` of a pattern; 0 at the end of the pattern.
int ReadLayerPatternEntry(LayerPatternEntry* entry, const char* pattern, int index);
// Why a name cannot be a pattern's: null when it can.
const char* LayerPatternNameProblem(const char* name);

// Saves the manager tree's page that holds the current node under `name`;
// 1 saved, 0 refused or not confirmed.
int SaveLayerPattern(HWND owner, const char* name);
int DeleteLayerPattern(HWND owner, const char* name);
// Replaces the groups and layers of the manager tree's current page.
int LoadLayerPatternToTree(HWND owner, const char* name);
// Writes a pattern into page 0 of a (new) drawing.
int LoadLayerPatternToDb(HWND owner, const char* name, DbHeader* db);
// Copies a whole pattern file in (direction 0) or out (1) through the file
// dialog; 1 when the dialog was confirmed.
int ImportExportLayerPatterns(HWND owner, int direction);
// The first 16 entries as the pattern dialog's preview shows them.
std::string LayerPatternPreviewText(const char* name);
