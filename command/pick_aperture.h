// The pick aperture: how far around the cursor, in pixels, picking and the
// point searches look. It comes from "iCursorFindArea" of LocalSettings.ini.
#pragma once

// The aperture in pixels (8 until the settings give another).
int GetCursorFindArea();
// 1 to 998: stores it and returns the previous value; any other value
// returns 0 and leaves the aperture as it is.
int SetCursorFindArea(int pixels);
