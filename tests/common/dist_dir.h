// The installation folder of this build, as the test programs find it.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

// ZAV_DIST_DIR in Windows form (CTest hands a Unix path, which Wine maps
// under drive Z:). Without the variable (a test program started by hand),
// this build's installation folder: tests\bin\..\..\dist. Never the empty
// text, which would name the root of the drive.
inline std::string DistDir() {
    const char* d = std::getenv("ZAV_DIST_DIR");
    std::string s = d ? d : "";
    if (!s.empty() && s[0] == '/') {
        for (char& c : s)
            if (c == '/') c = '\\';
        s = "Z:" + s;
    }
    if (s.empty()) {
        char exe[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, exe, sizeof exe);
        s = exe;
        s = s.substr(0, s.find_last_of('\\')) + "\\..\\..\\dist";
    }
    return s;
}
