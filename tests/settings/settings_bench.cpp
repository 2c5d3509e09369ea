// Start-up cost of the settings: loading ConfigData.xml and LocalSettings.xml
// and applying them, against reading the same files' bytes.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "base/apply_settings.h"
#include "base/settings_files.h"
#include "base/settings_message.h"
#include "win/message_box.h"
#include "base/user_folder.h"

namespace {

std::string ReadAll(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes(GetFileSize(h, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(h);
    return bytes;
}

const int kRounds = 100;
const int kTrials = 7;

// Seconds per round, the best of several runs: other processes sharing the
// machine (and its Wine server) only ever add time.
template <class Fn>
double Best(Fn fn) {
    double best = 1e9;
    for (int t = 0; t < kTrials; ++t) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < kRounds; ++i)
            fn();
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / kRounds;
        if (s < best) best = s;
    }
    return best;
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "zav_settings_bench";
    const std::string install = root + "\\Install";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(install.c_str(), nullptr);
    CreateDirectoryA((root + "\\Local").c_str(), nullptr);
    CreateDirectoryA((root + "\\Documents").c_str(), nullptr);
    SetUserFolderOverrides((root + "\\Local").c_str(), (root + "\\Documents").c_str(), install.c_str());
    win::MessageBoxTestHook quiet;  // no box may stop the measurement
    SetSettingsMessageHandler(ZavMessageBox);
    {
        // The shipped copies from the installation folder beside the bench;
        // without it, copies written from the defaults.
        char exe[MAX_PATH];
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string dist = exe;
        dist.resize(dist.find_last_of('\\'));
        dist.resize(dist.find_last_of('\\') + 1);
        dist += "dist\\";
        CCadSystemSettings s;
        bool shipped = true;
        for (const char* f : {"ConfigData.xml", "LocalSettings.xml", "LocalSettings.ini"}) {
            const std::string bytes = ReadAll(dist + f);
            shipped = shipped && !bytes.empty();
            std::ofstream(install + "\\" + f, std::ios::binary) << (bytes.empty() ? std::string("x") : bytes);
        }
        if (!shipped) {
            s.SaveConfigDataFile((install + "\\ConfigData.xml").c_str());
            s.SaveLocalSettings((install + "\\LocalSettings.xml").c_str());
        }
        std::printf("installation copies: %s\n", shipped ? dist.c_str() : "written from the defaults");
        // A fresh per-user folder, seeded as at a first start.
        const std::string user = GetUserSettingsDir(false);
        for (const char* f : {"ConfigData.xml", "LocalSettings.xml", "LocalSettings.ini"})
            DeleteFileA((user + "\\" + f).c_str());
        s.GetConfigDataPath(true, true);
        s.GetLocalSettingsPath(true, true);
        s.GetLocalSettingsIniPath(true, true);
    }
    const std::string config = GetUserSettingsDir(false) + "\\ConfigData.xml";
    const std::string local = GetUserSettingsDir(false) + "\\LocalSettings.xml";

    const std::string ini = GetUserSettingsDir(false) + "\\LocalSettings.ini";
    const std::wstring configText = DecodeSettingsFileBytes(ReadAll(config));
    const std::wstring localText = DecodeSettingsFileBytes(ReadAll(local));
    const std::wstring headerOnly = SaveConfigDataText(ConfigData()).substr(0, 200);
    CCadSystemSettings loaded;
    loaded.LoadConfigData(false, nullptr);
    loaded.LoadLocalSettings(false, nullptr);

    size_t bytes = ReadAll(config).size() + ReadAll(local).size() + ReadAll(ini).size();
    // Every settings file that the start reads: the two archives and the INI.
    const double read = Best([&] { ReadAll(config), ReadAll(local), ReadAll(ini); });
    const double construct = Best([] { CCadSystemSettings s; });
    // What every archive costs before its first record: the header alone (twice).
    const double header = Best([&] {
        for (int i = 0; i < 2; ++i) {
            ConfigData d;
            try {
                LoadConfigDataText(headerOnly, d);
            } catch (...) {}
        }
    });
    // The archive reader alone, on texts already in memory.
    const double parse = Best([&] {
        CCadSystemSettings s;
        LoadConfigDataText(configText, s.m_ConfigData);
        LoadLocalSettingsText(localText, LocalSettingsRecords{&s.m_LocalSettingsSetup, &s.m_LocalSettingsWindow,
                                                              &s.m_CadFileBackup, &s.m_LocalSettingsStackCmd});
    });
    const double iniRead = Best([&] { loaded.m_LocalSettingsSetup.ReadIni(ini.c_str()); });
    const double load = Best([] {
        CCadSystemSettings s;
        s.LoadConfigData(false, nullptr);
        s.LoadLocalSettings(false, nullptr);
    });
    const double apply = Best([&] { loaded.InitSettings(); });
    const double all = Best([] {
        CCadSystemSettings s;
        s.LoadConfigData(false, nullptr);
        s.LoadLocalSettings(false, nullptr);
        s.InitSettings();
    });

    std::printf("settings files: %zu bytes per start (ConfigData.xml, LocalSettings.xml, LocalSettings.ini)\n", bytes);
    std::printf("best of %d runs of %d rounds each, per start:\n", kTrials, kRounds);
    std::printf("read bytes only:          %8.3f ms\n", read * 1e3);
    std::printf("records' defaults:        %8.3f ms  (%.1fx)\n", construct * 1e3, construct / read);
    std::printf("two archive headers:      %8.3f ms  (%.1fx)\n", header * 1e3, header / read);
    std::printf("archive reader in memory: %8.3f ms  (%.1fx)\n", parse * 1e3, parse / read);
    std::printf("LocalSettings.ini read:   %8.3f ms  (%.1fx)\n", iniRead * 1e3, iniRead / read);
    std::printf("load all files:           %8.3f ms  (%.1fx)\n", load * 1e3, load / read);
    std::printf("apply alone:              %8.3f ms  (%.1fx)\n", apply * 1e3, apply / read);
    std::printf("load and apply at start:  %8.3f ms  (%.1fx, aim under 5x)\n", all * 1e3, all / read);
    return 0;
}
