// The tool panel ("基本操作"): the docked strip that shows and sets the
// drawing state the user works with all the time (paper and scale, cursor
// coordinates, colour, line type, width, line ends, layer, snap modes and the
// tool switches). The rest of the system reaches it only through its
// WM_COMMAND / WM_USER / WM_APP protocol and the free functions below.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "panels/attr_selectors.h"
#include "panels/panel_check_button.h"
#include "panels/tool_panel_layout.h"
#include "panels/tool_panel_links.h"
#include "win/message_loop.h"
#include "win/window.h"

// Has the tool panel read its fields again (wParam 0; lParam 1 after a
// layer name changed).
constexpr UINT UM_TOOL_PANEL_RESYNC = WM_USER;

// The attribute words shown and edited while no drawing view is active
// (colour 4, the others 0 at start-up; not saved).
extern AttrWords PanelAttrDefaults;
// The colour number of those words, as start-up sets it.
extern int32_t& ToolPanelNoViewSelection;

// Snap-mode bits of the process-wide word Running().snapModeFlags.
enum SnapModeBits : long {
    SNAP_END_AND_INTERSECTION = 0x01,  // request form only, becomes 0x20 + 0x40
    SNAP_POPUP_EXTRA = 0x02,
    SNAP_MIDPOINT = 0x04,
    SNAP_ANY_POINT = 0x08,
    SNAP_CIRCLE_CENTRE = 0x10,
    SNAP_END_POINT = 0x20,
    SNAP_INTERSECTION = 0x40,
    SNAP_ON_LINE = 0x80,
    SNAP_ALL = 255,
};
// Bit 0x01 replaced by 0x20 + 0x40.
long NormaliseSnapModes(long modes);
// The word after a snap button of `bit` was clicked: the only mode on stays
// on; otherwise the bit is toggled; the result is normalised.
long ToggleSnapMode(long modes, long bit);
// The snap bit of a snap button id (3402, 3404, 3405, 3410-3412, 3418), or 0.
long SnapBitOfButton(int id);

class CToolPanel : public CWindowBase, public CMessageFilter, public CIdleHandler {
public:
    explicit CToolPanel(CWindow* pane = nullptr);
    ~CToolPanel() override;
    HWND Create(HWND pane);
    void DestroyMembers();
    BOOL PreTranslateMessage(MSG*) override { return FALSE; }
    BOOL OnIdle() override { return FALSE; }

    const ToolPanelMetrics& Metrics() const { return m_metrics; }
    CLineAttrCombo* Selector(int id);
    // Destroys the children and creates those of the chosen blocks.
    void LayoutToolPanel();

    BEGIN_MSG_MAP(CToolPanel)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_CTLCOLORBTN, OnCtlColorBtn)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    MESSAGE_HANDLER(UM_TOOL_PANEL_RESYNC, OnSettingsChanged)
    MESSAGE_HANDLER(WM_APP, OnCoordinates)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCtlColorStatic(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCtlColorBtn(UINT, WPARAM, LPARAM, BOOL&) { return (LRESULT)m_brush; }
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSettingsChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCoordinates(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);

    // Handlers of the command ids (tool_panel_commands.cpp).
    void OnAttributeChosen(int id);
    void ResyncAttributes();
    void OnPickUpButton(HWND button);
    void OnTemporaryPoint(LPARAM button);
    void OnGrid(HWND button);
    void OnCoordinateEntry(HWND button);
    void OnMidPoint(HWND button);
    void OnKeyCursor(int code);
    void OnLayerChosen();
    void OnOverviewButton(HWND button);
    void OnLineSettings();
    void OnOtherCommand(int id, int code);

    void CreateFonts();
    void DeleteFonts();
    HFONT Font(char which) const;

    CWindow* m_pane;
    ToolPanelMetrics m_metrics;
    HFONT m_fonts[4] = {};
    COLORREF m_color = RGB(240, 240, 240);
    HBRUSH m_brush = nullptr;
    std::vector<std::unique_ptr<CPanelCheckButton>> m_buttons;
    CLineColorCombo m_colour;
    CLineTypeCombo m_lineType;
    CLineWidthCombo m_width;
    CLineEndTypeCombo m_start, m_end;
};

// The tool panel's window, or null before it exists.
HWND ToolPanelWindow();
// WM_COMMAND 3822 to the panel when it exists.
void SyncToolPanelAttributes();
// Raises the attribute-change input event when no event is pending and has
// the panel resynchronise its fields.
void RefreshToolPanel();
// Raises the attribute-change input event when no event is pending. 1.
int PostSettingsChangedEvent();
// Shows a drawing point (x, y) in the coordinate fields; null clears them.
// The panel's answer.
LRESULT ShowToolPanelCoordinates(const double* point);
// Normalises the snap word (adding 0x08 when the free-point button is
// locked) and brings the snap buttons of the panel and of the right-click
// pop-up into line with it.
void SyncSnapButtons();
// The paper size and scale of a view's drawing in the paper fields; null
// empties them.
void UpdateToolPanelPaper(HWND view);
void UpdateToolPanelPaperActive();
// The paper fields after a drawing window closed. 1.
int UpdateToolPanelDrawingInfo();
