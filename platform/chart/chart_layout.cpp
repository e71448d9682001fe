#include "platform/chart/chart_layout.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <QFontMetricsF>

#include "platform/chart/chart.h"
#include "platform/chart/layout_detail.h"
#include "platform/core/numtext.h"

namespace vantelo::chart {

using detail::BoxBounds;

double ChartLayout::category_to_model(double x) const
{
    const long double span = static_cast<long double>(category_max) - category_min;
    if (!(span > 0)) return 0;
    const double m = static_cast<double>((x - static_cast<long double>(category_min)) / span *
                                         (horizontal ? model_height : model_width));
    return std::clamp(m, -1e6, 1e6);
}

double ChartLayout::value_to_model(double value) const
{
    // In extended precision: the span of two values near the double limit does not overflow.
    const long double span = static_cast<long double>(value_max) - value_min;
    if (!(span > 0)) return 0;
    const double m = static_cast<double>((value - static_cast<long double>(value_min)) / span *
                                         (horizontal ? model_width : model_height));
    // Keep far-off values drawable: QPainter misbehaves on coordinates beyond a few million.
    const double limit = 1e6;
    return std::clamp(m, -limit, limit);
}

namespace detail {

QFont device_font(const ChartFont& font, int default_point_size)
{
    QFont f = font.to_qfont(default_point_size);
    // Sizes in points become pixels at 96 dpi, so that text keeps its size relative to the
    // chart on every device (a printer's painter is scaled from chart pixels to the page).
    if (font.pixel_size <= 0) {
        const int pt = font.point_size > 0 ? font.point_size : default_point_size;
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(pt * 96.0 / 72.0))));
    }
    return f;
}

QString general_text(double value)
{
    return QString::fromStdString(vantelo::format_general(static_cast<vantelo::real>(value)));
}

Vec3 view_direction(const Projection& p)
{
    const Vec3 r1{p.eu.x(), p.ev.x(), p.ew.x()};
    const Vec3 r2{p.eu.y(), p.ev.y(), p.ew.y()};
    return Vec3{r1.v * r2.w - r1.w * r2.v, r1.w * r2.u - r1.u * r2.w, r1.u * r2.v - r1.v * r2.u};
}

std::vector<QPolygonF> box_faces(const Projection& p, const Vec3& d, const BoxBounds& b)
{
    const auto pt = [&p](double u, double v, double w) { return p.map(u, v, w); };
    struct Face {
        Vec3 normal;
        QPolygonF poly;
    };
    const Face faces[] = {
        {{0, 0, 1}, QPolygonF{{pt(b.u0, b.v0, b.w1), pt(b.u1, b.v0, b.w1), pt(b.u1, b.v1, b.w1), pt(b.u0, b.v1, b.w1)}}},
        {{-1, 0, 0}, QPolygonF{{pt(b.u0, b.v0, b.w0), pt(b.u0, b.v0, b.w1), pt(b.u0, b.v1, b.w1), pt(b.u0, b.v1, b.w0)}}},
        {{1, 0, 0}, QPolygonF{{pt(b.u1, b.v0, b.w0), pt(b.u1, b.v0, b.w1), pt(b.u1, b.v1, b.w1), pt(b.u1, b.v1, b.w0)}}},
        {{0, -1, 0}, QPolygonF{{pt(b.u0, b.v0, b.w0), pt(b.u1, b.v0, b.w0), pt(b.u1, b.v0, b.w1), pt(b.u0, b.v0, b.w1)}}},
        {{0, 1, 0}, QPolygonF{{pt(b.u0, b.v1, b.w0), pt(b.u1, b.v1, b.w0), pt(b.u1, b.v1, b.w1), pt(b.u0, b.v1, b.w1)}}},
        {{0, 0, -1}, QPolygonF{{pt(b.u0, b.v0, b.w0), pt(b.u1, b.v0, b.w0), pt(b.u1, b.v1, b.w0), pt(b.u0, b.v1, b.w0)}}},
    };
    std::vector<QPolygonF> out;
    for (const Face& f : faces) {
        const double facing = f.normal.u * d.u + f.normal.v * d.v + f.normal.w * d.w;
        if (facing > 1e-9) out.push_back(f.poly);
    }
    return out;
}

}  // namespace detail

