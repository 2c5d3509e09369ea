// The drawing cursor: keyboard-cursor mode, grid snapping of the cursor
// point, the input base point and the mouse-gesture tables.
#pragma once

#include <windows.h>

// Non-zero (1) while the drawing cursor is moved by keys.
int IsKeyCursorMode();
// 1 while keyboard-cursor mode is on and not suspended by the command.
int IsKeyCursorActive();
// Keyboard-cursor mode on at the mouse position (nothing when on already).
void EnterKeyCursorMode();
// Switches between keyboard and mouse cursor. For now: flips the mode
// only; the status bar and main frame are not told yet.
void ToggleKeyCursorMode();
// Moves the keyboard cursor: direction 1 right, 2 left, 3 up, 4 down;
// distance 0 = the keyboard step. Enters keyboard mode first.
void MoveKeyCursor(int direction, double distance);
// Keyboard cursor to the world origin (entering keyboard mode when off).
void ResetKeyCursor();
// Stores the keyboard-cursor point (x, y, z).
void SetKeyCursorPoint(const double* point);
// Distance an arrow key moves the keyboard cursor (world units). 1.
int SetKeyCursorStep(double distance);
double GetKeyCursorStep();

// Called on every tick of the main frame's timer 1. 1. For now: the
// marker blink and the grid-snapped point are kept in state only.
int CursorTimerTick();

// The cursor position in world coordinates of the active view: the
// keyboard-cursor point in keyboard mode, else the last mouse position
// converted by the view mode's scale and offsets (x, y, z out).
void GetCursorWorldPoint(double* point);
// The cursor point rounded to the grid while grid snapping is on.
void GetGridSnappedCursorPoint(double* point);
// The cursor world point for input (the loupe's point when input came from
// the loupe). For now: GetCursorWorldPoint.
void GetInputCursorPoint(double* point);
// The cursor point snapped to the grid only while the snap key is held;
// non-zero when it snapped. For now: never snaps.
int GetKeySnappedCursorPoint(double* point);

// Grid snapping of the cursor and its pitch (world units, subdivision).
void SetCursorGridSnap(int on, double pitch, int subdivision);
// 1 while the cursor snaps to the grid.
int IsCursorGridSnap();

// Set when the last input came from the loupe.
extern int InputFromLoupe;
// Mode 0 hides the input base-point mark, 3 draws it at the base point.
void DrawInputBasePoint(int reserved1, int reserved2, int mode);
// The input base point (the last input point of a command) and whether its
// mark is shown; written by the wait loops.
extern double InputBasePoint[3];
extern int InputBasePointShown;

#include "view/view_input.h"  // SetGestureCommand, GetGestureCommand

// The cursors the views use, loaded once at start-up ("CURSOR1", "CURNUL"
// and the arrow). For now: all three are the arrow until the cursor
// resources exist.
extern HCURSOR DrawCursor, NullCursor, ArrowCursor;
void LoadViewCursors(HINSTANCE instance);
