// The save decision table (mode x read-only x name x kind x launch mode)
// with injected failures: after every row each file holds either its old
// bytes or the drawing of the last save reported done.
#include <cstring>

#include "base/message_table.h"
#include "shell/cad_system.h"
#include "shell/open_road.h"
#include "shell/save_road.h"
#include "view/drawing_state.h"
#include "view/file_lock.h"
#include "view/view_table.h"
#include "view_fixture.h"
#include "win/file_dialog.h"
#include "win/message_box.h"

#include <commdlg.h>

namespace {

using SaveRoadTest = ViewFixture;

enum Fault { kNone, kWriteRefused, kDiskFull, kCrashBeforeReplace };
enum Chosen { kCancel, kOwn, kOwnOtherCase, kOther, kOtherOtcf, kOtherJww };

int ElementsIn(const std::string& path) {
    DbHeader h;
    std::memset(&h, 0, sizeof h);
    DAriCreateDB(&h);
    uint32_t st = 0;
    const bool otcf = path.size() > 5 && path.compare(path.size() - 5, 5, ".otcf") == 0;
    const int ok = otcf ? DAriLoadFileOfCWU(path.c_str(), &h, &st) : DAriLoadFileOfCWX(path.c_str(), &h, &st);
    const int n = ok ? DAriGetElmNum(&h) : -1;
    DAriDeleteDB(&h);
    return n;
}

void InjectFault(Fault f) {
    ResetSaveRoadFiles();
    DrawingFileOps& ops = SaveRoadFiles();
    auto realWrite = ops.write;
    switch (f) {
    case kWriteRefused:
        ops.write = [](const char*, void*, uint32_t* st, int) {
            *st = 0x20;
            return 0;
        };
        break;
    case kDiskFull:
        ops.write = [](const char* path, void*, uint32_t* st, int) {
            WriteBytes(path, "TCF half written");  // the disk ran out midway
            *st = 0x10;
            return 0;
        };
        break;
    case kCrashBeforeReplace:
        // The drawing is complete in the temporary file; the move over
        // the target never happens.
        ops.replace = [](const char*, const char*) {
            ::SetLastError(ERROR_GEN_FAILURE);
            return FALSE;
        };
        break;
    default: break;
    }
}

TEST_F(SaveRoadTest, DecisionTableWithInjectedFailures) {
    struct Row {
        const char* name;
        int mode;
        bool untitled;
        bool readOnly;
        Chosen chosen;   // the save dialog's answer, when it is shown
        int launchMode;  // -1 none, 0 the companion's hand-over mode
        int rdonly;      // the RDONLY setting
        Fault fault;
        int question;  // answer to an OK/Cancel question
        int result;
        Chosen savedTo;  // kCancel: nothing written
    } rows[] = {
        {"overwrite asks, OK", 1, false, false, kCancel, -1, 0, kNone, IDOK, 1, kOwn},
        {"overwrite asks, Cancel", 1, false, false, kCancel, -1, 0, kNone, IDCANCEL, 0, kCancel},
        {"overwrite in hand-over mode asks nothing", 1, false, false, kCancel, 0, 0, kNone, IDCANCEL, 1, kOwn},
        {"mode 2 saves without a question", 2, false, false, kCancel, -1, 0, kNone, IDCANCEL, 1, kOwn},
        {"RDONLY never reports a save it did not make", 1, false, false, kCancel, -1, 1, kNone, IDOK, 0, kCancel},
        {"RDONLY save as", 0, false, false, kOther, -1, 1, kNone, IDOK, 0, kCancel},
        {"read-only window, overwrite refused", 1, false, true, kCancel, -1, 0, kNone, IDOK, 0, kCancel},
        {"save as another name", 0, false, false, kOther, -1, 0, kNone, IDOK, 1, kOther},
        {"save as .otcf", 0, false, false, kOtherOtcf, -1, 0, kNone, IDOK, 1, kOtherOtcf},
        {"save as cancelled keeps name and lock", 0, false, false, kCancel, -1, 0, kNone, IDOK, 0, kCancel},
        {"save as own name, overwrite OK", 0, false, false, kOwn, -1, 0, kNone, IDOK, 1, kOwn},
        {"save as own name, overwrite Cancel", 0, false, false, kOwn, -1, 0, kNone, IDCANCEL, 0, kCancel},
        {"read-only: own name in other case refused", 0, false, true, kOwnOtherCase, -1, 0, kNone, IDOK, 0, kCancel},
        {"read-only: own name refused", 0, false, true, kOwn, -1, 0, kNone, IDOK, 0, kCancel},
        {"read-only: another name saved", 0, false, true, kOther, -1, 0, kNone, IDOK, 1, kOther},
        {"refused kind keeps the old name", 0, false, false, kOtherJww, -1, 0, kNone, IDOK, 0, kCancel},
        {"untitled overwrite goes through the dialog", 1, true, false, kOther, -1, 0, kNone, IDOK, 1, kOther},
        {"write refused", 2, false, false, kCancel, -1, 0, kWriteRefused, IDOK, 0, kCancel},
        {"disk full", 2, false, false, kCancel, -1, 0, kDiskFull, IDOK, 0, kCancel},
        {"crash between writing and replacing", 2, false, false, kCancel, -1, 0, kCrashBeforeReplace, IDOK, 0, kCancel},
        {"save as, disk full", 0, false, false, kOther, -1, 0, kDiskFull, IDOK, 0, kCancel},
        {"save as, crash before replacing", 0, false, false, kOther, -1, 0, kCrashBeforeReplace, IDOK, 0, kCancel},
    };
    const int savedLaunch = LaunchMode;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TempDir dir("save");
        Running().SHARE = 1;
        Running().RDONLY = 0;
        Running().SAVENAME = 0;
        Running().WRITECHK = 1;
        std::strcpy(Running().backupDir, dir.Path().c_str());
        const std::string own = dir.File("own.tcf");
        const std::string ownOld = WriteDrawingFile(own, 2);
        std::string chosenPath[6] = {
            "", own, own, dir.File("other.tcf"), dir.File("other.otcf"), dir.File("other.jww")};
        for (char& ch : chosenPath[kOwnOtherCase])
            ch = (char)::toupper((unsigned char)ch);

        HWND view;
        if (r.untitled) {
            view = NewDrawing("無題1");
        } else {
            win::MessageBoxTestHook quiet;
            ASSERT_EQ(1, OpenDrawingFile(m_main.m_hWnd, own.c_str()));
            view = ViewTable[0];
        }
        ViewData* d = GetViewData(view);
        ASSERT_NE(nullptr, d);
        if (r.readOnly) {
            UnlockDrawingFile(view, d);
            d->readOnly = 1;
        }
        for (int i = 0; i < 5; ++i) {
            ElementRecord e;
            std::memset(&e, 0, sizeof e);
            e.kind = kElmCircle;
            CadSetF64(&e, kOffRadius, 3 + i);
            DAriAppendElement(&e, d->db);
        }
        SetDrawingModified(view);
        const int total = DAriGetElmNum(d->db);
        const std::string nameBefore = d->fileName;
        const int lockedBefore = d->fileLocked;

        LaunchMode = r.launchMode;
        Running().RDONLY = r.rdonly;
        InjectFault(r.fault);
        win::FileDialogTestHook dialog;
        if (r.chosen == kCancel)
            dialog.Cancel();
        else
            dialog.Choose(chosenPath[r.chosen]);
        win::MessageBoxTestHook boxes;
        for (int i = 0; i < 4; ++i)
            boxes.Answer(r.question);

        EXPECT_EQ(r.result, SaveDrawingAs(view, r.mode));
        ResetSaveRoadFiles();
        Running().RDONLY = 0;

        // Files: the old bytes, or the drawing of the save reported done.
        if (r.savedTo == kOwn || r.savedTo == kOwnOtherCase) {
            EXPECT_EQ(total, ElementsIn(own));
        } else {
            EXPECT_EQ(ownOld, ReadBytes(own)) << "the drawing's own file is untouched";
        }
        for (Chosen c : {kOther, kOtherOtcf, kOtherJww}) {
            if (r.savedTo == c)
                EXPECT_EQ(total, ElementsIn(chosenPath[c]));
            else
                EXPECT_EQ("<missing>", ReadBytes(chosenPath[c])) << chosenPath[c];
        }
        EXPECT_EQ("<missing>", ReadBytes(own + ".~tmp")) << "no temporary file is left";
        // The window: a new name and lock after a save, else as it was.
        if (r.result == 1) {
            const std::string target = chosenPath[r.savedTo];
            EXPECT_EQ(0, lstrcmpiA(target.c_str(), d->fileName));
            EXPECT_EQ(0, d->modified);
            EXPECT_EQ(0, d->readOnly);
            EXPECT_EQ(1, d->fileLocked);
            EXPECT_FALSE(OthersCanWrite(target));
            if (target != own) EXPECT_TRUE(OthersCanWrite(own)) << "the old file is let go";
        } else {
            EXPECT_EQ(nameBefore, d->fileName);
            EXPECT_EQ(1, d->modified) << "the edits are still marked unsaved";
            EXPECT_EQ(lockedBefore, d->fileLocked);
            if (lockedBefore) EXPECT_FALSE(OthersCanWrite(own)) << "the lock is held again";
        }
        d->modified = 0;
        ::SendMessageA(::GetParent(view), WM_CLOSE, 0, 0);
        Pump();
    }
    LaunchMode = savedLaunch;
}

