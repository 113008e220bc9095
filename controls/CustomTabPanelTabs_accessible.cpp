#include "CustomTabPanelTabs.h"

#include "accessibilite.h"

#include <QAccessible>
#include <QHash>
#include <QPointer>

#include <utility>

// What assistive technology reads of the strip: a page tab list whose
// children are its tabs, in their place along the strip. Each tab is named by
// its caption, is selected while it is the front tab, and selects itself by
// its press action as a click on it would.

namespace {

class onglet_accessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    onglet_accessible(CustomTabPanelTabs* bande, int index) : bande_(bande), index_(index) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    // The tab that this interface reads, while the strip still has it.
    const CustomTab* onglet() const {
        return isValid() ? bande_->tabs[static_cast<std::size_t>(index_)].get() : nullptr;
    }

    bool isValid() const override { return bande_ && index_ < bande_->tabCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return bande_ ? bande_->window()->windowHandle() : nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QAccessible::State state() const override {
        QAccessible::State etat;
        const CustomTab* tab = onglet();
        if (!tab) {
            etat.invalid = true;
            return etat;
        }
        etat.selectable = true;
        etat.selected = bande_->value() == index_;
        etat.disabled = !tab->enabled || !bande_->isEnabled();
        // Tabs past the end of the strip are hidden until there is room.
        etat.invisible = !tab->visible || !bande_->isVisible();
        return etat;
    }

    QRect rect() const override {
        const CustomTab* tab = onglet();
        if (!tab)
            return {};
        return {bande_->mapToGlobal(QPoint(tab->x(), tab->y())),
                QSize(tab->width(), tab->height())};
    }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && bande_ ? bande_->caption(index_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(bande_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        // A disabled strip takes no click; setValue leaves a disabled tab.
        if (action == pressAction() && isValid() && bande_->isEnabled())
            bande_->setValue(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<CustomTabPanelTabs> bande_;
    const int index_;
};

class bande_accessible : public QAccessibleWidget {
public:
    explicit bande_accessible(CustomTabPanelTabs* bande)
        : QAccessibleWidget(bande, QAccessible::PageTabList) {}

    ~bande_accessible() override {
        for (const QAccessible::Id id : std::as_const(onglets))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return bande()->tabCount(); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= bande()->tabCount())
            return nullptr;
        // One interface per place, kept while the strip lives, as Qt's
        // interfaces must not change under the tools that hold them.
        if (const auto trouve = onglets.constFind(index); trouve != onglets.cend())
            return QAccessible::accessibleInterface(*trouve);
        auto* onglet = new onglet_accessible(bande(), index);
        onglets.insert(index, QAccessible::registerAccessibleInterface(onglet));
        return onglet;
    }

    int indexOfChild(const QAccessibleInterface* enfant) const override {
        for (auto i = onglets.cbegin(); i != onglets.cend(); ++i)
            if (QAccessible::accessibleInterface(i.value()) == enfant && i.key() < childCount())
                return i.key();
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint point = bande()->mapFromGlobal(QPoint(x, y));
        // Front to back, as the mouse finds them; disabled tabs too.
        for (auto i = bande()->drawOrder.rbegin(); i != bande()->drawOrder.rend(); ++i) {
            const CustomTab& tab = **i;
            if (tab.visible && QRect(tab.x(), tab.y(), tab.width(), tab.height()).contains(point))
                return child(tab.index());
        }
        return nullptr;
    }

private:
    CustomTabPanelTabs* bande() const { return static_cast<CustomTabPanelTabs*>(widget()); }
    mutable QHash<int, QAccessible::Id> onglets;
};

QAccessibleInterface* bande_accessible_pour(QWidget* controle) {
    return new bande_accessible(static_cast<CustomTabPanelTabs*>(controle));
}

} // namespace

void CustomTabPanelTabs::inscrit_accessibilite() {
    accessibilite::enregistre("CustomTabPanelTabs", &bande_accessible_pour);
}

void CustomTabPanelTabs::signale_selection(std::int32_t i) {
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(i);
    QAccessible::updateAccessibility(&selection);
}
