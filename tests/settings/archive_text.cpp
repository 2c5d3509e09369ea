#include "archive_text.h"

#include <cstdlib>
#include <cwchar>
#include <sstream>

namespace {

bool IsInteger(const std::wstring& v) {
    if (v.empty()) return false;
    size_t i = v[0] == L'-' ? 1 : 0;
    if (i == v.size()) return false;
    for (; i < v.size(); ++i)
        if (v[i] < L'0' || v[i] > L'9') return false;
    return true;
}

bool IsReal(const std::wstring& v, double* out) {
    if (v.empty() || IsInteger(v)) return false;
    wchar_t* end = nullptr;
    const double d = std::wcstod(v.c_str(), &end);
    if (end != v.c_str() + v.size()) return false;
    *out = d;
    return true;
}

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w)
        s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

// Walks the text: calls fn(name, valueBegin, valueEnd) for each leaf.
template <class Fn>
void ForEachLeaf(const std::wstring& xml, Fn fn) {
    size_t pos = 0;
    while ((pos = xml.find(L'<', pos)) != std::wstring::npos) {
        if (pos + 1 >= xml.size() || xml[pos + 1] == L'/' || xml[pos + 1] == L'?' || xml[pos + 1] == L'!') {
            ++pos;
            continue;
        }
        const size_t nameEnd = xml.find_first_of(L" >", pos + 1);
        const size_t tagEnd = xml.find(L'>', pos);
        if (nameEnd == std::wstring::npos || tagEnd == std::wstring::npos) return;
        const std::wstring name = xml.substr(pos + 1, nameEnd - pos - 1);
        const size_t next = xml.find(L'<', tagEnd);
        if (next == std::wstring::npos) return;
        const std::wstring close = L"</" + name + L">";
        if (xml.compare(next, close.size(), close) == 0) fn(name, tagEnd + 1, next);
        pos = tagEnd + 1;
    }
}

}  // namespace

std::vector<Leaf> Leaves(const std::wstring& xml) {
    std::vector<Leaf> out;
    ForEachLeaf(xml,
                [&](const std::wstring& name, size_t b, size_t e) { out.emplace_back(name, xml.substr(b, e - b)); });
    return out;
}

std::wstring ChangeEveryValue(const std::wstring& xml) {
    std::wstring out;
    size_t copied = 0;
    ForEachLeaf(xml, [&](const std::wstring& name, size_t b, size_t e) {
        if (name == L"count" || name == L"item_version") return;
        const std::wstring v = xml.substr(b, e - b);
        std::wstring changed;
        double d = 0;
        if (IsInteger(v)) {
            changed = std::to_wstring(std::wcstol(v.c_str(), nullptr, 10) + 1);
        } else if (IsReal(v, &d)) {
            wchar_t buf[64];
            std::swprintf(buf, 64, L"%.17g", d + 0.5);
            changed = buf;
        } else {
            changed = v + L"\x30A2&amp;&lt;&gt;";
        }
        out.append(xml, copied, b - copied);
        out += changed;
        copied = e;
    });
    out.append(xml, copied, std::wstring::npos);
    return out;
}

bool SameLeaves(const std::vector<Leaf>& a, const std::vector<Leaf>& b, std::string* why) {
    if (a.size() != b.size()) {
        *why = "leaf counts differ: " + std::to_string(a.size()) + " / " + std::to_string(b.size());
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].first != b[i].first) {
            *why = "element " + std::to_string(i) + ": " + Narrow(a[i].first) + " / " + Narrow(b[i].first);
            return false;
        }
        double x = 0, y = 0;
        const bool same =
            (IsReal(a[i].second, &x) || IsInteger(a[i].second)) && (IsReal(b[i].second, &y) || IsInteger(b[i].second))
                ? std::wcstod(a[i].second.c_str(), nullptr) == std::wcstod(b[i].second.c_str(), nullptr)
                : a[i].second == b[i].second;
        if (!same) {
            *why = "element " + Narrow(a[i].first) + " #" + std::to_string(i) + ": " + Narrow(a[i].second) + " / " +
                   Narrow(b[i].second);
            return false;
        }
    }
    return true;
}
