// Picking one element of the active drawing at a point: the elements within
// the pick aperture around it are the candidates (the library leaves out
// those on locked layers while its locked-layer search mode is 1). One
// candidate is the pick; of several, each is shown highlighted in turn and
// `ask` decides: 1 take it, 0 the next one, 2 stop without a pick.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

// The picked element (the library's handle), or 0.
uint32_t PickElementAtPoint(const double* point, const std::function<int()>& ask);
