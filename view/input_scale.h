// The input-scale window ("#inputscaledisp#") and the conversions between
// the drawing scale D of the drawing it was opened for and the input scale I
// the user chose there.
#pragma once

#include <windows.h>

// Registers the class, resets the input scale to 1.0, forgets the window and
// creates its font; 0 when the class cannot be registered.
int RegisterInputScaleClass(HINSTANCE instance);
// Destroys the window (scale back to 1.0) and deletes the font. 1.
int DestroyInputScaleWindow();
// 1 while the conversion switch is on and the window is open.
int IsInputScaleActive();
// Opens the window for the active drawing (a warning while blocked). 1.
int ShowInputScaleWindow();
// Destroys the window and resets the input scale to 1.0. 1.
int CloseInputScaleWindow();
int SetInputScaleBlocked(int on);
void SetInputScaleEnabled(int on);
// The input-scale combo on or off; 0 when there is none.
int EnableInputScaleCombo(int on);

// The window, null when closed.
HWND InputScaleWindow();
// The current input scale (1.0 when none).
double GetInputScale();
// Sets the input scale as the combo does (below 1e-21 becomes 1).
void SetInputScaleValue(double value);
// D / I and I / D for the active drawing (1.0 when the conversions do not
// apply), and I / D for a view's drawing.
double GetDrawToInputRatio();
double GetInputToDrawRatio();
double GetInputToDrawRatioOf(HWND view);

// Points (x, y in place) and element records to and from the input scale;
// each 1, unchanged unless the window is open for that drawing.
int ToInputScalePoint(double* point);
int FromInputScalePoint(double* point);
int ToInputScalePointCmd(double* point);
int FromInputScalePointCmd(double* point);
int ToInputScalePointOf(HWND view, double* point);
int FromInputScalePointOf(HWND view, double* point);
int ToInputScaleElement(void* element);
int FromInputScaleElement(void* element);
int ToInputScaleElementOf(HWND view, void* element);
int FromInputScaleElementOf(HWND view, void* element);

// 1 when the text is empty or only "0123456789./".
int IsScaleText(const char* text);
// UM_INPUT_SCALE_FUNC: the sub-code in wParam, the request or pointer in
// lParam.
LRESULT InputScaleFunc(WPARAM code, LPARAM lParam);
// The texts of the input combo in order, and the index of the selection.
int InputScaleComboTexts(char texts[][64], int max, int* selected);
