// Command-line words, start switches, BOOT and DESTROY.
#include "shell/command_line.h"

#include <cctype>
#include <cstdlib>

#include "base/dbcs.h"
#include "base/message_ids.h"
#include "base/message_table.h"
#include "base/text_utils.h"
#include "shell/cad_system.h"
#include "shell/drawing_types.h"
#include "shell/host_messages_shell.h"
#include "shell/main_frame.h"
#include "shell/shell_seams.h"

CommandLineState CommandLine;
int CommandLineFileGiven = 0;
int StartCommandPosted = 0;

namespace {

const size_t kTokenMax = 519;  // the token buffer holds 520 bytes
const size_t kKeyMax = 259;    // the switch key holds 260 bytes
const size_t kRawMax = 1023;   // the raw switch text (BOOT argument)
const size_t kMaxSwitches = 10;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool FileExists(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsSwitch(const std::string& t) { return !t.empty() && (t[0] == '/' || t[0] == '-'); }

bool TokenComplete(const std::string& t) {
    return IsSwitch(t) || DrawingTypeFromExtension(t.c_str()) != 0 || FileExists(t);
}

void Append(std::string& s, const char* p, size_t n, size_t max) {
    if (s.size() + n <= max) s.append(p, n);
}

void BringForward(HWND w) {
    if (!w) return;
    if (IsIconic(w)) {
        ShowWindow(w, SW_RESTORE);
    } else {
        SetForegroundWindow(w);
        SetActiveWindow(w);
        SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

}  // namespace

std::vector<std::string> SplitCommandLine(const char* text) {
    std::vector<std::string> words;
    const char* p = text ? text : "";
    while (*p) {
        while (IsBlank(*p))
            ++p;
        if (!*p) break;
        std::string token;
        bool quoted = false;
        if (*p == '"') {
            quoted = true;
            ++p;
        }
        while (*p) {
            if (quoted && *p == '"') {
                quoted = false;
                ++p;
                continue;
            }
            if (!quoted && IsBlank(*p)) {
                if (TokenComplete(token)) break;
                Append(token, p, 1, kTokenMax);  // a path with blanks goes on
                ++p;
                continue;
            }
            size_t n = DbcsCharLength(p);
            Append(token, p, n, kTokenMax);
            p += n;
        }
        while (IsBlank(*p))
            ++p;
        // Blanks taken in at the end of the line belong to no name.
        while (!token.empty() && IsBlank(token.back()))
            token.pop_back();
        if (!token.empty()) words.push_back(token);
    }
    return words;
}

std::string NormaliseSwitch(const std::string& word) {
    std::string out = "/";
    bool any = false;
    for (size_t i = 1; i < word.size();) {
        size_t n = DbcsCharLength(word.c_str() + i);
        if (n == 0) break;
        if (n == 2) {
            // A double-byte character stays as it is: upper-casing its trail byte
            // would turn it into another character.
            out.append(word, i, 2);
            any = true;
        } else if (!std::isdigit((unsigned char)word[i])) {
            out += (char)std::toupper((unsigned char)word[i]);
            any = true;
        }
        i += n;
    }
    return any ? out : std::string("/NUM");
}

int ParseCommandLine(HWND frame, const char* text, int showCmd) {
    CommandLine.switches.clear();
    CommandLine.rawSwitchText.clear();
    if (showCmd >= 0 && frame) {
        ShowWindow(frame, showCmd);
        UpdateWindow(frame);
    }
    if (!text || !*text) return 1;

    for (const std::string& token : SplitCommandLine(text)) {
        if (IsSwitch(token)) {
            Append(CommandLine.rawSwitchText, token.data(), token.size(), kRawMax);
            if (CommandLine.switches.size() < kMaxSwitches) CommandLine.switches.push_back(NormaliseSwitch(token));
        } else if (FileExists(token)) {
            CommandLineFileGiven = 1;
            BringForward(frame);
            if (SendMessageA(frame, UM_OPEN_DRAWING_FILE, 0, (LPARAM)token.c_str())) CommandLine.fileOpened = 1;
        } else {
            BringForward(frame);
            char msg[1024];
            FormatText(msg, sizeof msg, GetMessageText(IDS_FILE_NOT_FOUND), token.c_str());
            ShowErrorMessage(msg);
        }
    }
    if (!CommandLine.fileOpened) PostMessageA(frame, WM_COMMAND, 2424, 0);

    if (!CommandLine.switches.empty()) {
        if (frame && IsIconic(frame)) ShowWindow(frame, SW_RESTORE);
        std::string key;
        for (const std::string& s : CommandLine.switches)
            Append(key, s.data(), s.size(), kKeyMax);
        CommandLine.switchKey = key;
        std::string value = ReadProgramIniText("BOOT", key.c_str(), "", 80);
        int id = std::atoi(value.c_str());
        if (!value.empty() && id > 0) {
            CommandLine.startSwitchText = CommandLine.rawSwitchText;
            CommandLine.startSwitchKey = key;
            CMainFrame::AllowSystemCommand(id);
            PostMessageA(MainFrameWindow(), WM_COMMAND, (WPARAM)id, (LPARAM)CommandLine.startSwitchText.c_str());
            StartCommandPosted = 1;
        }
    }
    return 1;
}

int DestroyCommandId() {
    if (CommandLine.startSwitchText.empty()) return 0;
    // The key of the switches whose BOOT command ran: a later hand-over with
    // other switches does not separate the DESTROY command from its BOOT.
    std::string value = ReadProgramIniText("DESTROY", CommandLine.startSwitchKey.c_str(), "", 80);
    int id = std::atoi(value.c_str());
    return (!value.empty() && id > 0) ? id : 0;
}
