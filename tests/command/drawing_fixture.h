// Two drawings for the element services: real CAD library databases, each
// shown by a real (plain) window that stands for its drawing view, with the
// host services the element services reach through the hook table served
// by the test: the modified marks and the painters' calls are counted, the
// view sets and page state are plain records, and the geometry is the
// drawing windows' own.
#pragma once

#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "cmd_fixture.h"
#include "tests/cadlib/drawing_builder.h"
#include "tests/cadlib/session_loop.h"
#include "win/message_box.h"

struct TestDrawing {
    DbHeader db;
    HWND view = nullptr;
    int modified = 0;  // times it was marked modified
    int viewMode = 0;
    double sets[3][3] = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    double previous[3][3] = {};
};

class DrawingFixture : public CommandFixture {
public:
    void SetUp() override;
    void TearDown() override;

    // The drawing the active view shows (a by default).
    void Activate(TestDrawing& d) { active = &d; }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    template <class T>
    LRESULT Send(UINT msg, WPARAM wParam, const T* lParam) {
        return Send(msg, wParam, reinterpret_cast<LPARAM>(lParam));
    }
    // Appends through UM_APPEND_ELEMENT to the active drawing.
    StoredElement* Add(const ElementRecord& rec);
    // The top-level elements of a drawing in database order.
    static std::vector<StoredElement*> Elements(DbHeader* db);
    static std::vector<ElementRecord> Records(DbHeader* db);
    CadMark* MarkOf(DbHeader* db, const std::vector<StoredElement*>& elements);
    // A request naming a drawing's view.
    static CmdRequest RequestFor(const TestDrawing& d);

    TestDrawing a, b;
    TestDrawing* active = &a;
    win::MessageBoxTestHook boxes;
    std::vector<std::string> paints;  // "element <colour>", "mark <colour> <count>", ...
    int popupRefreshes = 0;
    int undoLevel = 20;
    int pointScale = 0;
    int hitFirst = 1;
    int highlightSetting = 2;
    std::vector<int> yesNoAnswers;  // answers of the picking question, in turn
    int yesNoAsked = 0;
};

// A pointer to a record built in the call's own expression.
template <class T>
const T* Ptr(const T& value) {
    return &value;
}
// A handle or pointer as the 32-bit word a request carries.
inline uint32_t W(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// The drawing view a window stands for, or null.
TestDrawing* DrawingOfView(DrawingFixture& f, HWND view);
