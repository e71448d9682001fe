#include "charts/Graph_1.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>

#include "charts/View_3D_frm1.h"
#include "charts/pyramid_series.h"
#include "platform/core/checked.h"
#include "platform/ui/guard.h"
#include "platform/ui/modal.h"
#include "platform/ui/windows.h"
#include "ui_Graph_1.h"

namespace vantelo::charts {

using vantelo::chart::Chart;
using vantelo::chart::color_from_bgr;
using vantelo::ui::connect_guarded;
using vantelo::ui::services;

int pyramid_year_cursor = 0;
TGraph* Graph = nullptr;

namespace {

const PyramidSource* installed_pyramid = nullptr;
QPrinter* installed_printer = nullptr;

const QString kPyramidTitle = QStringLiteral("年龄结构金字塔");

// Widths the layout starts from; the buttons keep them.
constexpr int kEnlargeWidth = 48, kReduceWidth = 48, kSaveWidth = 61, kPrintWidth = 53, kCloseWidth = 46;

// A magnifying glass with a plus (enlarge) or a minus (reduce).
QIcon magnifier_icon(bool plus)
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(220, 240, 255));
    p.drawEllipse(QRectF(2, 2, 11, 11));
    p.drawLine(QPointF(12, 12), QPointF(18, 18));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(QPointF(5, 7.5), QPointF(10, 7.5));
    if (plus) p.drawLine(QPointF(7.5, 5), QPointF(7.5, 10));
    p.end();
    return QIcon(pm);
}

}  // namespace

double PyramidArrays::male_share(int age, int year_index) const
{
    if (year_index < 0 || year_index >= years) throw RangeError();
    return at(at(male, age), year_index);
}

double PyramidArrays::female_share(int age, int year_index) const
{
    if (year_index < 0 || year_index >= years) throw RangeError();
    return at(at(female, age), year_index);
}

void set_pyramid_source(const PyramidSource* source) { installed_pyramid = source; }

const PyramidSource& pyramid_source()
{
    static const PyramidArrays empty;
    return installed_pyramid ? *installed_pyramid : empty;
}

void set_chart_printer(QPrinter* printer) { installed_printer = printer; }

QPrinter& chart_printer()
{
    if (installed_printer) return *installed_printer;
    static QPrinter default_printer(QPrinter::HighResolution);
    return default_printer;
}

