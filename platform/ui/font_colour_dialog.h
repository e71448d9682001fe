#pragma once
// The font dialog of the program: a font (family, size, style, underline and strikeout) and a
// colour chosen together, as the chart dialogs' title and axis buttons need. The Qt services
// run it for services().font_dialog; OK writes the choice into the dialog's state, Cancel
// leaves the state as it was.
#include <QDialog>

#include "platform/ui/services.h"

class QComboBox;
class QFontDialog;

namespace vantelo::ui {

class FontColourDialog : public QDialog {
    Q_OBJECT
public:
    // Starts from the state's font and colour.
    FontColourDialog(const FontDialogState& state, QWidget* parent = nullptr);

    QFont selected_font() const;
    QColor selected_colour() const;
    void set_selected_font(const QFont& font);
    // A colour that is not one of the listed colours is added to the list.
    void set_selected_colour(const QColor& colour);

    // The choice into the state (what OK does).
    void write_back(FontDialogState& state) const;

    QFontDialog* font_box = nullptr;
    QComboBox* colour_box = nullptr;
};

}  // namespace vantelo::ui
