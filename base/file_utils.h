// File, path and number helpers of the base layer. Paths are ANSI text in
// code page 932; every path scan is DBCS-aware.
#pragma once

#include <windows.h>
#include <string>

// One time of a file as local calendar time: selector 0 creation, 1 last
// access, anything else last write. Non-zero on success, 0 when the file
// cannot be opened or a conversion fails.
int GetFileLocalTime(const char* path, SYSTEMTIME* out, int selector);

// Copies source over target when the source is newer (by the time that
// `selector` picks); a missing target is copied without overwriting anything
// created meanwhile. With `backupExt` (such as ".bak") the old target is kept
// under that extension first. Non-zero when a copy was made.
int CopyIfNewer(const char* source, const char* target, int selector, const char* backupExt);

// Splits a path into drive ("C:"), folder (with its final separator), name
// and extension (with its dot). Any out part may be null.
void SplitPath(const std::string& path, std::string* drive, std::string* dir, std::string* name, std::string* ext);

// Drive and folder of a path; the parent of a folder path that ends in a
// separator. C:\a\b\c.txt -> C:\a\b\, C:\a\b\ -> C:\a\, C:\a\b -> C:\a\.
std::string ParentFolder(const std::string& path);

// Makes a folder and every missing parent. 1 when the folder exists at the
// end, 0 when the path is empty, names a file, or a folder cannot be made.
int CreateDirectoryTree(const std::string& path);

// The folder of the running executable, with its final separator.
std::string GetModuleDir();

// Joins a name to a path in place (C:\a + b.txt -> C:\a\b.txt). Non-zero on
// success; on failure (result too long) the path is left unchanged.
int AppendPath(std::string& path, const char* name);

// The path cut before its extension; an empty text when it has none.
std::string PathWithoutExtension(const std::string& path);

// "%.*f" of the value; with `strip`, trailing zeros and then a trailing dot
// are removed. A negative zero loses its sign.
std::string FormatDouble(double value, int precision, int strip);

// Rounds to `decimals` places (negative: tens, hundreds...), after removing
// floating-point noise; halves round away from zero.
double RoundDecimals(double value, int decimals);

// Rounds to the fine step, then to the coarse step when that is coarser.
double SnapToStep(double value, double coarse, double fine);

// "1234567.89" -> "1,234,567.89". Texts that are not plain numbers come back
// trimmed and otherwise unchanged.
std::string InsertThousandsSeparators(const std::string& text);

// Writes the bytes to "<path>.$$$" and moves that over the file, so that a
// failure at any step leaves the old file whole. 1 written; 0 with the
// reason in `error` (when given).
int WriteFileReplacing(const std::string& path, const std::string& bytes, std::string* error = nullptr);
