// What the workbench's widget tests share: a person's mouse on a widget, and the window's menus by their texts.
#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

namespace workbench_test {

/// One mouse event at a widget's point, with the button it concerns and the keys held.
inline void mouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::NoButton,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

/// The item of the window's menu whose texts are those (with their ampersands); null when there is none.
inline QAction* menuAction(const QMainWindow& window, const char* menu, const char* text) {
    for (QAction* top : window.menuBar()->actions())
        if (top->text() == QString::fromUtf8(menu))
            for (QAction* action : top->menu()->actions())
                if (action->text() == QString::fromUtf8(text)) return action;
    return nullptr;
}

}  // namespace workbench_test
