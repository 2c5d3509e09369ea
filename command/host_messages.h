// Host messages: the window messages through which command modules (and the
// host's own windows) reach the services of the host. The numbers are a wire
// interface shared with separately built modules: never renumber.
//
// Also holds the request record that travels in lParam (CmdRequest), the
// process-wide input record (InputRecord) and the event / wanted-mask codes
// of the command wait loop.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <cstring>

// --- Messages the main frame answers itself --------------------------------
enum : UINT {
    UM_CMD_BUSY            = WM_APP + 1001,  // 33769 (id, 1 start / 0 end)
    UM_CURSOR_SETTINGS     = WM_APP + 1003,  // 33771
    UM_GET_CMDPANEL        = WM_APP + 1004,  // 33772
    UM_GET_ACCELERATOR     = WM_APP + 1101,  // 33869
    UM_SET_MODELESS_DIALOG = WM_APP + 1102,  // 33870
};

// WM_NOTIFY codes the frame sends itself around commands and toolbar edits.
enum : UINT {
    CMD_NOTIFY_START = 1000,  // idFrom = command id: show its buttons pressed
    CMD_NOTIFY_END   = 1001,  // idFrom = command id: release them
    TOOLBARS_CHANGED = 1002,  // rebuild the toolbars
};

// --- Messages of the host-interface objects ---------------------------------
// The comment names the object whose map answers the number.
enum : UINT {
    UM_END_CMD                   = WM_USER + 1020, //  2044 CCadSysCmd
    UM_CLEAR_EVENT_MASK          = WM_USER + 1022, //  2046 CCadSysCmd
    UM_ADD_EVENT_MASK            = WM_USER + 1023, //  2047 CCadSysCmd
    UM_GET_DRAW_ATTR             = WM_USER + 1025, //  2049 CCadSysCmd
    UM_SET_DRAW_ATTR             = WM_USER + 1026, //  2050 CCadSysCmd
    UM_WAIT_INPUT                = WM_USER + 1027, //  2051 CCadSysCmdWait
    UM_SET_PROMPT                = WM_USER + 1030, //  2054 CCadSysCmd
    UM_FIND_TAG_ELEMENT          = WM_USER + 1200, //  2224 CCadSysCmdDb
    UM_SET_FIND_TAG_KEY          = WM_USER + 1201, //  2225 CCadSysCmdDb
    UM_GET_ELEMENTS_IN_RECT      = WM_USER + 1202, //  2226 CCadSysCmdDb
    UM_SET_SEARCH_OPTION         = WM_USER + 1203, //  2227 CCadSysCmdDb
    UM_GET_SEARCH_OPTION         = WM_USER + 1204, //  2228 CCadSysCmdDb
    UM_LINKTAG_FIND              = WM_USER + 1205, //  2229 CCadSysCmdDb
    UM_APPEND_ELEMENT            = WM_USER + 1300, //  2324 CCadSysCmdDb
    UM_DELETE_ELEMENT            = WM_USER + 1301, //  2325 CCadSysCmdDb
    UM_DRAW_ELEMENT              = WM_USER + 1302, //  2326 CCadSysCmd
    UM_DELETE_ALL                = WM_USER + 1303, //  2327 CCadSysCmdDb
    UM_GET_TAG                   = WM_USER + 1305, //  2329 CCadSysCmdDb
    UM_SET_TAG                   = WM_USER + 1306, //  2330 CCadSysCmdDb
    UM_READ_ELEMENT              = WM_USER + 1307, //  2331 CCadSysCmdDb
    UM_APPEND_ELEMENT_EX         = WM_USER + 1308, //  2332 CCadSysCmdDb
    UM_CHANGE_ELEMENT            = WM_USER + 1310, //  2334 CCadSysCmdDb
    UM_MAKE_GROUP                = WM_USER + 1311, //  2335 CCadSysCmdDb
    UM_ADD_TO_GROUP              = WM_USER + 1312, //  2336 CCadSysCmdDb
    UM_EXPLODE_FIGURE            = WM_USER + 1315, //  2339 CCadSysCmdDb
    UM_GET_GROUP_HEADER          = WM_USER + 1316, //  2340 CCadSysCmdDb
    UM_DRAW_ELEMENT_COLOR        = WM_USER + 1317, //  2341 CCadSysCmd
    UM_APPEND_GROUP              = WM_USER + 1318, //  2342 CCadSysCmdDb
    UM_READ_FIRST_MEMBER         = WM_USER + 1319, //  2343 CCadSysCmdDb
    UM_REDRAW_VIEW               = WM_USER + 1350, //  2374 CCadSysCmd
    UM_SELECT_ELEMENT            = WM_USER + 1351, //  2375 CCadSysCmd
    UM_DESELECT_ELEMENT          = WM_USER + 1352, //  2376 CCadSysCmd
    UM_DESELECT_ALL              = WM_USER + 1353, //  2377 CCadSysCmd
    UM_REFRESH_VIEW              = WM_USER + 1354, //  2378 CCadSysCmd
    UM_DRAW_MARK                 = WM_USER + 1355, //  2379 CCadSysCmd
    UM_DRAW_MARK_2               = WM_USER + 1356, //  2380 CCadSysCmd
    UM_UPDATE_ELEMENT_COUNT      = WM_USER + 1357, //  2381 CCadSysCmd
    UM_ZOOM_TO_RECT              = WM_USER + 1358, //  2382 CCadSysCmd
    UM_DRAG_APPEND               = WM_USER + 1359, //  2383 CCadSysCmd
    UM_DRAG_REDRAW               = WM_USER + 1360, //  2384 CCadSysCmd
    UM_DRAG_TRANSFORM            = WM_USER + 1361, //  2385 CCadSysCmd
    UM_NEW_DRAWING_WINDOW        = WM_USER + 1400, //  2424 CCadSysCmdDb
    UM_OPEN_DRAWING_FILE         = WM_USER + 1401, //  2425 CCadSysCmdDb
    UM_MAXIMIZE_VIEW             = WM_USER + 1402, //  2426 CCadSysCmd
    UM_MINIMIZE_MAIN             = WM_USER + 1403, //  2427 CCadSysCmd
    UM_GET_ACTIVE_DB             = WM_USER + 1404, //  2428 CCadSysCmd
    UM_ACTIVE_VIEW               = WM_USER + 1405, //  2429 CCadSysCmd
    UM_DDE_EXECUTE               = WM_USER + 1450, //  2474 CCadSysCmd
    UM_EXEC_CMD                  = WM_USER + 1451, //  2475 CCadSysCmd
    UM_DDE_CONNECT               = WM_USER + 1452, //  2476 CCadSysCmd
    UM_DDE_DISCONNECT            = WM_USER + 1453, //  2477 CCadSysCmd
    UM_DDE_SEND                  = WM_USER + 1454, //  2478 CCadSysCmd
    UM_DDE_CLIENT_INIT           = WM_USER + 1455, //  2479 CCadSysCmd
    UM_DDE_CLIENT_EXIT           = WM_USER + 1456, //  2480 CCadSysCmd
    UM_CHECK_MARK                = WM_USER + 1468, //  2492 CCadSysCmdDb
    UM_MARK_COUNT                = WM_USER + 1469, //  2493 CCadSysCmdDb
    UM_CREATE_MARK               = WM_USER + 1470, //  2494 CCadSysCmdDb
    UM_DESTROY_MARK              = WM_USER + 1471, //  2495 CCadSysCmdDb
    UM_SET_MARK                  = WM_USER + 1472, //  2496 CCadSysCmdDb
    UM_DEL_MARK                  = WM_USER + 1473, //  2497 CCadSysCmdDb
    UM_NEXT_MARK                 = WM_USER + 1474, //  2498 CCadSysCmdDb
    UM_SET_TRANSFORM             = WM_USER + 1475, //  2499 CCadSysCmdDb
    UM_COPY_MARKED               = WM_USER + 1476, //  2500 CCadSysCmdDb
    UM_MOVE_MARKED               = WM_USER + 1477, //  2501 CCadSysCmdDb
    UM_DELETE_MARKED             = WM_USER + 1478, //  2502 CCadSysCmdDb
    UM_SELECT_MARKED             = WM_USER + 1479, //  2503 CCadSysCmdDb
    UM_PBOX_OPEN_PAGE            = WM_USER + 1480, //  2504 CCadSysCmdPbox
    UM_PBOX_CLOSE_PAGE           = WM_USER + 1481, //  2505 CCadSysCmdPbox
    UM_PBOX_SHOW                 = WM_USER + 1482, //  2506 CCadSysCmdPbox
    UM_PBOX_HIDE                 = WM_USER + 1483, //  2507 CCadSysCmdPbox
    UM_PBOX_SHOW_PAGE            = WM_USER + 1484, //  2508 CCadSysCmdPbox
    UM_PBOX_ADD_BUTTON           = WM_USER + 1485, //  2509 CCadSysCmdPbox
    UM_PBOX_ADD_RADIO            = WM_USER + 1486, //  2510 CCadSysCmdPbox
    UM_PBOX_ADD_CHECK            = WM_USER + 1487, //  2511 CCadSysCmdPbox
    UM_PBOX_ADD_LIST_SEL         = WM_USER + 1488, //  2512 CCadSysCmdPbox
    UM_PBOX_ADD_EDIT             = WM_USER + 1489, //  2513 CCadSysCmdPbox
    UM_MAKE_UNDO_PASS            = WM_USER + 1490, //  2514 CCadSysCmdDb
    UM_UNDO                      = WM_USER + 1491, //  2515 CCadSysCmdDb
    UM_REDO                      = WM_USER + 1492, //  2516 CCadSysCmdDb
    UM_HIGHLIGHT_COLOR           = WM_USER + 1495, //  2519 CCadSysCmdDb
    UM_COPY_MARKED_EX            = WM_USER + 1496, //  2520 CCadSysCmdDb
    UM_MOVE_MARKED_EX            = WM_USER + 1497, //  2521 CCadSysCmdDb
    UM_ENABLE_UNDO               = WM_USER + 1498, //  2522 CCadSysCmdDb
    UM_GET_DRAW_ATTR_OPT         = WM_USER + 1500, //  2524 CCadSysCmd
    UM_FOCUS_VIEW                = WM_USER + 1501, //  2525 CCadSysCmd
    UM_LOCK_INPUT_VIEW           = WM_USER + 1502, //  2526 CCadSysCmdDb
    UM_UNLOCK_INPUT_VIEW         = WM_USER + 1503, //  2527 CCadSysCmdDb
    UM_SET_DB_INFO               = WM_USER + 1510, //  2534 CCadSysCmdDb
    UM_GET_DB_INFO               = WM_USER + 1511, //  2535 CCadSysCmdDb
    UM_SET_LAYER_INFO            = WM_USER + 1512, //  2536 CCadSysCmdDb
    UM_GET_LAYER_INFO            = WM_USER + 1513, //  2537 CCadSysCmdDb
    UM_GET_VIEW_DB               = WM_USER + 1514, //  2538 CCadSysCmdDb
    UM_NEW_DRAWING_WINDOW_DB     = WM_USER + 1515, //  2539 CCadSysCmdDb
    UM_RESET_DB                  = WM_USER + 1516, //  2540 CCadSysCmdDb
    UM_DB_NOP                    = WM_USER + 1517, //  2541 CCadSysCmdDb
    UM_GET_ELEMENT_COUNT         = WM_USER + 1518, //  2542 CCadSysCmd
    UM_CONFIRM_YESNO             = WM_USER + 1520, //  2544 CCadSysCmd
    UM_CONFIRM_YESNO_EX          = WM_USER + 1521, //  2545 CCadSysCmd
    UM_GET_COLOR                 = WM_USER + 1522, //  2546 CCadSysCmd
    UM_GET_MESSAGE_TEXT          = WM_USER + 1523, //  2547 CCadSysCmd
    UM_PBOX_GET_ITEM_TEXT        = WM_USER + 1530, //  2554 CCadSysCmdPbox
    UM_PBOX_NOP                  = WM_USER + 1531, //  2555 CCadSysCmdPbox
    UM_PBOX_ITEM_VALUE           = WM_USER + 1532, //  2556 CCadSysCmdPbox
    UM_PBOX_STATE                = WM_USER + 1533, //  2557 CCadSysCmdPbox
    UM_PBOX_COMBO_SEL            = WM_USER + 1534, //  2558 CCadSysCmdPbox
    UM_PBOX_NOP_2                = WM_USER + 1535, //  2559 CCadSysCmdPbox
    UM_PBOX_ADD_TEXT             = WM_USER + 1536, //  2560 CCadSysCmdPbox
    UM_PBOX_SET_ITEM_TEXT        = WM_USER + 1537, //  2561 CCadSysCmdPbox
    UM_PBOX_ENABLE_ITEM          = WM_USER + 1538, //  2562 CCadSysCmdPbox
    UM_PBOX_SET_ITEM_COLOR       = WM_USER + 1539, //  2563 CCadSysCmdPbox
    UM_LINKTAG_ADD               = WM_USER + 1540, //  2564 CCadSysCmd
    UM_LINKTAG_GET               = WM_USER + 1541, //  2565 CCadSysCmd
    UM_LINKTAG_COUNT             = WM_USER + 1542, //  2566 CCadSysCmd
    UM_LINKTAG_SET               = WM_USER + 1543, //  2567 CCadSysCmd
    UM_LINKTAG_CLEAR             = WM_USER + 1544, //  2568 CCadSysCmd
    UM_GET_PROFILE_STRING        = WM_USER + 1545, //  2569 CCadSysCmdConfig
    UM_GET_CONFIG_FILE_NAME      = WM_USER + 1546, //  2570 CCadSysCmdConfig
    UM_OPEN_DRAWING              = WM_USER + 1547, //  2571 CCadSysCmd
    UM_GET_PROFILE_SECTION       = WM_USER + 1548, //  2572 CCadSysCmdConfig
    UM_RAISE_DDE_EVENT           = WM_USER + 1549, //  2573 CCadSysCmd
    UM_CLEAR_UNDO                = WM_USER + 1550, //  2574 CCadSysCmdDb
    UM_TOGGLE_LAYOUT_VIEW        = WM_USER + 1560, //  2584 CCadSysCmd
    UM_GET_TAG_STRING            = WM_USER + 1561, //  2585 CCadSysCmdDb
    UM_SET_TAG_STRING            = WM_USER + 1562, //  2586 CCadSysCmdDb
    UM_SHOW_LAYOUT_VIEW          = WM_USER + 1564, //  2588 CCadSysCmd
    UM_HIDE_LAYOUT_VIEW          = WM_USER + 1565, //  2589 CCadSysCmd
    UM_SHOW_MAIN                 = WM_USER + 1566, //  2590 CCadSysCmd
    UM_PBOX_CLICK_ITEM           = WM_USER + 1567, //  2591 CCadSysCmdPbox
    UM_WRITE_LOG                 = WM_USER + 1568, //  2592 CCadSysCmd
    UM_DDE_CONNECT_TOPIC         = WM_USER + 1569, //  2593 CCadSysCmd
    UM_DDE_DISCONNECT_TOPIC      = WM_USER + 1570, //  2594 CCadSysCmd
    UM_DDE_SEND_TOPIC            = WM_USER + 1571, //  2595 CCadSysCmd
    UM_CLOSE_DRAWING             = WM_USER + 1573, //  2597 CCadSysCmd
    UM_SET_PROFILE_STRING        = WM_USER + 1574, //  2598 CCadSysCmdConfig
    UM_RPMENU_CLEAR_ITEMS        = WM_USER + 1575, //  2599 CCadSysCmd
    UM_RPMENU_USE_ITEMS          = WM_USER + 1576, //  2600 CCadSysCmd
    UM_RPMENU_ADD_ITEM           = WM_USER + 1577, //  2601 CCadSysCmd
    UM_TOGGLE_LOUPE              = WM_USER + 1578, //  2602 CCadSysCmd
    UM_TOGGLE_LOUPE_2            = WM_USER + 1579, //  2603 CCadSysCmd
    UM_TOGGLE_LOUPE_3            = WM_USER + 1580, //  2604 CCadSysCmd
    UM_TAKE_IMPORT_MARK          = WM_USER + 1581, //  2605 CCadSysCmd
    UM_COPY_AS_GROUP             = WM_USER + 1582, //  2606 CCadSysCmdDb
    UM_EXPLODE_GROUP             = WM_USER + 1584, //  2608 CCadSysCmdDb
    UM_GET_ELEMENT_EXTENT        = WM_USER + 1585, //  2609 CCadSysCmd
    UM_RASTER_FUNC               = WM_USER + 1586, //  2610 CCadSysCmd
    UM_FAST_ACCESS_ON            = WM_USER + 1587, //  2611 CCadSysCmd
    UM_FAST_ACCESS_OFF           = WM_USER + 1588, //  2612 CCadSysCmd
    UM_RPMENU_RCLICK_ENTER       = WM_USER + 1589, //  2613 CCadSysCmd
    UM_SET_ELEMENT_CHECK_MODE    = WM_USER + 1590, //  2614 CCadSysCmd
    UM_GET_PAPER_RECT            = WM_USER + 1591, //  2615 CCadSysCmd
    UM_GET_USER_DATA             = WM_USER + 1592, //  2616 CCadSysCmd
    UM_SET_USER_DATA             = WM_USER + 1593, //  2617 CCadSysCmd
    UM_PBOX_SET_LABEL            = WM_USER + 1594, //  2618 CCadSysCmdPbox
    UM_SET_EPS                   = WM_USER + 1595, //  2619 CCadSysCmdDb
    UM_TEMP_DB                   = WM_USER + 1596, //  2620 CCadSysCmd
    UM_READ_NEXT_MEMBER          = WM_USER + 1597, //  2621 CCadSysCmdDb
    UM_GET_USED_LAYERS           = WM_USER + 1598, //  2622 CCadSysCmdDb
    UM_RPMENU_SET_FLAGS          = WM_USER + 1599, //  2623 CCadSysCmd
    UM_SET_OVERVIEW              = WM_USER + 1600, //  2624 CCadSysCmd
    UM_GET_COLOR_TABLE           = WM_USER + 1601, //  2625 CCadSysCmd
    UM_PBOX_GET_COMBO_TEXT       = WM_USER + 1602, //  2626 CCadSysCmdPbox
    UM_PBOX_SET_COMBO_TEXT       = WM_USER + 1603, //  2627 CCadSysCmdPbox
    UM_PBOX_ADD_COMBO            = WM_USER + 1604, //  2628 CCadSysCmdPbox
    UM_SET_MODIFIED              = WM_USER + 1605, //  2629 CCadSysCmdDb
    UM_GET_TEMP_DB               = WM_USER + 1606, //  2630 CCadSysCmd
    UM_SET_CMD_INI               = WM_USER + 1607, //  2631 CCadSysCmdConfig
    UM_GET_CMD_INI               = WM_USER + 1608, //  2632 CCadSysCmdConfig
    UM_GET_PTNSAVE               = WM_USER + 1609, //  2633 CCadSysCmdConfig
    UM_GET_CUR_CMD_ID            = WM_USER + 1610, //  2634 CCadSysCmd
    UM_SET_CMD_FLAG              = WM_USER + 1611, //  2635 CCadSysCmd
    UM_GET_LAYER_NAME            = WM_USER + 1612, //  2636 CCadSysCmdDb
    UM_SET_LAYER_NAME            = WM_USER + 1613, //  2637 CCadSysCmdDb
    UM_DRAW_MARK_COLOR           = WM_USER + 1614, //  2638 CCadSysCmd
    UM_LOCK_LAYER_FIELD          = WM_USER + 1615, //  2639 CCadSysCmd
    UM_DRAW_DB_IN_VIEW           = WM_USER + 1616, //  2640 CCadSysCmd
    UM_DRAW_DB_IN_VIEW_EX        = WM_USER + 1617, //  2641 CCadSysCmd
    UM_DRAWING_RECT_TO_CLIENT    = WM_USER + 1618, //  2642 CCadSysCmd
    UM_SUSPEND_UNDO_PASS         = WM_USER + 1621, //  2645 CCadSysCmd
    UM_PBOX_CALC_MODE            = WM_USER + 1622, //  2646 CCadSysCmd
    UM_END_ACK_FLAG              = WM_USER + 1623, //  2647 CCadSysCmd
    UM_EXT_NEXT_MARK             = WM_USER + 1624, //  2648 CCadSysCmdDb
    UM_GET_LANGUAGE              = WM_USER + 1625, //  2649 CCadSysCmd
    UM_FORCE_SAVE                = WM_USER + 1626, //  2650 CCadSysCmd
    UM_DRAWING_FILE_NAME         = WM_USER + 1627, //  2651 CCadSysCmd
    UM_READ_ELEMENT_IN_VIEW      = WM_USER + 1630, //  2654 CCadSysCmd
    UM_GET_DB_INFO_NUMBER        = WM_USER + 1631, //  2655 CCadSysCmd
    UM_PBOX_ADD_LIST             = WM_USER + 1632, //  2656 CCadSysCmdPbox
    UM_PAGE_FUNC                 = WM_USER + 1633, //  2657 CCadSysCmdPage
    UM_VIEW_FUNC                 = WM_USER + 1640, //  2664 CCadSysCmd
    UM_FILE_FUNC                 = WM_USER + 1641, //  2665 CCadSysCmd
    UM_INPUT_SCALE_FUNC          = WM_USER + 1643, //  2667 CCadSysCmd
    UM_SET_APPEND_KEEP_FIELDS    = WM_USER + 1644, //  2668 CCadSysCmd
    UM_SET_GROUP_SEARCH          = WM_USER + 1645, //  2669 CCadSysCmd
    UM_RESET_OPEN_FLAG           = WM_USER + 1646, //  2670 CCadSysCmd
    UM_FONT_DIC_FUNC             = WM_USER + 1647, //  2671 CCadSysCmd
    UM_WAIT_CMD_EVENT            = WM_APP + 1002, // 33770 CCadInterruptCmd
    UM_GET_APP_OBJECT            = WM_APP + 1007, // 33775 CCadSysCmdConfig
    UM_GET_PRIVATE_PROFILE       = WM_APP + 1008, // 33776 CCadSysCmdConfig
    UM_SET_PRIVATE_PROFILE       = WM_APP + 1009, // 33777 CCadSysCmdConfig
    UM_TRANSFORM_MARKED          = WM_APP + 1100, // 33868 CCadSysCmdDb
};

