// One drawing window: the MDI child frame CCadwinFrame with its twenty edge
// buttons, and its canvas CCadwinView (window class "CadwinView"). The frame
// owns the window's CCadDatabase and hands it to the view, which publishes
// its ViewData in window long 0.
#pragma once

#include <windows.h>

#include <string>

#include "base/running_settings.h"
#include "command/host_messages.h"
#include "view/cad_cursor.h"
#include "view/cursor_popups.h"
#include "view/draw_param.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "win/mdi.h"

// An owner-drawn edge button ("CadWinScrollButton" behaviour over a
// platform button): arrow or text face, auto-repeat while held.
class CCadwinScrollButton : public CWindowBase {
public:
    enum Direction { kTextH = 0, kTextV = 1, kUp = 2, kDown = 3, kLeft = 4, kRight = 5 };
    HWND Create(HWND parent, UINT id, int direction, const char* text, COLORREF face, COLORREF ink);
    // Paints the face into `dc` within `rc` (also used by tests).
    void Paint(HDC dc, const RECT& rc) const;

    int m_direction = kTextH;
    std::string m_text;
    COLORREF m_face = 0, m_ink = 0;
    enum State : int { kStateHover = 1, kStateFocus = 2, kStatePressed = 4 };
    int m_state = 0;  // State bits
    UINT m_id = 0;

    BEGIN_MSG_MAP(CCadwinScrollButton)
    MSG_WM_LBUTTONDOWN(OnPress)
    MSG_WM_LBUTTONDBLCLK(OnPress)
    MSG_WM_MOUSEMOVE(OnMouseMove)
    MSG_WM_LBUTTONUP(OnRelease)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnErase)
    END_MSG_MAP()

