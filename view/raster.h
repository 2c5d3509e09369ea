// Raster images of drawings: the work planes, the raster requests of the
// raster command module and the rotation of the active raster.
#pragma once

#include <windows.h>

// Reserves the raster work planes sized from the screen; non-zero on
// success.
int AllocRasterWorkMemory();
void FreeRasterWorkMemory();
// Size in bytes of the reserved planes (0 when none).
size_t RasterWorkMemorySize();

// A raster operation by kind on the request record. For now: 0.
int ExecRasterRequest(int operation, void* request);
// Asks the angle and rotates the active raster. For now: 0.
int RotateActiveRaster();
// The raster snap of the modal wait. For now: 0, point unchanged.
int TransformRasterElement(double* point, const void* element);
