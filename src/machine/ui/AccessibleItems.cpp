#include "machine/ui/AccessibleItems.h"

#include <QAccessibleWidget>
#include <QWidget>
#include <memory>
#include <vector>

namespace {

class ItemsAccessible;

// One item of a widget with AccessibleItems; lives as long as the widget's accessible object.
class ItemAccessible : public QAccessibleInterface {
public:
    ItemAccessible(ItemsAccessible* owner, int index) : parentInterface(owner), item(index) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

private:
    ItemsAccessible* parentInterface;
    int item;
};

class ItemsAccessible : public QAccessibleWidget {
public:
    ItemsAccessible(QWidget* widget, AccessibleItems* items)
        : QAccessibleWidget(widget, QAccessible::List), source(items) {}
    ~ItemsAccessible() override {
        for (auto id : ids) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override { return source->AccessibleItemCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        while (static_cast<int>(ids.size()) <= index) {
            auto* made = new ItemAccessible(const_cast<ItemsAccessible*>(this),
                                            static_cast<int>(ids.size()));
            ids.push_back(QAccessible::registerAccessibleInterface(made));
        }
        return QAccessible::accessibleInterface(ids[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (QAccessible::accessibleInterface(ids[i]) == child) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint at = widget()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < childCount(); ++i) {
            if (source->AccessibleItemRect(i).contains(at)) {
                return child(i);
            }
        }
        return nullptr;
    }

    AccessibleItems* source;
    QWidget* Widget() const { return widget(); }

private:
    mutable std::vector<QAccessible::Id> ids;
};

bool ItemAccessible::isValid() const {
    return item < parentInterface->childCount();
}

QAccessibleInterface* ItemAccessible::parent() const {
    return parentInterface;
}

QString ItemAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Name || !isValid()) {
        return {};
    }
    return parentInterface->source->AccessibleItemText(item);
}

QRect ItemAccessible::rect() const {
    const QRect local = parentInterface->source->AccessibleItemRect(item);
    return QRect(parentInterface->Widget()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role ItemAccessible::role() const {
    return parentInterface->source->AccessibleItemRole();
}

QAccessible::State ItemAccessible::state() const {
    QAccessible::State s;
    s.selectable = role() == QAccessible::ListItem;
    s.selected = parentInterface->source->SelectedAccessibleItem() == item;
    s.readOnly = true;
    return s;
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    auto* items = dynamic_cast<AccessibleItems*>(object);
    if (widget == nullptr || items == nullptr) {
        return nullptr;
    }
    return new ItemsAccessible(widget, items);
}

} // namespace

void AccessibleItems::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}