TEST_F(SaveRoadTest, ReportsWhyASaveFailed) {
    TempDir dir("why");
    Running().SHARE = 1;
    Running().WRITECHK = 1;
    std::strcpy(Running().backupDir, dir.Path().c_str());
    const std::string own = dir.File("own.tcf");
    WriteDrawingFile(own, 1);
    {
        win::MessageBoxTestHook quiet;
        ASSERT_EQ(1, OpenDrawingFile(m_main.m_hWnd, own.c_str()));
    }
    HWND view = ViewTable[0];
    struct Case {
        Fault fault;
        const char* text;
    } cases[] = {{kDiskFull, GetMessageText(1005)}, {kWriteRefused, "ファイルの保存に失敗しました"}};
    for (const Case& k : cases) {
        InjectFault(k.fault);
        win::MessageBoxTestHook boxes;
        EXPECT_EQ(0, SaveDrawingAs(view, 2));
        ASSERT_EQ(1u, boxes.Calls().size());
        EXPECT_EQ(k.text, boxes.Calls()[0].text);
    }
    ResetSaveRoadFiles();
    // Another program holding the file: refused before anything is written.
    UnlockDrawingFile(view, GetViewData(view));
    HANDLE other = OpenLockHandle(own.c_str());
    ASSERT_NE(nullptr, other);
    const std::string before = ReadBytes(own);
    win::MessageBoxTestHook boxes;
    EXPECT_EQ(0, SaveDrawingAs(view, 2));
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ(GetMessageText(7217), boxes.Calls()[0].text);
    EXPECT_EQ(before, ReadBytes(own));
    ::CloseHandle(other);
}

