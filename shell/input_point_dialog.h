// The point entry dialog: two numbers X and Y, each with a slider and a
// calculator button. It serves the relative offset of a point that a
// command waits for, and the temporary point (仮点) that point input can
// snap to. The last typed X and Y are offered the next time.
#pragma once

#include <windows.h>

// The point entry for an offset: on OK the typed X and Y, divided by the
// drawing-to-input ratio, are added to the point; 1 after OK, 0 after
// cancel or when no drawing view is active.
int InputRelativePoint(double* x, double* y);
// The point entry for the temporary point: on OK it becomes (X, Y, 0) with
// its flag set in the wait state that the modal wait reads
// (CmdWaitState().tempPoint), on cancel the flag is cleared. 0 when no
// drawing view is active, else 1.
int InputTemporaryPoint();

// The X and Y the dialog offers next (the last ones typed, or the relative
// offsets typed into the panel).
void RememberedPointEntry(double* x, double* y);
void SetRememberedPointEntry(int axis, double value);  // axis 0 X, 1 Y

// The position of a slider (0-5000, the middle 2500 is 0) for a value, and
// the value of a position, with the slider scale.
int SliderPositionOf(double value, double scale);
double SliderValueOf(int position, double scale);
