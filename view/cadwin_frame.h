// One drawing window: the MDI child frame CCadwinFrame and its canvas
// CCadwinView (window class "CadwinView"). The frame owns the window's
// CCadDatabase and hands it to the view, which publishes its ViewData in
// window long 0.
#pragma once

#include <windows.h>

#include <string>

#include "command/host_messages.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "win/mdi.h"


class CCadwinView : public CWindowBase {
 public:
    explicit CCadwinView(CCadDatabase* database = nullptr) : m_database(database) {}

    // Creates the view filling `parent`; the view's record is set up then.
    HWND Create(HWND parent);
    // Builds the record from the settings and publishes it in window long 0.
    // Interim form: default attributes, the drawing-id counter given.
    int CreateDatabase();

    CCadDatabase* m_database;

    BEGIN_MSG_MAP(CCadwinView)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
    END_MSG_MAP()

 private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
};

// The drawing-id counter that NewDrawingWindow increments before it
// creates a window; each new view's record takes its value.
extern int DrawingIdCounter;

class CCadwinFrame : public CMDIChildWindow {
 public:
    CCadwinFrame();
    ~CCadwinFrame() override;

    // Creates the frame in the MDI client `parent` within `rect` (null: the
    // default place); `title` null takes the string resource's title.
    // Interim form: no edge buttons and no shortcut table are created yet.
    HWND CreateEx(HWND parent, const RECT* rect = nullptr, const char* title = nullptr);

    // The frame's view window; null when it could not be created.
    HWND GetViewWindow() const { return m_view.m_hWnd; }

    CCadDatabase m_database;
    CCadwinView m_view;
    // The title the frame was created with: the drawing's name until its
    // drawing information carries one.
    std::string m_baseTitle;

    BEGIN_MSG_MAP(CCadwinFrame)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(UM_GET_VIEW, OnGetView)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

    // Frames are made with new and delete themselves when their window ends.
    void OnFinalMessage(HWND) override;
    // Set when the frame is to delete itself after its window ends.
    bool m_autoDelete = false;

 private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetView(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
};

// Registers the view class "CadwinView" (the frame uses the framework's MDI
// child class); done when the first drawing window is created. 0 on failure.
int RegisterCadwinClasses();

// Saves the drawing of a view before its window closes: non-zero when saved.
// The document roads install it; while none is installed a "yes" to the save
// question keeps the window open, so that nothing unsaved is lost.
extern int (*CadwinSaveHandler)(HWND view);
