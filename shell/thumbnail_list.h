// The thumbnail list ("一覧"): every drawing file of one folder that matches
// the open dialog's file type, as a grid of thumbnails with names, filling
// almost the whole screen. A click selects or unselects a file; OK hands the
// selection (in the thumbnail store) back to the open dialog. Previews are
// read from the files lazily, for painted cells only (the drawing
// information and thumbnail, never the whole drawing), and far ones are
// freed again once many are loaded.
#pragma once

#include <windows.h>

#include <string>

// Cells are 184 x 152 pixels.
const int kThumbCellW = 184;
const int kThumbCellH = 152;

// Runs the dialog over `owner`: 1 OK with a selection, 0 cancelled. `filters`
// is the open dialog's double-NUL list, `filterNumber` the pair (0 first)
// whose patterns are listed; `mode` the open dialog's (1 selects one file,
// 10 deletes).
int RunThumbnailList(HWND owner, const std::string& folder, const char* filters, int filterNumber, int mode);

// Columns and rows of the grid on a screen (each at least 1).
void ThumbnailGridSize(int screenW, int screenH, int scrollW, int captionH, int* columns, int* rows);
// The largest top row: every file can be scrolled into view.
int ThumbnailMaxTopRow(int count, int columns, int rows);
// The entry of a click in the visible grid, or -1.
int ThumbnailEntryAt(int x, int y, int columns, int topRow, int count);
// Adds every file (not folder) matching folder + pattern to the store; 1.
int EnumerateIntoStore(const std::string& folder, const std::string& pattern);
// A text of `limit` bytes or more shortened to whole characters and "..".
int ShortenWithDots(size_t limit, const char* text, std::string& out);
// The list's dialog while it is open (tests), or null.
HWND ThumbnailListWindow();
