#include <gtest/gtest.h>

#include <QStringList>

#include "platform/chart/chart.h"
#include "platform/chart/data_source.h"
#include "platform/core/errors.h"
#include "tests/common/error_text.h"

using namespace vantelo::chart;
using test_errors::error_text;

namespace {

}  // namespace

TEST(ChartColour, BgrValuesBecomeRgb)
{
    EXPECT_EQ(color_from_bgr(0xFF0000), QColor(0, 0, 255));  // blue
    EXPECT_EQ(color_from_bgr(0x0000FF), QColor(255, 0, 0));  // red
    EXPECT_EQ(color_from_bgr(0xC0C0C0), QColor(192, 192, 192));
    EXPECT_EQ(color_from_bgr(0xFF8000), QColor(0, 128, 255));
    EXPECT_EQ(color_from_bgr(0xFFFFFF), QColor(255, 255, 255));
}

TEST(Chart3DPercent, AcceptsOneToHundred)
{
    struct Case {
        int percent;
        bool ok;
    };
    for (const Case c : {Case{0, false}, Case{1, true}, Case{15, true}, Case{100, true}, Case{101, false}, Case{-5, false}}) {
        Chart chart;
        chart.set_chart3d_percent(40);
        if (c.ok) {
            chart.set_chart3d_percent(c.percent);
            EXPECT_EQ(chart.chart3d_percent(), c.percent);
        } else {
            EXPECT_EQ(error_text([&] { chart.set_chart3d_percent(c.percent); }),
                      "3D effect percent must be between 1 and 100")
                << c.percent;
            EXPECT_EQ(chart.chart3d_percent(), 40) << "unchanged after " << c.percent;
        }
    }
}

TEST(PointerSize, BelowOneIsRefused)
{
    Chart chart;
    Series& s = chart.add_series(SeriesKind::Point);
    EXPECT_EQ(error_text([&] { s.set_pointer_size(0, 4); }), "Pointer size must be greater than zero");
    EXPECT_EQ(error_text([&] { s.set_pointer_size(4, 0); }), "Pointer size must be greater than zero");
    EXPECT_EQ(error_text([&] { s.set_pointer_width(-3); }), "Pointer size must be greater than zero");
    EXPECT_EQ(error_text([&] { s.set_pointer_height(0); }), "Pointer size must be greater than zero");
    s.set_pointer_size(50, 1);  // above the dialogs' 40 is kept as given
    EXPECT_EQ(s.pointer_width(), 50);
    EXPECT_EQ(s.pointer_height(), 1);
    EXPECT_THROW(s.set_pointer_style(9), vantelo::RangeError);
    s.set_pointer_style(6);
    EXPECT_EQ(s.pointer_style(), psStar);
}

TEST(Series, AddPutsPointAtCountBefore)
{
    Chart chart;
    Series& s = chart.add_series(SeriesKind::HorizBar);
    s.add(3, "a");
    s.add(5);
    s.add(2, "", QColor(1, 2, 3));
    ASSERT_EQ(s.count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s.point(i).x, i);
    EXPECT_EQ(s.point(1).value, 5);  // a horizontal bar's value is its length
    s.set_value(1, 7);
    s.set_label(1, "b");
    s.set_point_colour(0, Qt::red);
    EXPECT_EQ(s.point(1).value, 7);
    EXPECT_EQ(s.point(1).label, "b");
    EXPECT_EQ(s.drawn_colour(0), QColor(Qt::red));
    EXPECT_THROW(s.set_value(3, 1), vantelo::RangeError);
    EXPECT_THROW(s.set_label(-1, "x"), vantelo::RangeError);
    EXPECT_THROW(s.set_point_colour(3, Qt::red), vantelo::RangeError);
    EXPECT_THROW(s.point(3), vantelo::RangeError);
    s.clear();
    EXPECT_EQ(s.count(), 0);
    s.add(1);
    EXPECT_EQ(s.point(0).x, 0);  // counting starts again
}

TEST(Series, KindDefaults)
{
    EXPECT_EQ(Series(SeriesKind::Bar).bar_combination(), mbSide);
    EXPECT_TRUE(Series(SeriesKind::Bar).marks_visible());
    EXPECT_TRUE(Series(SeriesKind::HorizBar).marks_visible());
    EXPECT_FALSE(Series(SeriesKind::Line).marks_visible());
    EXPECT_FALSE(Series(SeriesKind::Point).marks_visible());
    EXPECT_FALSE(Series(SeriesKind::Area).marks_visible());
    EXPECT_EQ(Series(SeriesKind::Area).area_combination(), maNone);
    EXPECT_TRUE(Series(SeriesKind::Point).pointer_visible());
    EXPECT_FALSE(Series(SeriesKind::Line).pointer_visible());
}

TEST(Series, PointColourWinsOverSeriesColour)
{
    Chart chart;
    Series& s = chart.add_series(SeriesKind::Line);
    s.set_colour(QColor(0, 128, 0));
    s.add(1, "", QColor(192, 192, 192));
    s.add(2);
    EXPECT_EQ(s.drawn_colour(0), QColor(192, 192, 192));
    EXPECT_EQ(s.drawn_colour(1), QColor(0, 128, 0));
    // The line animation: "each point in its own colour", series red, then point by point.
    s.set_color_each_point(true);
    s.set_colour(Qt::red);
    EXPECT_EQ(s.drawn_colour(0), QColor(192, 192, 192));  // still silver until set
    s.set_point_colour(0, Qt::red);
    EXPECT_EQ(s.drawn_colour(0), QColor(Qt::red));
    EXPECT_EQ(s.drawn_colour(1), palette_colour(1));  // no own colour: automatic by index
}

