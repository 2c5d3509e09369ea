// The drawing files (".tcf" and ".otcf"): our own sectioned format with a
// version and a checksum per section; see cadlib/FORMAT.md.
#pragma once

#include <cstdint>
#include <string>

#include "cadlib/WmCadApiDb.h"

namespace cad {

enum class FileKind { Tcf, Otcf };

// Version 2 stores each element with the cells its kind uses, in compressed
// batches; version 1 stored whole records. Both load; saves write version 2.
const uint32_t kFormatVersion = 2;

// The whole file in memory. `thumbnail` is stored as given (a DIB).
// `version` 1 writes the old layout (for the fixtures that prove the loading
// of old files); anything else the current one.
std::string SerializeDrawing(DbHeader* db, FileKind kind, const std::string& thumbnail,
                             uint32_t version = kFormatVersion);

// Writes beside the target and moves the file into place when complete.
// 1 on success; 0 with status bit 0x10 (disk full) or 0x20 otherwise.
int SaveDrawing(DbHeader* db, const char* path, FileKind kind, const std::string& thumbnail, uint32_t* status);

// Loads a whole drawing (infoOnly: the drawing information and thumbnail
// only). On failure the database is valid and empty and `status` says why;
// *status == 1 on entry forces a newer-format file in.
int LoadDrawingBytes(DbHeader* db, const std::string& bytes, FileKind kind, uint32_t* status, bool infoOnly,
                     std::string* thumbnail);
int LoadDrawing(DbHeader* db, const char* path, FileKind kind, uint32_t* status, bool infoOnly, std::string* thumbnail);

// Where the last whole load of this process spent its time, in seconds
// (for the benchmarks).
struct LoadPhases {
    double read = 0;      // the file's bytes into memory
    double elements = 0;  // the trees of elements decoded and linked
    double index = 0;     // the spatial index packed from their boxes
    double total = 0;
};
const LoadPhases& LastLoadPhases();

}  // namespace cad
