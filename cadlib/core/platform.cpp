#include "cadlib/core/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace cad {

namespace {
long long g_writeFault = -1;
}

void SetWriteFault(long long failAfter) { g_writeFault = failAfter; }

#ifdef _WIN32
void* BlockAlloc(size_t size) { return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size ? size : 1); }
size_t BlockSize(void* h) { return h ? GlobalSize(static_cast<HGLOBAL>(h)) : 0; }
void* BlockLock(void* h) { return h ? GlobalLock(static_cast<HGLOBAL>(h)) : nullptr; }
void BlockUnlock(void* h) {
    if (h) GlobalUnlock(static_cast<HGLOBAL>(h));
}
void BlockFree(void* h) {
    if (h) GlobalFree(static_cast<HGLOBAL>(h));
}
void* RasterAlloc(size_t size) {
    return VirtualAlloc(nullptr, size ? size : 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}
void RasterFree(void* p) {
    if (p) VirtualFree(p, 0, MEM_RELEASE);
}
bool MoveIntoPlace(const std::string& temp, const std::string& target) {
    return MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }
#else
// Native build: a block is a size word followed by the bytes.
void* BlockAlloc(size_t size) {
    size_t* p = static_cast<size_t*>(calloc(1, sizeof(size_t) + (size ? size : 1)));
    if (p) *p = size;
    return p;
}
size_t BlockSize(void* h) { return h ? *static_cast<size_t*>(h) : 0; }
void* BlockLock(void* h) { return h ? static_cast<size_t*>(h) + 1 : nullptr; }
void BlockUnlock(void*) {}
void BlockFree(void* h) { free(h); }
void* RasterAlloc(size_t size) { return calloc(1, size ? size : 1); }
void RasterFree(void* p) { free(p); }
bool MoveIntoPlace(const std::string& temp, const std::string& target) {
    return rename(temp.c_str(), target.c_str()) == 0;
}
bool RemoveFile(const std::string& path) { return remove(path.c_str()) == 0; }
#endif

bool ReadWholeFile(const std::string& path, std::string& out, size_t limit) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    out.clear();
    bool ok = fseek(f, 0, SEEK_END) == 0;
    long size = ok ? ftell(f) : -1;
    ok = ok && size >= 0 && static_cast<unsigned long>(size) <= limit && fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        try {
            out.resize(static_cast<size_t>(size));
        } catch (...) {
            ok = false;
        }
    }
    if (ok && size > 0) ok = fread(&out[0], 1, out.size(), f) == out.size();
    fclose(f);
    return ok;
}

bool ReadFilePrefix(const std::string& path, std::string& out, size_t size) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    out.resize(size);
    size_t n = fread(&out[0], 1, size, f);
    out.resize(n);
    fclose(f);
    return true;
}

bool ReadFileHead(const std::string& path, std::string& out, size_t size, size_t (*end)(const std::string&)) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    out.resize(size);
    size_t n = fread(&out[0], 1, size, f);
    out.resize(n);
    const size_t want = n == size ? end(out) : 0;
    if (want > n) {
        out.resize(want);
        n += fread(&out[n], 1, want - n, f);
        out.resize(n);
    }
    fclose(f);
    return true;
}

std::string TempNameBeside(const std::string& target) {
    static unsigned counter = 0;
#ifdef _WIN32
    unsigned long pid = GetCurrentProcessId();
#else
    unsigned long pid = static_cast<unsigned long>(getpid());
#endif
    // A short name in the target's folder, so that a long target path does
    // not make the temporary name too long, and the final move stays on
    // the same volume.
    // Code page 932: a trail byte may be 0x5C, so separators are found by a
    // scan that steps over double-byte characters.
    size_t cut = 0;
    for (size_t i = 0; i < target.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(target[i]);
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':') cut = i + 1;
    }
    std::string dir = target.substr(0, cut);
    char name[64];
    snprintf(name, sizeof name, "~cad%lx_%u.tmp", pid, ++counter);
    return dir + name;
}

namespace {

class StdioWriter : public FileWriter {
public:
    StdioWriter(FILE* f, long long faultAt) : f_(f), faultAt_(faultAt) {}
    ~StdioWriter() override {
        if (f_) fclose(f_);
    }
    bool Write(const void* data, size_t size) override {
        if (!f_ || failed_) return false;
        if (faultAt_ >= 0 && written_ + static_cast<long long>(size) > faultAt_) {
            failed_ = true;
            full_ = true;
            return false;
        }
        if (fwrite(data, 1, size, f_) != size) {
            failed_ = true;
#ifdef _WIN32
            DWORD e = GetLastError();
            full_ = (e == ERROR_DISK_FULL || e == ERROR_HANDLE_DISK_FULL);
#endif
            if (errno == ENOSPC) full_ = true;
            return false;
        }
        written_ += static_cast<long long>(size);
        return true;
    }
    bool Close() override {
        if (!f_) return false;
        bool ok = !failed_ && fflush(f_) == 0;
        if (fclose(f_) != 0) ok = false;
        f_ = nullptr;
        return ok;
    }
    bool DiskFull() const override { return full_; }

private:
    FILE* f_;
    long long faultAt_;
    long long written_ = 0;
    bool failed_ = false;
    bool full_ = false;
};

}  // namespace

FileWriter* OpenFileWriter(const std::string& path) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return nullptr;
    return new StdioWriter(f, g_writeFault);
}

}  // namespace cad
