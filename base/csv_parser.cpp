// Comma-separated line splitting; see csv_parser.h.
//
// A double quote switches quoting on and off; a quote without a partner later
// on the line is plain text; a backslash before a quote keeps the quote in the
// field. The walk steps over double-byte characters whole, so the trail byte
// 0x5C of a character such as 表 or ソ is never taken for that backslash.
#include "base/csv_parser.h"

#include <cstring>
#include "base/dbcs.h"

CCsvParser::CCsvParser() {}

CCsvParser::CCsvParser(const char* line) { Parse(line); }

CCsvParser::CCsvParser(const std::string& line) { Parse(line); }

CCsvParser::~CCsvParser() {}

const std::string& CCsvParser::GetField(size_t index) const {
    static const std::string empty;
    return index < m_fields.size() ? m_fields[index] : empty;
}

static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// White space first, then the quotes, so blanks inside quotes stay.
static std::string FinishField(const std::string& field) {
    size_t begin = 0, end = field.size();
    while (begin < end && IsBlank(field[begin]))
        ++begin;
    // A trail byte is never white space or a quote (all are >= 0x40), so the
    // trailing bytes can be judged one by one.
    while (end > begin && IsBlank(field[end - 1]))
        --end;
    while (begin < end && field[begin] == '"')
        ++begin;
    while (end > begin && field[end - 1] == '"')
        --end;
    return field.substr(begin, end - begin);
}

// Removes the real backslashes at the end of the field (not trail bytes).
static void DropTrailingBackslashes(std::string& field) {
    while (!field.empty() && field.back() == '\\' && !IsDbcsTrailAt(field, field.size() - 1))
        field.pop_back();
}

int CCsvParser::Parse(const std::string& line) { return Parse(line.c_str()); }

int CCsvParser::Parse(const char* line) {
    m_fields.clear();
    if (!line) line = "";
    bool quoted = false;
    bool afterBackslash = false;  // the previous character was a real '\'
    std::string field;
    const char* p = line;
    while (*p) {
        size_t len = DbcsCharLength(p);
        if (len == 2) {
            field.append(p, 2);
            afterBackslash = false;
            p += 2;
            continue;
        }
        char c = *p;
        if (c == '"') {
            if (!quoted && p[1] != '\0' && std::strchr(p + 1, '"') == nullptr) {
                field += c;  // no partner on the line: plain text
            } else if (afterBackslash) {
                DropTrailingBackslashes(field);
                field += c;
            } else {
                quoted = !quoted;
                field += c;
            }
        } else if (c == ',' && !quoted) {
            m_fields.push_back(FinishField(field));
            field.clear();
        } else {
            field += c;
        }
        afterBackslash = (c == '\\');
        ++p;
    }
    m_fields.push_back(FinishField(field));
    return 0;
}