// Every (number, answering object) pair, in number order: the routing table
// that the host objects and their tests are checked against.
enum HostObjectId : int {
    HOST_OBJ_SYSCMD = 0, HOST_OBJ_WAIT, HOST_OBJ_DB, HOST_OBJ_PBOX, HOST_OBJ_PAGE,
    HOST_OBJ_CONFIG, HOST_OBJ_INTERRUPT
};
struct HostMessageEntry { UINT msg; const char* name; HostObjectId object; };
extern const HostMessageEntry kHostMessages[];
extern const size_t kHostMessageCount;

// Each listed number must be what its name says (spot checks of both ranges).
static_assert(UM_END_CMD == 2044 && UM_WAIT_INPUT == 2051 && UM_EXEC_CMD == 2475,
              "host message numbers are a fixed interface");
static_assert(UM_PAGE_FUNC == 2657 && UM_FONT_DIC_FUNC == 2671, "host message numbers");
static_assert(UM_WAIT_CMD_EVENT == 33770 && UM_TRANSFORM_MARKED == 33868 &&
              UM_CMD_BUSY == 33769 && UM_SET_MODELESS_DIALOG == 33870,
              "host message numbers");

// --- Input events and the wanted mask of a waiting command -----------------
enum : int {
    CMD_EV_END            = 1,
    CMD_EV_CANCEL         = 2,
    CMD_EV_VIEW_ACTIVATED = 0x10,
    CMD_EV_VIEW_CHANGED   = 0x20,
    CMD_EV_MOUSE_MOVE     = 0x40,
    CMD_EV_UNDO           = 0x80,
    CMD_EV_LBUTTON        = 0x100,
    CMD_EV_RBUTTON        = 0x400,
    CMD_EV_PANEL          = 0x2000,
    CMD_EV_DDE            = 0x4000,
    CMD_EV_ATTR_CHANGED   = 0x8000,
    CMD_EV_OVERVIEW       = 0x40000,
    CMD_EV_SAVE_STATE     = 0x200000,
    CMD_EV_ESCAPE         = 0x400000,
    CMD_EV_REPEAT_POINT   = 0x1000000,
};

