#pragma once

#include "machine/ui/AccessibleItems.h"

#include <QColor>
#include <QWidget>

class C8085Object;

// The eight seven-segment digits of a machine's LED cells, in their own window. It reads the
// cells only when it paints. Closing the window only hides it (and says so, so that the
// simulator window's Toggle LED button follows).
class CLedWindow : public QWidget, public AccessibleItems {
    Q_OBJECT
public:
    static inline const QColor LitColour{200, 0, 0};
    static inline const QColor DarkColour{200 / 3, 0, 0};

    CLedWindow(C8085Object& machine, QWidget* parent);

    // Repaints when the machine marked its cells changed (taking the mark) or when forced.
    // Answers whether it repaints.
    bool RefreshIfChanged(bool force);

    int AccessibleItemCount() const override;
    QString AccessibleItemText(int item) const override;
    QRect AccessibleItemRect(int item) const override;
    QAccessible::Role AccessibleItemRole() const override { return QAccessible::StaticText; }

signals:
    void closedByUser();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    C8085Object& machine;
};
