#include "panels/panel_host_messages.h"

#include "command/host_messages.h"
#include "panels/pbox.h"
#include "panels/rp_menu.h"

LRESULT PanelHostMessage(UINT msg, WPARAM w, LPARAM l) {
    auto* add = reinterpret_cast<PBoxAddRequest*>(l);
    auto* item = reinterpret_cast<PBoxItemRequest*>(l);
    switch (msg) {
    case UM_PBOX_OPEN_PAGE: return OpenPBoxPage(w, reinterpret_cast<const char*>(l));
    case UM_PBOX_CLOSE_PAGE: return ClosePBoxPage((int)l, 0);
    case UM_PBOX_SHOW: return ShowPBoxWindow((HWND)l);
    case UM_PBOX_HIDE: return HidePBoxWindow((HWND)l);
    case UM_PBOX_SHOW_PAGE: return ShowPBoxPage(w, add);
    case UM_PBOX_ADD_BUTTON: return AddPBoxButton(w, add);
    case UM_PBOX_ADD_RADIO: return AddPBoxRadio(w, add);
    case UM_PBOX_ADD_CHECK: return AddPBoxCheck(w, add);
    case UM_PBOX_ADD_LIST_SEL: return AddPBoxComboListSel(w, add);
    case UM_PBOX_ADD_LIST: return AddPBoxComboList(w, add);
    case UM_PBOX_ADD_EDIT: return AddPBoxEdit(w, add);
    case UM_PBOX_ADD_TEXT: return AddPBoxText(w, add);
    case UM_PBOX_ADD_COMBO: return AddPBoxCombo(w, add);
    case UM_PBOX_GET_ITEM_TEXT: return GetPBoxItemText(w, item);
    case UM_PBOX_SET_ITEM_TEXT: return SetPBoxItemText(w, item);
    case UM_PBOX_GET_COMBO_TEXT: return GetPBoxComboText(w, item);
    case UM_PBOX_SET_COMBO_TEXT: return SetPBoxComboText(w, item);
    case UM_PBOX_ITEM_VALUE: return ExchangePBoxValue(w, item);
    case UM_PBOX_STATE: return ExchangePBoxState(w, item);
    case UM_PBOX_COMBO_SEL: return ExchangePBoxComboSel(w, item);
    case UM_PBOX_ENABLE_ITEM: return EnablePBoxItem(w, item);
    case UM_PBOX_SET_ITEM_COLOR: return SetPBoxItemColors(w, item);
    case UM_PBOX_SET_LABEL: return SetPBoxItemLabel(w, item);
    case UM_PBOX_CLICK_ITEM: return ClickPBoxItem(w, item);
    case UM_PBOX_CALC_MODE: return ExchangePBoxCalcMode(w, item);
    case UM_PBOX_NOP:
    case UM_PBOX_NOP_2: return 1;
    case UM_RPMENU_CLEAR_ITEMS: return ClearRPMenuItems();
    case UM_RPMENU_USE_ITEMS: return EnableRPMenuItems(w, l);
    case UM_RPMENU_ADD_ITEM: return AddRPMenuItem(w, reinterpret_cast<const void*>(l));
    case UM_RPMENU_RCLICK_ENTER: return SetRPMenuRightClickOk((int)l);
    case UM_RPMENU_SET_FLAGS: return SetRPMenuHideFlags(w, (int)l);
    default: return 0;
    }
}