enum : uint32_t {
    CMD_WANT_CANCEL        = 0x2,
    CMD_WANT_TRACK         = 0x10,
    CMD_WANT_UNDO          = 0x80,
    CMD_WANT_POINT         = 0x100,
    CMD_WANT_SNAP          = 0x200,
    CMD_WANT_RCLICK        = 0x400,
    CMD_WANT_PICK          = 0x1000,
    CMD_WANT_PANEL         = 0x2000,
    CMD_WANT_OVERVIEW      = 0x40000,
    CMD_WANT_RAW           = 0x100000,
    CMD_WANT_LOCKED_LAYERS = 0x80000000u,
};

// Results of the wait loop (UM_WAIT_CMD_EVENT); the unnamed ones equal the
// event that produced them.
enum : int {
    CMD_RES_ENDED    = 0,
    CMD_RES_QUIT     = 1,
    CMD_RES_CANCEL   = 2,
    CMD_RES_MOVED    = 16,
    CMD_RES_VIEW     = 32,
    CMD_RES_UNDO     = 128,
    CMD_RES_POINT    = 256,
    CMD_RES_SNAPPED  = 512,
    CMD_RES_RPOINT   = 1024,
    CMD_RES_PICKED   = 4096,
    CMD_RES_PANEL    = 8192,
    CMD_RES_OVERVIEW = 0x40000,
    CMD_RES_RAW      = 0x100000,
    CMD_RES_SAVE     = 0x200000,
    CMD_RES_ESCAPE   = 0x400000,
};

