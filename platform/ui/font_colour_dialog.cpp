#include "platform/ui/font_colour_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace vantelo::ui {
namespace {

struct NamedColour {
    const char* name;
    QRgb rgb;
};

// The sixteen colours of a classic font dialog's colour list.
const NamedColour kColours[] = {
    {"黑色", 0x000000}, {"褐红色", 0x800000}, {"绿色", 0x008000}, {"橄榄色", 0x808000},
    {"深蓝色", 0x000080}, {"紫色", 0x800080}, {"蓝绿色", 0x008080}, {"灰色", 0x808080},
    {"银色", 0xC0C0C0}, {"红色", 0xFF0000}, {"酸橙色", 0x00FF00}, {"黄色", 0xFFFF00},
    {"蓝色", 0x0000FF}, {"紫红色", 0xFF00FF}, {"浅绿色", 0x00FFFF}, {"白色", 0xFFFFFF},
};

QIcon swatch(const QColor& c)
{
    QPixmap pm(24, 12);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, pm.width() - 1, pm.height() - 1);
    return QIcon(pm);
}

}  // namespace

FontColourDialog::FontColourDialog(const FontDialogState& state, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("字体"));
    font_box = new QFontDialog(this);
    font_box->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    font_box->setWindowFlags(Qt::Widget);
    set_selected_font(state.font);

    colour_box = new QComboBox(this);
    for (const NamedColour& c : kColours) colour_box->addItem(swatch(QColor(c.rgb)), QString::fromUtf8(c.name), QColor(c.rgb));
    set_selected_colour(state.color);

    auto* colour_row = new QHBoxLayout;
    colour_row->addWidget(new QLabel(QStringLiteral("颜色:"), this));
    colour_row->addWidget(colour_box);
    colour_row->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(font_box);
    layout->addLayout(colour_row);
    layout->addWidget(buttons);
    font_box->show();
}

QFont FontColourDialog::selected_font() const { return font_box->currentFont(); }

QColor FontColourDialog::selected_colour() const { return colour_box->currentData().value<QColor>(); }

void FontColourDialog::set_selected_font(const QFont& font)
{
    // The weight and slant decide the style shown, not a style name left from an earlier choice.
    QFont f = font;
    f.setStyleName(QString());
    font_box->setCurrentFont(f);
}

void FontColourDialog::set_selected_colour(const QColor& colour)
{
    for (int i = 0; i < colour_box->count(); ++i) {
        if (colour_box->itemData(i).value<QColor>().rgb() == colour.rgb()) {
            colour_box->setCurrentIndex(i);
            return;
        }
    }
    colour_box->addItem(swatch(colour), colour.name(), colour);
    colour_box->setCurrentIndex(colour_box->count() - 1);
}

void FontColourDialog::write_back(FontDialogState& state) const
{
    state.font = selected_font();
    state.color = selected_colour();
}

}  // namespace vantelo::ui
