// The answer of the panels to their host messages (application-panel pages
// and items, the right-click pop-up's entries and switches), by number.
#pragma once

#include <windows.h>

LRESULT PanelHostMessage(UINT msg, WPARAM wParam, LPARAM lParam);
