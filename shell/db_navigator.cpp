#include "shell/db_navigator.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "platform/ui/guard.h"
#include "shell/dataset_model.h"
#include "shell/db_grid.h"

namespace vantelo::shell {

namespace {
struct ButtonDef {
    const char* name;
    const char* text;
    const char* hint;
    void (*action)(DatasetModel&, QWidget*);
};

const ButtonDef button_defs[] = {
    {"nbFirst", "|◀", "第一条记录", [](DatasetModel& m, QWidget*) { m.dataset().first(); }},
    {"nbPrior", "◀", "上一条记录", [](DatasetModel& m, QWidget*) { m.dataset().prior(); }},
    {"nbNext", "▶", "下一条记录", [](DatasetModel& m, QWidget*) { m.dataset().next(); }},
    {"nbLast", "▶|", "最后一条记录", [](DatasetModel& m, QWidget*) { m.dataset().last(); }},
    {"nbInsert", "+", "追加记录", [](DatasetModel& m, QWidget*) { m.dataset().append(); }},
    {"nbDelete", "−", "删除记录", [](DatasetModel& m, QWidget* w) {
         // A delete rewrites the file without the record, so it is asked for first.
         if (ui::services().question(w, QStringLiteral("删除当前记录吗?"))) m.dataset().delete_record();
     }},
    {"nbEdit", "▲", "编辑记录", [](DatasetModel& m, QWidget*) { m.dataset().edit(); }},
    {"nbPost", "✓", "保存修改", [](DatasetModel& m, QWidget*) { m.dataset().post(); }},
    {"nbCancel", "✗", "取消修改", [](DatasetModel& m, QWidget*) { m.dataset().cancel(); }},
};
}  // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& def : button_defs) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(def.name));
        b->setText(QString::fromUtf8(def.text));
        b->setToolTip(QString::fromUtf8(def.hint));
        b->setMinimumWidth(36);
        auto action = def.action;
        connect(b, &QToolButton::clicked, this, [this, action] { act(action); });
        layout->addWidget(b);
        buttons_ << b;
    }
    layout->addStretch(1);
    update_buttons();
}

void DBNavigator::set_data_source(DatasetModel* source, DBGrid* grid)
{
    source_ = source;
    grid_ = grid;
    if (source_) connect(source_, &DatasetModel::state_changed, this, &DBNavigator::update_buttons);
    if (grid_) connect(grid_, &DBGrid::editing_changed, this, &DBNavigator::update_buttons);
    update_buttons();
}

QToolButton* DBNavigator::button(const QString& name) const
{
    for (auto* b : buttons_)
        if (b->objectName() == name) return b;
    return nullptr;
}

void DBNavigator::act(void (*action)(DatasetModel&, QWidget*))
{
    if (!source_) return;
    ui::guarded(this, [&] {
        if (grid_) grid_->commit_editor();
        if (!source_->dataset().active()) return;
        action(*source_, this);
    });
    update_buttons();
}

void DBNavigator::update_buttons()
{
    using State = db::Dataset::State;
    const db::Dataset* ds = source_ ? &source_->dataset() : nullptr;
    bool active = ds && ds->active();
    State st = active ? ds->state() : State::Inactive;
    // A value being typed in the grid counts as an edit of the current record.
    bool editing = st == State::Edit || st == State::Insert || (active && grid_ && grid_->editing());
    int n = active ? ds->record_count() : 0;
    int r = active ? ds->rec_no() : -1;
    bool writable = active && !ds->read_only() && !ds->image().read_only;
    auto set = [this](const char* name, bool on) {
        if (auto* b = button(QString::fromLatin1(name))) b->setEnabled(on);
    };
    set("nbFirst", active && n > 0 && (r > 0 || editing));
    set("nbPrior", active && n > 0 && (r > 0 || editing));
    set("nbNext", active && n > 0 && (r < n - 1 || editing));
    set("nbLast", active && n > 0 && (r < n - 1 || editing));
    set("nbInsert", writable);
    set("nbDelete", writable && n > 0);
    set("nbEdit", writable && st == State::Browse && n > 0);
    set("nbPost", editing);
    set("nbCancel", editing);
}

}  // namespace vantelo::shell
