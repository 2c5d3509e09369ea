#include "layer_fixture.h"

#include <windows.h>

#include <cstdlib>

#include "base/apply_settings.h"
#include "base/settings_layer.h"
#include "base/settings_message.h"
#include "base/user_folder.h"

std::string LayerFixture::DistFile(const std::string& name) {
    const char* dist = std::getenv("ZAV_DIST_DIR");
    std::string dir = dist ? dist : ".";
    for (char& c : dir)
        if (c == '/') c = '\\';
    return dir + "\\" + name;
}

void LayerFixture::WriteFile(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f) << path;
    DWORD written = 0;
    ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

void LayerFixture::Touch(const std::string& path, int seconds) {
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart += static_cast<long long>(seconds) * 10000000LL;
    now.dwLowDateTime = t.LowPart;
    now.dwHighDateTime = t.HighPart;
    SetFileTime(f, nullptr, nullptr, &now);
    CloseHandle(f);
}

void LayerFixture::SetUp() {
    root_.reset(new TestFolder());
    install_ = root_->File("Install");
    local_ = root_->File("Local");
    documents_ = root_->File("Documents");
    user_ = local_ + "\\Qv\\VantrelV8";
    for (const std::string& dir : {install_, local_, documents_, install_ + "\\SETTEI"})
        CreateDirectoryA(dir.c_str(), nullptr);
    SetUserFolderOverrides(local_.c_str(), documents_.c_str(), install_.c_str());
    for (const char* name : {"ConfigData.xml", "LocalSettings.xml", "LocalSettings.ini", "ZavIrurer.ini", "sonota.ini",
                             "SETTEI\\rirekimoji.ini", "SETTEI\\bottoncolor.ini"}) {
        const std::string bytes = ReadBytes(DistFile(name));
        ASSERT_FALSE(bytes.empty()) << "shipped file " << name;
        WriteFile(InstallPath(name), bytes);
        Touch(InstallPath(name), -3600);
    }
    SetProgramIniPathOverride(InstallPath("ZavIrurer.ini").c_str());
    boxes_.reset(new win::MessageBoxTestHook());
    SetSettingsMessageHandler(ZavMessageBox);  // as the program installs it
    Neighbours() = DefaultSettingsNeighbours();
    Neighbours().LoadRPMenuFile = [](const char*) { return 1; };  // no right-click menu file here
}

void LayerFixture::TearDown() {
    boxes_.reset();
    SetProgramIniPathOverride(nullptr);
    SetUserFolderOverrides("", "", "");
    root_.reset();
}
