#include "view/raster.h"

namespace {
void* g_workPlanes = nullptr;
size_t g_workSize = 0;
}  // namespace

int AllocRasterWorkMemory() {
    if (g_workPlanes) return 1;
    // One byte per screen pixel, for two planes: enough to render the
    // visible part of an attached image.
    const size_t w = (size_t)::GetSystemMetrics(SM_CXSCREEN);
    const size_t h = (size_t)::GetSystemMetrics(SM_CYSCREEN);
    size_t size = (w ? w : 1024) * (h ? h : 768) * 2;
    g_workPlanes = ::VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_READWRITE);
    g_workSize = g_workPlanes ? size : 0;
    return g_workPlanes ? 1 : 0;
}

void FreeRasterWorkMemory() {
    if (g_workPlanes) ::VirtualFree(g_workPlanes, 0, MEM_RELEASE);
    g_workPlanes = nullptr;
    g_workSize = 0;
}

size_t RasterWorkMemorySize() { return g_workSize; }

int ExecRasterRequest(int, void*) { return 0; }
int RotateActiveRaster() { return 0; }
int TransformRasterElement(double*, const void*) { return 0; }
