// The owner-painted buttons of the command panel: a command button shows its
// label on a face of bitmap images (one image set per style), a page-select
// button a page name on a gradient face. A click is sent to the parent as
// UM_CMDPANEL_BUTTON.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "win/window.h"

// Sent by a button to its parent: wParam the command id, or for a
// page-select button the low 16 bits of its id + 0x10000; lParam the button.
constexpr UINT UM_CMDPANEL_BUTTON = WM_APP + 1000;  // 33768
static_assert(UM_CMDPANEL_BUTTON == 33768, "panel button message");

constexpr const char* kCmdButtonClass = "PanelCheckButton";

// The face images of the ten styles, loaded once before the first panel.
struct CmdButtonImagesRecord {
    HIMAGELIST lists[10] = {};
    int width = 76;
    int height = 32;
    int setCount = 0;
};
extern CmdButtonImagesRecord CmdButtonImages;

// The file name of image `number` (1-4) of style `set`: "%s\%02d%d.bmp",
// with "_m" (screens 1281-1679 wide) or "_s" (up to 1280) before the
// extension when `lowResolution` is above 0.
std::string CmdButtonImageFile(const std::string& folder, int set, int number, int lowResolution, int screenWidth);
// The image size for those settings: 76x32, 64x19 or 59x17.
SIZE CmdButtonImageSize(int lowResolution, int screenWidth);
// Loads the ten sets from `folder` (null: the executable's "Images\Button1")
// with the per-user iCmdPanelTypeLowResoW and the screen width; a set whose
// four files are not all there stays empty. Again: the old lists go first.
void LoadCmdButtonImages(const char* folder = nullptr);
void FreeCmdButtonImages();

class CCmdPnlButton : public CWindowBase {
public:
    void SetData(const char* label, int id, const char* tip, int style);
    // Width: image width + 8 per byte of label beyond 8; height: image height.
    void Measure(int* width, int* height) const;
    HWND Create(HWND parent, int x, int y, int cx, int cy);
    // Marked face (a running command, the current page).
    void SetMarked(int marked);
    // Paints the face and label into a rectangle of any device context (the
    // editor's grid paints cells with it).
    void PaintInto(HDC dc, const RECT& rect, const char* text, bool focused) const;

    std::string m_label;
    int m_id = 0;
    std::string m_tip;
    int m_pageSelect = 0;
    int m_vertical = 0;
    int m_style = 0;
    int m_width = CmdButtonImages.width;
    int m_height = CmdButtonImages.height;
    char m_faceName[LF_FACESIZE] = "ＭＳ ゴシック";
    int m_marked = 0;
    int m_pressed = 0;

    BEGIN_MSG_MAP(CCmdPnlButton)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_CAPTURECHANGED, OnMouseLeave)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_DESTROY, OnSwallow)
    MESSAGE_HANDLER(WM_SETFOCUS, OnFocus)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnFocus)
    MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnSwallow)
    MESSAGE_HANDLER(WM_INITDIALOG, OnSwallow)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnSwallow)
    MESSAGE_HANDLER(WM_RBUTTONUP, OnSwallow)
    END_MSG_MAP()

private:
    void Report();
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSwallow(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
};
