#pragma once
// The drop-down lists from which the user picks a field of the current table (or an entry of a
// fixed list): their items, with a text shown and no item chosen.
#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;

namespace vantelo::ui {

// Replaces the list's items with `items` (signals blocked, so no change handler runs), shows
// `text` with no item chosen, and never adds typed text to the items nor completes it from them.
void fill_list(QComboBox* box, const QStringList& items, const QString& text = {});

// The text of a list box's current item (the one last clicked); with none, ListIndexError
// "List index out of bounds (-1)".
QString current_item_text(const QListWidget* list);

// The entry last chosen from the list (`last_chosen`, -1 for none) while the box still shows its
// text; -1 once the text was typed over or the box shows another text.
int chosen_entry(const QComboBox* box, int last_chosen);

}  // namespace vantelo::ui
