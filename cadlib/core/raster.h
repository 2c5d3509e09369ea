// Compression of raster image data (kind 55): a small tagged header and a
// byte-run encoding that suits 1-bit scanned drawings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cad {

std::string CompressRaster(const uint8_t* data, size_t size);
// 0 on success; -1 when the data is damaged; -2 for an unknown method.
int ExpandRaster(const uint8_t* data, size_t size, std::string& out, size_t limit);

}  // namespace cad
