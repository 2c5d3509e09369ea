// Copy, move and transform of marked elements: the host applies the
// transform record element by element to what each kind stores (points,
// sizes, angles), rebuilds groups member by member, carries raster memory
// along, keeps figure definitions consistent across drawings and updates
// the screen.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"

// T0 size factor, T1-T4 rotation matrix, T5/T6 centre, T7/T8 target point,
// T9/T10 scale in x and y.
struct TransformParams {
    double t[11];
};
TransformParams& CurrentTransform();

int SetTransformParams(WPARAM all, const void* record);  // 88 bytes for 1, else 72
bool IsIdentityTransform(const TransformParams& p);
double TransformRotation(const TransformParams& p);

// Applies the transform to the fields of one record by its kind (kinds 50
// and 55 only when `copying`). pointScale: the POINTSCALEFG setting.
void TransformRecordByKind(ElementRecord* rec, const TransformParams& p, bool copying, int pointScale);

CadMark* TransformMarked(DbHeader* target, CadMark* mark, int layer);
CadMark* CopyMarked(CadMark* mark, int layer);
CadMark* MoveMarked(int flags, CadMark* mark, int layer);
CadMark* CopyMarkedToLayer(CadMark* mark, int layer, int page, int attribute);
CadMark* MoveMarkedToLayer(int flags, CadMark* mark, int layer, int page, int attribute);
// The marked elements (or, in group-copy mode, the members of
// `sourceGroup`) as members of a new group of `kind`. Null on failure, and
// then nothing of the new group is left in the drawing.
StoredElement* CopyAsGroup(StoredElement* sourceGroup, const CmdRequest* req, int kind, int modeBits);
