// Which windows' keys belong to the panels: the docked panel, a page's
// floating form, the right-click pop-up, a combo's drop-down and their
// children (editors, combo boxes, list boxes, buttons).
#pragma once

#include <windows.h>

bool IsPanelKeyTarget(HWND window);
