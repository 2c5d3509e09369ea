// Drawing windows with the command system's view services filled as the
// running program fills them, and the modified marks counted.
#pragma once

#include "view_fixture.h"
#include "base/paper_sizes.h"
#include "command/host_hooks.h"
#include "view/view_table.h"

class SetupFixture : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        BuildPaperSizeTable();
        m_savedHooks = HostHooks();
        CmdHostHooks& h = HostHooks();
        h.activeView = [] { return GetActiveView(); };
        h.viewDb = [](HWND v) { return GetViewDb(v); };
        h.findViewByDb = [](DbHeader* d) { return FindViewByDb(d); };
        h.setDrawingModified = [this](HWND) {
            ++modified;
            return 1;
        };
        view = NewDrawing("図面1");
        ASSERT_NE(nullptr, view);
        db = GetViewDb(view);
    }
    void TearDown() override {
        HostHooks() = m_savedHooks;
        ViewFixture::TearDown();
    }

    HWND view = nullptr;
    DbHeader* db = nullptr;
    int modified = 0;

private:
    CmdHostHooks m_savedHooks;
};
