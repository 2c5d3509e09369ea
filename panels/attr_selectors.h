// The tool panel's line-attribute selectors: a field that shows the current
// colour, line type, line width or line end with its sample and opens a
// drop-down list of all values on a click; and the two owner-drawn list
// boxes that show widths and line ends in the attribute dialogs.
//
// Messages of a selector: UM_SEL_SETVALUE (lParam index; 1),
// UM_SEL_GETVALUE (the index), UM_SEL_SETFLAGS (lParam flags; 0); a choice
// is told to the parent as WM_COMMAND (id, code 1, the selector's window).
#pragma once

#include <windows.h>

#include <memory>

#include "panels/attr_selector_model.h"
#include "win/window.h"

enum : UINT {
    UM_SEL_RELOAD = WM_USER + 1,    // 1025
    UM_SEL_SETVALUE = WM_USER + 2,  // 1026
    UM_SEL_GETVALUE = WM_USER + 3,  // 1027
    UM_SEL_SETFLAGS = WM_USER + 4,  // 1028
    UM_SEL_DISABLE = WM_USER + 5,   // 1029
    UM_SEL_HOVER = WM_USER + 39,    // 1063
};

class CAttrComboList;

class CLineAttrCombo : public CWindowBase {
public:
    explicit CLineAttrCombo(AttrKind kind, const char* className, const char* listClassName);
    ~CLineAttrCombo() override;
    HWND Create(HWND parent, const RECT& rect, int id);
    AttrSelectorModel& Model() { return m_model; }
    int EndFlag() const { return m_endFlag; }
    void SetEndFlag(int flag) { m_endFlag = flag; }
    const char* ListClassName() const { return m_listClass; }
    // Opens the drop list (as a click outside button mode does).
    void OpenList();
    // The drop list while it is open (for tests), else null.
    HWND ListWindow() const;
    // Paints the field into a device context of the client size.
    void PaintField(HDC dc, const RECT& client);

    BEGIN_MSG_MAP(CLineAttrCombo)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(UM_SEL_RELOAD, OnReload)
    MESSAGE_HANDLER(UM_SEL_SETVALUE, OnSetValue)
    MESSAGE_HANDLER(UM_SEL_GETVALUE, OnGetValue)
    MESSAGE_HANDLER(UM_SEL_SETFLAGS, OnSetFlags)
    MESSAGE_HANDLER(WM_USER, OnChanged)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_ENABLE, OnEnable)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnReload(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetValue(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetValue(UINT, WPARAM, LPARAM, BOOL&) { return m_model.index; }
    LRESULT OnSetFlags(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEnable(UINT, WPARAM, LPARAM, BOOL&);

    AttrSelectorModel m_model;
    const char* m_class;
    const char* m_listClass;
    char m_faceName[LF_FACESIZE] = "ＭＳ ゴシック";
    int m_endFlag = 0;
    std::unique_ptr<CAttrComboList> m_list;
};

class CLineColorCombo : public CLineAttrCombo {
public:
    CLineColorCombo() : CLineAttrCombo(AttrKind::Colour, "LineAttrColorCombo", "LineColorComboList") {}
};
class CLineTypeCombo : public CLineAttrCombo {
public:
    CLineTypeCombo() : CLineAttrCombo(AttrKind::LineType, "LineTypeCombo", "LineTypeComboList") {}
};
class CLineWidthCombo : public CLineAttrCombo {
public:
    CLineWidthCombo() : CLineAttrCombo(AttrKind::LineWidth, "LineWidthCombo", "LineWidthComboList") {}
};
class CLineEndTypeCombo : public CLineAttrCombo {
public:
    CLineEndTypeCombo() : CLineAttrCombo(AttrKind::LineEnd, "LineAttrColorCombo", "LineEndTypeComboList") {}
};

// Draws one item of a drop list of `kind` (the combo box item, id 100).
void DrawAttrListItem(const AttrSelectorModel& model, int endFlag, const DRAWITEMSTRUCT& item);

// Owner-drawn list boxes of the width and line-end samples (subclassing a
// dialog's list box or static field). Fixed index -1: each item draws its
// own index; 0 or more: every item draws that index.
class CAttrListBox : public CWindowBase {
public:
    CAttrListBox(AttrKind kind, int endFlag) : m_kind(kind), m_endFlag(endFlag) {}
    BOOL Attach(HWND control, const AttrSelectorModel* model);
    int m_fixedIndex = -1;
    COLORREF m_background = ::GetSysColor(COLOR_WINDOW);
    // Draws the item (also for a draw record that a dialog passes on).
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    BEGIN_MSG_MAP(CAttrListBox)
    MESSAGE_HANDLER(WM_PAINT, OnPaintStatic)
    MESSAGE_HANDLER(OCM_MEASUREITEM, OnMeasure)
    MESSAGE_HANDLER(OCM_DRAWITEM, OnDraw)
    END_MSG_MAP()

private:
    LRESULT OnPaintStatic(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMeasure(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDraw(UINT, WPARAM, LPARAM, BOOL&);
    AttrKind m_kind;
    int m_endFlag;
    const AttrSelectorModel* m_model = nullptr;
    bool m_isStatic = false;
};

class CLineWidthListBox : public CAttrListBox {
public:
    CLineWidthListBox() : CAttrListBox(AttrKind::LineWidth, 0) {}
};
class CLineEndTypeListBox : public CAttrListBox {
public:
    explicit CLineEndTypeListBox(int endFlag = 0) : CAttrListBox(AttrKind::LineEnd, endFlag) {}
};

// Hover routine shared by the selector fields: capture and notify (id, 0)
// on entering, release and notify (id, 1) on leaving.
void TrackSelectorHover(HWND field);
