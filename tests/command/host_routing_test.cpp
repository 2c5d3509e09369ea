// Every host message number reaches the one object the index names, and
// nothing else; unlisted numbers fall through to the frame.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "cmd_fixture.h"
#include "command/host_messages.h"
#include "command/wait_loop.h"
#include "command/host_hooks.h"
#include "command/cmd_switches.h"
#include "command/executor.h"

namespace {

using HostRouting = CommandFixture;

CMessageMap* ObjectOf(CCommandHost& host, HostObjectId id) {
    switch (id) {
    case HOST_OBJ_SYSCMD: return nullptr;  // its own entries: see below
    case HOST_OBJ_WAIT: return &host.m_sysCmd.m_wait;
    case HOST_OBJ_DB: return &host.m_sysCmd.m_db;
    case HOST_OBJ_PBOX: return &host.m_sysCmd.m_pbox;
    case HOST_OBJ_PAGE: return &host.m_sysCmd.m_page;
    case HOST_OBJ_CONFIG: return &host.m_sysCmd.m_config;
    case HOST_OBJ_INTERRUPT: return &host.m_interruptCmd;
    }
    return nullptr;
}

TEST_F(HostRouting, NumbersAreUniqueAndApartFromTheFramesOwn) {
    std::set<UINT> seen;
    for (size_t i = 0; i < kHostMessageCount; ++i) {
        const HostMessageEntry& e = kHostMessages[i];
        EXPECT_TRUE(seen.insert(e.msg).second) << e.name << " (" << e.msg << ") listed twice";
        if (i > 0) {
            EXPECT_LT(kHostMessages[i - 1].msg, e.msg) << e.name << ": index in number order";
        }
    }
    // The frame answers these itself: a host object must never take them.
    const UINT frameOwn[] = {UM_CMD_BUSY, UM_CURSOR_SETTINGS, UM_GET_CMDPANEL, UM_GET_ACCELERATOR,
                             UM_SET_MODELESS_DIALOG};
    for (UINT msg : frameOwn)
        EXPECT_EQ(seen.count(msg), 0u) << msg;
}

TEST_F(HostRouting, EveryNumberIsAnsweredByItsObjectAlone) {
    std::set<HostObjectId> answering;
    CCommandHost& host = frame->m_host;
    CMessageMap* members[] = {&host.m_sysCmd.m_wait, &host.m_sysCmd.m_db,     &host.m_sysCmd.m_pbox,
                              &host.m_sysCmd.m_page, &host.m_sysCmd.m_config, &host.m_interruptCmd};
    // A zeroed record stands in for every lParam: texts read empty, buffers
    // are null and skipped.
    static uint8_t record[0x400];
    for (size_t i = 0; i < kHostMessageCount; ++i) {
        const HostMessageEntry& e = kHostMessages[i];
        answering.insert(e.object);
        std::memset(record, 0, sizeof record);
        const LPARAM lp = reinterpret_cast<LPARAM>(record);
        // The waits answer at once when the end is already on its way.
        const bool wait = e.msg == UM_WAIT_CMD_EVENT || e.msg == UM_WAIT_INPUT;
        if (wait) PostMessageA(frame->m_hWnd, UM_END_CMD, 0, 0);
        CMessageMap* owner = ObjectOf(host, e.object);
        for (CMessageMap* member : members) {
            LRESULT r = 0;
            const BOOL took = member->ProcessWindowMessage(frame->m_hWnd, e.msg, 0, lp, r);
            EXPECT_EQ(took != FALSE, member == owner) << e.name << " (" << e.msg << ")";
        }
        // CCadSysCmd's map takes its own numbers and those of its members.
        LRESULT r = 0;
        if (e.msg == UM_WAIT_INPUT) PostMessageA(frame->m_hWnd, UM_END_CMD, 0, 0);
        const BOOL sysTook = host.m_sysCmd.ProcessWindowMessage(frame->m_hWnd, e.msg, 0, lp, r);
        EXPECT_EQ(sysTook != FALSE, e.object != HOST_OBJ_INTERRUPT) << e.name;
        // Through the real frame nothing reaches the frame's fallback.
        frame->notes.clear();
        if (e.msg == UM_WAIT_INPUT) PostMessageA(frame->m_hWnd, UM_END_CMD, 0, 0);
        if (e.msg != UM_WAIT_CMD_EVENT) SendMessageA(frame->m_hWnd, e.msg, 0, lp);
        for (const auto& note : frame->notes)
            EXPECT_EQ(note.find("default"), std::string::npos) << e.name;
        CmdInput() = InputRecord();
        Drain();
    }
    // Every object of the chain answers something: none is dead weight.
    for (HostObjectId id : {HOST_OBJ_SYSCMD, HOST_OBJ_WAIT, HOST_OBJ_DB, HOST_OBJ_PBOX, HOST_OBJ_PAGE, HOST_OBJ_CONFIG,
                            HOST_OBJ_INTERRUPT})
        EXPECT_EQ(answering.count(id), 1u) << "object " << id;
}

// A value set through one host message comes back through another, both
// sent to the real frame and routed by the generated maps.
TEST_F(HostRouting, SetThenGetRoundTrips) {
    HWND f = frame->m_hWnd;
    struct Case {
        const char* name;
        std::function<void(int)> set;
        std::function<int()> get;
    } cases[] = {
        {"end-acknowledge flag", [&](int v) { SendMessageA(f, UM_END_ACK_FLAG, 0, v); },
         [&] { return (int)SendMessageA(f, UM_END_ACK_FLAG, 1, 0); }},
        {"locked-layer search mode", [&](int v) { SendMessageA(f, UM_SET_SEARCH_OPTION, 100, v); },
         [&] {
             SearchOptionRecord rec = {};
             rec.words[0] = -1;
             SendMessageA(f, UM_GET_SEARCH_OPTION, 100, (LPARAM)&rec);
             return (int)rec.words[0];
         }},
        {"command flag", [&](int v) { SendMessageA(f, UM_SET_CMD_FLAG, 0, v); }, [&] { return Switches().cmdFlag; }},
        {"undo pass suspended", [&](int v) { SendMessageA(f, UM_SUSPEND_UNDO_PASS, 0, v); },
         [&] { return Switches().undoPassSuppressed; }},
    };
    for (const auto& c : cases) {
        const int before = c.get();
        for (int v : {1, 0}) {
            c.set(v);
            EXPECT_EQ(c.get(), v) << c.name;
        }
        c.set(before);
    }
}

TEST_F(HostRouting, NumbersWithoutEntryAndPageSubCodes) {
    struct Case {
        const char* name;
        UINT msg;
        WPARAM wParam;
        LRESULT result;
        bool fallsThrough;
    } cases[] = {
        {"2045 unlisted", 2045, 0, 0xDEF, true},
        {"2048 unlisted", 2048, 0, 0xDEF, true},
        {"2328 unlisted", 2328, 0, 0xDEF, true},
        {"2333 unlisted", 2333, 0, 0xDEF, true},
        {"page sub-code 28", UM_PAGE_FUNC, 28, 0, false},
        {"page sub-code 29", UM_PAGE_FUNC, 29, 0xDEF, true},
        {"handler answering 0 ends routing", UM_LOCK_LAYER_FIELD, 0, 0, false},
        {"no drawing open: answered 0", UM_APPEND_ELEMENT, 0, 0, false},
    };
    for (const auto& c : cases) {
        frame->notes.clear();
        EXPECT_EQ(SendMessageA(frame->m_hWnd, c.msg, c.wParam, 0), c.result) << c.name;
        EXPECT_EQ(!frame->notes.empty(), c.fallsThrough) << c.name;
    }
}

TEST_F(HostRouting, CommandStateServices) {
    HWND f = frame->m_hWnd;
    // End with the acknowledgement on: event raised, status bar reset.
    statusBar->name = "x";
    EXPECT_EQ(SendMessageA(f, UM_END_CMD, 0, 0), 1);
    EXPECT_EQ(CmdInput().event, CMD_EV_END);
    EXPECT_EQ(statusBar->name, " ");
    // With it off: event raised, status bar left alone, result 0.
    CmdInput().event = 0;
    statusBar->name = "keep";
    EXPECT_EQ(SendMessageA(f, UM_END_ACK_FLAG, 0, 0), 1);
    EXPECT_EQ(SendMessageA(f, UM_END_ACK_FLAG, 1, 0), 0);
    EXPECT_EQ(SendMessageA(f, UM_END_CMD, 0, 0), 0);
    EXPECT_EQ(CmdInput().event, CMD_EV_END);
    EXPECT_EQ(statusBar->name, "keep");
    SendMessageA(f, UM_END_ACK_FLAG, 0, 1);

    int checkMode = -1;
    HostHooks().setElementCheckMode = [&](LPARAM m) {
        checkMode = (int)m;
        return 5;
    };
    EXPECT_EQ(SendMessageA(f, UM_SET_ELEMENT_CHECK_MODE, 0x10064, 3), 5);
    EXPECT_EQ(checkMode, 3);
    EXPECT_EQ(SendMessageA(f, UM_SET_ELEMENT_CHECK_MODE, 99, 4), 0);
    EXPECT_EQ(SendMessageA(f, UM_SET_ELEMENT_CHECK_MODE, 0, 4), 0);
    EXPECT_EQ(checkMode, 3);

    EXPECT_EQ(SendMessageA(f, UM_SET_APPEND_KEEP_FIELDS, 1, 0), 0);
    EXPECT_EQ(SendMessageA(f, UM_SET_APPEND_KEEP_FIELDS, 2, 0), 0);
    EXPECT_EQ(Switches().appendKeepFields, 1) << "wParam 2 leaves the switch";
    EXPECT_EQ(SendMessageA(f, UM_SET_CMD_FLAG, 0, 9), 1);
    EXPECT_EQ(SendMessageA(f, UM_SET_CMD_FLAG, 0, 0), 0);

    const char* missing = reinterpret_cast<const char*>(SendMessageA(f, UM_GET_MESSAGE_TEXT, 0, 1));
    EXPECT_STREQ(missing, "?ERROR?");
    EXPECT_STREQ(reinterpret_cast<const char*>(SendMessageA(f, UM_GET_MESSAGE_TEXT, 0, 5000)),
                 "何も選択されていません。");

    EXPECT_EQ(SendMessageA(f, UM_WRITE_LOG, 1, (LPARAM) "ログ行"), 1);
    EXPECT_EQ(log.back(), "|ログ行");
    EXPECT_EQ(SendMessageA(f, UM_RAISE_DDE_EVENT, 0, 0), 1);
    EXPECT_EQ(CmdInput().event, CMD_EV_DDE);

    std::string longPrompt(2000, 'p');
    SendMessageA(f, UM_SET_PROMPT, 0, (LPARAM)longPrompt.c_str());
    EXPECT_EQ(statusBar->prompt.size(), 511u) << "module text bounded before it is passed on";
}

TEST_F(HostRouting, SettingsServices) {
    HWND f = frame->m_hWnd;
    std::map<std::string, std::string> cmdIni;
    HostHooks().readCmdIniString = [&](const char* s, const char* k, const char* d) {
        auto it = cmdIni.find(std::string(s) + "/" + k);
        return it == cmdIni.end() ? std::string(d) : it->second;
    };
    HostHooks().writeCmdIniString = [&](const char* s, const char* k, const char* v) {
        cmdIni[std::string(s) + "/" + k] = v;
        return 1;
    };
    HostHooks().readSettingText = [&](const char* s, const char* k, const char*) {
        return std::string(s) + "." + k + std::string(400, 'v');
    };
    HostHooks().readSettingSection = [&](const char*) {
        return std::string("alpha\0beta\0", 11) + std::string(300, 'x') + std::string("\0", 1);
    };

    // Pattern save: 0 while no module reported its save flag.
    EXPECT_EQ(SendMessageA(f, UM_GET_PTNSAVE, 30001, 0), 0);
    Executor().cmdSaveFlag = 1;
    EXPECT_EQ(SendMessageA(f, UM_GET_PTNSAVE, 30001, 0), 1) << "missing key reads 1";
    IniRequest w = {};
    w.word00 = (uint32_t) "30001";
    w.word08 = (uint32_t) "PTNSAVE";
    w.word0c = (uint32_t) "0";
    EXPECT_EQ(SendMessageA(f, UM_SET_CMD_INI, 0, (LPARAM)&w), 1);
    EXPECT_EQ(SendMessageA(f, UM_GET_PTNSAVE, 30001, 0), 0);
    Executor().cmdSaveFlag = 0;

    // Values longer than the module's 257-byte buffer are cut, not overrun.
    char out[257 + 16];
    std::memset(out, 'Z', sizeof out);
    IniRequest r = {};
    r.word08 = (uint32_t) "CONFIG";
    r.word0c = (uint32_t) "KEY";
    r.word28 = (uint32_t)out;
    EXPECT_EQ(SendMessageA(f, UM_GET_PROFILE_STRING, 0, (LPARAM)&r), 1);
    EXPECT_EQ(std::strlen(out), 256u);
    EXPECT_EQ(std::string(out, 10), "CONFIG.KEY");
    EXPECT_EQ(out[257], 'Z');

    std::memset(out, 'Z', sizeof out);
    IniRequest s = {};
    s.word08 = (uint32_t)out;
    s.word0c = (uint32_t) "SECTION";
    EXPECT_EQ(SendMessageA(f, UM_GET_PROFILE_SECTION, 0, (LPARAM)&s), 1);
    EXPECT_STREQ(out, "alpha");
    EXPECT_STREQ(out + 6, "beta");
    EXPECT_EQ(out[11], '\0') << "whole names only, ending in the double zero";
    EXPECT_EQ(out[257], 'Z');

    // Command INI read with its default when the key is missing.
    char value[257];
    IniRequest g = {};
    g.word00 = (uint32_t) "NOKEY";
    g.word04 = (uint32_t) "既定";
    g.word08 = (uint32_t) "SEC";
    g.word0c = (uint32_t)value;
    EXPECT_EQ(SendMessageA(f, UM_GET_CMD_INI, 0, (LPARAM)&g), 1);
    EXPECT_STREQ(value, "既定");

    int app = 0;
    HostHooks().appObject = [&] { return (void*)&app; };
    EXPECT_EQ(SendMessageA(f, UM_GET_APP_OBJECT, 0, 0), (LRESULT)&app);
}

}  // namespace
