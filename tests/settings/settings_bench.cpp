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

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

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
  {
    // The shipped copies, as the build writes them.
    CCadSystemSettings s;
    for (const char* f : {"ConfigData.xml", "LocalSettings.xml", "LocalSettings.ini"}) {
      std::ofstream(install + "\\" + f, std::ios::binary) << "x";
    }
    s.SaveConfigDataFile((install + "\\ConfigData.xml").c_str());
    s.SaveLocalSettings((install + "\\LocalSettings.xml").c_str());
    s.GetConfigDataPath(true, true);
    s.GetLocalSettingsPath(true, true);
    s.GetLocalSettingsIniPath(true, true);
  }
  const std::string config = GetUserSettingsDir(false) + "\\ConfigData.xml";
  const std::string local = GetUserSettingsDir(false) + "\\LocalSettings.xml";

  const int rounds = 500;
  size_t bytes = 0;
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) bytes += ReadAll(config).size() + ReadAll(local).size();
  auto t1 = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    CCadSystemSettings s;
    s.LoadConfigData(false, nullptr);
    s.LoadLocalSettings(false, nullptr);
  }
  auto t2 = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    CCadSystemSettings s;
    s.LoadConfigData(false, nullptr);
    s.LoadLocalSettings(false, nullptr);
    s.InitSettings();
  }
  auto t3 = std::chrono::steady_clock::now();
  // The archive reader alone, on texts already in memory.
  const std::wstring configText = DecodeSettingsFileBytes(ReadAll(config));
  const std::wstring localText = DecodeSettingsFileBytes(ReadAll(local));
  for (int i = 0; i < rounds; ++i) {
    CCadSystemSettings s;
    LoadConfigDataText(configText, s.m_ConfigData);
    LoadLocalSettingsText(localText, LocalSettingsRecords{&s.m_LocalSettingsSetup, &s.m_LocalSettingsWindow,
                                                          &s.m_CadFileBackup, &s.m_LocalSettingsStackCmd});
  }
  auto t4 = std::chrono::steady_clock::now();

  const double read = Seconds(t1 - t0) / rounds, load = Seconds(t2 - t1) / rounds, all = Seconds(t3 - t2) / rounds;
  const double parse = Seconds(t4 - t3) / rounds;
  std::printf("settings files: %zu bytes per start\n", bytes / rounds);
  std::printf("read bytes only:          %8.3f ms\n", read * 1e3);
  std::printf("archive reader in memory: %8.3f ms  (%.1fx)\n", parse * 1e3, parse / read);
  std::printf("load both files:          %8.3f ms  (%.1fx)\n", load * 1e3, load / read);
  std::printf("load and apply at start:  %8.3f ms  (%.1fx)\n", all * 1e3, all / read);
  return 0;
}
