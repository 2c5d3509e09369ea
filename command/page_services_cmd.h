// The page services of UM_PAGE_FUNC and the zoom to a rectangle they share
// with UM_ZOOM_TO_RECT.
#pragma once

#include "command/host_messages.h"

// Zooms the active view so that the rectangle +0x3c/+0x44 - +0x54/+0x5c
// fills it, in the view's current view mode. 1, 0 without an active view.
int ZoomViewToRect(const CmdRequest* req);
