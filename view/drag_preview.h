// The transformed drag preview: a mark of one drawing drawn moved, turned
// and scaled (XOR) into the views of that drawing while the user drags it,
// and the de-duplication that keeps two coincident elements from cancelling
// each other out on the screen.
#pragma once

#include <windows.h>

#include <list>

#include "cadlib/WmCadApiDb.h"
#include "view/draw_param.h"

struct ViewData;

// The arguments of the last transformed preview, so that it can be drawn
// once more to remove it.
struct PreviewTransform {
    double source[3] = {0, 0, 0};
    double target[3] = {0, 0, 0};
    double angle = 0;
    double scale = 1;
    CadMark* mark = nullptr;
    HWND view = nullptr;
};
extern PreviewTransform PreviewTransformRecord;

// One view pass's record of coincident pairs.
class CoincidenceList {
public:
    CoincidenceList() = default;
    // 0, or -1 (de-duplication stays off) when the limit is 1 or less or the
    // view or its record is missing.
    int Begin(HWND view, ViewData* data, CadMark* mark, DbHeader* db, int limit);
    // Pixel geometry of a line (two ends) or circle (centre, radius) for the
    // record under test: 1 for kinds 1 and 3.
    int ComputePixelGeometry(const ElementRecord& record);
    // 1 when the record's pixel geometry matches the computed one.
    int MatchesPixelGeometry(const ElementRecord& record) const;
    int Contains(const StoredElement* element) const;
    void Add(const StoredElement* element);
    void Clear();
    // 1 when the element must not be drawn: a coincident partner of it is
    // drawn instead.
    int ShouldSkip(const StoredElement* element);

    int enabled = 0;
    int limit = 500;
    int tolerance = 2;
    int geometry[4] = {0, 0, 0, 0};
    int geometryKind = 0;
    int geometryValid = 0;

private:
    int Geometry(const ElementRecord& r, int* out) const;
    bool Test(const StoredElement* e, const StoredElement* candidate, int* failed);

    HWND m_view = nullptr;
    ViewData* m_data = nullptr;
    CadMark* m_mark = nullptr;
    DbHeader* m_db = nullptr;
    int m_cx = 0, m_cy = 0;
    double m_s = 1, m_offX = 0, m_offY = 0;
    std::list<const StoredElement*> m_seen;
};

// One pass over the mark for one view: `limit` < 0 is a drawing pass (it
// gives up when the user moves on and returns how many elements it
// handled); otherwise exactly `limit` elements are drawn again.
int DrawMarkTransformed(const double* transform, CadMark* mark, DbHeader* db, HWND view, ViewData* data, int limit);
