// The pixels of a TIFF through the platform's imaging component. A bilevel
// frame is copied straight into the caller's rows; any other frame is taken
// as grey and cut at half brightness. Ink is black, and black is a set bit.
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "rasread/s_rasread.h"

namespace {

template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

// COM for the length of one call, unless the thread already has it.
struct ComScope {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComScope() {
        if (SUCCEEDED(hr)) CoUninitialize();
    }
};

// Bits for `rows` rows of `stride` bytes, in locked moveable global memory.
uint8_t* AllocBits(uint64_t size) {
    if (size == 0 || size > 0x7fffffffULL) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size));
    if (!block) return nullptr;
    uint8_t* p = static_cast<uint8_t*>(GlobalLock(block));
    if (!p) GlobalFree(block);
    return p;
}

void FreeBits(uint8_t* p) {
    if (!p) return;
    HGLOBAL block = GlobalHandle(p);
    GlobalUnlock(block);
    GlobalFree(block);
}

// The imaging component's bilevel rows hold white as 1: turn them to ink as
// 1, and clear the bits past the last pixel of each row.
void InvertRows(uint8_t* bits, uint32_t width, uint32_t height, uint32_t stride) {
    const uint32_t full = width / 8, rest = width % 8;
    const uint8_t lastMask = rest ? uint8_t(0xFF00 >> rest) : 0;
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = bits + size_t(y) * stride;
        uint32_t x = 0;
        for (; x + 4 <= full; x += 4) {
            uint32_t v;
            std::memcpy(&v, row + x, 4);
            v = ~v;
            std::memcpy(row + x, &v, 4);
        }
        for (; x < full; ++x) row[x] = uint8_t(~row[x]);
        if (rest) row[full] = uint8_t(~row[full]) & lastMask;
        for (uint32_t b = full + (rest ? 1 : 0); b < stride; ++b) row[b] = 0;
    }
}

uint8_t* DecodeFrame(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, uint32_t w, uint32_t h) {
    const uint32_t stride = (w + 15) / 16 * 2;
    WICPixelFormatGUID format;
    if (FAILED(frame->GetPixelFormat(&format))) return nullptr;
    uint8_t* bits = AllocBits(uint64_t(stride) * h);
    if (!bits) return nullptr;
    if (IsEqualGUID(format, GUID_WICPixelFormatBlackWhite)) {
        if (FAILED(frame->CopyPixels(nullptr, stride, stride * h, bits))) {
            FreeBits(bits);
            return nullptr;
        }
        InvertRows(bits, w, h, stride);
        return bits;
    }
    ComPtr<IWICBitmapSource> grey;
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat8bppGray, frame, &grey))) {
        FreeBits(bits);
        return nullptr;
    }
    // A band at a time keeps the grey copy small for a large scan.
    const uint32_t band = std::max<uint32_t>(1, (4u << 20) / std::max<uint32_t>(w, 1));
    std::vector<uint8_t> rows;
    for (uint32_t y0 = 0; y0 < h; y0 += band) {
        const uint32_t n = std::min(band, h - y0);
        rows.resize(size_t(w) * n);
        WICRect rc = {0, static_cast<INT>(y0), static_cast<INT>(w), static_cast<INT>(n)};
        if (FAILED(grey->CopyPixels(&rc, w, w * n, rows.data()))) {
            FreeBits(bits);
            return nullptr;
        }
        for (uint32_t y = 0; y < n; ++y) {
            const uint8_t* g = rows.data() + size_t(y) * w;
            uint8_t* out = bits + size_t(y0 + y) * stride;
            for (uint32_t x = 0; x < w; ++x)
                if (g[x] < 128) out[x >> 3] |= uint8_t(0x80 >> (x & 7));
        }
    }
    (void)factory;
    return bits;
}

}  // namespace

ZAV_EXTERN_C void* ZAVAPI GetBMPfromTIFF(const void* data, uint32_t length, uint32_t* width, uint32_t* height) {
    if (width) *width = 0;
    if (height) *height = 0;
    if (!data || length < 8) return nullptr;
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return nullptr;
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(&stream))) return nullptr;
    if (FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), length))) return nullptr;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)))
        return nullptr;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, &frame))) return nullptr;
    UINT w = 0, h = 0;
    if (FAILED(frame->GetSize(&w, &h)) || w == 0 || h == 0) return nullptr;
    uint8_t* bits = DecodeFrame(factory.p, frame.p, w, h);
    if (!bits) return nullptr;
    if (width) *width = w;
    if (height) *height = h;
    return bits;
}