TGraph::TGraph(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::TGraph>())
{
    Graph = this;
    ui_->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    Panel1 = ui_->Panel1;
    DBChart1 = ui_->DBChart1;
    BitBtn1 = ui_->BitBtn1;
    BitBtn2 = ui_->BitBtn2;
    BitBtn3 = ui_->BitBtn3;
    BitBtn5 = ui_->BitBtn5;
    BitBtn6 = ui_->BitBtn6;
    Button1 = ui_->Button1;
    Button2 = ui_->Button2;
    BitBtn1->setIcon(magnifier_icon(true));
    BitBtn2->setIcon(magnifier_icon(false));
    BitBtn1->setFixedWidth(kEnlargeWidth);
    BitBtn2->setFixedWidth(kReduceWidth);
    BitBtn3->setFixedWidth(kSaveWidth);
    BitBtn5->setFixedWidth(kPrintWidth);
    BitBtn6->setFixedWidth(kCloseWidth);
    Button1->hide();
    Button2->hide();
    // Enter does not press a button of its own accord.
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);

    SaveDialog1.default_ext = QStringLiteral("bmp");
    SaveDialog1.filter = QStringLiteral("BMP|*.bmp");

    // The chart as designed.
    Chart& c = chart();
    c.set_panel_colour(color_from_bgr(0xFFFFFF));
    c.set_back_colour(color_from_bgr(0xFFFFFF));
    c.set_wall_colour(vantelo::chart::WallKind::Back, color_from_bgr(0xFFFFFF));
    c.set_wall_clear(vantelo::chart::WallKind::Back, true);
    c.set_wall_colour(vantelo::chart::WallKind::Left, color_from_bgr(0xFFFFFF));
    c.set_margins(5, 5, 5, 5);
    c.set_animated_zoom_steps(4);
    c.set_title_lines(QStringList{QString()});
    c.set_legend_visible(true);
    c.set_legend_style(vantelo::chart::lsSeries);
    c.set_view3d(true);
    c.set_orthogonal(true);
    c.set_elevation(353);
    c.set_rotation(331);
    c.set_zoom(98);
    c.set_chart3d_percent(15);
    c.set_gradient_start(color_from_bgr(0xC0C0C0));
    c.set_gradient_end(color_from_bgr(0xFF8000));
    c.set_gradient_visible(false);

    connect_guarded(BitBtn1, &QPushButton::clicked, this, &TGraph::BitBtn1Click);
    connect_guarded(BitBtn2, &QPushButton::clicked, this, &TGraph::BitBtn2Click);
    connect_guarded(BitBtn3, &QPushButton::clicked, this, &TGraph::BitBtn3Click);
    connect_guarded(BitBtn5, &QPushButton::clicked, this, &TGraph::BitBtn5Click);
    connect_guarded(BitBtn6, &QPushButton::clicked, this, &TGraph::BitBtn6Click);
    connect_guarded(Button1, &QPushButton::clicked, this, &TGraph::Button1Click);
    connect_guarded(Button2, &QPushButton::clicked, this, &TGraph::Button2Click);
    connect(DBChart1, &vantelo::chart::ChartWidget::mouse_pressed, this,
            [this](Qt::MouseButton button, QPoint, Qt::KeyboardModifiers) {
                vantelo::ui::guarded(this, [&] { DBChart1MouseDown(button); });
            });

    vantelo::ui::centre_on_screen(this);
    FormResize();
}

TGraph::~TGraph()
{
    if (Graph == this) Graph = nullptr;
}

Chart& TGraph::chart() { return DBChart1->chart(); }

void TGraph::show_frame(int delay_ms)
{
    ui::show_exposed(this);
    ui::paint_now({Panel1, DBChart1});
    if (delay_ms > 0) services().pause(delay_ms);
}

void TGraph::BitBtn1Click()
{
    Chart& c = chart();
    c.set_margin_left(c.margin_left() - 1);
    c.set_margin_right(c.margin_right() - 1);
    c.set_margin_top(c.margin_top() - 1);
    c.set_margin_bottom(c.margin_bottom() - 1);
}

void TGraph::BitBtn2Click()
{
    Chart& c = chart();
    c.set_margin_left(c.margin_left() + 1);
    c.set_margin_right(c.margin_right() + 1);
    c.set_margin_top(c.margin_top() + 1);
    c.set_margin_bottom(c.margin_bottom() + 1);
}

void TGraph::BitBtn3Click()
{
    if (!services().save_dialog(this, SaveDialog1) || SaveDialog1.file_name.isEmpty()) return;
    // The dialog's default extension for a name typed without one.
    QString name = SaveDialog1.file_name;
    int slash = std::max(name.lastIndexOf('/'), name.lastIndexOf('\\'));
    if (name.indexOf('.', slash + 1) < 0) {
        name += QStringLiteral(".") + SaveDialog1.default_ext;
        SaveDialog1.file_name = name;
    }
    DBChart1->save_bmp(name);
}

void TGraph::BitBtn5Click()
{
    QPrinter& printer = chart_printer();
    if (!services().print_dialog(this, printer)) return;
    struct RestoreOrientation {
        QPrinter& printer;
        QPageLayout::Orientation before;
        ~RestoreOrientation() { printer.setPageOrientation(before); }
    } restore{printer, printer.pageLayout().orientation()};
    DBChart1->print_landscape(printer);
}

void TGraph::BitBtn6Click()
{
    chart().clear_series();
    Button1->hide();
    Button2->hide();
    reject();
}

