// The drawing cursor: keyboard-cursor mode, grid snapping of the cursor
// point, the input base point and the mouse-gesture tables.
#pragma once

#include <windows.h>

// Non-zero (1) while the drawing cursor is moved by keys.
int IsKeyCursorMode();
// 1 while keyboard-cursor mode is on and not suspended by the command.
int IsKeyCursorActive();
// Keyboard-cursor mode on at the mouse position (nothing when on already).
int EnterKeyCursorMode();
// Switches between keyboard and mouse cursor, moves the system pointer to
// the keyboard cursor, tells the prompt bar and has the main frame redraw.
// 0 without an active view, else 1.
int ToggleKeyCursorMode();
// Moves the keyboard cursor: direction 1 right, 2 left, 3 up, 4 down;
// distance 0 = the keyboard step. Enters keyboard mode first; raises a
// cursor-move event. 1.
int MoveKeyCursor(int direction, double distance);
// Keyboard cursor to the world origin (entering keyboard mode when off). 1.
int ResetKeyCursor();
// Stores the keyboard-cursor point (x, y, z) and nothing else.
void SetKeyCursorPoint(const double* point);
// The service form: erases a shown marker, stores the point and the two
// caller values and raises a cursor-move event. 0 without an active view.
int SetKeyCursorPoint(double x, double y, int value1, int value2);
// Distance an arrow key moves the keyboard cursor (world units). 1.
int SetKeyCursorStep(double distance);
double GetKeyCursorStep();

// Called on every tick of the main frame's timer 1: the keyboard cursor's
// marker blinks while the keyboard cursor is active. 1.
int CursorTimerTick();
// 1 while the keyboard cursor's blinking marker is on the screen.
int KeyCursorMarkerShown();

// The cursor position in world coordinates of the active view: the
// keyboard-cursor point in keyboard mode, else the last mouse position
// converted by the view mode's scale and offsets (x, y, z out).
void GetCursorWorldPoint(double* point);
// The cursor point rounded to the nearest grid point (the displayed pitch,
// divided by the subdivisions; the grid origin); unchanged when grid
// detection is off (iGridNoDetFlg 1) or no pitch is known.
void GetGridSnappedCursorPoint(double* point);
// The cursor point on the lattice of the command's snap pitch around the
// coordinate base point of the cursor pop-ups; 1 when it snapped (not while
// Shift is required and up, nor without a base point).
int GetKeySnappedCursorPoint(double* point, int* snapped = nullptr);
// The nearest lattice point of one coordinate: origin remainder `o`, step
// `step`; halves go away from the lattice origin.
double SnapToLattice(double v, double o, double step);
// The cursor point for input: inside the loupe window the loupe's point (the
// grid-snapped cursor point with the grid on), else GetCursorWorldPoint.
void GetInputCursorPoint(double* point);

// Grid snapping of the cursor and its pitch (world units, subdivision).
void SetCursorGridSnap(int on, double pitch, int subdivision);
// 1 while the cursor snaps to the grid.
int IsCursorGridSnap();

// Set when the last input came from the loupe.
extern int InputFromLoupe;

#include "view/view_input.h"  // SetGestureCommand, GetGestureCommand

// The cursors the views use, loaded once at start-up ("CURSOR1", "CURNUL"
// and the arrow); the arrow stands in for one that cannot be loaded.
extern HCURSOR DrawCursor, NullCursor, ArrowCursor;
void LoadViewCursors(HINSTANCE instance);
