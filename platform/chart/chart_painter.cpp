#include "platform/chart/chart_painter.h"

#include <algorithm>
#include <cmath>

#include <QLinearGradient>
#include <QPainterPath>

#include "platform/chart/chart.h"
#include "platform/chart/chart_layout.h"
#include "platform/chart/layout_detail.h"
#include "platform/chart/thinning.h"

namespace vantelo::chart {

namespace {

const QColor kOutline(0, 0, 0);
const QColor kGrid(192, 192, 192);

void draw_bevel(QPainter& p, QRectF r, BevelStyle style, int width)
{
    if (style == BevelStyle::None || width <= 0) return;
    const QColor light = style == BevelStyle::Raised ? QColor(255, 255, 255) : QColor(128, 128, 128);
    const QColor dark = style == BevelStyle::Raised ? QColor(128, 128, 128) : QColor(255, 255, 255);
    const double w = std::min<double>(width, std::min(r.width(), r.height()) / 2);
    if (w <= 0) return;
    p.fillRect(QRectF(r.left(), r.top(), r.width(), w), light);
    p.fillRect(QRectF(r.left(), r.top(), w, r.height()), light);
    p.fillRect(QRectF(r.left(), r.bottom() - w, r.width(), w), dark);
    p.fillRect(QRectF(r.right() - w, r.top(), w, r.height()), dark);
}

void draw_wall(QPainter& p, const WallGeometry& g)
{
    p.setPen(QPen(kOutline, 0));
    p.setBrush(g.clear ? QBrush(Qt::NoBrush) : QBrush(g.colour));
    for (const QPolygonF& f : g.faces) p.drawPolygon(f);
}

void draw_faces(QPainter& p, const std::vector<QPolygonF>& faces, const QColor& colour)
{
    for (std::size_t k = 0; k < faces.size(); ++k) {
        const bool front = k + 1 == faces.size();
        p.setBrush(front ? colour : colour.darker(130));
        p.drawPolygon(faces[k]);
    }
}

void draw_marker(QPainter& p, QPointF c, double hw, double hh, PointerStyle style, const QColor& colour)
{
    p.setPen(QPen(kOutline, 0));
    p.setBrush(colour);
    const QRectF r(c.x() - hw, c.y() - hh, 2 * hw, 2 * hh);
    switch (style) {
    case psRectangle: p.drawRect(r); break;
    case psCircle: p.drawEllipse(r); break;
    case psTriangle: p.drawPolygon(QPolygonF{{QPointF(c.x(), r.top()), r.bottomRight(), r.bottomLeft()}}); break;
    case psDownTriangle: p.drawPolygon(QPolygonF{{r.topLeft(), r.topRight(), QPointF(c.x(), r.bottom())}}); break;
    case psCross:
        p.setPen(QPen(colour, 0));
        p.drawLine(QPointF(r.left(), c.y()), QPointF(r.right(), c.y()));
        p.drawLine(QPointF(c.x(), r.top()), QPointF(c.x(), r.bottom()));
        break;
    case psDiagCross:
        p.setPen(QPen(colour, 0));
        p.drawLine(r.topLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomLeft());
        break;
    case psStar: {
        p.setPen(QPen(colour, 0));
        p.drawLine(QPointF(r.left(), c.y()), QPointF(r.right(), c.y()));
        p.drawLine(QPointF(c.x(), r.top()), QPointF(c.x(), r.bottom()));
        p.drawLine(r.topLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomLeft());
        break;
    }
    case psDiamond:
        p.drawPolygon(QPolygonF{{QPointF(c.x(), r.top()), QPointF(r.right(), c.y()), QPointF(c.x(), r.bottom()),
                                 QPointF(r.left(), c.y())}});
        break;
    case psSmallDot:
        p.setPen(QPen(colour, 0));
        p.drawRect(QRectF(c.x() - 1, c.y() - 1, 2, 2));
        break;
    }
}

// A 2-D polyline, each segment in the colour of the point it leads to. When points outnumber
// the pixel columns, each column is drawn as one vertical stroke from its lowest to its
// highest point, joined to the next column.
void draw_polyline(QPainter& p, const Series& s, const SeriesGeometry& g, double plot_width)
{
    const std::size_t n = g.positions.size();
    const int pen_width = std::clamp(s.pen_width(), 0, 1000);
    const bool dense = static_cast<double>(n) > 2 * std::max(1.0, plot_width);
    if (!dense) {
        for (std::size_t i = 1; i < n; ++i) {
            if (!g.valid[i - 1] || !g.valid[i]) continue;
            p.setPen(QPen(s.drawn_colour(static_cast<int>(i)), pen_width));
            p.drawLine(g.positions[i - 1], g.positions[i]);
        }
        return;
    }
    // Strokes at pixel centres, without antialiasing, so each column is one solid line.
    p.setRenderHint(QPainter::Antialiasing, false);
    std::vector<QPointF> joined;
    bool open = false;
    double col = 0, ymin = 0, ymax = 0, yfirst = 0, ylast = 0;
    QColor colour;
    const auto flush = [&] {
        if (!open) return;
        p.setPen(QPen(colour, pen_width));
        if (!joined.empty()) p.drawLine(joined.back(), QPointF(col, yfirst));
        if (ymax > ymin) p.drawLine(QPointF(col, ymin), QPointF(col, ymax));
        joined.assign(1, QPointF(col, ylast));
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (!g.valid[i]) {
            flush();
            open = false;
            joined.clear();
            continue;
        }
        const QPointF q = g.positions[i];
        const double c = std::floor(q.x()) + 0.5;
        if (!open || c != col) {
            flush();
            open = true;
            col = c;
            ymin = ymax = yfirst = q.y();
        }
        ymin = std::min(ymin, q.y());
        ymax = std::max(ymax, q.y());
        ylast = q.y();
        colour = s.drawn_colour(static_cast<int>(i));
    }
    flush();
}

void draw_series(QPainter& p, const Chart& chart, const ChartLayout& l, const SeriesGeometry& g)
{
    const Series& s = chart.series(g.series);
    const Projection& pr = l.projection;
    p.setRenderHint(QPainter::Antialiasing, false);
    if (s.is_bar()) {
        p.setPen(QPen(kOutline, 0));
        for (const BarGeometry& b : g.bars)
            if (!b.hidden) draw_faces(p, b.faces, b.colour);
        return;
    }
    const std::size_t n = g.positions.size();
    switch (s.kind()) {
    case SeriesKind::Area:
        p.setPen(QPen(kOutline, 0));
        for (std::size_t i = 0, k = 0; i + 1 < n; ++i) {
            if (!g.valid[i] || !g.valid[i + 1]) continue;
            const QColor c = s.drawn_colour(static_cast<int>(i + 1));
            const QPolygonF& poly = g.area_polygons[k++];
            if (l.three_d) {
                const double dw = g.band_back - g.band_front;
                const QPointF shift = pr.ew * dw;
                p.setBrush(c.darker(130));
                p.drawPolygon(QPolygonF{{poly[1], poly[2], poly[2] + shift, poly[1] + shift}});
            }
            p.setBrush(c);
            p.setPen(Qt::NoPen);
            p.drawPolygon(poly);
            p.setPen(QPen(kOutline, 0));
            p.drawLine(poly[1], poly[2]);
        }
        break;
    case SeriesKind::Line:
    case SeriesKind::FastLine:
        if (l.three_d && s.kind() == SeriesKind::Line) {
            const QPointF shift = pr.ew * (g.band_back - g.band_front);
            p.setPen(QPen(s.pen_colour(), 0));
            // More points than pixel columns: the ribbon through each column's extreme points.
            std::vector<std::size_t> drawn;
            if (static_cast<double>(n) > 2 * std::max(1.0, l.front_rect.width())) {
                drawn = thin_by_column(g.positions, g.valid);
            } else {
                drawn.resize(n);
                for (std::size_t i = 0; i < n; ++i) drawn[i] = i;
            }
            for (std::size_t k = 1; k < drawn.size(); ++k) {
                const std::size_t a = drawn[k - 1], i = drawn[k];
                if (!g.valid[a] || !g.valid[i]) continue;
                const ChartPoint& pt = s.points()[i];
                QColor fill = s.drawn_colour(static_cast<int>(i));
                if (!pt.colour && !s.color_each_point() && s.area_colour()) fill = *s.area_colour();
                p.setBrush(fill);
                p.drawPolygon(QPolygonF{{g.positions[a], g.positions[i], g.positions[i] + shift,
                                         g.positions[a] + shift}});
            }
        } else {
            p.setRenderHint(QPainter::Antialiasing, true);
            draw_polyline(p, s, g, l.front_rect.width());
            p.setRenderHint(QPainter::Antialiasing, false);
        }
        break;
    default:
        break;
    }
    if (g.marker_half_width > 0 && g.marker_half_height > 0) {
        const double hw = g.marker_half_width, hh = g.marker_half_height;
        const QRectF visible = l.chart_rect.adjusted(-hw, -hh, hw, hh);
        for (std::size_t i = 0; i < n; ++i)
            if (g.valid[i] && visible.contains(g.positions[i]))
                draw_marker(p, g.positions[i], hw, hh, s.pointer_style(), s.drawn_colour(static_cast<int>(i)));
    }
}

void draw_marks(QPainter& p, const QFont& font, const SeriesGeometry& g, const QRectF& bounds)
{
    if (g.marks.empty()) return;
    p.setFont(font);
    for (const MarkGeometry& m : g.marks) {
        if (!bounds.intersects(m.box)) continue;
        p.setPen(QPen(QColor(128, 128, 128), 0));
        p.drawLine(m.anchor, QPointF(m.anchor.x(), m.box.bottom()));
        p.setBrush(QColor(255, 255, 225));
        p.drawRect(m.box);
        p.setPen(kOutline);
        p.drawText(m.box, Qt::AlignCenter, m.text);
    }
}

}  // namespace

void paint_chart(QPainter& painter, const Chart& chart, QSizeF size)
{
    const ChartLayout layout = layout_chart(chart, size);
    paint_chart(painter, chart, layout);
}

void paint_chart(QPainter& p, const Chart& chart, const ChartLayout& l)
{
    if (l.empty) return;
    p.save();
    p.setClipRect(l.chart_rect);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // Background: gradient (top to bottom) or the panel colour, then the bevels.
    if (chart.gradient().visible) {
        QLinearGradient grad(l.chart_rect.topLeft(), l.chart_rect.bottomLeft());
        grad.setColorAt(0, chart.gradient().start);
        grad.setColorAt(1, chart.gradient().end);
        p.fillRect(l.chart_rect, grad);
    } else {
        p.fillRect(l.chart_rect, chart.panel_colour());
    }
    const Bevel& bevel = chart.bevel();
    const int bw = std::clamp(bevel.width, 0, 1000);
    draw_bevel(p, l.chart_rect, bevel.outer, bw);
    draw_bevel(p, l.chart_rect.adjusted(bevel.outer != BevelStyle::None ? bw : 0, bevel.outer != BevelStyle::None ? bw : 0,
                                        bevel.outer != BevelStyle::None ? -bw : 0, bevel.outer != BevelStyle::None ? -bw : 0),
               bevel.inner, bw);

    // Walls (3-D) or the plot background (2-D).
    if (l.three_d) {
        draw_wall(p, l.back_wall);
        draw_wall(p, l.left_wall);
        draw_wall(p, l.bottom_wall);
    } else if (chart.wall(WallKind::Back).clear) {
        if (chart.back_colour().isValid()) p.fillRect(l.front_rect, chart.back_colour());
    } else {
        p.fillRect(l.front_rect, l.back_wall.colour);
    }

    // Grid lines at the value ticks, on the back wall and the floor or the left wall.
    const Projection& pr = l.projection;
    const double W = l.model_width, H = l.model_height, D = l.depth;
    p.setPen(QPen(kGrid, 0, Qt::DotLine));
    for (double t : l.value_ticks) {
        const double m = l.value_to_model(t);
        if (l.horizontal) {
            p.drawLine(pr.map(m, 0, D), pr.map(m, H, D));
            if (l.three_d) p.drawLine(pr.map(m, 0, 0), pr.map(m, 0, D));
        } else {
            p.drawLine(pr.map(0, m, D), pr.map(W, m, D));
            if (l.three_d) p.drawLine(pr.map(0, m, 0), pr.map(0, m, D));
        }
    }

    // Series: in 2-D in series order (later on top); in 3-D the farthest first, bars box by
    // box so that boxes of different series and bands hide one another properly.
    std::vector<const SeriesGeometry*> order;
    for (const SeriesGeometry& g : l.series) order.push_back(&g);
    if (!l.three_d) {
        for (const SeriesGeometry* g : order) draw_series(p, chart, l, *g);
    } else {
        struct Item {
            double nearness;
            const SeriesGeometry* series;
            const BarGeometry* bar;
        };
        std::vector<Item> items;
        for (const SeriesGeometry& g : l.series) {
            if (chart.series(g.series).is_bar()) {
                for (const BarGeometry& b : g.bars)
                    if (!b.hidden) items.push_back(Item{b.nearness, &g, &b});
            } else {
                items.push_back(Item{g.nearness, &g, nullptr});
            }
        }
        std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.nearness < b.nearness; });
        p.setRenderHint(QPainter::Antialiasing, false);
        for (const Item& it : items) {
            if (it.bar) {
                p.setPen(QPen(kOutline, 0));
                draw_faces(p, it.bar->faces, it.bar->colour);
            } else {
                draw_series(p, chart, l, *it.series);
            }
        }
    }

    // Axes and their labels.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kOutline, 0));
    p.drawLine(pr.map(0, 0, 0), pr.map(0, H, 0));
    p.drawLine(pr.map(0, 0, 0), pr.map(W, 0, 0));
    const QFont label_font = detail::device_font(ChartFont{}, kDefaultLabelPointSize);
    p.setFont(label_font);
    for (const AxisLabel& a : l.category_labels)
        p.drawText(a.rect, (l.horizontal ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter | Qt::TextDontClip, a.text);
    for (const AxisLabel& a : l.value_labels)
        p.drawText(a.rect, (l.horizontal ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter | Qt::TextDontClip, a.text);

    // Marks on top of every series.
    for (const SeriesGeometry* g : order) draw_marks(p, label_font, *g, l.chart_rect);

    // Axis titles.
    if (!l.bottom_axis_title_rect.isEmpty()) {
        p.setFont(detail::device_font(chart.bottom_axis_font(), kDefaultAxisTitlePointSize));
        p.setPen(chart.bottom_axis_font().colour);
        p.drawText(l.bottom_axis_title_rect, Qt::AlignCenter | Qt::TextDontClip, chart.bottom_axis_title());
    }
    if (!l.left_axis_title_rect.isEmpty()) {
        p.save();
        p.setFont(detail::device_font(chart.left_axis_font(), kDefaultAxisTitlePointSize));
        p.setPen(chart.left_axis_font().colour);
        const QRectF r = l.left_axis_title_rect;
        p.translate(r.center());
        p.rotate(-90);
        p.drawText(QRectF(-r.height() / 2, -r.width() / 2, r.height(), r.width()), Qt::AlignCenter | Qt::TextDontClip,
                   chart.left_axis_title());
        p.restore();
    }

    // Title.
    if (!l.title_rect.isEmpty()) {
        if (chart.title_frame_visible() && chart.title_frame_width() > 0) {
            p.setPen(QPen(kOutline, std::min(chart.title_frame_width(), 1000), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.setBrush(Qt::NoBrush);
            p.drawRect(l.title_rect);
        }
        p.setFont(detail::device_font(chart.title_font(), kDefaultTitlePointSize));
        p.setPen(chart.title_font().colour);
        int k = 0;
        for (const QString& line : chart.title_lines()) {
            if (line.isEmpty()) continue;
            p.drawText(l.title_line_rects[static_cast<std::size_t>(k++)], Qt::AlignCenter | Qt::TextDontClip, line);
        }
    }

    // Legend.
    if (!l.legend.empty()) {
        p.setPen(QPen(kOutline, 0));
        p.setBrush(Qt::white);
        p.drawRect(l.legend_rect);
        p.setFont(label_font);
        for (const LegendEntry& e : l.legend) {
            p.setPen(QPen(kOutline, 0));
            p.setBrush(e.colour);
            p.drawRect(e.swatch);
            p.drawText(e.text_rect, Qt::AlignLeft | Qt::AlignVCenter, e.text);
        }
    }
    p.restore();
}

}  // namespace vantelo::chart
