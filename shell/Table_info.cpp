#include "shell/Table_info.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTableWidget>

#include "platform/ui/guard.h"
#include "platform/ui/windows.h"
#include "shell/launch.h"
#include "shell/menu.h"
#include "shell/structure_grid.h"
#include "ui_Table_info.h"

namespace vantelo::shell {

QPointer<TTable_info_frm> Table_info_frm;

TTable_info_frm::TTable_info_frm(QWidget* owner) : QDialog(owner), ui_(std::make_unique<Ui::TTable_info_frm>())
{
    ui_->setupUi(this);
    StringGrid1 = ui_->StringGrid1;
    Panel1 = ui_->Panel1;
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Clicks on the grid's cells, the panel and the labels.
    for (QObject* o : std::initializer_list<QObject*>{StringGrid1->viewport(), Panel1, ui_->Label1, ui_->Label2,
                                                      ui_->Label3, ui_->Label4})
        o->installEventFilter(this);
    ui::centre_on_screen(this);
}

TTable_info_frm::~TTable_info_frm() = default;

bool TTable_info_frm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        ui::guarded(this, [&] {
            if (watched == StringGrid1->viewport()) StringGrid1Click();
            else if (watched == Panel1) Panel1Click();
            else if (watched == ui_->Label1) Label1Click();
            else if (watched == ui_->Label2) Label2Click();
            else if (watched == ui_->Label3) Label3Click();
            else if (watched == ui_->Label4) Label4Click();
        });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TTable_info_frm::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) ui::guarded(this, [this] { FormClick(); });
}

void TTable_info_frm::StringGrid1Click() { done(QDialog::Rejected); }
void TTable_info_frm::Panel1Click() { done(QDialog::Rejected); }
void TTable_info_frm::Label1Click() { done(QDialog::Rejected); }
void TTable_info_frm::Label2Click() { done(QDialog::Rejected); }
void TTable_info_frm::Label3Click() { done(QDialog::Rejected); }
void TTable_info_frm::Label4Click() { done(QDialog::Rejected); }
void TTable_info_frm::FormClick() { done(QDialog::Rejected); }

void register_table_info()
{
    register_window(QStringLiteral("Table_info"), [](Tquilta& main) -> QWidget* {
        TTable_info_frm* w = new_window(&main, Table_info_frm);
        fill_structure_grid(w->StringGrid1, main.Table1);
        return w;
    });
}

}  // namespace vantelo::shell