TEST(Series, AutomaticColoursDifferBySeries)
{
    Chart chart;
    Series& a = chart.add_series(SeriesKind::Bar);
    Series& b = chart.add_series(SeriesKind::Bar);
    EXPECT_NE(a.colour(), b.colour());
    b.set_colour(Qt::blue);
    EXPECT_EQ(b.colour(), QColor(Qt::blue));
}

TEST(Chart, SeriesListAndTitles)
{
    Chart chart;
    int changes = 0;
    chart.set_on_change([&] { ++changes; });
    Series& first = chart.add_series(SeriesKind::Line);
    chart.add_series(SeriesKind::Bar);
    EXPECT_EQ(chart.series_count(), 2);
    EXPECT_EQ(&chart.series(0), &first);
    EXPECT_EQ(first.chart(), &chart);
    EXPECT_THROW(chart.series(2), vantelo::RangeError);
    EXPECT_THROW(chart.series(-1), vantelo::RangeError);
    const int before = changes;
    first.add(1);
    EXPECT_GT(changes, before);  // a series change reaches the chart's listener
    chart.clear_series();
    EXPECT_EQ(chart.series_count(), 0);

    chart.set_title_text("年龄结构金字塔");
    EXPECT_EQ(chart.title_lines(), QStringList{"年龄结构金字塔"});
    chart.add_title_line("b");
    EXPECT_EQ(chart.title_lines().size(), 2);
    chart.clear_title();
    EXPECT_TRUE(chart.title_lines().isEmpty());
}

TEST(Chart, MarginsHaveNoBounds)
{
    Chart chart;
    chart.set_margins(5, 5, 5, 5);
    for (int i = 0; i < 6; ++i)
        chart.set_margins(chart.margin_left() - 1, chart.margin_top() - 1, chart.margin_right() - 1, chart.margin_bottom() - 1);
    EXPECT_EQ(chart.margin_left(), -1);
    EXPECT_EQ(chart.margin_bottom(), -1);
}

TEST(ChartFontTest, SizeZeroTakesTheDefault)
{
    ChartFont f;
    EXPECT_EQ(f.to_qfont(12).pointSize(), 12);  // no Qt warning either: the handler would fail
    f.point_size = 20;
    f.bold = true;
    EXPECT_EQ(f.to_qfont(12).pointSize(), 20);
    EXPECT_TRUE(f.to_qfont(12).bold());
    f.pixel_size = 56;
    EXPECT_EQ(f.to_qfont(12).pixelSize(), 56);
}

// A small table: fields by name, values by record.
class FakeTable : public DataSource {
public:
    QStringList names;
    std::vector<std::vector<QString>> rows;  // texts; values parse them
    int record_count() const override { return static_cast<int>(rows.size()); }
    int field_count() const override { return static_cast<int>(names.size()); }
    QString field_name(int f) const override { return names[f]; }
    vantelo::real value(int r, int f) const override
    {
        const QString& t = rows[r][f];
        if (t.isEmpty()) return 0;
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (!ok) throw vantelo::ConvertError::not_float(t.toStdString());
        return v;
    }
    QString text(int r, int f) const override { return rows[r][f]; }
};

TEST(DataBinding, RefreshFillsOnePointPerRecord)
{
    FakeTable t;
    t.names = {"AGE", "Male", "Label"};
    t.rows = {{"10", "60", "a"}, {"20", "", "b"}, {"30", "40", "c"}};
    Chart chart;
    Series& s = chart.add_series(SeriesKind::Line);
    s.set_data_source(&t);
    s.set_value_field("male");  // letter case ignored
    s.refresh();
    ASSERT_EQ(s.count(), 3);
    EXPECT_EQ(s.point(0).value, 60);
    EXPECT_EQ(s.point(1).value, 0);  // empty field reads 0
    EXPECT_EQ(s.point(2).x, 2);      // x = record index
    EXPECT_FALSE(s.point(0).colour.has_value());

    s.set_position_field("age");
    s.set_label_field("LABEL");
    s.refresh();  // replaces, does not append
    ASSERT_EQ(s.count(), 3);
    EXPECT_EQ(s.point(2).x, 30);
    EXPECT_EQ(s.point(1).label, "b");
}

TEST(DataBinding, Errors)
{
    FakeTable t;
    t.names = {"A", "T"};
    t.rows = {{"1", "x"}};
    Chart chart;
    Series& s = chart.add_series(SeriesKind::Point);
    s.add(9);
    s.set_data_source(&t);
    s.set_value_field("foo");
    EXPECT_EQ(error_text([&] { s.refresh(); }), "Field 'foo' not found");
    EXPECT_EQ(s.count(), 1);  // unchanged by the failed refresh
    s.set_value_field("T");
    EXPECT_EQ(error_text([&] { s.refresh(); }), "'x' is not a valid floating point value");
    EXPECT_EQ(s.count(), 1);
    s.set_value_field("");
    s.refresh();  // no value field: no points, no error
    EXPECT_EQ(s.count(), 0);
    FakeTable empty;
    empty.names = {"A"};
    s.set_data_source(&empty);
    s.set_value_field("A");
    s.refresh();
    EXPECT_EQ(s.count(), 0);
}
