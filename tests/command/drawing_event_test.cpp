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
        int closing;    // the application is closing
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
        if (r.ran) EXPECT_TRUE(LogHas(std::string("TESTCMD quick ") + r.ran)) << LogText();
        else EXPECT_FALSE(LogHas("TESTCMD quick")) << LogText();
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

TEST(LinkTexts, AreReadEntryByEntry) {
    struct {
        const char* name;
        const char* text;
        bool valid;
        int parsed;
        const char* firstKey;
        const char* firstValue;
    } rows[] = {
        {"width 16, one entry", "KOLTA21000PARTNO  A-100           ", true, 1, "PARTNO", "A-100"},
        {"width 10, two entries", "KOLTA12000K1      V1        K2      V2        ", true, 2, "K1", "V1"},
        {"no magic", "KOLTB21000PARTNO  A-100           ", false, 0, nullptr, nullptr},
        {"count beyond the text", "KOLTA29000K1      V1              ", true, 1, "K1", "V1"},
        {"link entry ends the walk",
         "KOLTA22000Z01LINK OPEN_FN:C:\\a b.tcf   K2      V2              ", true, 1, "Z01LINK",
         "OPEN_FN:C:\\a"},
        {"too short", "KOLTA", false, 0, nullptr, nullptr},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        LinkTagEntries link = ParseLinkText(r.text);
        EXPECT_EQ(r.valid, link.valid);
        EXPECT_EQ(r.parsed, link.parsed);
        if (r.firstKey && link.parsed) {
            EXPECT_EQ(r.firstKey, link.entries[0].key);
            EXPECT_EQ(r.firstValue, link.entries[0].value);
        }
    }
}

TEST(LinkTexts, SearchFindsTheElementsOfAKeyOrValue) {
    DbHeader db;
    std::memset(&db, 0, sizeof db);
    DAriCreateDB(&db);
    auto add = [&](const char* text) {
        ElementRecord line = cadtest::Line(0, 0, 10, 0);
        StoredElement* e = DAriAppendElement(&line, &db);
        if (text) {
            DAriSetTag(e, kLinkTag, 1);
            DAriSetTagString(e, text);
        }
        return e;
    };
    StoredElement* linked = add("KOLTA21000Z01LINK C&OP_FN:x.tcf     ");
    StoredElement* part = add("KOLTA21000PARTNO  A-100           ");
    StoredElement* none = add(nullptr);
    (void)none;
    struct {
        const char* name;
        const char* key;
        const char* value;
        std::vector<StoredElement*> found;
    } rows[] = {
        {"linked elements", "Z01LINK", nullptr, {linked}},
        {"by value", nullptr, "A-100", {part}},
        {"key and value", "PARTNO", "A-100", {part}},
        {"key and another value", "PARTNO", "B-200", {}},
        {"every element with a link text", nullptr, nullptr, {linked, part}},
        {"both empty: every one too", "", "", {linked, part}},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        CadMark* mark = FindLinkTagElements(&db, r.key, r.value);
        std::vector<StoredElement*> got;
        for (void* e = mark ? DAriGetNextMark(nullptr, mark) : nullptr; e; e = DAriGetNextMark(e, mark))
            got.push_back(static_cast<StoredElement*>(e));
        EXPECT_EQ(r.found, got);
        EXPECT_EQ(r.found.empty(), mark == nullptr) << "no empty mark is handed out";
        if (mark) DAriDestroyMark(mark);
    }
    DAriDeleteDB(&db);
}

}  // namespace
