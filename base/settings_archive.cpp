#include "base/settings_archive.h"

#include <windows.h>

#include <cwchar>

#include <boost/archive/archive_exception.hpp>

std::wstring SettingsTextToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), &w[0], n);
    return w;
}

std::string SettingsTextFromWide(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), &s[0], n, nullptr, nullptr);
    return s;
}

double settings_archive::SettingsRealFromText(const std::wstring& text) {
    const wchar_t* begin = text.c_str();
    while (*begin == L' ' || *begin == L'\t' || *begin == L'\r' || *begin == L'\n')
        ++begin;
    wchar_t* end = nullptr;
    const double value = std::wcstod(begin, &end);
    while (end && (*end == L' ' || *end == L'\t' || *end == L'\r' || *end == L'\n'))
        ++end;
    if (end == begin || !end || *end != 0)
        throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error);
    return value;
}
