// A frame of the layout engine with a fixed minimum, recording where it was put.
#pragma once
#include "docking/frames_package.h"

struct FakeFrame : zav::IFrame {
    int minAlong;
    bool horizontal;
    RECT placed = {0, 0, 0, 0};
    FakeFrame(int m, bool h) : minAlong(m), horizontal(h) {}
    HWND WindowHandle() override { return nullptr; }
    bool AcceptDrop(zav::DockRect*) override { return false; }
    int MinExtent() override { return minAlong; }
    void QueryMinTrackSize(MINMAXINFO* mmi) override {
        (horizontal ? mmi->ptMinTrackSize.x : mmi->ptMinTrackSize.y) = minAlong;
        (horizontal ? mmi->ptMinTrackSize.y : mmi->ptMinTrackSize.x) = 10;
    }
    HDWP DeferMove(HDWP h, int l, int t, int r, int b) override {
        placed = {l, t, r, b};
        return h;
    }
};
