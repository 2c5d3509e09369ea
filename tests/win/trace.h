// A shared record of what ran, in order, for the routing tests.
#pragma once

#include <string>
#include <vector>

using Trace = std::vector<std::string>;
extern Trace g_trace;

inline std::string JoinTrace(const Trace& t) {
    std::string s;
    for (const auto& e : t) {
        if (!s.empty()) s += ' ';
        s += e;
    }
    return s;
}
