#pragma once
// Helpers shared by the layout and the painter (not part of the component's interface).
#include <vector>

#include <QFont>
#include <QPolygonF>
#include <QString>

#include "platform/chart/chart_font.h"
#include "platform/chart/chart_layout.h"

namespace vantelo::chart::detail {

struct Vec3 {
    double u = 0, v = 0, w = 0;
};

struct BoxBounds {
    double u0 = 0, u1 = 0, v0 = 0, v1 = 0, w0 = 0, w1 = 0;
};

// The font at its size in chart pixels (points taken at 96 dpi).
QFont device_font(const ChartFont& font, int default_point_size);

// A value in the general number format.
QString general_text(double value);

// The model-space direction toward the viewer of a projection.
Vec3 view_direction(const Projection& p);

// The faces of a box that face the viewer, the front face (w = w0) last.
std::vector<QPolygonF> box_faces(const Projection& p, const Vec3& view, const BoxBounds& box);

}  // namespace vantelo::chart::detail
