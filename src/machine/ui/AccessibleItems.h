#pragma once

#include <QAccessible>
#include <QRect>
#include <QString>

// A widget that draws a list of texts itself (pane rows, LED digits) and lets screen readers read
// each one: derive from this beside QWidget and call Install() once. The widget's accessible
// object then has one child per item, named with the item's text exactly as drawn.
class AccessibleItems {
public:
    virtual ~AccessibleItems() = default;

    virtual int AccessibleItemCount() const = 0;
    virtual QString AccessibleItemText(int item) const = 0;
    // In widget coordinates.
    virtual QRect AccessibleItemRect(int item) const = 0;
    virtual QAccessible::Role AccessibleItemRole() const { return QAccessible::ListItem; }
    virtual int SelectedAccessibleItem() const { return -1; }

    // Makes the accessibility layer ask AccessibleItems of every widget that has them.
    static void Install();
};