private:
    LRESULT OnPress(UINT keys, POINT pt, BOOL&);
    LRESULT OnMouseMove(UINT keys, POINT pt, BOOL&);
    LRESULT OnRelease(UINT keys, POINT pt, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnErase(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    void Click();
};

class CCadwinView : public CWindowBase {
public:
    explicit CCadwinView(CCadDatabase* database = nullptr) : m_database(database) {}

    // Creates the view filling `parent`; the view's record is set up then.
    HWND Create(HWND parent);
    // Builds the record from the settings and publishes it in window long 0.
    int CreateDatabase();

    CCadDatabase* m_database;
    RenderSurface* m_surface = nullptr;
    int m_hoverTracking = 0;
    int m_edgeZone = 0;
    int m_edgeMode = 0;           // ScrollBarMode: 1 hover zones, 2 all buttons always
    POINT m_lastScreen = {0, 0};  // the pointer's screen position at the last move
    int m_hasLastScreen = 0;
    CCadCursor m_cursor;  // the cross-hair and pick aperture
    CCursorMsgWin m_msgPopup{CCursorMsgWin::kMessage};
    CCursorMsgWin m_coordPopup{CCursorMsgWin::kCoordinates};
    // The text attributes of this window: the defaults of the settings when
    // it was made, then what the user took over (attribute pick-up).
    RunningTextAttr m_textAttr = Running().defaultTextAttr;

    BEGIN_MSG_MAP(CCadwinView)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MSG_WM_SIZE(OnSize)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_CLOSE, OnSwallow)
    MESSAGE_HANDLER(WM_QUERYENDSESSION, OnSwallow)
    MESSAGE_HANDLER(WM_SYSKEYDOWN, OnSwallow)
    MESSAGE_HANDLER(WM_MOUSEACTIVATE, OnMouseActivate)
    MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnNcMouseMove)
    MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnNcButton)
    MESSAGE_HANDLER(WM_NCLBUTTONDBLCLK, OnNcButton)
    MESSAGE_HANDLER(WM_NCRBUTTONDOWN, OnNcButton)
    MSG_WM_COMMAND(OnCommand)
    MESSAGE_HANDLER(WM_HSCROLL, OnScroll)
    MESSAGE_HANDLER(WM_VSCROLL, OnScroll)
    MSG_WM_MOUSEMOVE(OnMouseMove)
    MSG_WM_LBUTTONDOWN(OnLButtonDown)
    MSG_WM_LBUTTONUP(OnLButtonUp)
    MSG_WM_RBUTTONDOWN(OnRButtonDown)
    MSG_WM_RBUTTONUP(OnRButtonUp)
    MSG_WM_MBUTTONDOWN(OnMButtonDown)
    MSG_WM_MBUTTONUP(OnMButtonUp)
    MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
    MSG_WM_MOUSEHOVER(OnMouseHover)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    MESSAGE_HANDLER(kCursorSettingsMessage, OnCursorSettings)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    END_MSG_MAP()

    // Activation as the frame forwards it: -1 when the input lock refuses it.
    LRESULT OnMdiActivate(HWND losing, HWND gaining);
    void FollowPointer(POINT client);

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT type, int cx, int cy, BOOL&);
    LRESULT OnSwallow(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseActivate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcButton(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(WORD code, WORD id, HWND ctl, BOOL&);
    LRESULT OnScroll(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT keys, POINT pt, BOOL&);
    LRESULT OnLButtonDown(UINT keys, POINT pt, BOOL&);
    LRESULT OnLButtonUp(UINT keys, POINT pt, BOOL&);
    LRESULT OnRButtonDown(UINT keys, POINT pt, BOOL&);
    LRESULT OnRButtonUp(UINT keys, POINT pt, BOOL&);
    LRESULT OnMButtonDown(UINT keys, POINT pt, BOOL&);
    LRESULT OnMButtonUp(UINT keys, POINT pt, BOOL&);
    LRESULT OnMouseWheel(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseHover(UINT keys, POINT pt, BOOL&);
    LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCursorSettings(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    // The cross-hair takes the view and the user's settings at its first use.
    void AttachCursor();
    int m_cursorAttached = 0;
};

// The drawing-id counter that NewDrawingWindow increments before it
// creates a window; each new view's record takes its value.
extern int DrawingIdCounter;
// Set while a drawing window is being created: its view has no drawing yet.
extern int CreatingDrawingWindow;

class CCadwinFrame : public CMDIChildWindow {
public:
    CCadwinFrame();
    ~CCadwinFrame() override;

    // Creates the frame in the MDI client `parent` within `rect` (null: the
    // default place); `title` null takes the string resource's title. Opens
    // maximized when the last active drawing window was.
    HWND CreateEx(HWND parent, const RECT* rect = nullptr, const char* title = nullptr);

    // The frame's view window; null when it could not be created.
    HWND GetViewWindow() const { return m_view.m_hWnd; }
    // Lays the view and the edge buttons out in a client of w x h.
    void Layout(int w, int h);

    CCadDatabase m_database;
    CCadwinView m_view;
    // zoom in, fit, zoom out (top, bottom, left, right), then two scroll
    // buttons per edge (top, bottom, left, right).
    CCadwinScrollButton m_zoomIn[4], m_fit[4], m_zoomOut[4], m_scroll[8];
    int m_edgeButtonsEnabled = 1;
    int m_largeBarThickness = 26;
    int m_edgeMask = 0;  // 1 top, 2 bottom, 4 left, 8 right
    HACCEL m_accel = nullptr;
    // The title the frame was created with: the drawing's name until its
    // drawing information carries one.
    std::string m_baseTitle;

    BEGIN_MSG_MAP(CCadwinFrame)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MSG_WM_SIZE(OnSize)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_QUERYENDSESSION, OnClose)
    MSG_WM_COMMAND(OnCommand)
    MESSAGE_HANDLER(WM_MDIACTIVATE, OnMdiActivate)
    MESSAGE_HANDLER(UM_GET_VIEW, OnGetView)
    MESSAGE_HANDLER(WM_FORWARDMSG_ZAV, OnForwardMsg)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

    // Frames are made with new and delete themselves when their window ends.
    void OnFinalMessage(HWND) override;
    bool m_autoDelete = false;

    static constexpr UINT WM_FORWARDMSG_ZAV = 0x037F;  // WM_FORWARDMSG

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT type, int cx, int cy, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(WORD code, WORD id, HWND ctl, BOOL&);
    LRESULT OnMdiActivate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetView(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnForwardMsg(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
};

// Registers the view class "CadwinView"; done when the first drawing
// window is created. 0 on failure.
int RegisterCadwinClasses();

// Creates a drawing window (frame, view, database) in the MDI client and
// puts its view into the first free slot of ViewTable. The view, or null
// when the table is full or the window cannot be made.
HWND CreateDrawingWindow(HWND mdiClient, const RECT* rect, const char* title);
// The text attributes of a drawing window's view; null for another window.
RunningTextAttr* ViewTextAttributes(HWND view);

// What the drawing windows learn from the main frame and the document
// roads; the shell fills these.
struct CadwinHostLinks {
    // Loads the shortcut table of "ZavIrurer.key" for a frame.
    HACCEL (*loadAccelerator)(const char* fileName) = nullptr;
    // Puts the application's menu bar with its Window menu (the list of
    // drawing windows) into the MDI client, as a drawing window activates.
    void (*installWindowMenu)(HWND mdiClient) = nullptr;
    // The page services' frame-view flag of a view's drawing, set as its
    // window activates (setup/page_services.h UpdateFrameViewFlag).
    int (*updateFrameViewFlag)(HWND view) = nullptr;
    // Main-frame flags: its closing sequence runs, it closes all drawings,
    // the system shuts down.
    int mainFrameClosing = 0;
    int closingAllDrawings = 0;
    int systemShutdown = 0;
    // Whether the last active drawing window was maximized.
    int rememberedMaximized = 0;
    // Set by a host service that closes a window while its command runs.
    int commandInitiatedClose = 0;
    // Retries of a close delayed by a running module command.
    int closeRetryCount = 0;
};
CadwinHostLinks& CadwinHost();

// Saves the drawing of a view before its window closes: 1 when saved (the
// save road's SaveDrawingAs with mode 1). While none is installed a "yes"
// to the save question keeps the window open, so nothing unsaved is lost.
extern int (*CadwinSaveHandler)(HWND view);

// Whether the drawing frame's close must ask to save.
int IsSaveQuestionNeeded(HWND view);
// Empties the list of drawings asked about while all drawings close.
void ClearSaveQuestionList();
