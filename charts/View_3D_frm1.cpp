#include "charts/View_3D_frm1.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QScrollBar>
#include <QToolButton>

#include "platform/chart/color.h"
#include "platform/ui/guard.h"
#include "ui_View_3D_frm1.h"

namespace vantelo::charts {

using vantelo::chart::color_from_bgr;
using vantelo::chart::WallKind;
using vantelo::ui::connect_guarded;
using vantelo::ui::guarded;
using vantelo::ui::services;

int left_wall_size = 0;
int bottom_wall_size = 0;
int back_wall_size = 0;
QColor chart_pick_color = Qt::black;
QPointer<TView_3d_frm> View_3d_frm;

void fill_shape(QFrame* shape, const QColor& colour)
{
    QPalette pal = shape->palette();
    pal.setColor(QPalette::Window, colour);
    shape->setPalette(pal);
    shape->setAutoFillBackground(true);
    shape->update();
}

TView_3d_frm::TView_3d_frm(vantelo::chart::ChartWidget* chart, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TView_3d_frm>()), chart_(chart)
{
    ui_->setupUi(this);
    setFixedSize(293, 228);
    ScrollBar1 = ui_->ScrollBar1;
    ScrollBar2 = ui_->ScrollBar2;
    ScrollBar3 = ui_->ScrollBar3;
    ScrollBar4 = ui_->ScrollBar4;
    ScrollBar5 = ui_->ScrollBar5;
    ScrollBar6 = ui_->ScrollBar6;
    ScrollBar7 = ui_->ScrollBar7;
    ScrollBar8 = ui_->ScrollBar8;
    Label7 = ui_->Label7;
    Label8 = ui_->Label8;
    Label11 = ui_->Label11;
    Label12 = ui_->Label12;
    Label14 = ui_->Label14;
    Label16 = ui_->Label16;
    Label18 = ui_->Label18;
    Label19 = ui_->Label19;
    CheckBox1 = ui_->CheckBox1;
    CheckBox2 = ui_->CheckBox2;
    CheckBox3 = ui_->CheckBox3;
    CheckBox4 = ui_->CheckBox4;
    Edit1 = ui_->Edit1;
    Edit3 = ui_->Edit3;
    Edit4 = ui_->Edit4;
    Shape1 = ui_->Shape1;
    Shape2 = ui_->Shape2;
    Shape3 = ui_->Shape3;
    Shape4 = ui_->Shape4;
    Shape5 = ui_->Shape5;

    // Design colours of the sample shapes: yellow, white, white, silver, navy.
    fill_shape(Shape1, color_from_bgr(0x00FFFF));
    fill_shape(Shape2, color_from_bgr(0xFFFFFF));
    fill_shape(Shape3, color_from_bgr(0xFFFFFF));
    fill_shape(Shape4, color_from_bgr(0xC0C0C0));
    fill_shape(Shape5, color_from_bgr(0x800000));
    ColorDialog1.color = color_from_bgr(0x000000);
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);

    connect_guarded(ui_->BitBtn3, &QPushButton::clicked, this, &TView_3d_frm::BitBtn3Click);
    connect_guarded(ui_->BitBtn6, &QPushButton::clicked, this, &TView_3d_frm::BitBtn6Click);
    connect_guarded(ui_->BitBtn9, &QPushButton::clicked, this, &TView_3d_frm::BitBtn9Click);
    connect_guarded(ui_->BitBtn2, &QPushButton::clicked, this, &TView_3d_frm::BitBtn2Click);
    // clicked, not toggled: only the user's clicks act.
    connect_guarded(CheckBox1, &QCheckBox::clicked, this, &TView_3d_frm::CheckBox1Click);
    connect_guarded(CheckBox2, &QCheckBox::clicked, this, &TView_3d_frm::CheckBox2Click);
    connect_guarded(CheckBox3, &QCheckBox::clicked, this, &TView_3d_frm::CheckBox3Click);
    connect_guarded(CheckBox4, &QCheckBox::clicked, this, &TView_3d_frm::CheckBox4Click);

