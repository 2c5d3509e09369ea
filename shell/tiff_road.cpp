#include "shell/tiff_road.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/data_folders.h"
#include "base/message_table.h"
#include "cadlib/WmCadApiDb.h"
#include "command/cad_app_cmd.h"
#include "command/executor.h"
#include "command/status_codes.h"
#include "shell/cad_system.h"
#include "shell/main_frame.h"
#include "shell/open_road.h"
#include "view/db_info.h"
#include "view/drawing_state.h"
#include "view/file_lock.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

enum : int {
    kCmdLinkedDrawing = 5105,
    kCmdRaster = 7800,
    kCmdImage = 7805,
    kMsgLinkedDrawing = 7212,
    kMsgRasterUnavailable = 7218,
    kMsgFileRead = 7281,
    kMsgWarning = 7380,
};

// Everything after the last dot replaced; a name without a dot unchanged.
// A dot is never the trail byte of a double-byte character.
std::string WithExtension(const char* name, const char* ext) {
    std::string s = name ? name : "";
    const size_t dot = s.rfind('.');
    if (dot == std::string::npos) return s;
    return s.substr(0, dot + 1) + ext;
}

void ClearPromptAndMessage() {
    if (HWND bar = StatusBarWindow()) SetStatusMessage(bar, " ");
    if (HWND bar = StatusBarWindow()) SetStatusPrompt(bar, nullptr);
}

void ShowElementCount() {
    if (HWND bar = StatusBarWindow()) SetStatusElementCount(bar, GetViewElementCount(nullptr));
}

// The paper that holds a w x h image: the rows of A0 to A6, landscape
// (the table's first seven) or upright (the seven after them), walked down
// from A0 to the first that is smaller both ways; the row before it.
const PaperSizeRow& PaperForImage(double w, double h) {
    const int first = w > h ? 0 : 7;
    int chosen = first + 6;
    for (int i = first; i < first + 7; ++i) {
        const PaperSizeRow& row = PaperSizeTable[i];
        if (row.width < w && row.height < h) {
            chosen = i == first ? first : i - 1;
            break;
        }
    }
    return PaperSizeTable[chosen];
}

// The image element's position from its resolution fields, halved: the
// image is centred on its origin, and the paper's corner is the origin.
double HalfExtent(const ElementRecord& e, uint32_t off1, uint32_t off2, uint32_t off3) {
    const uint32_t n1 = CadGetU32(&e, off1), n2 = CadGetU32(&e, off2), n3 = CadGetU32(&e, off3);
    if (!n3) return 0;
    double v = double(uint32_t(uint64_t(n1) * n2 / n3));
    if (CadGetU16(&e, 161) == 2) v *= 25.4;
    return v / 2;
}

}  // namespace

std::string TiffDrawingName(const char* imageFileName) {
    const std::string base = WithExtension(imageFileName, "tcf");
    if (base.empty()) return base;
    if (!FileExists(base.c_str())) return base;
    const std::string stem = base.substr(0, base.size() - 4);
    for (int n = 2; n < 1000; ++n) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "(%d).tcf", n);
        std::string candidate = stem + suffix;
        if (!FileExists(candidate.c_str())) return candidate;
    }
    return std::string();
}

int ReadTiffLinkOption() {
    std::string path;
    if (GetDataFolderPath(7, path, "dwgin.ini", true) != 0) return 0;
    char value[11] = "";
    ::GetPrivateProfileStringA("TIFF", "LINKLOAD", "", value, sizeof value, path.c_str());
    return std::atoi(value) != 0 ? 1 : 0;
}

int RunImageModule(const char* fileName) { return RunModuleForFile(kCmdImage, fileName) ? 1 : 0; }

int LoadLinkedTiffImage(const char* drawingFileName, int force) {
    if (!ReadTiffLinkOption()) return 1;
    const std::string image = WithExtension(drawingFileName, "tif");
    if (!IsFileReadable(image.c_str())) return 1;
    HWND frame = MainFrameWindow();
    if (frame) ::UpdateWindow(frame);
    if (!force && ZavMessageBox(frame, "この図面にはイメージデータが存在します。\n同時に読み込みますか？", "ファイル読込",
                                MB_YESNO) != IDYES)
        return 1;
    if (!RunModuleForFile(kCmdRaster, image.c_str())) return 0;
    ShowElementCount();
    return 1;
}

