// Reading archive texts in tests: the leaf elements of a settings file.
#pragma once

#include <string>
#include <utility>
#include <vector>

using Leaf = std::pair<std::wstring, std::wstring>;

// Every element without child elements, name and text, in file order.
std::vector<Leaf> Leaves(const std::wstring& xml);

// Changes every stored value: integers +1, reals +0.5, texts get a Japanese
// character and markup characters appended. "count" and "item_version" stay.
std::wstring ChangeEveryValue(const std::wstring& xml);

// Same values: numbers compared as numbers, texts as texts (unescaped).
bool SameLeaves(const std::vector<Leaf>& a, const std::vector<Leaf>& b, std::string* why);
