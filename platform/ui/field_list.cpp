#include "platform/ui/field_list.h"

#include <QComboBox>
#include <QSignalBlocker>

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

}  // namespace vantelo::ui
