// The key engine of the on-screen calculator: a pocket calculator on doubles
// with an accumulator. It holds no windows, so that the arithmetic can be
// checked key by key; the calculator window (calculator.h) feeds it the
// commands of its keys and shows what it answers.
#pragma once

#include <cstddef>

// Command ids of the calculator's keys.
enum CalculatorKey {
    kCalcKey0 = 2000,  // 2000-2009: the digits
    kCalcKeyPoint = 2010,
    kCalcKeyEquals = 2011,
    kCalcKeyDivide = 2012,
    kCalcKeyMultiply = 2013,
    kCalcKeySubtract = 2014,
    kCalcKeyAdd = 2015,
    kCalcKeyClear = 2016,
    kCalcKeyOK = 2017,
    kCalcKeyCancel = 2018,
    kCalcKey00 = 2019,
    kCalcKey000 = 2020,
};

enum CalculatorOperator { kCalcNone = 0, kCalcDivide = 1, kCalcMultiply = 2, kCalcSubtract = 3, kCalcAdd = 4 };

// What a key did besides changing the state.
enum class CalculatorEvent { None, DivideByZero, OutOfRange };

struct CalculatorState {
    char display[32] = "0";  // the number being typed or the last result
    double accumulator = 0;
    double operand = 0;
    int currentOp = kCalcNone;
    int pendingOp = kCalcNone;
    int newEntry = 1;      // the next digit starts a new number
    int point = 0;         // the number being typed has a decimal point
    int entryLocked = 0;   // the entry is a lone "0": further zeros are ignored
    int minusPending = 0;  // the next digit typed gets a leading "-"

    void Reset();
};

// Applies one key (2000-2016, 2019, 2020; OK and cancel are the window's).
CalculatorEvent CalculatorPressKey(CalculatorState& state, int key);

// The display text of a result: "%lf" with trailing zeros and point
// removed, or, when that does not fit the display, the shortest exact form
// that does. False when the value cannot be shown (not finite).
bool FormatCalculatorResult(double value, char* out, size_t size);

// The check on OK for the caller's mode: 0 passes, else the message id
// (7118: below 0 in modes 2 and 5; 7116: not above 0 in modes 3 and 6).
int CalculatorValidate(const char* display, int mode);
