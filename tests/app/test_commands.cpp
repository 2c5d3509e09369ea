#include "tests/app/test_commands.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace {

bool ReadBytes(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return true;
}

// The text between <tag> and </tag> (tags are plain ASCII, never a trail
// byte of the code page 932 text around them); npos when missing.
bool Inner(const std::string& text, const std::string& tag, size_t& begin, size_t& end) {
    const std::string open = "<" + tag + ">", close = "</" + tag + ">";
    begin = text.find(open);
    if (begin == std::string::npos) return false;
    begin += open.size();
    end = text.find(close, begin);
    return end != std::string::npos;
}

}  // namespace

std::string TestCommandsFragmentPath() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string path = exe;
    return path.substr(0, path.find_last_of('\\') + 1) + "TestCmd.def";
}

bool InstallTestCommands(const std::string& installDir) {
    const std::string target = installDir + "\\CadAppCmd.def";
    std::string fragment, def;
    if (!ReadBytes(TestCommandsFragmentPath(), fragment) || !ReadBytes(target, def)) return false;
    size_t gb, ge, ib, ie;
    if (!Inner(fragment, "CmdGroup", gb, ge) || !Inner(fragment, "id", ib, ie)) return false;
    const std::string groups = fragment.substr(gb, ge - gb);
    const std::string ids = fragment.substr(ib, ie - ib);
    // The read-only ids first: inserting the groups moves what follows.
    size_t rb, re, db, de;
    if (!Inner(def, "ReadOnlyCmd", rb, re)) return false;
    const std::string readOnly = def.substr(rb, re - rb);
    if (!Inner(readOnly, "id", db, de)) return false;
    def.insert(rb + de, (de > db ? "," : "") + ids);
    size_t cb, ce;
    if (!Inner(def, "CmdGroup", cb, ce)) return false;
    def.insert(ce, groups);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << def;
    return static_cast<bool>(out);
}
