#pragma once
// Whether a window shows every caption and box text whole: each text's width in its widget's own
// font against the room the style leaves for text in that widget (labels, buttons, radio
// buttons, check boxes, group titles, the texts and items of combo boxes, the items of lists).
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace test_text_fit {

namespace detail {

// The text as drawn: the mnemonic marker "&" is not shown ("&&" shows one).
inline QString shown(QString text)
{
    text.replace(QLatin1String("&&"), QString(QChar(1)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(1), QLatin1Char('&'));
    return text;
}

inline void check(QStringList& out, const QWidget* w, const QString& text, int room)
{
    if (text.isEmpty()) return;
    const int width = w->fontMetrics().horizontalAdvance(shown(text));
    if (width > room)
        out << QStringLiteral("%1 \"%2\": %3 px in %4 px").arg(w->objectName(), text).arg(width).arg(room);
}

inline int button_room(const QAbstractButton* b, QStyle::SubElement contents)
{
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    opt.icon = b->icon();
    opt.iconSize = b->iconSize();
    int room = b->style()->subElementRect(contents, &opt, b).width();
    if (!b->icon().isNull()) room -= b->iconSize().width() + 4;
    return room;
}

// The room of a line edit's text: its contents less the text margins and the 2-pixel margin the
// line edit keeps on either side.
inline int line_edit_room(const QLineEdit* e)
{
    const QMargins m = e->textMargins();
    return e->contentsRect().width() - m.left() - m.right() - 4;
}

inline int combo_room(const QComboBox* c)
{
    if (c->isEditable() && c->lineEdit()) return line_edit_room(c->lineEdit());
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    opt.editable = false;
    opt.frame = c->hasFrame();
    return c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c).width() - 4;
}

}  // namespace detail

// Every text of window and its children that does not fit, as "name "text": width in room".
inline QStringList clipped_texts(QWidget* window)
{
    QStringList out;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (w->isWindow() && w != window) continue;  // pop-ups and other windows
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (!l->wordWrap()) detail::check(out, l, l->text(), l->contentsRect().width() - 2 * qMax(0, l->margin()));
        } else if (auto* r = qobject_cast<QRadioButton*>(w)) {
            detail::check(out, r, r->text(), detail::button_room(r, QStyle::SE_RadioButtonContents));
        } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
            detail::check(out, c, c->text(), detail::button_room(c, QStyle::SE_CheckBoxContents));
        } else if (auto* b = qobject_cast<QPushButton*>(w)) {
            detail::check(out, b, b->text(), detail::button_room(b, QStyle::SE_PushButtonContents));
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            QStyleOptionGroupBox opt;
            opt.initFrom(g);
            opt.text = g->title();
            opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
            detail::check(out, g, g->title(), g->width() - label.left());
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            const int room = detail::combo_room(c);
            detail::check(out, c, c->currentText(), room);
            for (int i = 0; i < c->count(); ++i) detail::check(out, c, c->itemText(i), room);
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
            for (int i = 0; i < list->count(); ++i)
                detail::check(out, list, list->item(i)->text(), list->viewport()->width() - 2 * margin);
        }
    }
    return out;
}

}  // namespace test_text_fit
