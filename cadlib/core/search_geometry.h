// Exact tests of one plain element (kinds 1-7, 50, 55, 60) against a point
// or a rectangle, and its characteristic points, for the searches.
#pragma once

#include <vector>

#include "cadlib/core/element_geometry.h"

namespace cad {

struct Pt {
    double x, y;
};

// Distance from (x, y) to what the element shows.
double LeafDistance(const ElementRecord& rec, double x, double y);
// Some part of the element lies in the rectangle (edges included).
bool LeafTouches(const ElementRecord& rec, const Box& rect);
// The nearest point of the element to (x, y).
bool LeafNearest(const ElementRecord& rec, double x, double y, Pt& out);

void EndPoints(const ElementRecord& rec, std::vector<Pt>& out);
void MidPoints(const ElementRecord& rec, int divisions, std::vector<Pt>& out);
// Centre of circles, arcs, ellipses and elliptic arcs.
bool CentreOf(const ElementRecord& rec, Pt& out);
// Crossings of two elements (lines, circles, arcs, 50/60 edges).
void Crossings(const ElementRecord& a, const ElementRecord& b, std::vector<Pt>& out);

// The outline of a curve as points (for ellipses and the painter).
void EllipsePolyline(const EllipseGeo& g, int segments, std::vector<Pt>& out);

}  // namespace cad
