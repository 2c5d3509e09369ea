// Four small modal dialogs that each change one group of settings without
// the configuration sheet: the coordinate display, the cursor shape, the
// grid and the paper margins. Each run function shows its dialog over the
// active window and returns 0 after OK, -1 otherwise.
#pragma once

#include <windows.h>

int RunCoordDispDialog();  // "座標表示モード", system command 4036
int RunCursorDialog();     // "カーソル形状の設定", system command 4023
int RunMarginDialog();     // "マージンの設定", system command 4024
int RunGridDialog();       // "グリッドの設定", the tool panel's grid button

// 1 when the user asked, in the grid dialog, to point at the grid centre;
// read by the tool panel after the dialog.
extern int GridCenterRequest;

// The grid dialog's check of a pitch against the drawing's size: 0 both
// taken, 1 X refused (|X| < 1e-8, X < 0 or X > width / 2), 2 Y refused
// (the same against the height; only examined when X passed).
int GridPitchRefusal(double x, double y, double drawingWidth, double drawingHeight);
