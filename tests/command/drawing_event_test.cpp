// The drawing-event commands and the link texts of elements.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "cmd_fixture.h"
#include "command/drawing_events.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/link_tags.h"
#include "tests/cadlib/drawing_builder.h"

namespace {

using DrawingEvents = CommandFixture;

TEST_F(DrawingEvents, EachKindRunsItsCommand) {
    // The module's drawing-event commands, registered as a companion
    // program's module registers them.
    CCadAppCmd events;
    CmdDefText def;
    CmdDefGroupText group;
    group.name = "Events";
    group.dir = DistDir();
    group.items = {"Save;図面保存,6200,ZavTestCmd.dll /C:Quick,",
                   "SaveOnClose;終了時保存,6201,ZavTestCmd.dll /C:Quick,",
                   "AllClosed;全図面終了,6202,ZavTestCmd.dll /C:Quick,"};
    def.groups.push_back(group);
    events.Load(def);
    CCadAppCmd empty;
    struct {
        const char* name;
        CCadAppCmd* registry;
        int closing;  // the application is closing
        int kind;
        const char* ran;  // the command that ran, null: none
        int result;
    } rows[] = {
        {"save by the module", &events, 0, 0, "id=6200", 1},
        {"save while the application closes", &events, 1, 0, "id=6201", 1},
        {"last window closed", &events, 1, 3, "id=6202", 1},
        {"last window closed, no such command", &empty, 1, 3, nullptr, 1},
        {"unknown kind", &events, 0, 7, nullptr, 1},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        SetCmdRegistry(r.registry);
        ApplicationClosingFlag = r.closing;
        DrawingEventClosingFlag = 0;
        log.clear();
        EXPECT_EQ(r.result, ExecDrawingEventCmd(nullptr, r.kind));
        if (r.ran)
            EXPECT_TRUE(LogHas(std::string("TESTCMD quick ") + r.ran)) << LogText();
        else
            EXPECT_FALSE(LogHas("TESTCMD quick")) << LogText();
        EXPECT_EQ(r.closing, DrawingEventClosingFlag) << "set once an event ran while closing";
    }
    // Once set, the closing flag stays: a later save is the closing one too.
    SetCmdRegistry(&events);
    ApplicationClosingFlag = 1;
    DrawingEventClosingFlag = 0;
    ExecDrawingEventCmd(nullptr, 1);
    ApplicationClosingFlag = 0;
    log.clear();
    ExecDrawingEventCmd(nullptr, 0);
    EXPECT_TRUE(LogHas("TESTCMD quick id=6201")) << LogText();
    ApplicationClosingFlag = 0;
    DrawingEventClosingFlag = 0;
    SetCmdRegistry(registry.get());
}

}  // namespace
