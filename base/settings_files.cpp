#include "base/settings_files.h"

#include <windows.h>

#include <clocale>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include <boost/archive/archive_exception.hpp>
#include <boost/archive/basic_archive.hpp>
#include <boost/archive/xml_archive_exception.hpp>
#include <boost/archive/xml_wiarchive.hpp>
#include <boost/archive/xml_woarchive.hpp>

#include "base/apply_settings.h"
#include "base/dbcs.h"
#include "base/local_settings_impl.h"
#include "base/settings_message.h"
#include "base/text_utils.h"
#include "base/user_folder.h"

namespace {

CCadSystemSettings* g_settings = nullptr;
LocalSettingsIniFn g_readIni = nullptr;
LocalSettingsIniFn g_writeIni = nullptr;

const char kLoadFailedText[] = "設定ファイル %s の読込みに失敗しました。(%s)";
const char kSaveFailedText[] = "設定ファイル %s の書き出しに失敗しました。(%s)";

bool FileExists(const std::string& path) {
    const DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::string LastErrorText(const char* what, DWORD code) {
    char text[64];
    FormatText(text, "%s (%lu)", what, static_cast<unsigned long>(code));
    return text;
}

bool DefaultWriteFile(const char* path, const std::string& bytes, std::string* error) {
    HANDLE h =
        CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *error = LastErrorText("cannot create file", GetLastError());
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const DWORD code = GetLastError();
    ok = ok && written == bytes.size() && FlushFileBuffers(h);
    if (!CloseHandle(h)) ok = FALSE;
    if (!ok) *error = LastErrorText("cannot write file", code);
    return ok != FALSE;
}

bool DefaultReplaceFile(const char* from, const char* to, std::string* error) {
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    *error = LastErrorText("cannot replace file", GetLastError());
    return false;
}

SettingsFileOps g_ops = {DefaultWriteFile, DefaultReplaceFile};

std::string ReadFileBytes(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error(LastErrorText("cannot open file", GetLastError()));
    std::string bytes;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size) || size.QuadPart > 64 * 1024 * 1024) {
        CloseHandle(h);
        throw std::runtime_error("file too large");
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    const BOOL ok = bytes.empty() || ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(h);
    if (!ok) throw std::runtime_error("cannot read file");
    bytes.resize(read);
    return bytes;
}

// Writes the whole file beside the target, then moves it over: a failure at
// any step leaves the old file as it was.
void WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".$$$";
    std::string error;
    if (!g_ops.writeFile(temp.c_str(), bytes, &error)) {
        DeleteFileA(temp.c_str());
        throw std::runtime_error(error);
    }
    if (!g_ops.replaceFile(temp.c_str(), path.c_str(), &error)) {
        DeleteFileA(temp.c_str());
        throw std::runtime_error(error);
    }
}

// The path with its extension replaced (DBCS-aware: only a "." after the last
// "\" counts).
std::string WithExtension(const std::string& path, const char* ext) {
    const size_t slash = DbcsFindLast(path, '\\');
    const size_t dot = DbcsFindLast(path, '.');
    std::string base = path;
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.resize(dot);
    return base + ext;
}

