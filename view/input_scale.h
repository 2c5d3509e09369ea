// The input-scale window ("#inputscaledisp#") and the conversions between
// drawing scale and input scale.
#pragma once

#include <windows.h>

// Registers the class, resets the input scale to 1.0, forgets the window and
// creates its font; 0 when the class cannot be registered.
int RegisterInputScaleClass(HINSTANCE instance);
// Destroys the window (scale back to 1.0) and deletes the font. 1.
int DestroyInputScaleWindow();
// Non-zero while input-scale conversion is on and its window exists.
int IsInputScaleActive();
// Shows the window. For now: 0, no window yet.
int ShowInputScaleWindow();
// Destroys the window and resets the input scale to 1.0.
void CloseInputScaleWindow();
void SetInputScaleBlocked(int on);
void SetInputScaleEnabled(int on);
void EnableInputScaleCombo(int on);

// The current input scale (1.0 when none).
double GetInputScale();
// Drawing scale / input scale of the active drawing (1.0 without input scale).
double GetDrawToInputRatio();
double GetInputToDrawRatio();
// Input scale / drawing scale of the view's drawing.
double GetInputToDrawRatioOf(HWND view);

// Points (x, y in place) and elements to and from the input scale.
int ToInputScalePoint(double* point);
int ToInputScalePointCmd(double* point);
int FromInputScalePointCmd(double* point);
int ToInputScalePointOf(HWND view, double* point);
int FromInputScalePointOf(HWND view, double* point);
// Present form of the element conversions: 0, element unchanged.
int ToInputScaleElement(void* element);
int FromInputScaleElement(void* element);
int ToInputScaleElementOf(HWND view, void* element);
int FromInputScaleElementOf(HWND view, void* element);
