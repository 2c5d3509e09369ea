// The placement database: one drawing database owned by the host into which
// a drawing file of any kind is read so that a command can put its elements
// into the active drawing (placement from the file dialog, followed by
// command 5950; paste of the copy file, followed by command 7002; the page
// import). After every successful read all its elements are collected in a
// new mark that becomes the executor's import mark.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"

// The drawing information the callers may receive, and the layer table.
const size_t kPlacementInfoBytes = 4223;
const size_t kPlacementLayerBytes = 19844;

// Reads an own-kind file (1 or 12) into the placement database; 1 success.
int LoadDrawingIntoTempDb(const char* fileName, int kind, HWND owner, void* infoOut, void* layersOut);
// Reads a file of any kind into the placement database, deleting the one
// before; 1 when it was read (the import mark then holds its elements),
// 0 when it was not (its text shown); nothing is left loaded then.
int LoadFileToTempDb(HWND owner, const char* fileName, void* infoOut, void* layersOut);
// Reads the file and starts the paste command; 0.
int PasteFromFile(HWND owner, const char* fileName);
// The paste of the copy file "%USER_LOCAL_APPDATA%$CopyPaste" (".tcf", then
// ".otcf"); 0.
int PasteCopyFile(HWND owner);
void FreeTempDb();

// The placement database (tests): its header and whether it is loaded.
DbHeader* PlacementDb();
int IsPlacementDbLoaded();
// Empties the database and creates it anew (the placement road).
void RecreatePlacementDb();
// Reads a file of any kind into the database as it stands; 1 when read.
int ReadIntoPlacementDb(HWND owner, const char* fileName, void* infoOut, void* layersOut);
// Collects every element of the database into a new import mark.
void CollectPlacementElements();

// The open-dialog words modules set and read through the file host message.
void SetOpenDialogFlag(int value);
int GetOpenDialogFlag();
void SetOpenDialogText(const char* text);
const char* GetOpenDialogText();