    struct Arrow {
        QToolButton* button;
        void (TView_3d_frm::*handler)(UDBtnType);
        UDBtnType type;
    };
    for (Arrow a : {Arrow{ui_->UpDown1Up, &TView_3d_frm::UpDown1Click, btNext},
                    Arrow{ui_->UpDown1Down, &TView_3d_frm::UpDown1Click, btPrev},
                    Arrow{ui_->UpDown2Up, &TView_3d_frm::UpDown2Click, btNext},
                    Arrow{ui_->UpDown2Down, &TView_3d_frm::UpDown2Click, btPrev},
                    Arrow{ui_->UpDown3Up, &TView_3d_frm::UpDown3Click, btNext},
                    Arrow{ui_->UpDown3Down, &TView_3d_frm::UpDown3Click, btPrev}}) {
        connect(a.button, &QToolButton::clicked, this,
                [this, a] { guarded(this, [&] { (this->*a.handler)(a.type); }); });
    }

    Shape4->installEventFilter(this);
    Shape5->installEventFilter(this);

    hook_scroll_bar(ScrollBar1, &TView_3d_frm::ScrollBar1Scroll);
    hook_scroll_bar(ScrollBar2, &TView_3d_frm::ScrollBar2Scroll);
    hook_scroll_bar(ScrollBar3, &TView_3d_frm::ScrollBar3Scroll);
    hook_scroll_bar(ScrollBar4, &TView_3d_frm::ScrollBar4Scroll);
    hook_scroll_bar(ScrollBar5, &TView_3d_frm::ScrollBar5Scroll);
    hook_scroll_bar(ScrollBar6, &TView_3d_frm::ScrollBar6Scroll);
    hook_scroll_bar(ScrollBar7, &TView_3d_frm::ScrollBar7Scroll);
    hook_scroll_bar(ScrollBar8, &TView_3d_frm::ScrollBar8Scroll);
}

TView_3d_frm::~TView_3d_frm() = default;

vantelo::chart::Chart& TView_3d_frm::chart()
{
    if (!chart_) throw vantelo::Error("The chart of this dialog has been closed");
    return chart_->chart();
}

// A scroll bar reports every step as a scroll event and then the end of the scroll, both
// with the bar's new position; a step at an end of the range still reports both. Dragging
// reports each move, and the release the final position and the end of the scroll.
void TView_3d_frm::hook_scroll_bar(QScrollBar* bar, void (TView_3d_frm::*handler)(int))
{
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, handler](int action) {
        if (action == QAbstractSlider::SliderNoAction) return;
        const int p = bar->sliderPosition();
        guarded(this, [&] { (this->*handler)(p); });
        if (action != QAbstractSlider::SliderMove) guarded(this, [&] { (this->*handler)(p); });
    });
    connect(bar, &QAbstractSlider::sliderReleased, this, [this, bar, handler] {
        const int p = bar->sliderPosition();
        guarded(this, [&] { (this->*handler)(p); });
        guarded(this, [&] { (this->*handler)(p); });
    });
}

