#pragma once
// What the analysis windows use of the main window: the field names of the current table and
// its columns read as real numbers, the information box of an input message, and the
// list-index error of the field lists.
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/ui/services.h"
#include "projection/engine/input_message.h"

class QWidget;

namespace vantelo::analysis {

// Reads a whole column of the current table (Table1), record by record from the first.
std::vector<double> current_table_column(const QString& field_name);

// "List index out of bounds (%d)".
[[noreturn]] void raise_list_index(long long index);

// Runs an action whose input errors end it with an information box.
template <class F>
void informing(QWidget* w, F&& f)
{
    try {
        f();
    } catch (const projection::InputMessage& m) {
        ui::services().information(w, QString::fromUtf8(m.what()));
    }
}

}  // namespace vantelo::analysis
