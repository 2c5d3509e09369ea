// Display commands: zoom in and out about the point under the mouse and
// centring at the cursor, on the active view's current view mode, with the
// scale limits that follow from the drawing's scale.
#pragma once

#include <windows.h>

struct ViewData;

class CCadCmdDisp {
public:
    virtual ~CCadCmdDisp() = default;
    // in: 1 zoom in, 0 zoom out.
    int Zoom(int in, int recentre, double factor);
    int CenterAtCursor();
    double m_factor = 2.0;
};

CCadCmdDisp& GetCadCmdDisp();

// 1 done, 0 without a view. factor in (0, 9] multiplies the object's 2.0;
// anything else means 2.0 alone.
int DispZoomIn(int recentre, double factor);
int DispZoomOut(int recentre, double factor);
int DispCenterAtCursor(int ignored = 0);
// Upper (upper != 0) or lower scale limit for the paper fit: the drawing
// scale times 1e6 or 1e-4; 1.0 without record or database.
double GetScaleLimit(const ViewData* data, int upper);
// The effective zoom factor for a given one (tests read it).
double EffectiveZoomFactor(double given, double own = 2.0);
