// The look-and-feel that every docking window of the process shares: drag
// mode, caption fonts, strip and label colours and the size cursors.
#pragma once
#include <windows.h>

namespace zav {

class CDockingSettings {
public:
    enum : DWORD { kOutlineDrag = 2, kFullDrag = 4 };

    static CDockingSettings& Instance();
    // Re-reads every field from the system and the drag-mode setting.
    void Update();

    DWORD flags = 0;
    COLORREF stripColour = 0;
    COLORREF labelTextColour = 0;
    HFONT hFontHorizontal = nullptr;  // stock default GUI font
    HFONT hFontVertical = nullptr;    // the same turned to run top to bottom
    HCURSOR hCursorNS = nullptr;
    HCURSOR hCursorWE = nullptr;

    bool OutlineDrag() const { return (flags & kOutlineDrag) != 0; }
    bool FullDrag() const { return (flags & kFullDrag) != 0; }

private:
    CDockingSettings() {}
};

// The strip colour: button face lightened towards white.
COLORREF LightenForStrip(COLORREF face);
// The label text colour: two thirds of the way from button text to grey text.
COLORREF MixLabelText(COLORREF text, COLORREF grey);

}  // namespace zav
