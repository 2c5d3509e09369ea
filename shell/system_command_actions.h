// The system commands that make drawing windows: a new drawing (4000), the
// start drawing (4050) and a second window of the active drawing (4025).
// Each returns what the command system's systemCommand service returns:
// 0 when the command ran (whatever the user chose), -1 when it could not.
#pragma once

#include <windows.h>

#include "view/db_info.h"

// The drawing information of a new drawing from the remembered defaults:
// the paper code of PaperSizeTable row iDefPaperType (row 0 outside
// 0-28), the scale dDefPaperScale, the paper dDelPaperCx x dDelPaperCy mm
// and its size in drawing units; the origin at the paper corner with
// bPaperOrg. Everything else zero.
void FillNewDrawingBlock(DbInfoHead& block);

// A new untitled drawing window whose drawing takes the texts, paper,
// scale and origin of `source` (its own untitled name stays when `source`
// has no title); the drawing's resulting information is left in `work`.
// The paper is fitted into the window and the layer pattern szLPatRd
// loaded. The new view, or null.
HWND NewDrawingFromInfo(DbInfoHead& work, HWND owner, const DbInfoHead& source);

int RunNewDrawingCommand(HWND owner);
// `word`: the command word; call flag 100 (high word) makes the drawing
// without the start dialog, 1 ends the application when it is cancelled.
int RunStartDrawingCommand(HWND owner, DWORD word);
int RunSecondWindowCommand();
