#include "win/file_dialog.h"

#include <cstring>

#include "base/dbcs.h"

namespace {
win::FileDialogTestHook* g_hook = nullptr;
DWORD g_hookError = 0;

// Offset of the name within a full path (after the last '\' or '/'),
// never matching a trail byte.
size_t NameOffset(const std::string& path) {
    size_t back = DbcsFindLast(path, '\\');
    size_t slash = DbcsFindLast(path, '/');
    size_t cut = std::string::npos;
    if (back != std::string::npos) cut = back;
    if (slash != std::string::npos && (cut == std::string::npos || slash > cut)) cut = slash;
    return cut == std::string::npos ? 0 : cut + 1;
}

// Offset of the extension (after the last '.' of the name), or 0 for none.
size_t ExtensionOffset(const std::string& path, size_t nameOffset) {
    size_t dot = DbcsFindLast(path, '.');
    if (dot == std::string::npos || dot < nameOffset) return 0;
    return dot + 1;
}

}  // namespace

BOOL ZavGetOpenFileName(OPENFILENAMEA* ofn) {
    if (g_hook != nullptr) return g_hook->Take(false, ofn);
    return ::GetOpenFileNameA(ofn);
}

BOOL ZavGetSaveFileName(OPENFILENAMEA* ofn) {
    if (g_hook != nullptr) return g_hook->Take(true, ofn);
    return ::GetSaveFileNameA(ofn);
}

namespace win {

DWORD FileDialogError() { return g_hook != nullptr ? g_hookError : ::CommDlgExtendedError(); }

std::vector<std::string> SelectedFiles(const OPENFILENAMEA& ofn) {
    std::vector<std::string> files;
    const char* buf = ofn.lpstrFile;
    if (buf == nullptr || ofn.nMaxFile == 0 || buf[0] == '\0') return files;
    size_t first = ::strnlen(buf, ofn.nMaxFile);
    std::string head(buf, first);
    // One file: the full path. Several (explorer style): the folder, then
    // names separated by zeros, then an empty name.
    if (!(ofn.Flags & OFN_ALLOWMULTISELECT) || first + 1 >= ofn.nMaxFile || buf[first + 1] == '\0') {
        files.push_back(head);
        return files;
    }
    std::string folder = head;
    if (!folder.empty() && DbcsFindLast(folder, '\\') != folder.size() - 1) folder += '\\';
    size_t pos = first + 1;
    while (pos < ofn.nMaxFile && buf[pos] != '\0') {
        size_t len = ::strnlen(buf + pos, ofn.nMaxFile - pos);
        files.push_back(folder + std::string(buf + pos, len));
        pos += len + 1;
    }
    return files;
}

FileDialogTestHook::FileDialogTestHook() : m_outer(g_hook) { g_hook = this; }

FileDialogTestHook::~FileDialogTestHook() {
    if (g_hook == this) g_hook = m_outer;
}

FileDialogTestHook& FileDialogTestHook::Choose(const std::string& path, DWORD filterIndex) {
    Answer a;
    a.names.push_back(path);
    a.filterIndex = filterIndex;
    m_answers.push_back(a);
    return *this;
}

FileDialogTestHook& FileDialogTestHook::ChooseMany(const std::string& folder, const std::vector<std::string>& names) {
    Answer a;
    a.folder = folder;
    a.names = names;
    m_answers.push_back(a);
    return *this;
}

FileDialogTestHook& FileDialogTestHook::Cancel() {
    Answer a;
    a.cancel = true;
    m_answers.push_back(a);
    return *this;
}

BOOL FileDialogTestHook::Take(bool save, OPENFILENAMEA* ofn) {
    g_hookError = 0;
    if (ofn == nullptr) return FALSE;
    FileDialogCall call;
    call.save = save;
    call.owner = ofn->hwndOwner;
    if (ofn->lpstrTitle) call.title = ofn->lpstrTitle;
    if (ofn->lpstrInitialDir) call.initialDir = ofn->lpstrInitialDir;
    if (ofn->lpstrFile && ofn->nMaxFile > 0)
        call.initialFile.assign(ofn->lpstrFile, ::strnlen(ofn->lpstrFile, ofn->nMaxFile));
    for (const char* f = ofn->lpstrFilter; f != nullptr && *f != '\0'; f += std::strlen(f) + 1)
        call.filters.push_back(f);
    call.filterIndex = ofn->nFilterIndex;
    call.flags = ofn->Flags;
    if (ofn->lpstrDefExt) call.defExt = ofn->lpstrDefExt;
    m_calls.push_back(call);

    if (m_answers.empty()) return FALSE;
    Answer a = m_answers.front();
    m_answers.pop_front();
    if (a.cancel || a.names.empty()) return FALSE;

    std::string out;
    bool many = !a.folder.empty();
    if (many) {
        out = a.folder;
        out.push_back('\0');
        for (const auto& n : a.names) {
            out += n;
            out.push_back('\0');
        }
    } else {
        out = a.names.front();
        out.push_back('\0');
    }
    out.push_back('\0');
    if (ofn->lpstrFile == nullptr || out.size() > ofn->nMaxFile) {
        g_hookError = FNERR_BUFFERTOOSMALL;
        if (ofn->lpstrFile != nullptr && ofn->nMaxFile >= 2) {
            WORD need = (WORD)(out.size() > 0xFFFF ? 0xFFFF : out.size());
            std::memcpy(ofn->lpstrFile, &need, sizeof(need));
        }
        return FALSE;
    }
    std::memcpy(ofn->lpstrFile, out.data(), out.size());
    if (many) {
        ofn->nFileOffset = (WORD)(a.folder.size() + 1);
        ofn->nFileExtension = 0;
    } else {
        size_t name = NameOffset(a.names.front());
        ofn->nFileOffset = (WORD)name;
        ofn->nFileExtension = (WORD)ExtensionOffset(a.names.front(), name);
    }
    if (a.filterIndex != 0) ofn->nFilterIndex = a.filterIndex;
    if (ofn->lpstrFileTitle != nullptr && ofn->nMaxFileTitle > 0 && !many)
        DbcsCopy(ofn->lpstrFileTitle, ofn->nMaxFileTitle, a.names.front().c_str() + ofn->nFileOffset);
    return TRUE;
}

}  // namespace win
