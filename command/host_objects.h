// The host-interface objects: the chain of message maps through which a
// command module reaches the services of the host. The order of consultation
// is one list, CCommandHost's map below:
//
//   CCadSysCmd (own entries) -> CCadSysCmdWait -> CCadSysCmdDb -> CCadSysCmdPbox
//   -> CCadSysCmdPage -> CCadSysCmdConfig -> CCadInterruptCmd
//
// Each object's entries and handlers come from the one list of host messages
// (host_message_list.h), where every row names the object that answers it.
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
    void* m_mainAccelerator = nullptr;  // the frame's CMainAccelerator
};

// --- The list, expanded per object -----------------------------------------
// HOST_OBJECT_MESSAGES(self) writes the map entries of the rows `self`
// answers; HOST_OBJECT_HANDLERS(self) declares their handlers (OWN) or
// defines them inline (ZERO). A row reaches the object it names and no other.
#define HOST_OBJECT_MESSAGES(self) HOST_MESSAGES(HOST_MAP_ROW_, self)
#define HOST_OBJECT_HANDLERS(self) HOST_MESSAGES(HOST_HANDLER_ROW_, self)

#define HOST_MAP_ROW_(self, name, number, object, handler, kind) \
    HOST_IF_OBJECT_(self, object)(MESSAGE_HANDLER(name, handler))
#define HOST_HANDLER_ROW_(self, name, number, object, handler, kind) \
    HOST_IF_OBJECT_(self, object)(HOST_HANDLER_##kind##_(handler))
#define HOST_HANDLER_OWN_(handler) LRESULT handler(UINT, WPARAM, LPARAM, BOOL&);
#define HOST_HANDLER_ZERO_(handler) \
    LRESULT handler(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
#define HOST_HANDLER_SHARED_(handler)

// HOST_IF_OBJECT_(self, object)(tokens) keeps the tokens only when `object`
// is `self`: the pasted name exists for equal pairs alone, and only an
// existing name expands to the "~, 1" whose second item picks the branch.
#define HOST_SAME_CCadSysCmd_CCadSysCmd ~, 1
#define HOST_SAME_CCadSysCmdWait_CCadSysCmdWait ~, 1
#define HOST_SAME_CCadSysCmdDb_CCadSysCmdDb ~, 1
#define HOST_SAME_CCadSysCmdPbox_CCadSysCmdPbox ~, 1
#define HOST_SAME_CCadSysCmdPage_CCadSysCmdPage ~, 1
#define HOST_SAME_CCadSysCmdConfig_CCadSysCmdConfig ~, 1
#define HOST_SAME_CCadInterruptCmd_CCadInterruptCmd ~, 1
#define HOST_SECOND_(a, b, ...) b
#define HOST_SECOND(...) HOST_SECOND_(__VA_ARGS__)
#define HOST_CAT_(a, b) a##b
#define HOST_CAT(a, b) HOST_CAT_(a, b)
#define HOST_SAME_OBJECT_(a, b) HOST_SECOND(HOST_SAME_##a##_##b, 0, ~)
#define HOST_IF_OBJECT_(self, object) HOST_CAT(HOST_KEEP_, HOST_SAME_OBJECT_(self, object))
#define HOST_KEEP_1(...) __VA_ARGS__
#define HOST_KEEP_0(...)

class CCadSysCmdWait : public CCadCmd {
public:
    static constexpr HostObjectId kId = HOST_OBJ_WAIT;
    BEGIN_MSG_MAP(CCadSysCmdWait)
    HOST_OBJECT_MESSAGES(CCadSysCmdWait)
    END_MSG_MAP()
    HOST_OBJECT_HANDLERS(CCadSysCmdWait)
};

// Database services: db_services.cpp, sys_cmd_eps.cpp.
class CCadSysCmdDb : public CCadCmd {
public:
    static constexpr HostObjectId kId = HOST_OBJ_DB;
    BEGIN_MSG_MAP(CCadSysCmdDb)
    HOST_OBJECT_MESSAGES(CCadSysCmdDb)
    END_MSG_MAP()
    HOST_OBJECT_HANDLERS(CCadSysCmdDb)
};

class CCadSysCmdPbox : public CCadCmd {
public:
    static constexpr HostObjectId kId = HOST_OBJ_PBOX;
    BEGIN_MSG_MAP(CCadSysCmdPbox)
    HOST_OBJECT_MESSAGES(CCadSysCmdPbox)
    END_MSG_MAP()
    HOST_OBJECT_HANDLERS(CCadSysCmdPbox)
};

// UM_PAGE_FUNC dispatches on its sub-code (wParam) 0-28; a sub-code above
// 28 leaves the message unhandled and it falls through
// (page_services_cmd.cpp).
class CCadSysCmdPage : public CCadCmd {
public:
    static constexpr HostObjectId kId = HOST_OBJ_PAGE;
    BEGIN_MSG_MAP(CCadSysCmdPage)
    HOST_OBJECT_MESSAGES(CCadSysCmdPage)
    END_MSG_MAP()
    HOST_OBJECT_HANDLERS(CCadSysCmdPage)
};

// CCadSysCmdConfigIO, the settings object of the configuration services,
// belongs to the settings layer (one definition for the whole program).

// Settings services: sys_cmd_config.cpp.
class CCadSysCmdConfig : public CCadCmd {
public:
    static constexpr HostObjectId kId = HOST_OBJ_CONFIG;
    BEGIN_MSG_MAP(CCadSysCmdConfig)
    HOST_OBJECT_MESSAGES(CCadSysCmdConfig)
    END_MSG_MAP()
    HOST_OBJECT_HANDLERS(CCadSysCmdConfig)

private:
    CCadSysCmdConfigIO m_io;
};

// Command state, prompt, dialogs, log and DDE (sys_cmd_services.cpp); the
// active drawing and view (sys_cmd_views.cpp); link tags, user data, group
// search and element counts (db_services.cpp); the temporary database
// (temp_db.cpp).
class CCadSysCmd : public CCadCmd {
public:
    static constexpr HostObjectId kId = HOST_OBJ_SYSCMD;
    // Members are constructed Db, Pbox, Page, Config, Wait (declaration
    // order) and destroyed in reverse.
    CCadSysCmdDb m_db;
    CCadSysCmdPbox m_pbox;
    CCadSysCmdPage m_page;
    CCadSysCmdConfig m_config;
    CCadSysCmdWait m_wait;
    int m_endAckFlag = 1;  // the end-acknowledge (command-acceptance) flag

    BEGIN_MSG_MAP(CCadSysCmd)
    HOST_OBJECT_MESSAGES(CCadSysCmd)
    CHAIN_MSG_MAP_MEMBER(m_wait)
    CHAIN_MSG_MAP_MEMBER(m_db)
    CHAIN_MSG_MAP_MEMBER(m_pbox)
    CHAIN_MSG_MAP_MEMBER(m_page)
    CHAIN_MSG_MAP_MEMBER(m_config)
    END_MSG_MAP()
    HOST_OBJECT_HANDLERS(CCadSysCmd)
};

// Answers the wait for the next input of a running command
// (sys_cmd_services.cpp).
class CCadInterruptCmd : public CCadCmd {
public:
    static constexpr HostObjectId kId = HOST_OBJ_INTERRUPT;
    BEGIN_MSG_MAP(CCadInterruptCmd)
    HOST_OBJECT_MESSAGES(CCadInterruptCmd)
    END_MSG_MAP()
    HOST_OBJECT_HANDLERS(CCadInterruptCmd)
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
