// Little-endian byte output and bounds-checked input for the file format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace cad {

class ByteWriter {
public:
    explicit ByteWriter(std::string& out) : out_(out) {}
    void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void U16(uint16_t v) { Raw(&v, 2); }
    void U32(uint32_t v) { Raw(&v, 4); }
    void U64(uint64_t v) { Raw(&v, 8); }
    void Raw(const void* p, size_t n) { out_.append(static_cast<const char*>(p), n); }
    size_t Size() const { return out_.size(); }
    std::string& Out() { return out_; }

private:
    std::string& out_;
};

// Every read checks the bounds; after the first failure `ok` stays false
// and every further read yields zeros.
class ByteReader {
public:
    ByteReader(const void* data, size_t size) : p_(static_cast<const uint8_t*>(data)), n_(size) {}
    bool Raw(void* dst, size_t n) {
        if (!ok || n > n_ - pos_) {
            ok = false;
            memset(dst, 0, n);
            return false;
        }
        memcpy(dst, p_ + pos_, n);
        pos_ += n;
        return true;
    }
    const uint8_t* Take(size_t n) {
        if (!ok || n > n_ - pos_) {
            ok = false;
            return nullptr;
        }
        const uint8_t* r = p_ + pos_;
        pos_ += n;
        return r;
    }
    uint8_t U8() {
        uint8_t v;
        Raw(&v, 1);
        return v;
    }
    uint16_t U16() {
        uint16_t v;
        Raw(&v, 2);
        return v;
    }
    uint32_t U32() {
        uint32_t v;
        Raw(&v, 4);
        return v;
    }
    uint64_t U64() {
        uint64_t v;
        Raw(&v, 8);
        return v;
    }
    size_t Left() const { return n_ - pos_; }
    bool AtEnd() const { return pos_ == n_; }
    bool ok = true;

private:
    const uint8_t* p_;
    size_t n_;
    size_t pos_ = 0;
};

}  // namespace cad