namespace {

using detail::Vec3;

constexpr double kSlot = 0.8;          // share of a category slot filled by bars
constexpr double kMaxThickness = 1e4;  // walls and markers beyond this look the same

bool finite(double x) { return std::isfinite(x); }

// A "nice" step (1, 2 or 5 times a power of ten) for about `target` intervals over span.
long double nice_step(long double span, int target)
{
    if (!(span > 0) || target < 1) return 1;
    const long double raw = span / target;
    const long double mag = std::pow(10.0L, std::floor(std::log10(raw)));
    const long double f = raw / mag;
    const long double m = f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10;
    return m * mag;
}

// Bars and areas: the base and top value of each point after the combination rules.
struct Extent {
    double base = 0;
    double top = 0;
};

struct StackInfo {
    std::vector<std::vector<Extent>> extents;  // per series, per point (bars and areas only)
    int bar_series_count = 0;
    std::vector<int> bar_index;  // per series: its place among the bar series, or -1
    BarCombination bar_combination = mbNone;
};

StackInfo stack_values(const Chart& chart)
{
    StackInfo info;
    const int n = chart.series_count();
    info.extents.resize(static_cast<std::size_t>(n));
    info.bar_index.assign(static_cast<std::size_t>(n), -1);
    bool bar_seen = false;
    bool area_seen = false;
    AreaCombination area_combination = maNone;
    for (int s = 0; s < n; ++s) {
        const Series& ser = chart.series(s);
        if (ser.is_bar()) {
            if (!bar_seen) info.bar_combination = ser.bar_combination();
            bar_seen = true;
            info.bar_index[static_cast<std::size_t>(s)] = info.bar_series_count++;
        } else if (ser.kind() == SeriesKind::Area && !area_seen) {
            area_combination = ser.area_combination();
            area_seen = true;
        }
    }
    const auto combine = [&](bool bars, bool stacked, bool percent) {
        // Sum of |value| per x over the group (for the percent rule), then running sums.
        std::map<double, long double> totals;
        if (percent)
            for (int s = 0; s < n; ++s) {
                const Series& ser = chart.series(s);
                if ((bars ? ser.is_bar() : ser.kind() == SeriesKind::Area))
                    for (const ChartPoint& p : ser.points())
                        if (finite(p.value) && finite(p.x)) totals[p.x] += std::fabs(static_cast<long double>(p.value));
            }
        std::map<double, long double> running;
        for (int s = 0; s < n; ++s) {
            const Series& ser = chart.series(s);
            if (!(bars ? ser.is_bar() : ser.kind() == SeriesKind::Area)) continue;
            auto& ext = info.extents[static_cast<std::size_t>(s)];
            ext.resize(ser.points().size());
            for (std::size_t i = 0; i < ser.points().size(); ++i) {
                const ChartPoint& p = ser.points()[i];
                long double v = p.value;
                if (!finite(p.value) || !finite(p.x)) {
                    ext[i] = Extent{0, 0};
                    continue;
                }
                if (percent) {
                    const long double t = totals[p.x];
                    v = t > 0 ? v / t * 100 : 0;  // an all-zero column has height 0
                }
                if (stacked) {
                    long double& r = running[p.x];
                    ext[i] = Extent{static_cast<double>(r), static_cast<double>(r + v)};
                    r += v;
                } else {
                    ext[i] = Extent{0, static_cast<double>(v)};
                }
            }
        }
    };
    combine(true, info.bar_combination == mbStacked || info.bar_combination == mbStacked100,
            info.bar_combination == mbStacked100);
    combine(false, area_combination == maStacked || area_combination == maStacked100,
            area_combination == maStacked100);
    return info;
}

// The depth band of each series: bars combined side by side or stacked share one band, as
// do stacked areas; every other series has its own. Returns band per series and band count.
std::vector<int> depth_bands(const Chart& chart, BarCombination bars, int& count)
{
    const int n = chart.series_count();
    std::vector<int> band(static_cast<std::size_t>(n), 0);
    int bar_band = -1;
    int area_band = -1;
    bool first_area = true;
    AreaCombination area_combination = maNone;
    count = 0;
    for (int s = 0; s < n; ++s) {
        const Series& ser = chart.series(s);
        if (ser.is_bar() && bars != mbNone) {
            if (bar_band < 0) bar_band = count++;
            band[static_cast<std::size_t>(s)] = bar_band;
        } else if (ser.kind() == SeriesKind::Area) {
            if (first_area) area_combination = ser.area_combination();
            first_area = false;
            if (area_combination != maNone) {
                if (area_band < 0) area_band = count++;
                band[static_cast<std::size_t>(s)] = area_band;
            } else {
                band[static_cast<std::size_t>(s)] = count++;
            }
        } else {
            band[static_cast<std::size_t>(s)] = count++;
        }
    }
    if (count == 0) count = 1;
    return band;
}

double text_width(const QFontMetricsF& fm, const QString& s) { return fm.horizontalAdvance(s); }

}  // namespace

