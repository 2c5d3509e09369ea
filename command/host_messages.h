// Host messages: the window messages through which command modules (and the
// host's own windows) reach the services of the host. The numbers are a wire
// interface shared with separately built modules: never renumber.
//
// Also holds the process-wide input record (InputRecord), the event /
// wanted-mask codes of the command wait loop and the record of the settings
// messages (IniRequest). The request record most messages carry in lParam,
// CmdRequest, is in base/cmd_request.h, for every layer to read by name.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/cmd_request.h"
#include "command/host_message_list.h"

// --- Messages the main frame answers itself --------------------------------
enum : UINT {
    UM_CMD_BUSY = WM_APP + 1001,             // 33769 (id, 1 start / 0 end)
    UM_CURSOR_SETTINGS = WM_APP + 1003,      // 33771
    UM_GET_CMDPANEL = WM_APP + 1004,         // 33772
    UM_GET_ACCELERATOR = WM_APP + 1101,      // 33869
    UM_SET_MODELESS_DIALOG = WM_APP + 1102,  // 33870
};

// WM_NOTIFY codes the frame sends itself around commands and toolbar edits.
enum : UINT {
    CMD_NOTIFY_START = 1000,  // idFrom = command id: show its buttons pressed
    CMD_NOTIFY_END = 1001,    // idFrom = command id: release them
    TOOLBARS_CHANGED = 1002,  // rebuild the toolbars
};

// --- Messages of the host-interface objects ---------------------------------
// One row each in host_message_list.h, which also names the object whose map
// answers the number.
#define HOST_MESSAGE_ENUM_ROW_(ctx, name, number, object, handler, kind) name = (number),
enum : UINT { HOST_MESSAGES(HOST_MESSAGE_ENUM_ROW_, ~) };
#undef HOST_MESSAGE_ENUM_ROW_

// The objects that answer host messages (host_objects.h).
enum HostObjectId : int {
    HOST_OBJ_SYSCMD = 0,
    HOST_OBJ_WAIT,
    HOST_OBJ_DB,
    HOST_OBJ_PBOX,
    HOST_OBJ_PAGE,
    HOST_OBJ_CONFIG,
    HOST_OBJ_INTERRUPT
};
// The index of every host message in number order, with its answering
// object: for logs and for the tests that check the routing against it.
struct HostMessageEntry {
    UINT msg;
    const char* name;
    HostObjectId object;
};
extern const HostMessageEntry kHostMessages[];
extern const size_t kHostMessageCount;

// Each listed number must be what its name says (spot checks of both ranges).
static_assert(UM_END_CMD == 2044 && UM_WAIT_INPUT == 2051 && UM_EXEC_CMD == 2475,
              "host message numbers are a fixed interface");
static_assert(UM_PAGE_FUNC == 2657 && UM_FONT_DIC_FUNC == 2671, "host message numbers");
static_assert(UM_WAIT_CMD_EVENT == 33770 && UM_TRANSFORM_MARKED == 33868 && UM_CMD_BUSY == 33769 &&
                  UM_SET_MODELESS_DIALOG == 33870,
              "host message numbers");

// --- Input events and the wanted mask of a waiting command -----------------
enum : int {
    CMD_EV_END = 1,
    CMD_EV_CANCEL = 2,
    CMD_EV_VIEW_ACTIVATED = 0x10,
    CMD_EV_VIEW_CHANGED = 0x20,
    CMD_EV_MOUSE_MOVE = 0x40,
    CMD_EV_UNDO = 0x80,
    CMD_EV_LBUTTON = 0x100,
    CMD_EV_RBUTTON = 0x400,
    CMD_EV_PANEL = 0x2000,
    CMD_EV_DDE = 0x4000,
    CMD_EV_ATTR_CHANGED = 0x8000,
    CMD_EV_OVERVIEW = 0x40000,
    CMD_EV_SAVE_STATE = 0x200000,
    CMD_EV_ESCAPE = 0x400000,
    CMD_EV_REPEAT_POINT = 0x1000000,
};

enum : uint32_t {
    CMD_WANT_CANCEL = 0x2,
    CMD_WANT_TRACK = 0x10,
    CMD_WANT_UNDO = 0x80,
    CMD_WANT_POINT = 0x100,
    CMD_WANT_SNAP = 0x200,
    CMD_WANT_RCLICK = 0x400,
    CMD_WANT_PICK = 0x1000,
    CMD_WANT_PANEL = 0x2000,
    CMD_WANT_OVERVIEW = 0x40000,
    CMD_WANT_RAW = 0x100000,
    CMD_WANT_LOCKED_LAYERS = 0x80000000u,
};

// Results of the wait loop (UM_WAIT_CMD_EVENT); the unnamed ones equal the
// event that produced them.
enum : int {
    CMD_RES_ENDED = 0,
    CMD_RES_QUIT = 1,
    CMD_RES_CANCEL = 2,
    CMD_RES_MOVED = 16,
    CMD_RES_VIEW = 32,
    CMD_RES_UNDO = 128,
    CMD_RES_POINT = 256,
    CMD_RES_SNAPPED = 512,
    CMD_RES_RPOINT = 1024,
    CMD_RES_PICKED = 4096,
    CMD_RES_PANEL = 8192,
    CMD_RES_OVERVIEW = 0x40000,
    CMD_RES_RAW = 0x100000,
    CMD_RES_SAVE = 0x200000,
    CMD_RES_ESCAPE = 0x400000,
};

// The one process-wide input record: writers store an event code, the wait
// loop examines it after every dispatched message. UI thread only.
struct InputRecord {
    int event;            // code of the last event, 0 when none pending
    uint32_t wantedMask;  // CMD_WANT_* bits of the waiting command
    int panelKind;        // written by panel writers before CMD_EV_PANEL
    int panelValue;
    int panelExtra;
};

// The lParam record of the settings messages: a row of 32-bit words whose
// meaning depends on the message (text pointers, and a buffer size at 0x28).
#pragma pack(push, 1)
struct IniRequest {
    uint32_t word00;  // 0x00 key (command INI) / section (private profile)
    uint32_t word04;  // 0x04 default (command INI) / key (private profile)
    uint32_t word08;  // 0x08 section / output path / output buffer / default or value
    uint32_t word0c;  // 0x0c output buffer or value / key / section / output or file key
    uint32_t word10;  // 0x10 file key (private profile read)
    uint32_t reserved14[5];
    uint32_t word28;  // 0x28 output buffer or value / buffer size
};
#pragma pack(pop)
static_assert(offsetof(IniRequest, word10) == 0x10 && offsetof(IniRequest, word28) == 0x28, "IniRequest layout");

// Sizes of the buffers a module passes for a settings value and for a path.
const size_t kSettingValueBuffer = 257;
const size_t kPathBuffer = 260;
