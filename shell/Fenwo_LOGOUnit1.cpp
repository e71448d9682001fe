#include "shell/Fenwo_LOGOUnit1.h"

#include <cmath>

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include "platform/core/random.h"
#include "platform/ui/guard.h"
#include "ui_Fenwo_LOGOUnit1.h"

namespace vantelo::shell {

using vantelo::chart::Chart;
using vantelo::chart::ChartFont;
using vantelo::chart::color_from_bgr;
using vantelo::chart::Series;
using vantelo::chart::SeriesKind;
using vantelo::chart::WallKind;
using vantelo::ui::guarded;

TFenwoLOGO* FenwoLOGO = nullptr;

TFenwoLOGO::TFenwoLOGO(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::TFenwoLOGO>())
{
    ui_->setupUi(this);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(531, 339);
    Panel1 = ui_->Panel1;
    Chart1 = ui_->Chart1;
    Label1 = ui_->Label1;

    Chart& c = Chart1->chart();
    c.set_gradient_start(color_from_bgr(0xFFFF00));  // aqua
    c.set_gradient_end(color_from_bgr(0xFF0000));    // blue
    c.set_gradient_visible(true);
    c.set_wall_colour(WallKind::Back, color_from_bgr(0xFF0000));
    c.set_wall_clear(WallKind::Bottom, true);
    c.set_wall_clear(WallKind::Left, true);
    c.set_bevel_inner(vantelo::chart::BevelStyle::Raised);
    c.set_bevel_width(3);
    c.set_legend_visible(false);
    c.set_title_text(QStringLiteral("Vantelo"));
    ChartFont title;
    title.family = QStringLiteral("隶书");
    title.pixel_size = 56;
    title.bold = true;
    title.colour = color_from_bgr(0x00FFFF);  // yellow
    c.set_title_font(title);
    c.set_title_frame(true, 3);

    QFont label_font(QStringLiteral("Times New Roman"));
    label_font.setPixelSize(96);
    label_font.setBold(true);
    label_font.setItalic(true);
    Label1->setFont(label_font);
    QPalette pal = Label1->palette();
    pal.setColor(QPalette::WindowText, color_from_bgr(0xFFFFFF));
    Label1->setPalette(pal);
    Label1->setAutoFillBackground(false);  // transparent: the chart shows through

    // Series 0 points, 1 bars, 2 line.
    Series& points = c.add_series(SeriesKind::Point);
    points.set_colour(color_from_bgr(0x0000FF));
    points.set_pointer_style(vantelo::chart::psCircle);
    points.set_pointer_visible(true);
    points.set_marks_visible(false);
    Series& bars = c.add_series(SeriesKind::Bar);
    bars.set_colour(color_from_bgr(0x008000));
    bars.set_marks_visible(false);
    Series& line = c.add_series(SeriesKind::Line);
    line.set_colour(color_from_bgr(0x00FFFF));
    line.set_pen_colour(color_from_bgr(0x00FFFF));
    line.set_pointer_visible(false);
    line.set_marks_visible(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(4000);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded(this, [&] { Timer1Timer(); }); });
    connect(Chart1, &vantelo::chart::ChartWidget::clicked, this, [this] { guarded(this, [&] { Chart1Click(); }); });
    Label1->installEventFilter(this);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect avail = screen->availableGeometry();
        move(avail.center() - QPoint(width() / 2, height() / 2));
    }

    FormCreate();
    Timer1->start();
}

TFenwoLOGO::~TFenwoLOGO()
{
    if (FenwoLOGO == this) FenwoLOGO = nullptr;
}

// Twenty-one passes, each drawing three numbers r in [0, 1) in turn: a point of sin(r) * 6.0
// in the series' colour, a blue bar of sin(r) * 1.5 and a white line point of sin(r) * 2.0,
// every one labelled with a single blank. Values so lie in [0, sin 1) times the factor.
void TFenwoLOGO::FormCreate()
{
    randomize();  // a new decoration at every splash
    auto random = [] { return random_uniform(); };
    Chart& c = Chart1->chart();
    const QString blank = QStringLiteral(" ");
    for (int i = 0; i < 21; ++i) {
        c.series(0).add(static_cast<double>(std::sin(static_cast<long double>(random())) * 6.0L), blank);
        c.series(1).add(static_cast<double>(std::sin(static_cast<long double>(random())) * 1.5L), blank,
                        color_from_bgr(0xFF0000));
        c.series(2).add(static_cast<double>(std::sin(static_cast<long double>(random())) * 2.0L), blank,
                        color_from_bgr(0xFFFFFF));
    }
}

// The stopping handlers reach the timer through the global, as the start-up waits on it.
void TFenwoLOGO::Timer1Timer()
{
    if (FenwoLOGO) FenwoLOGO->Timer1->stop();
}

void TFenwoLOGO::Chart1Click()
{
    if (FenwoLOGO) FenwoLOGO->Timer1->stop();
}

void TFenwoLOGO::Label1Click()
{
    if (FenwoLOGO) FenwoLOGO->Timer1->stop();
}

bool TFenwoLOGO::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1) {
        if (event->type() == QEvent::MouseButtonPress) return true;
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton && Label1->rect().contains(me->position().toPoint()))
                guarded(this, [&] { Label1Click(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vantelo::shell