TEST_F(SaveRoadTest, RemovableDiskFullKeepsTheOldFileAndItsCopy) {
    TempDir dir("removable");
    Running().SHARE = 0;
    std::strcpy(Running().backupDir, dir.Path().c_str());
    const std::string own = dir.File("own.tcf");
    const std::string old = WriteDrawingFile(own, 2);
    {
        win::MessageBoxTestHook quiet;
        ASSERT_EQ(1, OpenDrawingFile(m_main.m_hWnd, own.c_str()));
    }
    HWND view = ViewTable[0];
    ResetSaveRoadFiles();
    DrawingFileOps& ops = SaveRoadFiles();
    ops.driveType = [](const char*) { return (UINT)DRIVE_REMOVABLE; };
    auto realCopy = ops.copy;
    ops.copy = [realCopy](const char* from, const char* to) {
        if (std::strstr(to, ".~tmp")) {  // onto the full disk
            ::SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        return realCopy(from, to);
    };
    win::MessageBoxTestHook boxes;
    EXPECT_EQ(0, SaveDrawingAs(view, 2));
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ(GetMessageText(1005), boxes.Calls()[0].text);
    EXPECT_EQ(old, ReadBytes(own));
    EXPECT_EQ(old, ReadBytes(dir.File("temp9998.tcf"))) << "the copy of the old file stays";
    EXPECT_EQ("<missing>", ReadBytes(dir.File("temp9999.tcf")));
    // The same save with room on the disk.
    ops.copy = realCopy;
    EXPECT_EQ(1, SaveDrawingAs(view, 2));
    EXPECT_EQ(2, ElementsIn(own));
    ResetSaveRoadFiles();
}

TEST_F(SaveRoadTest, SaveAsProposesTheDrawingsNameAndTheChosenTypesExtension) {
    TempDir dir("proposal");
    Running().SHARE = 1;
    Running().WRITECHK = 1;
    std::strcpy(Running().backupDir, dir.Path().c_str());
    static const char kFilters[] = "図面 (*.tcf)\0*.tcf\0旧形式 (*.otcf)\0*.otcf\0";
    std::memcpy(Running().saveFilters, kFilters, sizeof kFilters);
    const std::string own = dir.File("計画 平面.tcf");
    WriteDrawingFile(own, 2);
    {
        win::MessageBoxTestHook quiet;
        ASSERT_EQ(1, OpenDrawingFile(m_main.m_hWnd, own.c_str()));
    }
    HWND view = ViewTable[0];
    struct {
        const char* name;
        const char* typed;     // what the user leaves in the name box
        DWORD filter;          // the file type chosen
        const char* savedAs;   // the file written
        const char* proposed;  // what the dialog proposed
    } rows[] = {
        {"name without extension, first type", "copy1", 1, "copy1.tcf", "計画 平面"},
        {"the proposal follows the last save", "copy2", 2, "copy2.otcf", "copy1"},
        {"a typed extension stays", "copy3.tcf", 2, "copy3.tcf", "copy2"},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        win::FileDialogTestHook dialog;
        dialog.Choose(dir.File(r.typed), r.filter);
        win::MessageBoxTestHook boxes;
        EXPECT_EQ(1, SaveDrawingAs(view, 0));
        ASSERT_EQ(1u, dialog.Calls().size());
        EXPECT_EQ(r.proposed, dialog.Calls()[0].initialFile);
        EXPECT_TRUE(dialog.Calls()[0].flags & OFN_ENABLEHOOK) << "the dialog has its hook";
        EXPECT_EQ(2, ElementsIn(dir.File(r.savedAs)));
        EXPECT_EQ(0, lstrcmpiA(dir.File(r.savedAs).c_str(), GetViewData(view)->fileName));
    }
}

TEST(SaveDialogHookTest, ChangingTheFileTypeChangesTheExtension) {
    struct {
        const char* name;
        const char* box;
        DWORD filter;
        const char* after;
    } rows[] = {
        {"no extension yet", "plan", 2, "plan.otcf"},
        {"another extension", "plan.tcf", 2, "plan.otcf"},
        {"already that one, other case", "plan.OTCF", 2, "plan.OTCF"},
        {"back to the first type", "plan.otcf", 1, "plan.tcf"},
        {"a dot in a folder name only", "old.dir\\plan", 1, "old.dir\\plan.tcf"},
        {"an empty box stays empty", "", 1, ""},
        {"a type without an extension", "plan.tcf", 3, "plan.tcf"},
    };
    static const char kFilters[] = "図面 (*.tcf)\0*.tcf\0旧形式 (*.otcf;*.old)\0*.otcf;*.old\0全て\0*.*\0";
    // The explorer dialog's file-name box is its control 1152; the hook is
    // a child of the dialog.
    HWND dialog = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND box = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 200, 20, dialog, (HMENU)1152, nullptr, nullptr);
    HWND hook = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, dialog, nullptr, nullptr, nullptr);
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        ::SetWindowTextA(box, r.box);
        OPENFILENAMEA ofn = {};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = kFilters;
        ofn.nFilterIndex = r.filter;
        OFNOTIFYA note = {};
        note.hdr.hwndFrom = dialog;
        note.hdr.code = CDN_TYPECHANGE;
        note.lpOFN = &ofn;
        SaveDialogHook(hook, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
        char text[300] = "";
        ::GetWindowTextA(box, text, sizeof text);
        EXPECT_STREQ(r.after, text);
    }
    ::DestroyWindow(dialog);
}

