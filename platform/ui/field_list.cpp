#include "platform/ui/field_list.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

#include "platform/core/errors.h"

namespace vantelo::ui {

void fill_list(QComboBox* box, const QStringList& items, const QString& text)
{
    QSignalBlocker block(box);
    box->clear();
    box->addItems(items);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

QString current_item_text(const QListWidget* list)
{
    const int i = list->currentRow();
    if (i < 0 || i >= list->count()) throw ListIndexError(i);
    return list->item(i)->text();
}

int chosen_entry(const QComboBox* box, int last_chosen)
{
    if (last_chosen >= 0 && box->itemText(last_chosen) != box->currentText()) return -1;
    return last_chosen;
}

}  // namespace vantelo::ui
