#pragma once
// Input sent straight to a widget, as the window system would deliver it: mouse clicks, and the
// user's pick in a list.
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWidget>

namespace test_events {

inline void press(QWidget* w, QPoint pos, Qt::MouseButton button)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, button,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void release(QWidget* w, QPoint pos, Qt::MouseButton button)
{
    QMouseEvent e(QEvent::MouseButtonRelease, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void click(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    press(w, pos, button);
    release(w, pos, button);
}

// A click on one of a scroll bar's arrows, at the arrow's centre as the style draws it.
inline void click_arrow(QScrollBar* bar, bool add)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
    QRect r = bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt,
                                           add ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine, bar);
    click(bar, r.center());
}

// The user picks entry `index` of a list: it becomes current and the list reports the pick.
inline void pick(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// The user picks the entry showing `text`; returns false, picking nothing, when there is none.
inline bool pick_text(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    if (index < 0) return false;
    pick(box, index);
    return true;
}

}  // namespace test_events
