// The on-screen calculator: a small topmost pop-up near the mouse pointer
// with which numeric fields take a number by clicks instead of the keyboard.
// One calculator exists per process; it runs its own message loop until the
// user presses OK or cancel and hands the displayed number back as text.
#pragma once

#include <windows.h>

#include "shell/calculator_engine.h"

// Window class "DENTAKU", registered for the whole run.
int RegisterCalculatorClass(HINSTANCE instance);
int UnregisterCalculatorClass(HINSTANCE instance);

// Runs the calculator over `parent` (disabled meanwhile): 1 after OK, 0
// after cancel, any other close, or at once for modes 0 and 7, which mean
// no calculator. Modes 2 and 5 refuse a negative number on OK, 3 and 6 one
// that is not above 0. An empty title becomes "数値入力". `result` (at
// least 32 bytes) receives the display text whenever the calculator ran.
int RunCalculator(HWND parent, int mode, const char* title, char* result);
// 1 while a calculator runs: other windows ignore mouse activation then.
int IsCalculatorOpen();
// The per-user setting that makes numeric fields open the calculator.
int IsNumDlgEnabled();

// The calculator window while it runs, for tests; null otherwise.
HWND CalculatorWindow();
// The client rectangle of a key by its command id (2000-2020); false for
// another id.
bool CalculatorKeyRect(int commandId, RECT* rect);
