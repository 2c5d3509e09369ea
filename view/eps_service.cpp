#include "view/eps_service.h"

#include <cmath>
#include <cstddef>
#include <cstring>

#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "view/geometry.h"
#include "view/view_data.h"

namespace {

double g_storedLimit = 1e14;

enum EpsSubCode {
    kGetDistance = 1,
    kSetDistance = 2,
    kGetAngle = 3,
    kSetAngle = 4,
    kGetDigits = 5,
    kSetDigits = 6,
    kGetZero = 7,
    kSetZero = 8,
    kGetLimit = 9,
    kSetLimit = 10,
};

double InputValue(const CmdRequest& r) {
    double v;
    std::memcpy(&v, &r.pt1[0], sizeof v);
    return v;
}

void PutDouble(const CmdRequest& r, double v) {
    if (r.w.anglePtr) std::memcpy(reinterpret_cast<void*>(r.w.anglePtr), &v, sizeof v);
}

void PutInt(const CmdRequest& r, int v) {
    if (r.picked) std::memcpy(reinterpret_cast<void*>(r.picked), &v, sizeof v);
}

// The sub-codes that are the same in both modes.
LRESULT DisplaySetting(const CmdRequest& r) {
    RunningSettings& s = Running();
    switch (r.w.mode) {
    case kGetDigits: PutInt(r, s.iDigit); return 1;
    case kSetDigits: s.iDigit = r.arg; return 1;
    case kGetZero: return s.bZero;
    case kSetZero: s.bZero = r.arg; return 1;
    case kGetLimit: PutDouble(r, g_storedLimit); return 1;
    case kSetLimit: g_storedLimit = InputValue(r); return 1;
    }
    return 1;
}

LRESULT DrawingTolerance(const CmdRequest& r, DbHeader* db) {
    DbInfo* info = DAriGetDbInfoPtr(db->pages.currentPage, db);
    if (!info) return 0;
    switch (r.w.mode) {
    case kGetDistance: PutDouble(r, CadGetF64(info, offsetof(DbInfo, epsDistance))); return 1;
    case kSetDistance: CadSetF64(info, offsetof(DbInfo, epsDistance), InputValue(r)); return 1;
    case kGetAngle:
        PutDouble(r, SafeAtan2(CadGetF64(info, offsetof(DbInfo, epsAngleSin)),
                               CadGetF64(info, offsetof(DbInfo, epsAngleCos))));
        return 1;
    case kSetAngle: {
        const double angle = InputValue(r);
        CadSetF64(info, offsetof(DbInfo, epsAngleCos), std::cos(angle));
        CadSetF64(info, offsetof(DbInfo, epsAngleSin), std::sin(angle));
        return 1;
    }
    }
    return DisplaySetting(r);
}

LRESULT GlobalTolerance(const CmdRequest& r) {
    switch (r.w.mode) {
    case kGetDistance: PutDouble(r, GetDrawingTolerance()); return 1;
    case kSetDistance:
        SetGeometryTolerances(InputValue(r), GetAngleTolerance());
        Running().dEps = GetDrawingTolerance();
        return 1;
    case kGetAngle: PutDouble(r, GetAngleTolerance()); return 1;
    case kSetAngle:
        SetGeometryTolerances(GetDrawingTolerance(), InputValue(r));
        Running().dEpsAngle = GetAngleTolerance();
        return 1;
    }
    return DisplaySetting(r);
}

}  // namespace

LRESULT SetDbEpsilon(WPARAM, LPARAM request) {
    if (!request) return 0;
    const CmdRequest& r = *reinterpret_cast<const CmdRequest*>(request);
    if (LocalIni().iEpsMode == 1) {
        ViewData* data = r.view ? GetViewData(r.view) : nullptr;
        if (data && data->db) return DrawingTolerance(r, data->db);
    }
    return GlobalTolerance(r);
}