bool TView_3d_frm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == Shape4) {
            guarded(this, [&] { Shape4MouseDown(); });
            return true;
        }
        if (watched == Shape5) {
            guarded(this, [&] { Shape5MouseDown(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TView_3d_frm::wall_colour(WallKind wall, QFrame* shape)
{
    if (!services().colour_dialog(this, ColorDialog1)) return;
    chart_pick_color = ColorDialog1.color;
    chart().set_wall_colour(wall, chart_pick_color);
    fill_shape(shape, chart_pick_color);
}

void TView_3d_frm::BitBtn3Click() { wall_colour(WallKind::Left, Shape1); }
void TView_3d_frm::BitBtn6Click() { wall_colour(WallKind::Bottom, Shape2); }
void TView_3d_frm::BitBtn9Click() { wall_colour(WallKind::Back, Shape3); }

// The up-down moves between 0 and 100 in this dialog; each move steps the shared counter,
// which the box shows and the wall takes as its thickness. A click that cannot move does
// nothing.
void TView_3d_frm::wall_size(int which, UDBtnType button, int& counter, QLineEdit* box, WallKind wall)
{
    int& pos = updown_[which];
    if (button == btNext) {
        if (pos >= 100) return;
        ++pos;
        ++counter;
    } else {
        if (pos <= 0) return;
        --pos;
        --counter;
    }
    box->setText(QString::number(counter));
    chart().set_wall_size(wall, counter);
}

void TView_3d_frm::UpDown1Click(UDBtnType button) { wall_size(0, button, left_wall_size, Edit1, WallKind::Left); }
void TView_3d_frm::UpDown2Click(UDBtnType button)
{
    wall_size(1, button, bottom_wall_size, Edit3, WallKind::Bottom);
}
void TView_3d_frm::UpDown3Click(UDBtnType button) { wall_size(2, button, back_wall_size, Edit4, WallKind::Back); }

int TView_3d_frm::updown_position(int which) const { return updown_[which - 1]; }

void TView_3d_frm::CheckBox1Click() { chart().set_wall_clear(WallKind::Left, CheckBox1->isChecked()); }
void TView_3d_frm::CheckBox2Click() { chart().set_wall_clear(WallKind::Bottom, CheckBox2->isChecked()); }
void TView_3d_frm::CheckBox3Click() { chart().set_wall_clear(WallKind::Back, CheckBox3->isChecked()); }

void TView_3d_frm::Shape4MouseDown()
{
    if (!services().colour_dialog(this, ColorDialog1)) return;
    chart_pick_color = ColorDialog1.color;
    chart().set_gradient_start(chart_pick_color);
    fill_shape(Shape4, chart_pick_color);
}

void TView_3d_frm::Shape5MouseDown()
{
    if (!services().colour_dialog(this, ColorDialog1)) return;
    chart_pick_color = ColorDialog1.color;
    chart().set_gradient_end(chart_pick_color);
    fill_shape(Shape5, chart_pick_color);
}

void TView_3d_frm::ScrollBar1Scroll(int position)
{
    Label7->setText(QString::number(position));
    chart().set_rotation(position);
}

void TView_3d_frm::ScrollBar2Scroll(int position)
{
    Label8->setText(QString::number(position));
    chart().set_elevation(position);
}

void TView_3d_frm::ScrollBar3Scroll(int position)
{
    Label11->setText(QString::number(position));
    chart().set_horiz_offset(position);
}

void TView_3d_frm::ScrollBar4Scroll(int position)
{
    Label12->setText(QString::number(position));
    chart().set_vert_offset(position);
}

void TView_3d_frm::ScrollBar5Scroll(int position)
{
    Label14->setText(QString::number(position));
    chart().set_chart3d_percent(position);
}

// At 1 every event enlarges the plot by a step, at -1 it reduces it, at 0 nothing changes.
void TView_3d_frm::ScrollBar6Scroll(int position)
{
    Label16->setText(QString::number(position));
    auto& c = chart();
    c.set_margin_left(c.margin_left() - position);
    c.set_margin_right(c.margin_right() - position);
    c.set_margin_top(c.margin_top() - position);
    c.set_margin_bottom(c.margin_bottom() - position);
}

void TView_3d_frm::ScrollBar7Scroll(int position)
{
    Label18->setText(QString::number(position));
    chart();  // the chart must still be there
    chart_->resize(chart_->width() + position, chart_->height());
}

void TView_3d_frm::ScrollBar8Scroll(int position)
{
    Label19->setText(QString::number(position));
    chart();
    chart_->resize(chart_->width(), chart_->height() + position);
}

void TView_3d_frm::CheckBox4Click()
{
    const bool on = CheckBox4->isChecked();
    chart().set_orthogonal(on);
    ScrollBar1->setEnabled(!on);
    ScrollBar2->setEnabled(!on);
}

void TView_3d_frm::BitBtn2Click() { reject(); }

}  // namespace vantelo::charts
