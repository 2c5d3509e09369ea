// Reading the line-based definition files of the shell (key and menu files):
// lines of at most 1023 bytes, leading blanks skipped, comments recognised.
#pragma once

#include <cstdio>
#include <string>

// Reads the next line (without its line end) into `line`; false at the end
// of the file. The rest of a line longer than 1023 bytes is skipped, so a
// tail is never taken for a line of its own.
bool ReadDefLine(FILE* f, std::string& line);
// The line without its leading blanks and tabs.
const char* SkipBlanks(const char* line);
// Empty lines and lines beginning with ";" or "//" (after the blanks).
bool IsCommentLine(const char* trimmed);
// True when `text` begins with `prefix`.
bool StartsWith(const char* text, const char* prefix);