ChartLayout layout_chart(const Chart& chart, QSizeF size)
{
    ChartLayout l;
    if (!(size.width() > 0 && size.height() > 0) || !finite(size.width()) || !finite(size.height())) return l;
    l.empty = false;
    l.chart_rect = QRectF(QPointF(0, 0), size);
    const double cw = size.width();
    const double ch = size.height();

    // Bevels, then margins in percent of the chart's size.
    const Bevel& bevel = chart.bevel();
    const double bw = std::clamp(bevel.width, 0, 1000) *
                      ((bevel.inner != BevelStyle::None ? 1 : 0) + (bevel.outer != BevelStyle::None ? 1 : 0));
    l.inner_rect = QRectF(QPointF(cw * chart.margin_left() / 100.0 + bw, ch * chart.margin_top() / 100.0 + bw),
                          QPointF(cw - cw * chart.margin_right() / 100.0 - bw,
                                  ch - ch * chart.margin_bottom() / 100.0 - bw));
    QRectF rest = l.inner_rect;

    // Title.
    {
        const QFontMetricsF fm(detail::device_font(chart.title_font(), kDefaultTitlePointSize));
        const double frame = chart.title_frame_visible() ? std::clamp(chart.title_frame_width(), 0, 1000) + 2 : 0;
        double y = rest.top() + frame;
        double widest = 0;
        for (const QString& line : chart.title_lines()) {
            if (line.isEmpty()) continue;
            const double w = text_width(fm, line);
            widest = std::max(widest, w);
            l.title_line_rects.push_back(QRectF(rest.center().x() - w / 2, y, w, fm.height()));
            y += fm.height();
        }
        if (!l.title_line_rects.empty()) {
            l.title_rect = QRectF(rest.center().x() - widest / 2 - frame, rest.top(), widest + 2 * frame,
                                  y - rest.top() + frame);
            rest.setTop(l.title_rect.bottom() + 4);
        }
    }

    const QFont label_font = detail::device_font(ChartFont{}, kDefaultLabelPointSize);
    const QFontMetricsF lfm(label_font);

    // Legend at the right, one entry per series.
    if (chart.legend_visible() && chart.series_count() > 0) {
        const double row = std::max(lfm.height(), 10.0) + 2;
        const double swatch_w = 14;
        double widest = 0;
        for (int s = 0; s < chart.series_count(); ++s) widest = std::max(widest, text_width(lfm, chart.series(s).title()));
        const double lw = swatch_w + 12 + widest;
        const double lh = row * chart.series_count() + 6;
        l.legend_rect = QRectF(rest.right() - lw, rest.top() + std::max(0.0, (rest.height() - lh) / 2), lw, lh);
        for (int s = 0; s < chart.series_count(); ++s) {
            const double y = l.legend_rect.top() + 3 + row * s;
            LegendEntry e;
            e.series = s;
            e.swatch = QRectF(l.legend_rect.left() + 4, y + (row - 8) / 2, swatch_w, 8);
            e.text_rect = QRectF(e.swatch.right() + 4, y, widest + 2, row);
            e.text = chart.series(s).title();
            e.colour = chart.series(s).colour();
            l.legend.push_back(e);
        }
        rest.setRight(l.legend_rect.left() - 6);
    }

    // Orientation and ranges.
    l.horizontal = chart.series_count() > 0 && chart.series(0).kind() == SeriesKind::HorizBar;
    const StackInfo stack = stack_values(chart);
    bool any_bar = false;
    bool any_point = false;
    double cmin = 0, cmax = 0, vmin = 0, vmax = 0;
    bool vseen = false;
    const auto take_value = [&](double v) {
        if (!finite(v)) return;
        if (!vseen) vmin = vmax = v;
        vmin = std::min(vmin, v);
        vmax = std::max(vmax, v);
        vseen = true;
    };
    for (int s = 0; s < chart.series_count(); ++s) {
        const Series& ser = chart.series(s);
        const auto& ext = stack.extents[static_cast<std::size_t>(s)];
        const bool combined = ser.is_bar() || ser.kind() == SeriesKind::Area;
        if (combined && ser.count() > 0) take_value(0);
        for (std::size_t i = 0; i < ser.points().size(); ++i) {
            const ChartPoint& p = ser.points()[i];
            if (!finite(p.x)) continue;
            if (!any_point) cmin = cmax = p.x;
            cmin = std::min(cmin, p.x);
            cmax = std::max(cmax, p.x);
            any_point = true;
            if (combined) {
                take_value(ext[i].base);
                take_value(ext[i].top);
            } else {
                take_value(p.value);
            }
        }
        if (ser.is_bar() && ser.count() > 0) any_bar = true;
    }
    if (!any_point) {
        cmin = 0;
        cmax = 1;
    } else if (any_bar) {
        cmin -= 0.5;
        cmax += 0.5;
    } else if (cmin == cmax) {
        cmin -= 0.5;
        cmax += 0.5;
    }
    l.category_min = cmin;
    l.category_max = cmax;
    if (!vseen) {
        vmin = 0;
        vmax = 1;
    }
    if (!chart.value_axis_automatic()) {
        vmin = chart.value_axis_min();
        vmax = chart.value_axis_max();
    }
    if (vmin == vmax) {
        const double pad = vmin == 0 ? 1 : std::fabs(vmin) * 0.1;
        vmin -= pad;
        vmax += pad;
        if (vmin > 0 && vmin - pad < 0) vmin = 0;
    }
    {
        const double axis_len = l.horizontal ? rest.width() : rest.height();
        const int target = std::clamp(static_cast<int>(axis_len / 50), 2, 10);
        const long double step = nice_step(static_cast<long double>(vmax) - vmin, target);
        const long double lo = std::floor(vmin / step) * step;
        const long double hi = std::ceil(vmax / step) * step;
        if (std::isfinite(static_cast<double>(lo)) && std::isfinite(static_cast<double>(hi)) && hi > lo) {
            vmin = static_cast<double>(lo);
            vmax = static_cast<double>(hi);
        }
        l.value_min = vmin;
        l.value_max = vmax;
        const long double k0 = std::ceil(vmin / step);
        for (int k = 0; k <= 100; ++k) {
            const long double t = (k0 + k) * step;
            if (t > static_cast<long double>(vmax) + step * 1e-9L) break;
            l.value_ticks.push_back(static_cast<double>(t));
        }
    }

    // Room for the axis titles and labels.
    const QFontMetricsF bfm(detail::device_font(chart.bottom_axis_font(), kDefaultAxisTitlePointSize));
    const QFontMetricsF afm(detail::device_font(chart.left_axis_font(), kDefaultAxisTitlePointSize));
    if (!chart.bottom_axis_title().isEmpty()) {
        const double h = bfm.height();
        const double w = text_width(bfm, chart.bottom_axis_title());
        l.bottom_axis_title_rect = QRectF(rest.center().x() - w / 2, rest.bottom() - h, w, h);
        rest.setBottom(rest.bottom() - h - 2);
    }
    if (!chart.left_axis_title().isEmpty()) {
        const double h = afm.height();
        const double w = text_width(afm, chart.left_axis_title());
        l.left_axis_title_rect = QRectF(rest.left(), rest.center().y() - w / 2, h, w);
        rest.setLeft(rest.left() + h + 2);
    }
    // Category labels: the point labels of the first series with points when it has any,
    // else numbers.
    const Series* cat_series = nullptr;
    for (int s = 0; s < chart.series_count(); ++s)
        if (chart.series(s).count() > 0) {
            cat_series = &chart.series(s);
            break;
        }
    const bool use_labels = cat_series && cat_series->has_labels();
    std::vector<double> value_texts_w;
    double value_label_extent = 0;  // width (vertical value axis) of the widest tick text
    for (double t : l.value_ticks) value_label_extent = std::max(value_label_extent, text_width(lfm, detail::general_text(t)));
    double category_label_extent = 0;
    if (l.horizontal) {
        if (use_labels) {
            const auto& pts = cat_series->points();
            const std::size_t n = std::min<std::size_t>(pts.size(), 2000);
            for (std::size_t i = 0; i < n; ++i) category_label_extent = std::max(category_label_extent, text_width(lfm, pts[i].label));
        } else {
            category_label_extent = std::max(text_width(lfm, detail::general_text(cmin)), text_width(lfm, detail::general_text(cmax)));
        }
        rest.setLeft(rest.left() + category_label_extent + 4);
    } else {
        rest.setLeft(rest.left() + value_label_extent + 4);
    }
    rest.setBottom(rest.bottom() - lfm.height() - 4);
    if (chart.view3d()) {
        // Room for the slabs of thick left and bottom walls, up to a quarter of the plot.
        const double ls = std::clamp<double>(chart.wall(WallKind::Left).size, 0, std::max(0.0, rest.width() / 4));
        const double bs = std::clamp<double>(chart.wall(WallKind::Bottom).size, 0, std::max(0.0, rest.height() / 4));
        rest.setLeft(rest.left() + ls);
        rest.setBottom(rest.bottom() - bs);
    }
    // Keep the right-most bottom label inside.
    rest.setRight(rest.right() - 4);
    l.plot_rect = rest;

    // The 3-D box and its projection.
    l.three_d = chart.view3d();
    const double pw = std::max(0.0, rest.width());
    const double ph = std::max(0.0, rest.height());
    Projection& pr = l.projection;
    if (!l.three_d) {
        l.depth = 0;
        l.model_width = pw;
        l.model_height = ph;
        pr.origin = QPointF(rest.left(), rest.top() + ph);
        pr.eu = QPointF(1, 0);
        pr.ev = QPointF(0, -1);
        pr.ew = QPointF(0, 0);
    } else {
        const View3DOptions& v = chart.view3d_options();
        const int pct = std::clamp(v.chart3d_percent, kMin3DPercent, kMax3DPercent);
        l.depth = std::min(pw, ph) * pct / 200.0;
        if (v.orthogonal) {
            l.model_width = std::max(0.0, pw - l.depth);
            l.model_height = std::max(0.0, ph - l.depth);
            pr.origin = QPointF(rest.left(), rest.top() + ph);
            pr.eu = QPointF(1, 0);
            pr.ev = QPointF(0, -1);
            pr.ew = QPointF(1, -1);
        } else {
            l.model_width = pw;
            l.model_height = ph;
            const double a = (v.rotation - 360) * M_PI / 180.0;
            const double b = (v.elevation - 360) * M_PI / 180.0;
            pr.eu = QPointF(std::cos(a), std::sin(a) * std::sin(b));
            pr.ev = QPointF(0, -std::cos(b));
            pr.ew = QPointF(-std::sin(a), std::cos(a) * std::sin(b));
            // Fit the projected box into the plot rectangle.
            pr.origin = QPointF(0, 0);
            double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
            bool first = true;
            for (int c = 0; c < 8; ++c) {
                const QPointF q = pr.map(c & 1 ? l.model_width : 0, c & 2 ? l.model_height : 0, c & 4 ? l.depth : 0);
                if (first) {
                    x0 = x1 = q.x();
                    y0 = y1 = q.y();
                    first = false;
                }
                x0 = std::min(x0, q.x());
                x1 = std::max(x1, q.x());
                y0 = std::min(y0, q.y());
                y1 = std::max(y1, q.y());
            }
            double s = 0;
            if (x1 - x0 > 1e-9) s = pw / (x1 - x0);
            if (y1 - y0 > 1e-9) s = s > 0 ? std::min(s, ph / (y1 - y0)) : ph / (y1 - y0);
            if (!(s > 0) || !finite(s)) s = 1;
            pr.eu *= s;
            pr.ev *= s;
            pr.ew *= s;
            pr.origin = rest.center() - QPointF((x0 + x1) / 2, (y0 + y1) / 2) * s;
        }
        // Zoom about the plot's centre, then the offsets.
        const double z = std::max(1, v.zoom) / 100.0;
        const QPointF c = rest.center();
        pr.origin = c + (pr.origin - c) * z + QPointF(v.horiz_offset, v.vert_offset);
        pr.eu *= z;
        pr.ev *= z;
        pr.ew *= z;
    }
    const Vec3 view = detail::view_direction(pr);
    {
        const QPolygonF front{{pr.map(0, 0, 0), pr.map(l.model_width, 0, 0), pr.map(l.model_width, l.model_height, 0),
                               pr.map(0, l.model_height, 0)}};
        l.front_rect = front.boundingRect();
    }

    // Walls.
    const auto wall_geometry = [&](WallKind kind, BoxBounds slab, BoxBounds plane) {
        WallGeometry g;
        const Wall& w = chart.wall(kind);
        g.colour = w.colour;
        g.clear = w.clear;
        if (w.size > 0)
            g.faces = detail::box_faces(pr, view, slab);
        else
            g.faces.push_back(QPolygonF{{pr.map(plane.u0, plane.v0, plane.w0), pr.map(plane.u1, plane.v0, plane.w0),
                                         pr.map(plane.u1, plane.v1, plane.w1), pr.map(plane.u0, plane.v1, plane.w1)}});
        return g;
    };
    const double W = l.model_width, H = l.model_height, D = l.depth;
    if (l.three_d) {
        const double ls = std::min<double>(chart.wall(WallKind::Left).size, kMaxThickness);
        const double bs = std::min<double>(chart.wall(WallKind::Bottom).size, kMaxThickness);
        const double ks = std::min<double>(chart.wall(WallKind::Back).size, kMaxThickness);
        l.back_wall = wall_geometry(WallKind::Back, BoxBounds{0, W, 0, H, D, D + ks}, BoxBounds{0, W, 0, H, D, D});
        {
            // The left wall's plane runs from front to back at u = 0.
            WallGeometry g;
            const Wall& w = chart.wall(WallKind::Left);
            g.colour = w.colour;
            g.clear = w.clear;
            if (w.size > 0)
                g.faces = detail::box_faces(pr, view, BoxBounds{-ls, 0, 0, H, 0, D});
            else
                g.faces.push_back(QPolygonF{{pr.map(0, 0, 0), pr.map(0, H, 0), pr.map(0, H, D), pr.map(0, 0, D)}});
            l.left_wall = g;
        }
        {
            WallGeometry g;
            const Wall& w = chart.wall(WallKind::Bottom);
            g.colour = w.colour;
            g.clear = w.clear;
            if (w.size > 0)
                g.faces = detail::box_faces(pr, view, BoxBounds{0, W, -bs, 0, 0, D});
            else
                g.faces.push_back(QPolygonF{{pr.map(0, 0, 0), pr.map(W, 0, 0), pr.map(W, 0, D), pr.map(0, 0, D)}});
            l.bottom_wall = g;
        }
    } else {
        l.back_wall.colour = chart.wall(WallKind::Back).colour;
        l.back_wall.clear = chart.wall(WallKind::Back).clear;
        l.back_wall.faces.push_back(QPolygonF(l.front_rect));
    }

    // Series.
    int band_count = 1;
    const std::vector<int> bands = depth_bands(chart, stack.bar_combination, band_count);
    const double band_depth = D / band_count;
    const double cat_unit = l.category_to_model(cmin + 1) - l.category_to_model(cmin);
    for (int s = 0; s < chart.series_count(); ++s) {
        const Series& ser = chart.series(s);
        SeriesGeometry g;
        g.series = s;
        g.band_front = band_depth * bands[static_cast<std::size_t>(s)];
        g.band_back = g.band_front + band_depth;
        g.nearness = (W * view.u + H * view.v + (g.band_front + g.band_back) * view.w) / 2;
        const auto& pts = ser.points();
        const auto& ext = stack.extents[static_cast<std::size_t>(s)];
        const auto map_uv = [&](double x, double value, double w) {
            const double c = l.category_to_model(x);
            const double v = l.value_to_model(value);
            return l.horizontal ? pr.map(v, c, w) : pr.map(c, v, w);
        };
        if (ser.is_bar()) {
            const int bi = stack.bar_index[static_cast<std::size_t>(s)];
            double lo = -kSlot / 2, hi = kSlot / 2;
            if (stack.bar_combination == mbSide && stack.bar_series_count > 0) {
                const double part = kSlot / stack.bar_series_count;
                lo = -kSlot / 2 + part * bi;
                hi = lo + part;
            }
            const double w0 = g.band_front + band_depth * 0.1;
            const double w1 = g.band_back - band_depth * 0.1;
            for (std::size_t i = 0; i < pts.size(); ++i) {
                BarGeometry b;
                b.point = static_cast<int>(i);
                b.colour = ser.drawn_colour(static_cast<int>(i));
                if (!finite(pts[i].x) || ext[i].base == ext[i].top) {
                    b.hidden = true;
                    g.bars.push_back(b);
                    continue;
                }
                const double c0 = l.category_to_model(pts[i].x + lo);
                const double c1 = l.category_to_model(pts[i].x + hi);
                double v0 = l.value_to_model(ext[i].base);
                double v1 = l.value_to_model(ext[i].top);
                if (v0 > v1) std::swap(v0, v1);
                const BoxBounds box = l.horizontal ? BoxBounds{v0, v1, c0, c1, w0, w1} : BoxBounds{c0, c1, v0, v1, w0, w1};
                const QPolygonF front{{pr.map(box.u0, box.v0, box.w0), pr.map(box.u1, box.v0, box.w0),
                                       pr.map(box.u1, box.v1, box.w0), pr.map(box.u0, box.v1, box.w0)}};
                b.front = front.boundingRect();
                b.nearness = ((box.u0 + box.u1) * view.u + (box.v0 + box.v1) * view.v + (box.w0 + box.w1) * view.w) / 2;
                if (l.three_d) {
                    b.faces = detail::box_faces(pr, view, box);
                } else {
                    b.faces.push_back(front);
                }
                g.bars.push_back(b);
                if (ser.marks_visible()) {
                    MarkGeometry m;
                    const ChartPoint& p = pts[i];
                    m.text = p.label.isEmpty() ? detail::general_text(p.value) : p.label;
                    const double wmid = l.three_d ? w0 : 0;
                    const bool neg = ext[i].top < ext[i].base;
                    m.anchor = l.horizontal ? pr.map(neg ? v0 : v1, (c0 + c1) / 2, wmid) : pr.map((c0 + c1) / 2, neg ? v0 : v1, wmid);
                    g.marks.push_back(m);
                }
            }
        } else {
            const double w = ser.kind() == SeriesKind::Point ? (g.band_front + g.band_back) / 2 : g.band_front;
            const bool area = ser.kind() == SeriesKind::Area;
            g.positions.reserve(pts.size());
            g.valid.reserve(pts.size());
            for (std::size_t i = 0; i < pts.size(); ++i) {
                const ChartPoint& p = pts[i];
                const bool ok = finite(p.x) && finite(p.value);
                g.valid.push_back(ok);
                g.positions.push_back(ok ? map_uv(p.x, area ? ext[i].top : p.value, w) : QPointF(0, 0));
            }
            if (area)
                for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
                    if (!g.valid[i] || !g.valid[i + 1]) continue;
                    g.area_polygons.push_back(QPolygonF{{map_uv(pts[i].x, ext[i].base, w), g.positions[i],
                                                         g.positions[i + 1], map_uv(pts[i + 1].x, ext[i + 1].base, w)}});
                }
            const bool markers = ser.kind() == SeriesKind::Point || (ser.kind() == SeriesKind::Line && ser.pointer_visible());
            if (markers) {
                const double limit = std::min(kMaxThickness, 2 * (cw + ch));
                g.marker_half_width = std::min<double>(ser.pointer_width(), limit);
                g.marker_half_height = std::min<double>(ser.pointer_height(), limit);
            }
            if (ser.marks_visible())
                for (std::size_t i = 0; i < pts.size(); ++i) {
                    if (!g.valid[i]) continue;
                    MarkGeometry m;
                    m.text = pts[i].label.isEmpty() ? detail::general_text(pts[i].value) : pts[i].label;
                    m.anchor = g.positions[i] - QPointF(0, g.marker_half_height);
                    g.marks.push_back(m);
                }
        }
        for (MarkGeometry& m : g.marks) {
            const double tw = text_width(lfm, m.text) + 6;
            const double th = lfm.height() + 2;
            m.box = QRectF(m.anchor.x() - tw / 2, m.anchor.y() - th - 4, tw, th);
        }
        l.series.push_back(std::move(g));
    }
    (void)cat_unit;

    // Axis labels: categories along the bottom (the left for horizontal bars), values along
    // the other axis. Labels that would overlap the previous one are skipped.
    const double lh = lfm.height();
    // In 3-D the labels stand clear of the left and bottom walls' slabs.
    const double left_slab = l.three_d ? std::clamp<double>(chart.wall(WallKind::Left).size, 0, kMaxThickness) : 0;
    const double bottom_slab = l.three_d ? std::clamp<double>(chart.wall(WallKind::Bottom).size, 0, kMaxThickness) : 0;
    const auto category_anchor = [&](double x) {
        const double c = l.category_to_model(x);
        return l.horizontal ? pr.map(-left_slab, c, 0) : pr.map(c, -bottom_slab, 0);
    };
    const auto value_anchor = [&](double v) {
        const double m = l.value_to_model(v);
        return l.horizontal ? pr.map(m, -bottom_slab, 0) : pr.map(-left_slab, m, 0);
    };
    const auto place = [&](std::vector<AxisLabel>& out, QPointF a, const QString& text, bool on_left, double& last_edge) {
        if (on_left) {
            // Categories run upwards: keep a label only when it clears the one below.
            if (!out.empty() && a.y() + lh / 2 > last_edge - 1) return;
            const double w = text_width(lfm, text);
            out.push_back(AxisLabel{QRectF(a.x() - 4 - w, a.y() - lh / 2, w, lh), text});
            last_edge = a.y() - lh / 2;
        } else {
            if (!out.empty() && a.x() < last_edge + 2) return;  // quick test before measuring
            const double w = text_width(lfm, text);
            if (!out.empty() && a.x() - w / 2 < last_edge + 2) return;
            out.push_back(AxisLabel{QRectF(a.x() - w / 2, a.y() + 3, w, lh), text});
            last_edge = a.x() + w / 2;
        }
    };
    {
        double edge = 0;
        if (use_labels) {
            for (const ChartPoint& p : cat_series->points())
                if (finite(p.x)) place(l.category_labels, category_anchor(p.x), p.label, l.horizontal, edge);
        } else if (any_point) {
            const double axis_len = l.horizontal ? l.model_height : l.model_width;
            const int target = std::clamp(static_cast<int>(axis_len / 60), 1, 20);
            long double step = nice_step(static_cast<long double>(cmax) - cmin, target);
            if (step < 1) step = 1;
            const long double k0 = std::ceil(cmin / step);
            for (int k = 0; k <= 200; ++k) {
                const long double t = (k0 + k) * step;
                if (t > cmax) break;
                place(l.category_labels, category_anchor(static_cast<double>(t)), detail::general_text(static_cast<double>(t)),
                      l.horizontal, edge);
            }
        }
    }
    {
        double edge = 0;
        for (double t : l.value_ticks)
            place(l.value_labels, value_anchor(t), detail::general_text(t), !l.horizontal, edge);
    }
    return l;
}

}  // namespace vantelo::chart