TEST_F(SaveRoadTest, ASaveWritesTheDrawingsOwnCurrentLayer) {
    TempDir dir("layer");
    Running().SHARE = 0;
    std::strcpy(Running().backupDir, dir.Path().c_str());
    HWND other = NewDrawing("他の図面");
    HWND active = NewDrawing("作業中");
    ActivateViewFrame(active);
    ASSERT_EQ(active, GetActiveView());
    DAriGetDbInfoPtr(0, GetViewData(other)->db)->layers.inputLayer = 3;
    DAriGetDbInfoPtr(0, GetViewData(active)->db)->layers.inputLayer = 7;
    char name[260];
    std::strcpy(name, dir.File("other.tcf").c_str());
    ASSERT_EQ(1, SaveDrawingFile(other, name)) << "a window that is not active";
    DbHeader h;
    std::memset(&h, 0, sizeof h);
    DAriCreateDB(&h);
    uint32_t st = 0;
    ASSERT_EQ(1, DAriLoadFileOfCWX(name, &h, &st));
    EXPECT_EQ(3, DAriGetDbInfoPtr(0, &h)->layers.inputLayer) << "not the active drawing's";
    DAriDeleteDB(&h);
    EXPECT_EQ(3, DAriGetDbInfoPtr(0, GetViewData(other)->db)->layers.inputLayer);
}

}  // namespace
