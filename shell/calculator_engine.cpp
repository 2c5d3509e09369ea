#include "shell/calculator_engine.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const size_t kMaxEntryBeforeAppend = 13;  // digits are appended while the entry is no longer

bool NearZero(double v) { return std::fabs(v) < 1e-8; }

double DisplayValue(const CalculatorState& s) { return std::strtod(s.display, nullptr); }

void Append(CalculatorState& s, const char* text) {
    const size_t n = std::strlen(s.display);
    std::snprintf(s.display + n, sizeof s.display - n, "%s", text);
}

// The pending operation on the accumulator and the display value.
CalculatorEvent ApplyPending(CalculatorState& s) {
    s.operand = DisplayValue(s);
    double result = s.accumulator;
    switch (s.pendingOp) {
    case kCalcDivide:
        if (s.operand == 0) {
            // The accumulator stays and is shown again.
            FormatCalculatorResult(s.accumulator, s.display, sizeof s.display);
            return CalculatorEvent::DivideByZero;
        }
        result = s.accumulator / s.operand;
        break;
    case kCalcMultiply: result = s.accumulator * s.operand; break;
    // Always the difference: a running total that passes through 0 stays
    // an ordinary number ("5－5－3＝" is -3). A leading minus typed before
    // any number is a sign, which the operator step takes care of.
    case kCalcSubtract: result = s.accumulator - s.operand; break;
    case kCalcAdd: result = s.accumulator + s.operand; break;
    default: result = s.operand; break;
    }
    char text[sizeof s.display];
    if (!FormatCalculatorResult(result, text, sizeof text)) return CalculatorEvent::OutOfRange;
    s.accumulator = result;
    std::memcpy(s.display, text, sizeof text);
    return CalculatorEvent::None;
}

CalculatorEvent OperatorStep(CalculatorState& s, int op) {
    const int before = s.currentOp;
    s.currentOp = op;
    if (!s.newEntry) {
        CalculatorEvent e = CalculatorEvent::None;
        if (s.pendingOp != kCalcNone)
            e = ApplyPending(s);
        else
            s.accumulator = DisplayValue(s);
        s.point = 0;
        s.entryLocked = 0;
        s.minusPending = 0;
        s.pendingOp = op;
        s.newEntry = 1;
        return e;
    }
    if (op == kCalcSubtract && NearZero(s.accumulator)) {
        // "－" before any number: the sign of the next number, not an
        // operation, so the operator that was chosen before stays.
        s.minusPending = 1;
        s.currentOp = s.pendingOp != kCalcNone ? s.pendingOp : before;
    } else {
        s.minusPending = 0;
    }
    return CalculatorEvent::None;
}

}  // namespace

void CalculatorState::Reset() { *this = CalculatorState(); }

bool FormatCalculatorResult(double value, char* out, size_t size) {
    if (!std::isfinite(value) || size == 0) return false;
    if (value == 0) value = 0;  // no "-0"
    char text[512];
    std::snprintf(text, sizeof text, "%lf", value);
    size_t n = std::strlen(text);
    while (n > 0 && text[n - 1] == '0')
        text[--n] = '\0';
    if (n > 0 && text[n - 1] == '.') text[--n] = '\0';
    if (n < size) {
        std::memcpy(out, text, n + 1);
        return true;
    }
    // Too long for the display: the most digits that fit.
    for (int digits = 17; digits >= 1; --digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strlen(text) < size) {
            std::snprintf(out, size, "%s", text);
            return true;
        }
    }
    return false;
}

CalculatorEvent CalculatorPressKey(CalculatorState& s, int key) {
    const size_t length = std::strlen(s.display);
    if (key >= kCalcKey0 + 1 && key <= kCalcKey0 + 9) {
        if (s.newEntry || s.entryLocked) {
            // A new number, or a digit after a lone "0" that takes its place.
            if (s.newEntry && s.currentOp == kCalcNone) s.accumulator = 0;
            s.display[0] = '\0';
            s.newEntry = 0;
            s.entryLocked = 0;
        }
        if (std::strlen(s.display) <= kMaxEntryBeforeAppend) {
            if (s.minusPending) {
                char text[sizeof s.display];
                std::snprintf(text, sizeof text, "-%s", s.display);
                std::memcpy(s.display, text, sizeof text);
                s.minusPending = 0;
            }
            const char digit[2] = {static_cast<char>('0' + (key - kCalcKey0)), '\0'};
            Append(s, digit);
        }
        return CalculatorEvent::None;
    }
    switch (key) {
    case kCalcKey0:
    case kCalcKey00:
    case kCalcKey000:
        if (s.newEntry) {
            // A zero is a number typed: an operator after it works on 0.
            std::snprintf(s.display, sizeof s.display, "0");
            s.entryLocked = 1;
            if (s.currentOp == kCalcNone) s.accumulator = 0;
            s.newEntry = 0;
            return CalculatorEvent::None;
        }
        if (length <= kMaxEntryBeforeAppend && !s.entryLocked)
            Append(s, key == kCalcKey0 ? "0" : key == kCalcKey00 ? "00" : "000");
        return CalculatorEvent::None;
    case kCalcKeyPoint:
        if (s.point) return CalculatorEvent::None;
        if (s.newEntry) {
            std::snprintf(s.display, sizeof s.display, "0.");
            s.newEntry = 0;
        } else if (length <= kMaxEntryBeforeAppend) {
            Append(s, ".");
        }
        if (s.currentOp == kCalcNone) s.accumulator = 0;
        s.point = 1;
        s.entryLocked = 0;
        return CalculatorEvent::None;
    case kCalcKeyDivide: return OperatorStep(s, kCalcDivide);
    case kCalcKeyMultiply: return OperatorStep(s, kCalcMultiply);
    case kCalcKeySubtract: return OperatorStep(s, kCalcSubtract);
    case kCalcKeyAdd: return OperatorStep(s, kCalcAdd);
    case kCalcKeyEquals: {
        if (s.currentOp == kCalcNone) return CalculatorEvent::None;
        s.pendingOp = s.currentOp;
        const CalculatorEvent e = ApplyPending(s);
        s.currentOp = s.pendingOp = kCalcNone;
        s.newEntry = 1;
        s.point = 0;
        s.entryLocked = 0;
        return e;
    }
    case kCalcKeyClear: s.Reset(); return CalculatorEvent::None;
    default: return CalculatorEvent::None;
    }
}

int CalculatorValidate(const char* display, int mode) {
    const double v = std::strtod(display ? display : "0", nullptr);
    if ((mode == 2 || mode == 5) && v < 0) return 7118;
    if ((mode == 3 || mode == 6) && v <= 0) return 7116;
    return 0;
}
