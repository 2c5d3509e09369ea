// The settings commands of the test module: a module's own options and the
// host's settings, written and read through the settings messages.
//   SettingsWrite V  writes V into the command INI, section "TestSettings"
//                    of the host's INI, key "Setup/iUndoCount" of the user's
//                    LocalSettings.xml and "SYSTEM"/"USERNAME" ("user" V),
//                    then reads them back as SettingsRead does
//   SettingsRead     logs each of those values, "SYSTEM"/"SYSTEMDIR", the
//                    key names of section "TestSettings" and the path of the
//                    command INI, one "TESTCMD setting <name>=<value>" line each
//   Eps              gets, sets and gets again the distance tolerance and
//                    the decimals through UM_SET_EPS
//   RightButton      waits for a snapped point or a right click and logs
//                    the first answer ("TESTCMD rbutton result=<code> ...")
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"

namespace testcmd {

namespace {

const char kSection[] = "TestSettings";
const char kLocalSettings[] = "%USER_LOCAL_APPDATA%LocalSettings.xml";

uint32_t Word(const void* p) { return reinterpret_cast<uint32_t>(p); }

std::string ReadCmdIni(const char* section, const char* key) {
    char value[kSettingValueBuffer] = {};
    IniRequest r = {};
    r.word00 = Word(key);
    r.word04 = Word("(none)");
    r.word08 = Word(section);
    r.word0c = Word(value);
    Host(UM_GET_CMD_INI, 0, reinterpret_cast<LPARAM>(&r));
    return value;
}

void WriteCmdIni(const char* section, const char* key, const char* value) {
    IniRequest r = {};
    r.word00 = Word(key);
    r.word08 = Word(section);
    r.word0c = Word(value);
    Host(UM_SET_CMD_INI, 0, reinterpret_cast<LPARAM>(&r));
}

std::string ReadProfile(const char* section, const char* key) {
    char value[kSettingValueBuffer] = {};
    IniRequest r = {};
    r.word08 = Word(section);
    r.word0c = Word(key);
    r.word28 = Word(value);
    Host(UM_GET_PROFILE_STRING, 0, reinterpret_cast<LPARAM>(&r));
    return value;
}

void WriteProfile(const char* section, const char* key, const char* value) {
    IniRequest r = {};
    r.word08 = Word(section);
    r.word0c = Word(key);
    r.word28 = Word(value);
    Host(UM_SET_PROFILE_STRING, 0, reinterpret_cast<LPARAM>(&r));
}

std::string ReadPrivate(const char* section, const char* key, const char* fileKey) {
    char value[kSettingValueBuffer] = {};
    IniRequest r = {};
    r.word00 = Word(section);
    r.word04 = Word(key);
    r.word08 = Word("(none)");
    r.word0c = Word(value);
    r.word10 = Word(fileKey);
    r.word28 = sizeof value;
    Host(UM_GET_PRIVATE_PROFILE, 0, reinterpret_cast<LPARAM>(&r));
    return value;
}

LRESULT WritePrivate(const char* section, const char* key, const char* value, const char* fileKey) {
    IniRequest r = {};
    r.word00 = Word(section);
    r.word04 = Word(key);
    r.word08 = Word(value);
    r.word0c = Word(fileKey);
    return Host(UM_SET_PRIVATE_PROFILE, 0, reinterpret_cast<LPARAM>(&r));
}

// The key names of a section, joined by ",".
std::string SectionKeys(const char* section) {
    char names[kSettingValueBuffer] = {};
    IniRequest r = {};
    r.word08 = Word(names);
    r.word0c = Word(section);
    Host(UM_GET_PROFILE_SECTION, 0, reinterpret_cast<LPARAM>(&r));
    std::string out;
    for (const char* p = names; *p && p < names + sizeof names; p += std::strlen(p) + 1) {
        if (!out.empty()) out += ',';
        out += p;
    }
    return out;
}

std::string ConfigFileName(const char* key) {
    char path[kPathBuffer] = {};
    IniRequest r = {};
    r.word08 = Word(path);
    r.word0c = Word(key);
    Host(UM_GET_CONFIG_FILE_NAME, 0, reinterpret_cast<LPARAM>(&r));
    return path;
}

void LogSettings() {
    Log("TESTCMD setting cmdini=%s", ReadCmdIni(kSection, "Value").c_str());
    Log("TESTCMD setting profile=%s", ReadProfile(kSection, "Value").c_str());
    Log("TESTCMD setting local=%s", ReadPrivate("Setup", "iUndoCount", kLocalSettings).c_str());
    Log("TESTCMD setting system=%s", ReadProfile("SYSTEM", "USERNAME").c_str());
    Log("TESTCMD setting systemdir=%s", ReadProfile("SYSTEM", "SYSTEMDIR").c_str());
    Log("TESTCMD setting keys=%s", SectionKeys(kSection).c_str());
    Log("TESTCMD setting cmdinifile=%s", ConfigFileName("CMDINI").c_str());
}

int SettingsWrite(const char* value) {
    WriteCmdIni(kSection, "Value", value);
    WriteProfile(kSection, "Value", value);
    WriteProfile(kSection, "Other", "x");
    const LRESULT local = WritePrivate("Setup", "iUndoCount", value, kLocalSettings);
    WriteProfile("SYSTEM", "USERNAME", (std::string("user") + value).c_str());
    Log("TESTCMD settings written local=%ld", static_cast<long>(local));
    LogSettings();
    return 0;
}

// UM_SET_EPS: sub-code, 32-bit input, float input; the outputs as given.
LRESULT Eps(int subCode, int in, double value, double* outValue, int* outInt) {
    CmdRequest r = {};
    r.w.mode = subCode;
    r.arg = in;
    r.pt1[0] = value;
    r.w.anglePtr = Word(outValue);
    r.picked = Word(outInt);
    return Host(UM_SET_EPS, 0, reinterpret_cast<LPARAM>(&r));
}

int EpsCmd() {
    double eps = 0, angle = 0;
    int digits = -1;
    const LRESULT got = Eps(1, 0, 0, &eps, nullptr);
    Eps(3, 0, 0, &angle, nullptr);
    Eps(5, 0, 0, nullptr, &digits);
    Log("TESTCMD eps result=%ld eps=%.17g angle=%.17g digits=%d", static_cast<long>(got), eps, angle, digits);
    Eps(2, 0, 1e-4, nullptr, nullptr);
    Eps(6, 3, 0, nullptr, nullptr);
    Eps(1, 0, 0, &eps, nullptr);
    Eps(5, 0, 0, nullptr, &digits);
    Log("TESTCMD eps set eps=%.17g digits=%d", eps, digits);
    return 0;
}

// What a right click means to a command that asks for a snapped point is
// the RMOUSE setting's choice.
int RightButtonCmd() {
    Host(UM_CLEAR_EVENT_MASK);
    Host(UM_ADD_EVENT_MASK, 0, CMD_WANT_SNAP | CMD_WANT_RCLICK | CMD_WANT_CANCEL);
    Log("TESTCMD rbutton waiting");
    CmdRequest req = {};
    const LRESULT r = Host(UM_WAIT_CMD_EVENT, 0, reinterpret_cast<LPARAM>(&req));
    double pt[3];
    GetRequestPoint(req.point, pt);
    Log("TESTCMD rbutton result=%ld point=%.1f %.1f", static_cast<long>(r), pt[0], pt[1]);
    return 0;
}

}  // namespace

bool RunSettingsCommand(const char* word, const char*, int* result) {
    if (Is(word, "SettingsWrite")) {
        // The value is the text after the word and its blank.
        const char* value = word + std::strlen("SettingsWrite");
        *result = SettingsWrite(*value ? value + 1 : "");
        return true;
    }
    if (Is(word, "SettingsRead")) {
        LogSettings();
        *result = 0;
        return true;
    }
    if (Is(word, "Eps")) {
        *result = EpsCmd();
        return true;
    }
    if (Is(word, "RightButton")) {
        *result = RightButtonCmd();
        return true;
    }
    return false;
}

}  // namespace testcmd
