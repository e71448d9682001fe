#include "shell/About_Frm1.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

#include "platform/ui/guard.h"
#include "platform/ui/windows.h"
#include "shell/launch.h"
#include "shell/menu.h"
#include "ui_About_Frm1.h"

namespace vantelo::shell {

QPointer<TAbout_Frm> About_Frm;

TAbout_Frm::TAbout_Frm(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::TAbout_Frm>())
{
    ui_->setupUi(this);
    Panel1 = ui_->Panel1;
    Shape1 = ui_->Shape1;
    Label1 = ui_->Label1;
    Label2 = ui_->Label2;
    QFont title(QStringLiteral("MS Sans Serif"));
    title.setPixelSize(19);
    Label1->setFont(title);
    QFont sub = Label2->font();
    sub.setPixelSize(16);
    Label2->setFont(sub);
    // The frame takes no mouse of its own inside its border, so a click there reaches the panel.
    Panel1->installEventFilter(this);
    Shape1->installEventFilter(this);
    ui::centre_on_screen(this);
}

TAbout_Frm::~TAbout_Frm() = default;

bool TAbout_Frm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Shape1 && event->type() == QEvent::MouseButtonPress) {
        ui::guarded(this, [this] { Shape1MouseDown(); });
        return true;
    }
    if (watched == Panel1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        ui::guarded(this, [this] { Panel1Click(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAbout_Frm::Panel1Click() { close(); }
void TAbout_Frm::Shape1MouseDown() { close(); }

void register_about()
{
    register_window(QStringLiteral("About1"), [](Tquilta& main) -> QWidget* {
        TAbout_Frm* w = new_window(&main, About_Frm);
        return w;
    });
}

}  // namespace vantelo::shell