// A damaged file is kept beside as ".bak" (an older one goes first).
void MoveAsideDamaged(const std::string& path) {
    const std::string bak = WithExtension(path, ".bak");
    DeleteFileA(bak.c_str());
    MoveFileExA(path.c_str(), bak.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void ReportFailure(const char* format, const std::string& path, const char* what) {
    char text[1024];
    FormatText(text, format, path.c_str(), what);
    ShowSettingsMessage(nullptr, text, "確認", MB_OK | MB_ICONERROR);
}

// The texts of the records are converted with the Japanese code page, as the
// process locale says.
// Once is enough: it stays set for the rest of the run.
void SetJapaneseLocale() {
    static bool set = false;
    if (!set) set = setlocale(LC_ALL, "japanese") != nullptr;
}

// Thrown to leave a finished archive without its closing parse: the archive
// reads its end tag in its destructor and would end the process if that tag
// were damaged, so the tail is checked here first.
struct ArchiveDone {};

void CheckArchiveTail(std::wistream& is) {
    const std::streampos at = is.tellg();
    std::wstring rest((std::istreambuf_iterator<wchar_t>(is)), std::istreambuf_iterator<wchar_t>());
    is.clear();
    is.seekg(at);
    size_t i = 0;
    auto skipSpace = [&] {
        while (i < rest.size() && (rest[i] == L' ' || rest[i] == L'\t' || rest[i] == L'\r' || rest[i] == L'\n'))
            ++i;
    };
    skipSpace();
    static const wchar_t kEnd[] = L"</boost_serialization>";
    const size_t n = wcslen(kEnd);
    if (rest.compare(i, n, kEnd) != 0)
        throw boost::archive::xml_archive_exception(boost::archive::xml_archive_exception::xml_archive_parsing_error);
    i += n;
    skipSpace();
    if (i != rest.size())
        throw boost::archive::xml_archive_exception(boost::archive::xml_archive_exception::xml_archive_parsing_error);
}

bool IsNameChar(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'_' || c == L'-' ||
           c == L'.' || c == L':';
}

// A file changed through the DOM comes back with empty texts written as
// "<name/>", which the archive reader does not take; it gets them as
// "<name></name>" here. Tags with attributes are left as they are.
std::wstring ExpandEmptyElements(const std::wstring& text) {
    if (text.find(L"/>") == std::wstring::npos) return text;
    std::wstring out;
    out.reserve(text.size() + 256);
    size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (c == L'<' && i + 1 < text.size() && IsNameChar(text[i + 1])) {
            size_t j = i + 1;
            while (j < text.size() && IsNameChar(text[j]))
                ++j;
            size_t k = j;
            while (k < text.size() && (text[k] == L' ' || text[k] == L'\t' || text[k] == L'\r' || text[k] == L'\n'))
                ++k;
            if (k + 1 < text.size() && text[k] == L'/' && text[k + 1] == L'>') {
                const std::wstring name = text.substr(i + 1, j - i - 1);
                out += L'<' + name + L"></" + name + L'>';
                i = k + 2;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

template <class Fn>
void ReadArchive(const std::wstring& original, Fn body) {
    const std::wstring text = ExpandEmptyElements(original);
    std::wistringstream is(text);
    try {
        boost::archive::xml_wiarchive ar(is, boost::archive::no_codecvt);
        // The XML reader takes any version; a file from a newer library may hold
        // what this one cannot read.
        if (ar.get_library_version() > boost::archive::BOOST_ARCHIVE_VERSION())
            throw boost::archive::archive_exception(boost::archive::archive_exception::unsupported_version);
        body(ar);
        CheckArchiveTail(is);
        throw ArchiveDone();
    } catch (const ArchiveDone&) {}
}

template <class Fn>
std::wstring WriteArchive(Fn body) {
    std::wostringstream os;
    {
        boost::archive::xml_woarchive ar(os, boost::archive::no_codecvt);
        body(ar);
    }
    return os.str();
}

// The text of the failure being handled (inside a catch block only).
std::string CurrentFailureText() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}

// Reads a settings file through `read`, which takes the file's bytes whole or
// throws. A damaged file is moved aside once and the file asked for again
// (seeding may put a fresh copy there); a second failure is reported.
// 0 read, -1 missing or damaged.
template <class PathFn, class ReadFn>
int ReadSettingsFileOnce(PathFn pathOf, ReadFn read) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string file = pathOf();
        if (!FileExists(file)) return -1;
        try {
            read(file);
            return 0;
        } catch (...) {
            if (attempt == 0) {
                MoveAsideDamaged(file);
                continue;
            }
            ReportFailure(kLoadFailedText, file, CurrentFailureText().c_str());
            return -1;
        }
    }
    return -1;
}

}  // namespace

std::wstring DecodeSettingsFileBytes(const std::string& bytes) {
    size_t skip = 0;
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
        skip = 3;
    if (bytes.size() == skip) return std::wstring();
    const char* p = bytes.data() + skip;
    const int len = static_cast<int>(bytes.size() - skip);
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, p, len, nullptr, 0);
    if (n <= 0) throw std::runtime_error("invalid UTF-8 text");
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, p, len, &w[0], n);
    return w;
}

