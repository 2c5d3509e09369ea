#include "settings_fixture.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/apply_settings.h"
#include "base/settings_files.h"
#include "base/settings_message.h"
#include "base/user_folder.h"

namespace {

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

}  // namespace

void SettingsFixture::SetUp() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    std::ostringstream name;
    name << temp << "zav_settings_" << GetCurrentProcessId() << "_" << ++serial;
    root_ = name.str();
    RemoveTree(root_);
    CreateDirectoryA(root_.c_str(), nullptr);
    localAppData_ = root_ + "\\Local";
    documents_ = root_ + "\\Documents";
    install_ = root_ + "\\Install";
    CreateDirectoryA(localAppData_.c_str(), nullptr);
    CreateDirectoryA(documents_.c_str(), nullptr);
    CreateDirectoryA(install_.c_str(), nullptr);
    userDir_ = localAppData_ + "\\Qv\\VantrelV8";
    SetUserFolderOverrides(localAppData_.c_str(), documents_.c_str(), install_.c_str());
    for (const char* f : {"ConfigData.xml", "LocalSettings.xml"}) {
        WriteBytes(InstallPath(f), ReadBytes(DistFile(f)));
        Touch(InstallPath(f), -3600);
    }
    // LocalSettings.ini travels with LocalSettings.xml and is seeded with it.
    WriteBytes(InstallPath("LocalSettings.ini"), "[System]\r\n");
    Touch(InstallPath("LocalSettings.ini"), -3600);
    boxes_.reset(new win::MessageBoxTestHook());
    SetSettingsMessageHandler(ZavMessageBox);  // as the program installs it
    SetSettingsFileOps(nullptr);
    Neighbours() = DefaultSettingsNeighbours();
}

void SettingsFixture::TearDown() {
    boxes_.reset();
    SetSettingsFileOps(nullptr);
    SetUserFolderOverrides("", "", "");
    RemoveTree(root_);
}

std::string SettingsFixture::UserPath(const char* name) const { return userDir_ + "\\" + name; }
std::string SettingsFixture::InstallPath(const char* name) const { return install_ + "\\" + name; }

std::string SettingsFixture::ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void SettingsFixture::WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
}

bool SettingsFixture::Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string SettingsFixture::DistFile(const char* name) {
    const char* src = std::getenv("ZAV_SOURCE_DIR");
    std::string path = src ? src : ".";
    for (char& c : path)
        if (c == '/') c = '\\';
    return path + "\\data\\dist\\" + name;
}

void SettingsFixture::Touch(const std::string& path, int secondsFromNow) {
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart += static_cast<long long>(secondsFromNow) * 10000000LL;
    FILETIME ft{t.LowPart, t.HighPart};
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}