void TGraph::DBChart1MouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton) return;
    auto* dialog = vantelo::ui::new_window(this, View_3d_frm, DBChart1);
    dialog->ScrollBar1->setEnabled(true);
    dialog->ScrollBar2->setEnabled(true);
    dialog->CheckBox4->setChecked(false);
    chart().set_orthogonal(false);
    ui::show_modal(*dialog);
}

void TGraph::FormResize()
{
    const int cw = width();
    const int ch = height();
    Panel1->setGeometry(0, 0, cw, ch);
    DBChart1->resize(cw - 15, ch - 50);
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3, BitBtn5, BitBtn6}) b->move(b->x(), ch - 30);
    BitBtn1->move((cw - BitBtn2->width() - BitBtn3->width() - BitBtn5->width() - BitBtn6->width() - 50) / 2,
                  BitBtn1->y());
    BitBtn2->move(BitBtn1->x() + BitBtn2->width() + 10, BitBtn2->y());
    BitBtn3->move(BitBtn2->x() + BitBtn3->width() + 10, BitBtn3->y());
    BitBtn5->move(cw - BitBtn5->width() - BitBtn6->width() - 50, BitBtn5->y());
    BitBtn6->move(cw - BitBtn6->width() - 30, BitBtn6->y());
    Button1->move(DBChart1->width() - 60, DBChart1->height() - 60);
    Button2->move(DBChart1->width() - 60, DBChart1->height() - 30);
}

void TGraph::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    vantelo::ui::guarded(this, [&] { FormResize(); });
}

void TGraph::pyramid_setup()
{
    Button1->show();
    Button2->show();
    setWindowState(windowState() | Qt::WindowMaximized);
    Chart& c = chart();
    c.set_view3d(false);
    c.set_legend_style(vantelo::chart::lsSeries);
    set_chart_title(c, kPyramidTitle);
    c.clear_series();
    add_pyramid_series(c);
}

void TGraph::fix_pyramid_axis(const PyramidSource& source)
{
    charts::fix_pyramid_axis(chart(), source.age_group_count(), source.proj_year_count(),
                             [&](int x, int j) { return source.male_share(x, j); },
                             [&](int x, int j) { return source.female_share(x, j); });
}

void TGraph::add_pyramid_year(const PyramidSource& source, int year_index)
{
    add_pyramid_ages({chart().series(0), chart().series(1)}, source.age_group_count(),
                     [&](int x) { return source.male_share(x, year_index); },
                     [&](int x) { return source.female_share(x, year_index); });
}

void TGraph::Button1Click()
{
    pyramid_setup();
    // The empty pyramid with the plain title stands for one frame.
    show_frame(pyramid_frame_delay);
    chart().series(0).clear();
    chart().series(1).clear();
    const PyramidSource& source = pyramid_source();
    fix_pyramid_axis(source);
    chart().set_title_text(QString::number(source.base_year() + pyramid_year_cursor) + " " + kPyramidTitle);
    add_pyramid_year(source, pyramid_year_cursor - 1);
    show_frame(0);
    pyramid_year_cursor = pyramid_year_cursor - 1;
    if (pyramid_year_cursor == 0) pyramid_year_cursor = source.proj_year_count();
}

void TGraph::Button2Click()
{
    pyramid_setup();
    const PyramidSource& source = pyramid_source();
    fix_pyramid_axis(source);
    const int years = source.proj_year_count();
    const int base = source.base_year();
    for (int y = 0; y < years; ++y) {
        chart().set_title_text(QString::number(base + 1 + y) + " " + kPyramidTitle);
        add_pyramid_year(source, y);
        show_frame(pyramid_frame_delay);
        chart().series(0).clear();
        chart().series(1).clear();
    }
    // The last year stays on screen.
    chart().set_title_text(QString::number(base + years) + " " + kPyramidTitle);
    add_pyramid_year(source, years - 1);
    show_frame(0);
    pyramid_year_cursor = years;
}

}  // namespace vantelo::charts