// The one process-wide input record: writers store an event code, the wait
// loop examines it after every dispatched message. UI thread only.
struct InputRecord {
    int      event;        // code of the last event, 0 when none pending
    uint32_t wantedMask;   // CMD_WANT_* bits of the waiting command
    int      panelKind;    // written by panel writers before CMD_EV_PANEL
    int      panelValue;
    int      panelExtra;
};

// --- The request record a command passes by address -------------------------
// A byte layout shared with modules built apart from the host: i686, packed.
// The same offset carries different things for different messages; fields are
// named for their main uses. Doubles may sit at offsets that are not 8-aligned:
// use the memcpy helpers below when taking their address.
#pragma pack(push, 1)
struct CmdRequest {
    int32_t  kind;              // 0x00 colour index / raster request kind
    int32_t  arg;               // 0x04 page number, drawing mode, sub-argument
    union {                     // 0x08
        double point[3];        //      input point (x, y, z) written by the waits
        struct {
            uint32_t text;      // 0x08 text or buffer pointer, first page argument
            uint32_t text2;     // 0x0c second text buffer
            int32_t  mode;      // 0x10 colour / mode / operation code / on-off flag
            uint32_t word14;    // 0x14
            uint32_t word18;    // 0x18
            uint32_t anglePtr;  // 0x1c pointer to double (angle)
        } w;
    };
    uint32_t picked;            // 0x20 picked element / overview layer / scale pointer
    HWND     view;              // 0x24 drawing view the request concerns
    union {                     // 0x28
        int32_t  panelKind;     //      panel event kind
        uint32_t element;       //      element, record or database pointer
    };
    union {                     // 0x2c
        int32_t  panelExtra;    //      panel event extra
        uint32_t element2;      //      second element, read direction or output record
    };
    union {                     // 0x30
        int32_t  panelValue;    //      panel event value, overview page
        uint32_t mark;          //      mark list (or a source database)
    };
    uint32_t record;            // 0x34 further element or record
    uint32_t word38;            // 0x38
    double   pt1[3];            // 0x3c first point
    double   pt2[3];            // 0x54 second point
    int32_t  word6c;            // 0x6c layer / flag / further argument
    uint32_t word70;            // 0x70 prompt or text pointer / further argument
    uint32_t word74;            // 0x74
    int32_t  itemX;             // 0x78 panel item placement
    int32_t  itemY;             // 0x7c
    int32_t  itemWidth;         // 0x80
    int32_t  itemHeight;        // 0x84
    uint8_t  reserved88[0x108 - 0x88];
    uint32_t dataLength;        // 0x108 raster data length
    uint32_t word10c;           // 0x10c
    uint32_t dataPtr;           // 0x110 raster data pointer
    uint8_t  reserved114[0x15c - 0x114];
    uint32_t firstPointPtr;     // 0x15c
    uint32_t secondPointPtr;    // 0x160
    HWND     rasterView;        // 0x164
};
#pragma pack(pop)

