#include "shell/settings_services.h"

#include <cstring>

#include "base/running_settings.h"
#include "base/settings_layer.h"
#include "command/pick_aperture.h"

void SetPickAperture(int pixels) { SetCursorFindArea(pixels); }

std::string ModuleReadSettingText(const char* section, const char* key, const char* def) {
    char value[SETTING_TEXT_SIZE] = {};
    ReadSettingText(section, key, def, value);
    return value;
}

int ModuleWriteSettingText(const char* section, const char* key, const char* value) {
    return WriteSettingText(section, key, value);
}

std::string ModuleReadSettingSection(const char* section) {
    char names[SETTING_TEXT_SIZE] = {};
    ReadSettingText(section, nullptr, "", names);
    // The names run up to the first empty one; the last byte is always zero.
    size_t used = 0;
    while (used < sizeof names - 1 && names[used])
        used += std::strlen(names + used) + 1;
    return std::string(names, used < sizeof names ? used : sizeof names - 1);
}

std::string ModuleReadCmdIniString(const char* section, const char* key, const char* def) {
    char value[SETTING_TEXT_SIZE] = {};
    ReadCmdIniString(section, key, def, value);
    return value;
}

int ModuleWriteCmdIniString(const char* section, const char* key, const char* value) {
    return WriteCmdIniString(section, key, value);
}

std::string ModuleReadSettingFileName(const char* key) {
    char path[SETTING_PATH_SIZE] = {};
    ReadSettingFileName(path, "CONFIG", key, "");
    return path;
}

int ModuleReadSettingString(const char* section, const char* key, const char* def, char* buffer, int size,
                            const char* fileKey) {
    if (!buffer || size <= 0) return 0;
    return ReadSettingString(section, key, def, buffer, static_cast<size_t>(size), fileKey);
}

int ModuleWriteSettingString(const char* section, const char* key, const char* value, const char* fileKey) {
    return WriteSettingString(section, key, value, fileKey);
}

int RunningRightButtonMode() { return static_cast<int>(Running().RMOUSE); }
