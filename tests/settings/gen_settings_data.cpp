// Writes the installation copies of ConfigData.xml and LocalSettings.xml from
// the records' defaults, in the archive format version the shipped files
// carry (5). Usage: gen_settings_data <folder>
#include <cstdio>
#include <fstream>
#include <string>

#include "base/settings_files.h"

namespace {

std::string AsVersion5(std::string bytes) {
    const std::string key = "signature=\"serialization::archive\" version=\"";
    const size_t at = bytes.find(key);
    if (at != std::string::npos) {
        const size_t b = at + key.size();
        bytes.replace(b, bytes.find('"', b) - b, "5");
    }
    return bytes;
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen_settings_data <folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    CCadSystemSettings s;
    Write(dir + "\\ConfigData.xml", AsVersion5(EncodeSettingsFileText(SaveConfigDataText(s.m_ConfigData))));
    Write(dir + "\\LocalSettings.xml",
          AsVersion5(EncodeSettingsFileText(SaveLocalSettingsText(LocalSettingsRecords{
              &s.m_LocalSettingsSetup, &s.m_LocalSettingsWindow, &s.m_CadFileBackup, &s.m_LocalSettingsStackCmd}))));
    return 0;
}