static_assert(sizeof(void*) == 4, "the host interface is 32-bit");
static_assert(offsetof(CmdRequest, arg) == 0x04, "CmdRequest layout");
static_assert(offsetof(CmdRequest, point) == 0x08, "CmdRequest layout");
static_assert(offsetof(CmdRequest, w.text) == 0x08, "CmdRequest layout");
static_assert(offsetof(CmdRequest, w.text2) == 0x0c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, w.mode) == 0x10, "CmdRequest layout");
static_assert(offsetof(CmdRequest, w.anglePtr) == 0x1c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, picked) == 0x20, "CmdRequest layout");
static_assert(offsetof(CmdRequest, view) == 0x24, "CmdRequest layout");
static_assert(offsetof(CmdRequest, panelKind) == 0x28, "CmdRequest layout");
static_assert(offsetof(CmdRequest, panelExtra) == 0x2c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, panelValue) == 0x30, "CmdRequest layout");
static_assert(offsetof(CmdRequest, element) == 0x28 && offsetof(CmdRequest, element2) == 0x2c &&
              offsetof(CmdRequest, mark) == 0x30, "CmdRequest layout");
static_assert(offsetof(CmdRequest, record) == 0x34, "CmdRequest layout");
static_assert(offsetof(CmdRequest, pt1) == 0x3c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, pt2) == 0x54, "CmdRequest layout");
static_assert(offsetof(CmdRequest, word6c) == 0x6c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, word70) == 0x70, "CmdRequest layout");
static_assert(offsetof(CmdRequest, word74) == 0x74, "CmdRequest layout");
static_assert(offsetof(CmdRequest, itemX) == 0x78, "CmdRequest layout");
static_assert(offsetof(CmdRequest, itemHeight) == 0x84, "CmdRequest layout");
static_assert(offsetof(CmdRequest, dataLength) == 0x108, "CmdRequest layout");
static_assert(offsetof(CmdRequest, dataPtr) == 0x110, "CmdRequest layout");
static_assert(offsetof(CmdRequest, firstPointPtr) == 0x15c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, secondPointPtr) == 0x160, "CmdRequest layout");
static_assert(offsetof(CmdRequest, rasterView) == 0x164, "CmdRequest layout");
static_assert(sizeof(CmdRequest) == 0x168, "CmdRequest layout");

// Unaligned-safe access to the three-double points of a request.
inline void GetRequestPoint(const void* field, double out[3]) { std::memcpy(out, field, 24); }
inline void SetRequestPoint(void* field, const double in[3]) { std::memcpy(field, in, 24); }

// The lParam record of the settings messages: a row of 32-bit words whose
// meaning depends on the message (text pointers, and a buffer size at 0x28).
#pragma pack(push, 1)
struct IniRequest {
    uint32_t word00;   // 0x00 key (command INI) / section (private profile)
    uint32_t word04;   // 0x04 default (command INI) / key (private profile)
    uint32_t word08;   // 0x08 section / output path / output buffer / default or value
    uint32_t word0c;   // 0x0c output buffer or value / key / section / output or file spec
    uint32_t word10;   // 0x10 file spec (private profile read)
    uint32_t reserved14[5];
    uint32_t word28;   // 0x28 output buffer or value / buffer size
};
#pragma pack(pop)
static_assert(offsetof(IniRequest, word10) == 0x10 && offsetof(IniRequest, word28) == 0x28,
              "IniRequest layout");

// Sizes of the buffers a module passes for a settings value and for a path.
const size_t kSettingValueBuffer = 257;
const size_t kPathBuffer = 260;
