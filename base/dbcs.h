// Code page 932 (Shift_JIS) character handling shared by every subsystem.
// Any scan of system text for a single-byte character ('\\', '|', ',', '"')
// must go through these helpers: the trail byte of a double-byte character
// may have the value 0x5C or 0x7C and must never be taken for that character.
#pragma once

#include <cstddef>
#include <string>

// 1 for a lead byte of code page 932 (0x81-0x9F, 0xE0-0xFC), else 0.
int IsSjisLeadByte(unsigned char byte);

// 1 when `byte` can follow a lead byte (0x40-0x7E, 0x80-0xFC), else 0.
int IsSjisTrailByte(unsigned char byte);

// Length in bytes (1 or 2) of the character that starts at `p`; 0 at the end
// of the text. A lead byte without a valid trail byte counts as one byte, so a
// broken text never swallows its terminator or a delimiter.
size_t DbcsCharLength(const char* p);

// The character after the one at `p` (never past the terminator).
const char* DbcsNext(const char* p);

// Byte offset of the first character at or after `pos` that is the single
// byte `ch`, or npos. Trail bytes are never matched.
size_t DbcsFind(const std::string& text, char ch, size_t pos = 0);
// Byte offset of the last such character, or npos.
size_t DbcsFindLast(const std::string& text, char ch);
// The same over a zero-terminated text: pointer to the character or null.
const char* DbcsFindChar(const char* text, char ch);
const char* DbcsFindLastChar(const char* text, char ch);

// 1 when the byte at `index` is the second byte of a double-byte character.
int IsDbcsTrailAt(const char* text, size_t index);
int IsDbcsTrailAt(const std::string& text, size_t index);

// The largest character boundary not beyond `n` bytes (at most the text's
// length): cutting there never splits a double-byte character.
size_t DbcsBoundary(const char* text, size_t n);
size_t DbcsBoundary(const std::string& text, size_t n);

// Cuts the text in place so that at most n bytes remain, removing a
// double-byte character whole when it would end after byte n. Returns -1
// when it cut, 0 when the text already fitted.
int TruncateDbcsText(char* text, size_t n);
int TruncateDbcsText(std::string& text, size_t n);

// Copies `src` into `dst` of `size` bytes, always terminated, cut on a
// character boundary. Returns the number of bytes copied (without the zero).
size_t DbcsCopy(char* dst, size_t size, const char* src);
