#include "shell/text_lines.h"

#include <cstring>

bool ReadDefLine(FILE* f, std::string& line) {
    char buf[1024];
    if (!std::fgets(buf, sizeof buf, f)) return false;
    size_t n = std::strlen(buf);
    bool complete = n > 0 && buf[n - 1] == '\n';
    while (n > 0 && (buf[n - 1] == '\n' || buf[n - 1] == '\r'))
        buf[--n] = '\0';
    line.assign(buf, n);
    if (!complete) {  // skip the rest of an overlong line
        int c;
        while ((c = std::fgetc(f)) != EOF && c != '\n') {}
    }
    return true;
}

const char* SkipBlanks(const char* line) {
    while (*line == ' ' || *line == '\t')
        ++line;
    return line;
}

bool IsCommentLine(const char* t) { return *t == '\0' || *t == ';' || (t[0] == '/' && t[1] == '/'); }

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }
