// The on-screen calculator: its key engine by a table of key sequences, and
// the real window driven by clicks inside its own loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>
#include <string>

#include "shell/calculator.h"
#include "shell/calculator_engine.h"
#include "win/message_box.h"

namespace {

int KeyOf(const std::string& k) {
    static const struct {
        const char* name;
        int id;
    } keys[] = {{"・", 2010}, {"＝", 2011}, {"÷", 2012},  {"×", 2013},  {"－", 2014},
                {"＋", 2015}, {"C", 2016},  {"00", 2019}, {"000", 2020}};
    for (auto& e : keys)
        if (k == e.name) return e.id;
    return 2000 + (k[0] - '0');
}

// Keys separated by blanks; the display afterwards.
std::string Press(const char* sequence, CalculatorEvent* last = nullptr) {
    CalculatorState s;
    std::string seq = sequence;
    size_t pos = 0;
    while (pos < seq.size()) {
        size_t end = seq.find(' ', pos);
        if (end == std::string::npos) end = seq.size();
        const CalculatorEvent e = CalculatorPressKey(s, KeyOf(seq.substr(pos, end - pos)));
        if (last) *last = e;
        pos = end + 1;
    }
    return s.display;
}

TEST(CalculatorKeys, SequencesShowWhatAPocketCalculatorShows) {
    const struct {
        const char* keys;
        const char* shown;
    } rows[] = {
        {"1 2 ＋ 3 ＝", "15"},
        {"－ 5 ＝", "-5"},
        {"5 ＋ × 3 ＝", "15"},  // "＝" uses the last operator key
        {"5 ＋ × 3 －", "8"},   // a chained operator applies the pending one
        {"0 0 5", "5"},
        {"・ 5", "0.5"},
        {"－ ・ 5", "-0.5"},
        {"3 ＋ 4", "4"},
        {"7 ÷ 2 ＝", "3.5"},
        {"5 － 5 － 3 ＝", "-3"},  // a total that passes through 0 stays a number
        {"5 × 0 ＋ 1 ＝", "1"},    // a typed 0 is a number
        {"0 × － 3 ＝", "0"},      // "－" before a number is its sign
        {"9 ＋ 1 ＝ C", "0"},
        {"1 2 3 4 5 6 7 8 9 0 1 2 3 4 5", "12345678901234"},  // fourteen digits, the fifteenth ignored
        {"1 2 3 4 5 6 7 8 9 0 1 2 3 000", "1234567890123000"},
        {"9 9 9 9 9 9 9 9 9 9 9 9 9 9 × 9 9 9 9 9 9 9 9 9 9 9 9 9 9 ＝", "9.9999999999998e+27"},
        // Longer than the display: the most digits that fit.
        {"9 9 9 9 9 9 9 9 9 9 9 9 9 9 × 9 9 9 9 9 9 9 9 9 9 9 9 9 9 × 9 9 9 9 9 9 9 9 9 9 9 9 9 9 ＝",
         "9.9999999999997e+41"},
    };
    for (auto& r : rows) {
        const std::string shown = Press(r.keys);
        EXPECT_LT(shown.size(), sizeof(CalculatorState().display)) << r.keys;
        if (std::strchr(r.shown, 'e'))
            EXPECT_NEAR(std::stod(r.shown), std::stod(shown), std::stod(r.shown) * 1e-12) << r.keys << ": " << shown;
        else
            EXPECT_EQ(r.shown, shown) << r.keys;
    }
}

TEST(CalculatorKeys, DivisionByZeroKeepsTheTotal) {
    CalculatorEvent e = CalculatorEvent::None;
    EXPECT_EQ("7", Press("7 ÷ 0 ＝", &e));
    EXPECT_EQ(CalculatorEvent::DivideByZero, e);
}

TEST(CalculatorKeys, ResultsNeverOverrunTheDisplay) {
    const double values[] = {1e300, -1.234567890123456e200, 123456789012345678.0, 1e-7, 2.5, 0.0, -0.0};
    for (double v : values) {
        char out[32];
        std::memset(out, 'x', sizeof out);
        ASSERT_TRUE(FormatCalculatorResult(v, out, sizeof out)) << v;
        EXPECT_LT(std::strlen(out), sizeof out) << v;
        EXPECT_NEAR(v, std::strtod(out, nullptr), std::fabs(v) * 1e-6 + 1e-7) << v << " shown as " << out;
    }
    char out[32];
    EXPECT_FALSE(FormatCalculatorResult(std::numeric_limits<double>::infinity(), out, sizeof out));
    EXPECT_STREQ(Press("1 ＋ ・ 5 ＝").c_str(), "1.5");
}

TEST(CalculatorKeys, ModesRefuseNumbersOnOK) {
    EXPECT_EQ(0, CalculatorValidate("0", 2));
    EXPECT_EQ(7118, CalculatorValidate("-1", 5));
    EXPECT_EQ(7116, CalculatorValidate("0", 3));
    EXPECT_EQ(0, CalculatorValidate("0.5", 6));
    EXPECT_EQ(0, CalculatorValidate("-9", 4));
}

// --- The window ------------------------------------------------------------------------------------

// What the timer does once the calculator is up: click keys, then maybe more.
std::vector<int> g_clicks;
bool g_postQuit = false;
int g_step = 0;
std::string g_displayBeforeOk;

void ClickKey(HWND calc, int id) {
    RECT rc;
    ASSERT_TRUE(CalculatorKeyRect(id, &rc));
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(calc, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(calc, WM_LBUTTONUP, 0, at);
}

void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD) {
    HWND calc = CalculatorWindow();
    if (!calc) return;
    KillTimer(nullptr, id);
    if (g_postQuit) {
        PostQuitMessage(7);
        return;
    }
    for (int key : g_clicks) {
        if (key == 2017) {
            // What the display shows before OK, read from the real control.
            char text[64] = "";
            // Let the posted key commands run first.
            MSG msg;
            while (PeekMessageA(&msg, calc, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            GetDlgItemTextA(calc, 1000, text, sizeof text);
            g_displayBeforeOk = text;
        }
        ClickKey(calc, key);
    }
}

class CalculatorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterCalculatorClass(GetModuleHandleA(nullptr));
        parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        g_clicks.clear();
        g_postQuit = false;
        g_displayBeforeOk.clear();
    }
    void TearDown() override { DestroyWindow(parent); }
    HWND parent = nullptr;
};

TEST_F(CalculatorWindowTest, ClicksComputeAndOKHandsTheNumberBack) {
    g_clicks = {2005, 2014, 2005, 2014, 2003, 2011, 2017};  // 5 － 5 － 3 ＝ OK
    SetTimer(nullptr, 0, 50, Drive);
    char result[32] = "";
    EXPECT_EQ(1, RunCalculator(parent, 4, "X の入力", result));
    EXPECT_STREQ("-3", result);
    EXPECT_EQ("-3", g_displayBeforeOk);
    EXPECT_TRUE(IsWindowEnabled(parent)) << "the parent is enabled again";
    EXPECT_EQ(0, IsCalculatorOpen());
    EXPECT_EQ(nullptr, CalculatorWindow());
}

TEST_F(CalculatorWindowTest, ARefusedNumberKeepsItOpenUntilCancel) {
    win::MessageBoxTestHook boxes;
    g_clicks = {2017, 2018};  // OK with 0 in mode 3, then cancel
    SetTimer(nullptr, 0, 50, Drive);
    char result[32] = "";
    EXPECT_EQ(0, RunCalculator(parent, 3, "", result));
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_NE(std::string::npos, boxes.Calls()[0].text.find("０より大きい数値を")) << boxes.Calls()[0].text;
    EXPECT_EQ("数値入力", boxes.Calls()[0].caption) << "an empty title";
}

TEST_F(CalculatorWindowTest, AQuitRequestEndsItAndGoesOn) {
    g_postQuit = true;
    SetTimer(nullptr, 0, 50, Drive);
    char result[32] = "";
    EXPECT_EQ(0, RunCalculator(parent, 4, "Y の入力", result));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request is handed on";
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_TRUE(IsWindowEnabled(parent));
    EXPECT_EQ(0, IsCalculatorOpen());
}

TEST_F(CalculatorWindowTest, ModesWithoutCalculatorAnswerAtOnce) {
    char result[32] = "x";
    EXPECT_EQ(0, RunCalculator(parent, 0, "", result));
    EXPECT_EQ(0, RunCalculator(parent, 7, "", result));
    EXPECT_EQ(nullptr, CalculatorWindow());
    EXPECT_TRUE(IsWindowEnabled(parent));
}

}  // namespace