int ImportTiffDrawing(HWND mainFrame, const char* imageFileName) {
    if (!imageFileName || !*imageFileName) return 0;
    const std::string name = TiffDrawingName(imageFileName);
    OpenRoadLinks& links = OpenRoad();
    HWND view = links.newWindow ? links.newWindow(mainFrame, name.empty() ? imageFileName : name.c_str()) : nullptr;
    ViewData* d = GetViewData(view);
    if (!d || !d->db) return 0;
    ::UpdateWindow(view);
    DbHeader* db = d->db;
    SetDrawingFileName(view, 0, name.c_str());
    d->untitledNumber = 0;
    ActivateViewFrame(view);
    ZoomViewToPaper();

    if (!CmdModuleExists(kCmdRaster) || !RunModuleForFile(kCmdRaster, imageFileName)) {
        ZavMessageBox(mainFrame, GetMessageText(kMsgRasterUnavailable), GetMessageText(kMsgWarning), MB_OK);
        return 1;
    }

    ElementRecord rec;
    StoredElement* first = DAriReadElement(nullptr, 0, &rec, db);
    if (!first || rec.kind != kElmRaster) {
        SetViewTitle(view, db, 0);
        return 1;
    }
    DbInfoHead info;
    std::memset(&info, 0, sizeof info);
    DAriGetDBInfo(info.bytes, db);
    const double w = CadGetF64(&rec, kOffP2X), h = CadGetF64(&rec, kOffP2Y);
    const bool landscape = w > h;
    const PaperSizeRow& paper = PaperForImage(w, h);

    const DbInfo* live = DAriGetDbInfoPtr(0, db);
    if (live && live->originAtCorner) {
        CadSetF64(&rec, kOffP1X, HalfExtent(rec, 149, kOffRasterPixW, 145));
        CadSetF64(&rec, kOffP1Y, HalfExtent(rec, 157, kOffRasterPixH, 153));
    } else {
        CadSetF64(&rec, kOffP1X, 0);
        CadSetF64(&rec, kOffP1Y, 0);
    }
    if (!landscape) {
        CadSetF64(&rec, kOffRasterAngle, 0);
        CadSetF64(&rec, 81, 0);
        CadSetF64(&rec, 89, 1);
    }
    DAriChangeElement(first, &rec, db);

    CadSetF64(info.bytes, kInfoDrawW, paper.width);
    CadSetF64(info.bytes, kInfoDrawH, paper.height);
    CadSetF64(info.bytes, kInfoPaperWmm, paper.width);
    CadSetF64(info.bytes, kInfoPaperHmm, paper.height);
    info.Info()->paperCode = paper.code;
    DAriSetDBInfo(info.bytes, db);

    SetViewTitle(view, db, 0);
    ZoomViewToPaper();
    ClearDrawingModified(view);
    ShowElementCount();
    return 1;
}

int OpenTiffImageRoad(HWND mainFrame, const char* fileName) {
    const std::string sibling = WithExtension(fileName, "dwg");
    if (ReadTiffLinkOption() && IsFileReadable(sibling.c_str())) {
        if (ZavMessageBox(mainFrame, GetMessageText(kMsgLinkedDrawing), GetMessageText(kMsgFileRead), MB_YESNO) !=
            IDYES)
            return 0;
        OpenRoadKeepWord = 0;
        OpenRoadResultWord = 1;
        if (!RunModuleForFile(kCmdLinkedDrawing, sibling.c_str())) return 0;
        ShowElementCount();
        LoadLinkedTiffImage(sibling.c_str(), 1);
        ClearPromptAndMessage();
        return 1;
    }
    OpenRoadKeepWord = 0;
    OpenRoadResultWord = 1;
    ImportTiffDrawing(mainFrame, fileName);
    ClearPromptAndMessage();
    return 1;
}