std::string EncodeSettingsFileText(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &s[0], n, nullptr, nullptr);
    return s;
}

std::wstring SaveConfigDataText(const ConfigData& data) {
    return WriteArchive(
        [&](boost::archive::xml_woarchive& ar) { ar << boost::serialization::make_nvp("SYSTEM", data); });
}

void LoadConfigDataText(const std::wstring& text, ConfigData& data) {
    ReadArchive(text, [&](boost::archive::xml_wiarchive& ar) { ar >> boost::serialization::make_nvp("SYSTEM", data); });
}

std::wstring SaveLocalSettingsText(const LocalSettingsRecords& r) {
    return WriteArchive([&](boost::archive::xml_woarchive& ar) {
        const LocalSettingsSetup& setup = *r.setup;
        const LocalSettingsWindow& window = *r.window;
        const CadFileBackupSettings& backup = *r.backup;
        const LocalSettingsStackCmd& stack = *r.stackCmd;
        ar << boost::serialization::make_nvp("Setup", setup);
        ar << boost::serialization::make_nvp("Window", window);
        ar << boost::serialization::make_nvp("CadFileBackup", backup);
        ar << boost::serialization::make_nvp("StackCmd", stack);
    });
}

void LoadLocalSettingsText(const std::wstring& text, const LocalSettingsRecords& r) {
    ReadArchive(text, [&](boost::archive::xml_wiarchive& ar) {
        ar >> boost::serialization::make_nvp("Setup", *r.setup);
        ar >> boost::serialization::make_nvp("Window", *r.window);
        ar >> boost::serialization::make_nvp("CadFileBackup", *r.backup);
        ar >> boost::serialization::make_nvp("StackCmd", *r.stackCmd);
    });
}

SettingsFileOps GetDefaultSettingsFileOps() { return SettingsFileOps{DefaultWriteFile, DefaultReplaceFile}; }

void SetSettingsFileOps(const SettingsFileOps* ops) { g_ops = ops ? *ops : GetDefaultSettingsFileOps(); }

void SetLocalSettingsIniHandlers(LocalSettingsIniFn read, LocalSettingsIniFn write) {
    g_readIni = read;
    g_writeIni = write;
}

std::string LocalSettingsIniPathFor(const std::string& path) {
    const size_t slash = DbcsFindLast(path, '\\');
    const size_t dot = DbcsFindLast(path, '.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
        lstrcmpiA(path.c_str() + dot, ".ini") == 0)
        return path;
    return WithExtension(path, ".ini");
}

CCadSystemSettings::CCadSystemSettings() { g_settings = this; }

CCadSystemSettings::~CCadSystemSettings() {
    if (g_settings == this) g_settings = nullptr;
}

CCadSystemSettings* GetCadSystemSettings() { return g_settings; }

int SaveUserSettings() { return g_settings ? g_settings->SaveLocalSettings(nullptr) : -1; }

std::string CCadSystemSettings::GetConfigDataPath(bool create, bool force) {
    return SeedUserSettingsFile("ConfigData.xml", create, force);
}
std::string CCadSystemSettings::GetLocalSettingsPath(bool create, bool force) {
    return SeedUserSettingsFile("LocalSettings.xml", create, force);
}
std::string CCadSystemSettings::GetLocalSettingsIniPath(bool create, bool force) {
    return SeedUserSettingsFile("LocalSettings.ini", create, force);
}
std::string CCadSystemSettings::GetUserIniPath() { return GetUserSettingsDir(true) + "\\Quillmar.ini"; }

