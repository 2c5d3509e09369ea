// The tolerances and number display settings that command modules read and
// set through UM_SET_EPS.
#pragma once

#include <windows.h>

// The handler of UM_SET_EPS; the request is a CmdRequest whose sub-code at
// +0x10 chooses: 1/2 get/set the distance tolerance, 3/4 the angle
// tolerance, 5/6 the decimals (iDigit), 7/8 the trailing-zero switch
// (bZero), 9/10 the stored limit value. With iEpsMode 1 a view with its
// drawing keeps its own tolerances in its drawing information. Returns the
// sub-code's result: 1, the switch for 7, 0 when the drawing has no
// drawing information.
LRESULT SetDbEpsilon(WPARAM unused, LPARAM request);
