// The few operating-system services the core needs: the memory kinds that
// travel inside element records (global blocks for kind 50, virtual memory
// for raster bits) and the file calls of the safe save. Windows uses the
// platform functions; a native build uses the C library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cad {

// Kind-50 blocks: movable global memory handles.
void* BlockAlloc(size_t size);
size_t BlockSize(void* handle);
void* BlockLock(void* handle);
void BlockUnlock(void* handle);
void BlockFree(void* handle);

// Raster data: virtual memory, as the host allocates and frees it.
void* RasterAlloc(size_t size);
void RasterFree(void* p);

// Files.
bool ReadWholeFile(const std::string& path, std::string& out, size_t limit);
bool ReadFilePrefix(const std::string& path, std::string& out, size_t size);
// The first `size` bytes, then from the same open file on up to the end that
// `end(out)` names: a head whose length its first bytes tell, read with one
// open of the file.
bool ReadFileHead(const std::string& path, std::string& out, size_t size, size_t (*end)(const std::string&));
bool MoveIntoPlace(const std::string& temp, const std::string& target);
bool RemoveFile(const std::string& path);
std::string TempNameBeside(const std::string& target);

// A file being written. A failed write remembers whether the disk was full.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual bool Write(const void* data, size_t size) = 0;
    virtual bool Close() = 0;
    virtual bool DiskFull() const = 0;
};
FileWriter* OpenFileWriter(const std::string& path);

// Test seam: every writer opened after this call fails once `failAfter`
// bytes were written (as if the disk filled up); -1 restores normal writing.
void SetWriteFault(long long failAfter);

}  // namespace cad
