// The host-interface objects: the chain of message maps through which a
// command module reaches the services of the host. The order of consultation
// is one list, CCommandHost's map below:
//
//   CCadSysCmd (own entries) -> CCadSysCmdWait -> CCadSysCmdDb -> CCadSysCmdPbox
//   -> CCadSysCmdPage -> CCadSysCmdConfig -> CCadInterruptCmd
//
// Every entry is an exact match on the message number; a message that has an
// entry is answered by it alone, whatever it returns. A number without an entry
// falls through to the frame's default processing.
//
// Use from a frame (see command_system.h):
//   CCommandHost m_commandHost;          // member of the frame
//   CHAIN_MSG_MAP_MEMBER(m_commandHost)  // after the frame's own entries
#pragma once

#include <windows.h>

#include "base/settings_layer.h"
#include "command/host_messages.h"
#include "win/msg_map.h"

// Base of the host objects: a virtual destructor and the three words the
// main frame sets after loading its shortcut file.
class CCadCmd : public CMessageMap {
public:
    virtual ~CCadCmd() = default;
    HWND m_mainFrame = nullptr;
    HACCEL m_accel = nullptr;
    void* m_mainAccelerator = nullptr;   // the frame's CMainAccelerator
};

class CCadSysCmdWait : public CCadCmd {
public:
    BEGIN_MSG_MAP(CCadSysCmdWait)
        MESSAGE_HANDLER(UM_WAIT_INPUT, OnWaitInput)
    END_MSG_MAP()
    // Services not built yet: answered 0 ("not done") until their issue fills them.
    LRESULT OnWaitInput(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
};

class CCadSysCmdDb : public CCadCmd {
public:
    BEGIN_MSG_MAP(CCadSysCmdDb)
        MESSAGE_HANDLER(UM_FIND_TAG_ELEMENT, OnFindTagElement)
        MESSAGE_HANDLER(UM_SET_FIND_TAG_KEY, OnSetFindTagKey)
        MESSAGE_HANDLER(UM_GET_ELEMENTS_IN_RECT, OnGetElementsInRect)
        MESSAGE_HANDLER(UM_SET_SEARCH_OPTION, OnSetSearchOption)
        MESSAGE_HANDLER(UM_GET_SEARCH_OPTION, OnGetSearchOption)
        MESSAGE_HANDLER(UM_LINKTAG_FIND, OnLinktagFind)
        MESSAGE_HANDLER(UM_APPEND_ELEMENT, OnAppendElement)
        MESSAGE_HANDLER(UM_DELETE_ELEMENT, OnDeleteElement)
        MESSAGE_HANDLER(UM_DELETE_ALL, OnDeleteAll)
        MESSAGE_HANDLER(UM_GET_TAG, OnGetTag)
        MESSAGE_HANDLER(UM_SET_TAG, OnSetTag)
        MESSAGE_HANDLER(UM_READ_ELEMENT, OnReadElement)
        MESSAGE_HANDLER(UM_APPEND_ELEMENT_EX, OnAppendElementEx)
        MESSAGE_HANDLER(UM_CHANGE_ELEMENT, OnChangeElement)
        MESSAGE_HANDLER(UM_MAKE_GROUP, OnMakeGroup)
        MESSAGE_HANDLER(UM_ADD_TO_GROUP, OnAddToGroup)
        MESSAGE_HANDLER(UM_EXPLODE_FIGURE, OnExplodeFigure)
        MESSAGE_HANDLER(UM_GET_GROUP_HEADER, OnGetGroupHeader)
        MESSAGE_HANDLER(UM_APPEND_GROUP, OnAppendGroup)
        MESSAGE_HANDLER(UM_READ_FIRST_MEMBER, OnReadFirstMember)
        MESSAGE_HANDLER(UM_NEW_DRAWING_WINDOW, OnNewDrawingWindow)
        MESSAGE_HANDLER(UM_OPEN_DRAWING_FILE, OnOpenDrawingFile)
        MESSAGE_HANDLER(UM_CHECK_MARK, OnCheckMark)
        MESSAGE_HANDLER(UM_MARK_COUNT, OnMarkCount)
        MESSAGE_HANDLER(UM_CREATE_MARK, OnCreateMark)
        MESSAGE_HANDLER(UM_DESTROY_MARK, OnDestroyMark)
        MESSAGE_HANDLER(UM_SET_MARK, OnSetMark)
        MESSAGE_HANDLER(UM_DEL_MARK, OnDelMark)
        MESSAGE_HANDLER(UM_NEXT_MARK, OnNextMark)
        MESSAGE_HANDLER(UM_SET_TRANSFORM, OnSetTransform)
        MESSAGE_HANDLER(UM_COPY_MARKED, OnCopyMarked)
        MESSAGE_HANDLER(UM_MOVE_MARKED, OnMoveMarked)
        MESSAGE_HANDLER(UM_DELETE_MARKED, OnDeleteMarked)
        MESSAGE_HANDLER(UM_SELECT_MARKED, OnSelectMarked)
        MESSAGE_HANDLER(UM_MAKE_UNDO_PASS, OnMakeUndoPass)
        MESSAGE_HANDLER(UM_UNDO, OnUndo)
        MESSAGE_HANDLER(UM_REDO, OnRedo)
        MESSAGE_HANDLER(UM_HIGHLIGHT_COLOR, OnHighlightColor)
        MESSAGE_HANDLER(UM_COPY_MARKED_EX, OnCopyMarkedEx)
        MESSAGE_HANDLER(UM_MOVE_MARKED_EX, OnMoveMarkedEx)
        MESSAGE_HANDLER(UM_ENABLE_UNDO, OnEnableUndo)
        MESSAGE_HANDLER(UM_LOCK_INPUT_VIEW, OnLockInputView)
        MESSAGE_HANDLER(UM_UNLOCK_INPUT_VIEW, OnUnlockInputView)
        MESSAGE_HANDLER(UM_SET_DB_INFO, OnSetDbInfo)
        MESSAGE_HANDLER(UM_GET_DB_INFO, OnGetDbInfo)
        MESSAGE_HANDLER(UM_SET_LAYER_INFO, OnSetLayerInfo)
        MESSAGE_HANDLER(UM_GET_LAYER_INFO, OnGetLayerInfo)
        MESSAGE_HANDLER(UM_GET_VIEW_DB, OnGetViewDb)
        MESSAGE_HANDLER(UM_NEW_DRAWING_WINDOW_DB, OnNewDrawingWindowDb)
        MESSAGE_HANDLER(UM_RESET_DB, OnResetDb)
        MESSAGE_HANDLER(UM_DB_NOP, OnDbNop)
        MESSAGE_HANDLER(UM_CLEAR_UNDO, OnClearUndo)
        MESSAGE_HANDLER(UM_GET_TAG_STRING, OnGetTagString)
        MESSAGE_HANDLER(UM_SET_TAG_STRING, OnSetTagString)
        MESSAGE_HANDLER(UM_COPY_AS_GROUP, OnCopyAsGroup)
        MESSAGE_HANDLER(UM_EXPLODE_GROUP, OnExplodeGroup)
        MESSAGE_HANDLER(UM_SET_EPS, OnSetEps)
        MESSAGE_HANDLER(UM_READ_NEXT_MEMBER, OnReadNextMember)
        MESSAGE_HANDLER(UM_GET_USED_LAYERS, OnGetUsedLayers)
        MESSAGE_HANDLER(UM_SET_MODIFIED, OnSetModified)
        MESSAGE_HANDLER(UM_GET_LAYER_NAME, OnGetLayerName)
        MESSAGE_HANDLER(UM_SET_LAYER_NAME, OnSetLayerName)
        MESSAGE_HANDLER(UM_EXT_NEXT_MARK, OnExtNextMark)
        MESSAGE_HANDLER(UM_TRANSFORM_MARKED, OnTransformMarked)
    END_MSG_MAP()
    // Database services (db_services.cpp).
    LRESULT OnFindTagElement(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFindTagKey(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetElementsInRect(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetSearchOption(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetSearchOption(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLinktagFind(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAppendElement(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDeleteElement(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDeleteAll(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetTag(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetTag(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnReadElement(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAppendElementEx(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnChangeElement(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMakeGroup(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAddToGroup(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnExplodeFigure(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetGroupHeader(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAppendGroup(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnReadFirstMember(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNewDrawingWindow(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOpenDrawingFile(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCheckMark(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMarkCount(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCreateMark(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroyMark(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetMark(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDelMark(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNextMark(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetTransform(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCopyMarked(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMoveMarked(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDeleteMarked(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSelectMarked(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMakeUndoPass(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnUndo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRedo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnHighlightColor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCopyMarkedEx(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMoveMarkedEx(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEnableUndo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLockInputView(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnUnlockInputView(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetDbInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetDbInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetLayerInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetLayerInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetViewDb(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNewDrawingWindowDb(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnResetDb(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDbNop(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClearUndo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetTagString(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetTagString(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCopyAsGroup(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnExplodeGroup(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetEps(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnReadNextMember(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetUsedLayers(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetModified(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetLayerName(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetLayerName(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnExtNextMark(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTransformMarked(UINT, WPARAM, LPARAM, BOOL&);
};

class CCadSysCmdPbox : public CCadCmd {
public:
    BEGIN_MSG_MAP(CCadSysCmdPbox)
        MESSAGE_HANDLER(UM_PBOX_OPEN_PAGE, OnPboxOpenPage)
        MESSAGE_HANDLER(UM_PBOX_CLOSE_PAGE, OnPboxClosePage)
        MESSAGE_HANDLER(UM_PBOX_SHOW, OnPboxShow)
        MESSAGE_HANDLER(UM_PBOX_HIDE, OnPboxHide)
        MESSAGE_HANDLER(UM_PBOX_SHOW_PAGE, OnPboxShowPage)
        MESSAGE_HANDLER(UM_PBOX_ADD_BUTTON, OnPboxAddButton)
        MESSAGE_HANDLER(UM_PBOX_ADD_RADIO, OnPboxAddRadio)
        MESSAGE_HANDLER(UM_PBOX_ADD_CHECK, OnPboxAddCheck)
        MESSAGE_HANDLER(UM_PBOX_ADD_LIST_SEL, OnPboxAddListSel)
        MESSAGE_HANDLER(UM_PBOX_ADD_EDIT, OnPboxAddEdit)
        MESSAGE_HANDLER(UM_PBOX_GET_ITEM_TEXT, OnPboxGetItemText)
        MESSAGE_HANDLER(UM_PBOX_NOP, OnPboxNop)
        MESSAGE_HANDLER(UM_PBOX_ITEM_VALUE, OnPboxItemValue)
        MESSAGE_HANDLER(UM_PBOX_STATE, OnPboxState)
        MESSAGE_HANDLER(UM_PBOX_COMBO_SEL, OnPboxComboSel)
        MESSAGE_HANDLER(UM_PBOX_NOP_2, OnPboxNop)
        MESSAGE_HANDLER(UM_PBOX_ADD_TEXT, OnPboxAddText)
        MESSAGE_HANDLER(UM_PBOX_SET_ITEM_TEXT, OnPboxSetItemText)
        MESSAGE_HANDLER(UM_PBOX_ENABLE_ITEM, OnPboxEnableItem)
        MESSAGE_HANDLER(UM_PBOX_SET_ITEM_COLOR, OnPboxSetItemColor)
        MESSAGE_HANDLER(UM_PBOX_CLICK_ITEM, OnPboxClickItem)
        MESSAGE_HANDLER(UM_PBOX_SET_LABEL, OnPboxSetLabel)
        MESSAGE_HANDLER(UM_PBOX_GET_COMBO_TEXT, OnPboxGetComboText)
        MESSAGE_HANDLER(UM_PBOX_SET_COMBO_TEXT, OnPboxSetComboText)
        MESSAGE_HANDLER(UM_PBOX_ADD_COMBO, OnPboxAddCombo)
        MESSAGE_HANDLER(UM_PBOX_ADD_LIST, OnPboxAddList)
    END_MSG_MAP()
    // Services not built yet: answered 0 ("not done") until their issue fills them.
    LRESULT OnPboxOpenPage(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxClosePage(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxShow(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxHide(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxShowPage(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxAddButton(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxAddRadio(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxAddCheck(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxAddListSel(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxAddEdit(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxGetItemText(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxNop(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxItemValue(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxState(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxComboSel(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxAddText(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxSetItemText(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxEnableItem(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxSetItemColor(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxClickItem(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxSetLabel(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxGetComboText(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxSetComboText(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxAddCombo(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxAddList(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
};

// UM_PAGE_FUNC dispatches on its sub-code (wParam) 0-28; a sub-code above
// 28 has no entry and falls through.
class CCadSysCmdPage : public CCadCmd {
public:
    BEGIN_MSG_MAP(CCadSysCmdPage)
        MESSAGE_HANDLER(UM_PAGE_FUNC, OnPageFunc)
    END_MSG_MAP()
    LRESULT OnPageFunc(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled);
};

// CCadSysCmdConfigIO, the settings object of the configuration services,
// belongs to the settings layer (one definition for the whole program).

class CCadSysCmdConfig : public CCadCmd {
public:
    BEGIN_MSG_MAP(CCadSysCmdConfig)
        MESSAGE_HANDLER(UM_GET_PROFILE_STRING, OnGetProfileString)
        MESSAGE_HANDLER(UM_GET_CONFIG_FILE_NAME, OnGetConfigFileName)
        MESSAGE_HANDLER(UM_GET_PROFILE_SECTION, OnGetProfileSection)
        MESSAGE_HANDLER(UM_SET_PROFILE_STRING, OnSetProfileString)
        MESSAGE_HANDLER(UM_SET_CMD_INI, OnSetCmdIni)
        MESSAGE_HANDLER(UM_GET_CMD_INI, OnGetCmdIni)
        MESSAGE_HANDLER(UM_GET_PTNSAVE, OnGetPtnSave)
        MESSAGE_HANDLER(UM_GET_APP_OBJECT, OnGetAppObject)
        MESSAGE_HANDLER(UM_GET_PRIVATE_PROFILE, OnGetPrivateProfile)
        MESSAGE_HANDLER(UM_SET_PRIVATE_PROFILE, OnSetPrivateProfile)
    END_MSG_MAP()
    LRESULT OnGetProfileString(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetConfigFileName(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetProfileSection(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetProfileString(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetCmdIni(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetCmdIni(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetPtnSave(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetAppObject(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetPrivateProfile(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetPrivateProfile(UINT, WPARAM, LPARAM, BOOL&);

private:
    CCadSysCmdConfigIO m_io;
};

class CCadSysCmd : public CCadCmd {
public:
    // Members are constructed Db, Pbox, Page, Config, Wait (declaration
    // order) and destroyed in reverse.
    CCadSysCmdDb m_db;
    CCadSysCmdPbox m_pbox;
    CCadSysCmdPage m_page;
    CCadSysCmdConfig m_config;
    CCadSysCmdWait m_wait;
    int m_endAckFlag = 1;   // the end-acknowledge (command-acceptance) flag

    BEGIN_MSG_MAP(CCadSysCmd)
        MESSAGE_HANDLER(UM_END_CMD, OnEndCmd)
        MESSAGE_HANDLER(UM_CLEAR_EVENT_MASK, OnClearEventMask)
        MESSAGE_HANDLER(UM_ADD_EVENT_MASK, OnAddEventMask)
        MESSAGE_HANDLER(UM_GET_DRAW_ATTR, OnGetDrawAttr)
        MESSAGE_HANDLER(UM_SET_DRAW_ATTR, OnSetDrawAttr)
        MESSAGE_HANDLER(UM_SET_PROMPT, OnSetPrompt)
        MESSAGE_HANDLER(UM_DRAW_ELEMENT, OnDrawElement)
        MESSAGE_HANDLER(UM_DRAW_ELEMENT_COLOR, OnDrawElementColor)
        MESSAGE_HANDLER(UM_REDRAW_VIEW, OnRedrawView)
        MESSAGE_HANDLER(UM_SELECT_ELEMENT, OnSelectElement)
        MESSAGE_HANDLER(UM_DESELECT_ELEMENT, OnDeselectElement)
        MESSAGE_HANDLER(UM_DESELECT_ALL, OnDeselectAll)
        MESSAGE_HANDLER(UM_REFRESH_VIEW, OnRefreshView)
        MESSAGE_HANDLER(UM_DRAW_MARK, OnDrawMark)
        MESSAGE_HANDLER(UM_DRAW_MARK_2, OnDrawMark)
        MESSAGE_HANDLER(UM_UPDATE_ELEMENT_COUNT, OnUpdateElementCount)
        MESSAGE_HANDLER(UM_ZOOM_TO_RECT, OnZoomToRect)
        MESSAGE_HANDLER(UM_DRAG_APPEND, OnDragAppend)
        MESSAGE_HANDLER(UM_DRAG_REDRAW, OnDragRedraw)
        MESSAGE_HANDLER(UM_DRAG_TRANSFORM, OnDragTransform)
        MESSAGE_HANDLER(UM_MAXIMIZE_VIEW, OnMaximizeView)
        MESSAGE_HANDLER(UM_MINIMIZE_MAIN, OnMinimizeMain)
        MESSAGE_HANDLER(UM_GET_ACTIVE_DB, OnGetActiveDb)
        MESSAGE_HANDLER(UM_ACTIVE_VIEW, OnActiveView)
        MESSAGE_HANDLER(UM_DDE_EXECUTE, OnDdeExecute)
        MESSAGE_HANDLER(UM_EXEC_CMD, OnExecCmd)
        MESSAGE_HANDLER(UM_DDE_CONNECT, OnDdeConnect)
        MESSAGE_HANDLER(UM_DDE_DISCONNECT, OnDdeDisconnect)
        MESSAGE_HANDLER(UM_DDE_SEND, OnDdeSend)
        MESSAGE_HANDLER(UM_DDE_CLIENT_INIT, OnDdeClientInit)
        MESSAGE_HANDLER(UM_DDE_CLIENT_EXIT, OnDdeClientExit)
        MESSAGE_HANDLER(UM_GET_DRAW_ATTR_OPT, OnGetDrawAttrOpt)
        MESSAGE_HANDLER(UM_FOCUS_VIEW, OnFocusView)
        MESSAGE_HANDLER(UM_GET_ELEMENT_COUNT, OnGetElementCount)
        MESSAGE_HANDLER(UM_CONFIRM_YESNO, OnConfirmYesNo)
        MESSAGE_HANDLER(UM_CONFIRM_YESNO_EX, OnConfirmYesNoEx)
        MESSAGE_HANDLER(UM_GET_COLOR, OnGetColor)
        MESSAGE_HANDLER(UM_GET_MESSAGE_TEXT, OnGetMessageText)
        MESSAGE_HANDLER(UM_LINKTAG_ADD, OnLinktagAdd)
        MESSAGE_HANDLER(UM_LINKTAG_GET, OnLinktagGet)
        MESSAGE_HANDLER(UM_LINKTAG_COUNT, OnLinktagCount)
        MESSAGE_HANDLER(UM_LINKTAG_SET, OnLinktagSet)
        MESSAGE_HANDLER(UM_LINKTAG_CLEAR, OnLinktagClear)
        MESSAGE_HANDLER(UM_OPEN_DRAWING, OnOpenDrawing)
        MESSAGE_HANDLER(UM_RAISE_DDE_EVENT, OnRaiseDdeEvent)
        MESSAGE_HANDLER(UM_TOGGLE_LAYOUT_VIEW, OnToggleLayoutView)
        MESSAGE_HANDLER(UM_SHOW_LAYOUT_VIEW, OnShowLayoutView)
        MESSAGE_HANDLER(UM_HIDE_LAYOUT_VIEW, OnHideLayoutView)
        MESSAGE_HANDLER(UM_SHOW_MAIN, OnShowMain)
        MESSAGE_HANDLER(UM_WRITE_LOG, OnWriteLog)
        MESSAGE_HANDLER(UM_DDE_CONNECT_TOPIC, OnDdeConnectTopic)
        MESSAGE_HANDLER(UM_DDE_DISCONNECT_TOPIC, OnDdeDisconnectTopic)
        MESSAGE_HANDLER(UM_DDE_SEND_TOPIC, OnDdeSendTopic)
        MESSAGE_HANDLER(UM_CLOSE_DRAWING, OnCloseDrawing)
        MESSAGE_HANDLER(UM_RPMENU_CLEAR_ITEMS, OnRpmenuClearItems)
        MESSAGE_HANDLER(UM_RPMENU_USE_ITEMS, OnRpmenuUseItems)
        MESSAGE_HANDLER(UM_RPMENU_ADD_ITEM, OnRpmenuAddItem)
        MESSAGE_HANDLER(UM_TOGGLE_LOUPE, OnToggleLoupe)
        MESSAGE_HANDLER(UM_TOGGLE_LOUPE_2, OnToggleLoupe)
        MESSAGE_HANDLER(UM_TOGGLE_LOUPE_3, OnToggleLoupe)
        MESSAGE_HANDLER(UM_TAKE_IMPORT_MARK, OnTakeImportMark)
        MESSAGE_HANDLER(UM_GET_ELEMENT_EXTENT, OnGetElementExtent)
        MESSAGE_HANDLER(UM_RASTER_FUNC, OnRasterFunc)
        MESSAGE_HANDLER(UM_FAST_ACCESS_ON, OnFastAccessOn)
        MESSAGE_HANDLER(UM_FAST_ACCESS_OFF, OnFastAccessOff)
        MESSAGE_HANDLER(UM_RPMENU_RCLICK_ENTER, OnRpmenuRclickEnter)
        MESSAGE_HANDLER(UM_SET_ELEMENT_CHECK_MODE, OnSetElementCheckMode)
        MESSAGE_HANDLER(UM_GET_PAPER_RECT, OnGetPaperRect)
        MESSAGE_HANDLER(UM_GET_USER_DATA, OnGetUserData)
        MESSAGE_HANDLER(UM_SET_USER_DATA, OnSetUserData)
        MESSAGE_HANDLER(UM_TEMP_DB, OnTempDb)
        MESSAGE_HANDLER(UM_RPMENU_SET_FLAGS, OnRpmenuSetFlags)
        MESSAGE_HANDLER(UM_SET_OVERVIEW, OnSetOverview)
        MESSAGE_HANDLER(UM_GET_COLOR_TABLE, OnGetColorTable)
        MESSAGE_HANDLER(UM_GET_TEMP_DB, OnGetTempDb)
        MESSAGE_HANDLER(UM_GET_CUR_CMD_ID, OnGetCurCmdId)
        MESSAGE_HANDLER(UM_SET_CMD_FLAG, OnSetCmdFlag)
        MESSAGE_HANDLER(UM_DRAW_MARK_COLOR, OnDrawMarkColor)
        MESSAGE_HANDLER(UM_LOCK_LAYER_FIELD, OnLockLayerField)
        MESSAGE_HANDLER(UM_DRAW_DB_IN_VIEW, OnDrawDbInView)
        MESSAGE_HANDLER(UM_DRAW_DB_IN_VIEW_EX, OnDrawDbInViewEx)
        MESSAGE_HANDLER(UM_DRAWING_RECT_TO_CLIENT, OnDrawingRectToClient)
        MESSAGE_HANDLER(UM_SUSPEND_UNDO_PASS, OnSuspendUndoPass)
        MESSAGE_HANDLER(UM_PBOX_CALC_MODE, OnPboxCalcMode)
        MESSAGE_HANDLER(UM_END_ACK_FLAG, OnEndAckFlag)
        MESSAGE_HANDLER(UM_GET_LANGUAGE, OnGetLanguage)
        MESSAGE_HANDLER(UM_FORCE_SAVE, OnForceSave)
        MESSAGE_HANDLER(UM_DRAWING_FILE_NAME, OnDrawingFileName)
        MESSAGE_HANDLER(UM_READ_ELEMENT_IN_VIEW, OnReadElementInView)
        MESSAGE_HANDLER(UM_GET_DB_INFO_NUMBER, OnGetDbInfoNumber)
        MESSAGE_HANDLER(UM_VIEW_FUNC, OnViewFunc)
        MESSAGE_HANDLER(UM_FILE_FUNC, OnFileFunc)
        MESSAGE_HANDLER(UM_INPUT_SCALE_FUNC, OnInputScaleFunc)
        MESSAGE_HANDLER(UM_SET_APPEND_KEEP_FIELDS, OnSetAppendKeepFields)
        MESSAGE_HANDLER(UM_SET_GROUP_SEARCH, OnSetGroupSearch)
        MESSAGE_HANDLER(UM_RESET_OPEN_FLAG, OnResetOpenFlag)
        MESSAGE_HANDLER(UM_FONT_DIC_FUNC, OnFontDicFunc)
        CHAIN_MSG_MAP_MEMBER(m_wait)
        CHAIN_MSG_MAP_MEMBER(m_db)
        CHAIN_MSG_MAP_MEMBER(m_pbox)
        CHAIN_MSG_MAP_MEMBER(m_page)
        CHAIN_MSG_MAP_MEMBER(m_config)
    END_MSG_MAP()

    // Command state, prompt, dialogs, log, DDE.
    LRESULT OnEndCmd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClearEventMask(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAddEventMask(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetPrompt(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnExecCmd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDdeExecute(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDdeConnect(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDdeDisconnect(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDdeSend(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDdeClientInit(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDdeClientExit(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDdeConnectTopic(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDdeDisconnectTopic(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDdeSendTopic(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnConfirmYesNo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnConfirmYesNoEx(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMessageText(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRaiseDdeEvent(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnWriteLog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTakeImportMark(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRasterFunc(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFastAccessOn(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFastAccessOff(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetElementCheckMode(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetCurCmdId(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetCmdFlag(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLockLayerField(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSuspendUndoPass(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEndAckFlag(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetLanguage(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetAppendKeepFields(UINT, WPARAM, LPARAM, BOOL&);
    // Drawing views: the active drawing and view, client rectangles.
    LRESULT OnGetActiveDb(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnActiveView(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawingRectToClient(UINT, WPARAM, LPARAM, BOOL&);

    // Element services answered here: link tags, user data, group search,
    // the temporary database (db_services.cpp, temp_db.cpp); the active view
    // and its database and element count.
    LRESULT OnLinktagAdd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLinktagGet(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLinktagCount(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLinktagSet(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLinktagClear(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetUserData(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetUserData(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTempDb(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetTempDb(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetGroupSearch(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetElementCount(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnZoomToRect(UINT, WPARAM, LPARAM, BOOL&);

    // Services not built yet: answered 0 ("not done") until their issue fills them.
    LRESULT OnGetDrawAttr(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnSetDrawAttr(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDrawElement(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDrawElementColor(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnRedrawView(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnSelectElement(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDeselectElement(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDeselectAll(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnRefreshView(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDrawMark(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnUpdateElementCount(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDragAppend(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDragRedraw(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDragTransform(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnMaximizeView(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnMinimizeMain(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnGetDrawAttrOpt(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnFocusView(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnGetColor(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnOpenDrawing(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnToggleLayoutView(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnShowLayoutView(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnHideLayoutView(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnShowMain(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnCloseDrawing(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnRpmenuClearItems(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnRpmenuUseItems(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnRpmenuAddItem(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnToggleLoupe(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnGetElementExtent(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnRpmenuRclickEnter(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnGetPaperRect(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnRpmenuSetFlags(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnSetOverview(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnGetColorTable(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDrawMarkColor(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDrawDbInView(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDrawDbInViewEx(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnPboxCalcMode(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnForceSave(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDrawingFileName(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnReadElementInView(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnGetDbInfoNumber(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnViewFunc(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnFileFunc(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnInputScaleFunc(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnResetOpenFlag(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnFontDicFunc(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
};

// Answers the wait for the next input of a running command.
class CCadInterruptCmd : public CCadCmd {
public:
    BEGIN_MSG_MAP(CCadInterruptCmd)
        MESSAGE_HANDLER(UM_WAIT_CMD_EVENT, OnWaitCmdEvent)
    END_MSG_MAP()
    LRESULT OnWaitCmdEvent(UINT, WPARAM, LPARAM lParam, BOOL&);
};

// The whole chain, for a frame to hold and chain to.
class CCommandHost : public CMessageMap {
public:
    CCadSysCmd m_sysCmd;
    CCadInterruptCmd m_interruptCmd;

    BEGIN_MSG_MAP(CCommandHost)
        CHAIN_MSG_MAP_MEMBER(m_sysCmd)
        CHAIN_MSG_MAP_MEMBER(m_interruptCmd)
    END_MSG_MAP()

    // Sets the frame words of every host object.
    void SetFrame(HWND frame, HACCEL accel, void* mainAccelerator);
};
