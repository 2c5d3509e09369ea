#include "base/library_lookup.h"

#include <map>
#include <string>
#include <utility>

namespace {

std::map<std::pair<std::string, std::string>, FARPROC>& Cache() {
    static std::map<std::pair<std::string, std::string>, FARPROC> cache;
    return cache;
}

}  // namespace

FARPROC LoadedLibraryFunction(const char* library, const char* function) {
    auto& cache = Cache();
    const auto key = std::make_pair(std::string(library), std::string(function));
    auto found = cache.find(key);
    if (found != cache.end()) return found->second;
    HMODULE module = GetModuleHandleA(library);
    FARPROC address = module ? GetProcAddress(module, function) : nullptr;
    cache.emplace(key, address);
    return address;
}

void ForgetLibraryLookups() { Cache().clear(); }
