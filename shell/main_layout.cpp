#include "shell/main_layout.h"

#include <cstdio>

#include "base/file_utils.h"
#include "base/running_settings.h"
#include "base/user_folder.h"
#include "docking/dock_wnd_state.h"
#include "docking/window_state.h"

namespace {

const char kFileName[] = "configMain.xml";
const char kRoot[] = "config";

std::string ValueName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "DfdockPos%d", i);
    return name;
}

bool ReadPlacement(zav::IStorge& node, int i, zav::DockWindowPlacement* out) {
    unsigned long size = sizeof *out;
    return node.GetBinary(ValueName(i).c_str(), out, &size) == 0 && size == sizeof *out;
}

}  // namespace

std::string GetConfigMainPath(int perUser) {
    if (!perUser) return GetExeDir() + "\\" + kFileName;
    char path[MAX_PATH] = "";
    EnsureUserSettingsFile(path, kFileName, -1);
    return path;
}

int StorePanePlacements(zav::IStorge& node, const MainPanes& panes, int mdiMaximized) {
    int written = 0;
    for (int i = 0; i < 4; ++i) {
        zav::CDockingWindowBaseImpl* pane = panes.pane[i];
        zav::DockWindowPlacement pl = {};
        if (!pane || !pane->m_hWnd) {
            // A pane this run does not have: hidden, so that the others still restore.
            if (node.SetBinary(ValueName(i).c_str(), &pl, sizeof pl) == 0) ++written;
            continue;
        }
        pane->GetDockingWindowPlacement(pl);
        pl.visible = pane->IsVisible() ? 1 : 0;
        if (!pl.docked || !pl.visible) pl.position = pane->LastDockedPosition();
        // A hidden pane comes back unpinned.
        if (!pl.visible) pl.position.side &= ~(uint32_t)zav::DOCK_FLAG_PINNED;
        if (node.SetBinary(ValueName(i).c_str(), &pl, sizeof pl) == 0) ++written;
    }
    node.SetBinary("MDIWinMaximized", &mdiMaximized, sizeof mdiMaximized);
    return written == 4 ? 1 : 0;
}

int RestorePanePlacements(zav::IStorge& node, const MainPanes& panes, int* mdiMaximized) {
    zav::DockWindowPlacement pl[4];
    bool pinned[4] = {};
    for (int i = 0; i < 4; ++i) {
        if (!ReadPlacement(node, i, &pl[i])) return 0;
        pinned[i] = (pl[i].position.side & zav::DOCK_FLAG_PINNED) != 0;
        pl[i].position.side &= ~(uint32_t)zav::DOCK_FLAG_PINNED;
        if ((pl[i].position.side & zav::DOCK_SIDE_MASK) != 0) pl[i].position.length += 5;
    }
    bool done[4] = {};
    auto apply = [&](int i) {
        if (panes.pane[i] && panes.pane[i]->m_hWnd) panes.pane[i]->SetDockingWindowPlacement(pl[i]);
        done[i] = true;
    };
    // Hidden panes first, then the top and bottom edges, the left edge, the rest.
    for (int i = 0; i < 4; ++i)
        if (!pl[i].visible) apply(i);
    for (int i = 0; i < 4; ++i) {
        const uint32_t side = pl[i].position.side & zav::DOCK_SIDE_MASK;
        if (!done[i] && (side == 0 || side == 2)) apply(i);
    }
    for (int i = 0; i < 4; ++i)
        if (!done[i] && (pl[i].position.side & zav::DOCK_SIDE_MASK) == 3) apply(i);
    for (int i = 0; i < 4; ++i)
        if (!done[i]) apply(i);
    apply(1);
    apply(2);
    for (int i : {2, 1, 0, 3})
        if (pinned[i] && pl[i].visible && panes.pane[i] && panes.pane[i]->m_hWnd) panes.pane[i]->PinUpAtCurrentSide();
    int maximized = 0;
    unsigned long size = sizeof maximized;
    if (node.GetBinary("MDIWinMaximized", &maximized, &size) != 0) maximized = 0;
    if (mdiMaximized) *mdiMaximized = maximized;
    return 0;
}

void StoredPaneThicknesses(int fallback, int out[4]) {
    for (int i = 0; i < 4; ++i)
        out[i] = fallback;
    zav::CStgXML root;
    if (root.LoadDocument(GetConfigMainPath(Running().bWindowSz).c_str(), kRoot) != 0) return;
    for (int i = 0; i < 4; ++i) {
        zav::DockWindowPlacement pl = {};
        if (ReadPlacement(root, i, &pl) && pl.position.thickness > 0) out[i] = pl.position.thickness;
    }
}

void BuildMainLayoutState(zav::CWindowStateMgr& state, HWND frame, HWND rebar, const MainPanes& panes) {
    // Without a stored layout the frame starts maximised.
    state.Initialize(frame, SW_SHOWMAXIMIZED);
    if (rebar) {
        zav::CRebarStateAdapter bands(rebar);
        state.Add(bands.Impl());
    }
    zav::CDockWndMgr dock;
    for (int i : {0, 2, 1, 3}) {
        if (!panes.pane[i]) continue;
        zav::CDockingWindowStateAdapter<zav::CDockingWindowBaseImpl> pane(*panes.pane[i]);
        dock.Add(pane.Impl());
    }
    state.Add(dock.Impl());
}

int SaveMainLayout(zav::CWindowStateMgr& state, const MainPanes& panes, int mdiMaximized, bool panesOnly) {
    const std::string path = GetConfigMainPath(1);
    const std::string temp = path + ".$$$";
    zav::CStgXML root;
    if (panesOnly) {
        if (root.LoadDocument(path.c_str(), kRoot) != 0) return 0;
        if (!StorePanePlacements(root, panes, mdiMaximized)) return 0;
    } else {
        if (root.CreateDocument(kRoot) != 0) return 0;
        if (!state.Store(root)) return 0;
        if (!StorePanePlacements(root, panes, mdiMaximized)) return 0;
    }
    if (root.SaveDocument(temp.c_str()) != 0) {
        ::DeleteFileA(temp.c_str());
        return 0;
    }
    if (!::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(temp.c_str());
        return 0;
    }
    return 1;
}

int RestoreMainLayout(const std::string& path, zav::CWindowStateMgr& state, const MainPanes& panes,
                      int* mdiMaximized, bool keepDamaged) {
    zav::CStgXML root;
    const long result = root.LoadDocument(path.c_str(), kRoot);
    if (result != 0) {
        // A per-user file that was read but is not a layout is kept for the
        // user; a file that could not be opened at all, or the installed one,
        // stays where it is.
        const bool damaged = result == E_FAIL || result == 2;
        if (keepDamaged && damaged && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            const std::string bak = PathWithoutExtension(path) + ".bak";
            ::MoveFileExA(path.c_str(), bak.c_str(), MOVEFILE_REPLACE_EXISTING);
        }
        return 0;
    }
    if (state.Restore(root)) RestorePanePlacements(root, panes, mdiMaximized);
    return 1;
}
