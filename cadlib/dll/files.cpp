// The file calls of the DLL: the core reads and writes the drawing; this
// layer turns the header's thumbnail bitmap into the bytes the file stores
// and back.
#include <windows.h>

#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "cadlib/core/file_format.h"

namespace {

const int kThumbW = 176, kThumbH = 126;

std::string BitmapToDib(HBITMAP bmp) {
    std::string out;
    BITMAP bm;
    if (!bmp || !GetObjectA(bmp, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0 || bm.bmWidth > 1024 ||
        bm.bmHeight > 1024)
        return out;
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = bm.bmWidth;
    bi.biHeight = bm.bmHeight;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biCompression = BI_RGB;
    size_t stride = ((bm.bmWidth * 3 + 3) & ~3);
    std::vector<char> bits(stride * bm.bmHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    int lines = GetDIBits(dc, bmp, 0, bm.bmHeight, bits.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines != bm.bmHeight) return out;
    out.assign(reinterpret_cast<const char*>(&bi), sizeof bi);
    out.append(bits.data(), bits.size());
    return out;
}

HBITMAP DibToBitmap(const std::string& dib) {
    if (dib.size() < sizeof(BITMAPINFOHEADER)) return nullptr;
    BITMAPINFOHEADER bi;
    memcpy(&bi, dib.data(), sizeof bi);
    if (bi.biSize != sizeof bi || bi.biBitCount != 24 || bi.biCompression != BI_RGB || bi.biWidth <= 0 ||
        bi.biWidth > 1024 || bi.biHeight <= 0 || bi.biHeight > 1024)
        return nullptr;
    size_t stride = ((bi.biWidth * 3 + 3) & ~3);
    if (dib.size() - sizeof bi < stride * bi.biHeight) return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, bi.biWidth, bi.biHeight);
    if (bmp) {
        SetDIBits(screen, bmp, 0, bi.biHeight, dib.data() + sizeof bi, reinterpret_cast<const BITMAPINFO*>(&bi),
                  DIB_RGB_COLORS);
    }
    ReleaseDC(nullptr, screen);
    return bmp;
}

// The drawing information of page 0 keeps the name of the file the drawing
// was last read from or written to (the save dialog proposes it).
void RememberFileName(DbHeader* db, const char* path) {
    DbInfo* info = db ? DAriGetDbInfoPtr(0, db) : nullptr;
    if (!info || !path) return;
    const size_t n = strnlen(path, sizeof info->extFileName);
    if (n >= sizeof info->extFileName) return;  // no such path on this system
    memcpy(info->extFileName, path, n);
    memset(info->extFileName + n, 0, sizeof info->extFileName - n);
}

int Save(const char* path, DbHeader* db, uint32_t* status, cad::FileKind kind) {
    std::string thumb = db ? BitmapToDib(static_cast<HBITMAP>(db->thumbnail)) : std::string();
    const int r = cad::SaveDrawing(db, path, kind, thumb, status);
    if (r == 1) RememberFileName(db, path);
    return r;
}

int Load(const char* path, DbHeader* db, uint32_t* status, cad::FileKind kind) {
    int ok = cad::LoadDrawing(db, path, kind, status, false, nullptr);
    // The view fits the paper into the window after a fresh load.
    if (ok && db) db->hostWord = 0;
    if (ok) RememberFileName(db, path);
    return ok;
}

int LoadInfo(const char* path, DbHeader* db, uint32_t* status, cad::FileKind kind) {
    std::string thumb;
    int ok = cad::LoadDrawing(db, path, kind, status, true, &thumb);
    if (ok && db && !thumb.empty()) db->thumbnail = DibToBitmap(thumb);
    if (ok) RememberFileName(db, path);
    return ok;
}

}  // namespace

CADAPI int ZAVAPI DAriLoadFileOfCWX(const char* path, DbHeader* db, uint32_t* status) {
    return Load(path, db, status, cad::FileKind::Tcf);
}
CADAPI int ZAVAPI DAriLoadFileOfCWU(const char* path, DbHeader* db, uint32_t* status) {
    return Load(path, db, status, cad::FileKind::Otcf);
}
CADAPI int ZAVAPI DAriSaveFileOfCWX(const char* path, DbHeader* db, uint32_t* status) {
    return Save(path, db, status, cad::FileKind::Tcf);
}
CADAPI int ZAVAPI DAriSaveFileOfCWU(const char* path, DbHeader* db, uint32_t* status) {
    return Save(path, db, status, cad::FileKind::Otcf);
}
CADAPI int ZAVAPI DAriLoadInfoOfCWX(const char* path, DbHeader* db, uint32_t* status) {
    return LoadInfo(path, db, status, cad::FileKind::Tcf);
}
CADAPI int ZAVAPI DAriLoadInfoOfCWU(const char* path, DbHeader* db, uint32_t* status) {
    return LoadInfo(path, db, status, cad::FileKind::Otcf);
}