int CCadSystemSettings::LoadConfigData(bool apply, const char* path) {
    SetJapaneseLocale();
    const int r = ReadSettingsFileOnce([&] { return path ? std::string(path) : GetConfigDataPath(true, false); },
                                       [&](const std::string& file) {
                                           // Read into a copy and take it whole: a damaged file never
                                           // leaves the live record half old, half new.
                                           ConfigData read(m_ConfigData);
                                           LoadConfigDataText(DecodeSettingsFileBytes(ReadFileBytes(file)), read);
                                           m_ConfigData = read;
                                       });
    if (r == 0 && apply) ApplyConfigDataKeepingUserValues();
    return r;
}

int CCadSystemSettings::SaveConfigDataFile(const char* path) {
    const std::string file = path ? std::string(path) : GetConfigDataPath(true, false);
    // A save never creates a settings file: seeding does.
    if (!FileExists(file)) return -1;
    SetJapaneseLocale();
    try {
        WriteWholeFile(file, EncodeSettingsFileText(SaveConfigDataText(m_ConfigData)));
    } catch (...) {
        ReportFailure(kSaveFailedText, file, CurrentFailureText().c_str());
        return -1;
    }
    return 0;
}

int CCadSystemSettings::LoadLocalSettingsXml(bool apply, const char* path) {
    SetJapaneseLocale();
    const int r =
        ReadSettingsFileOnce([&] { return path ? std::string(path) : GetLocalSettingsPath(true, false); },
                             [&](const std::string& file) {
                                 LocalSettingsSetup setup(m_LocalSettingsSetup);
                                 LocalSettingsWindow window(m_LocalSettingsWindow);
                                 CadFileBackupSettings backup(m_CadFileBackup);
                                 LocalSettingsStackCmd stack(m_LocalSettingsStackCmd);
                                 LoadLocalSettingsText(DecodeSettingsFileBytes(ReadFileBytes(file)),
                                                       LocalSettingsRecords{&setup, &window, &backup, &stack});
                                 m_LocalSettingsSetup = setup;
                                 m_LocalSettingsWindow = window;
                                 m_CadFileBackup = backup;
                                 m_LocalSettingsStackCmd = stack;
                             });
    if (r == 0 && apply) {
        m_bUserSettingsApplied = true;
        m_LocalSettingsSetup.Apply();
        m_LocalSettingsWindow.Apply();
        InitCadFileBackup(m_CadFileBackup);
    }
    return r;
}

int CCadSystemSettings::LoadLocalSettings(bool apply, const char* path) {
    const int result = LoadLocalSettingsXml(apply, path);
    const std::string ini = path ? LocalSettingsIniPathFor(path) : GetLocalSettingsIniPath(true, false);
    if (g_readIni) g_readIni(m_LocalSettingsSetup, ini.c_str());
    return result;
}

int CCadSystemSettings::ReloadLocalSettings() {
    // Only once the user's records run: before that, start-up applies them.
    if (!m_bUserSettingsApplied) return LoadLocalSettingsXml(false, nullptr);
    return LoadLocalSettingsXml(true, nullptr);
}

int CCadSystemSettings::SaveLocalSettings(const char* path) {
    int result = -1;
    const std::string file = path ? std::string(path) : GetLocalSettingsPath(true, false);
    if (FileExists(file)) {
        // Running values exist only once the per-user settings were applied;
        // before that they would put zeros over every setting of the user.
        if (m_bUserSettingsApplied) {
            m_LocalSettingsSetup.Capture();
            m_LocalSettingsWindow.Capture();
        }
        SetJapaneseLocale();
        try {
            WriteWholeFile(
                file, EncodeSettingsFileText(SaveLocalSettingsText(LocalSettingsRecords{
                          &m_LocalSettingsSetup, &m_LocalSettingsWindow, &m_CadFileBackup, &m_LocalSettingsStackCmd})));
            result = 0;
        } catch (...) {
            ReportFailure(kSaveFailedText, file, CurrentFailureText().c_str());
        }
    }
    const std::string ini = path ? LocalSettingsIniPathFor(path) : GetLocalSettingsIniPath(true, false);
    if (g_writeIni) g_writeIni(m_LocalSettingsSetup, ini.c_str());
    return result;
}
