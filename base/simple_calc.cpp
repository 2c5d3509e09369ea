// One-step evaluator of numeric input fields; declared in text_utils.h.
#include "base/text_utils.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {
const size_t kMaxNumberText = 1023;

bool IsOperator(char c) { return c == '*' || c == '+' || c == '-' || c == '/'; }
}  // namespace

CSimpleCalc::CSimpleCalc() : m_error(0), m_position(0) {}

// Digits and '.' from the read position, blanks skipped anywhere; stops at an
// operator. With `allowSign` a leading '+' or '-' belongs to the number, so
// that "3*-2" reads the second number as -2.
double CSimpleCalc::ReadNumber(const char* text, bool allowSign) {
    std::string number;
    bool signAllowed = allowSign;
    for (;;) {
        char c = text[m_position];
        if (c == ' ') {
            ++m_position;
            continue;
        }
        if (c == '\0') break;
        if ((c >= '0' && c <= '9') || c == '.') {
            if (number.size() >= kMaxNumberText) {
                m_error = 1;  // longer than any field holds: not a number
                return 0.0;
            }
            number += c;
            signAllowed = false;
            ++m_position;
            continue;
        }
        if (signAllowed && (c == '-' || c == '+')) {
            number += c;
            signAllowed = false;
            ++m_position;
            continue;
        }
        if (IsOperator(c)) break;
        m_error = 1;
        return 0.0;
    }
    return number.empty() ? 0.0 : std::atof(number.c_str());
}

// 0 none, else the operator character; sets the error flag on anything else.
int CSimpleCalc::ReadOperator(const char* text) {
    while (text[m_position] == ' ')
        ++m_position;
    char c = text[m_position];
    if (IsOperator(c)) {
        ++m_position;
        return c;
    }
    if (c == '\0' || (c >= '0' && c <= '9')) return 0;
    m_error = 1;
    return 0;
}

double CSimpleCalc::Evaluate(const char* text) {
    if (!text || !*text) return 0.0;
    m_error = 0;
    m_position = 0;
    double a = ReadNumber(text, false);
    if (m_error) return 0.0;
    int op = ReadOperator(text);
    if (m_error) return 0.0;
    double b = ReadNumber(text, true);
    if (m_error) return 0.0;
    switch (op) {
    case '-': return a - b;
    case '+': return a + b;
    case '*': return a * b;
    case '/': return std::fabs(b) > 1e-8 ? a / b : 0.0;
    default: return a;
    }
}

int IsDigitsOnly(const char* text) {
    if (!text) return 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return -1;
    }
    return 0;
}
