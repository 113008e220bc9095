#include "CustomTabPanelTabs.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWheelEvent>

// The strip's mouse: the more-tabs button asks the owner for its menu; a press
// on a tab makes that tab receive the drag and the release, which closes it
// (press and release on its close box) or selects it (on its body).

void CustomTabPanelTabs::mousePressEvent(QMouseEvent* evenement) {
    // The strip keeps every press to itself: its owner hears only its signals.
    evenement->accept();
    if (evenement->button() != Qt::LeftButton)
        return;
    const QPoint p = evenement->position().toPoint();
    pression_prise = Event_MouseDown(p.x(), p.y());
    // A menu shown by the owner during the press takes the release with it:
    // when the button is up again by now, the press ends here.
    if (pression_prise && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        pression_prise = false;
        Event_MouseUp(p.x(), p.y());
    }
}

void CustomTabPanelTabs::mouseMoveEvent(QMouseEvent* evenement) {
    evenement->accept();
    const QPoint p = evenement->position().toPoint();
    if (evenement->buttons() & Qt::LeftButton) {
        if (pression_prise)
            Event_MouseDrag(p.x(), p.y());
    } else if (evenement->buttons() == Qt::NoButton) {
        Event_MouseMove(p.x(), p.y());
    }
}

void CustomTabPanelTabs::mouseReleaseEvent(QMouseEvent* evenement) {
    evenement->accept();
    if (evenement->button() != Qt::LeftButton || !pression_prise)
        return;
    pression_prise = false;
    const QPoint p = evenement->position().toPoint();
    Event_MouseUp(p.x(), p.y());
}

void CustomTabPanelTabs::leaveEvent(QEvent*) {
    Event_MouseExit();
}

void CustomTabPanelTabs::wheelEvent(QWheelEvent* evenement) {
    // Not the strip's: the wheel goes on to the owner.
    evenement->ignore();
}

bool CustomTabPanelTabs::Event_MouseDown(std::int32_t x, std::int32_t y) {
    if (!isEnabled())
        return false;
    currentActionTab = nullptr;
    // The button is tested before any tab: where it lies over a tab it wins.
    if (scrollRightIcn && scrollRightIcn->mouseDown(x, y)) {
        Repaint();
        doCustomTabBrimlow();
        return true;
    }
    // Front to back: where two tabs overlap, the one nearer the front wins.
    for (auto i = static_cast<std::int32_t>(drawOrder.size()) - 1; i >= 0; --i)
        if (drawOrder[i]->mouseDown(x, y)) {
            currentActionTab = drawOrder[i];
            break;
        }
    Repaint();
    return currentActionTab != nullptr;
}

void CustomTabPanelTabs::Event_MouseDrag(std::int32_t x, std::int32_t y) {
    if (currentActionTab && currentActionTab->mouseDrag(x, y))
        Repaint();
}

void CustomTabPanelTabs::Event_MouseUp(std::int32_t x, std::int32_t y) {
    if (!currentActionTab) {
        if (scrollRightIcn)
            scrollRightIcn->mouseUp(x, y);
        Repaint();
        return;
    }
    CustomTab* t = currentActionTab;
    // Read first: the tab forgets it in its mouseUp.
    const bool closing = t->isClosing();
    const bool released = t->mouseUp(x, y);
    if (closing && released)
        removeTab(t->index());
    else if (released)
        setValue(t->index());
    Repaint();
}

void CustomTabPanelTabs::Event_MouseMove(std::int32_t x, std::int32_t y) {
    bool changed = false;
    for (std::int32_t i = 0; i < tabCount(); ++i)
        if (tabs[i]->mouseMove(x, y))
            changed = true;
    if (!changed && scrollRightIcn)
        changed = scrollRightIcn->mouseMove(x, y);
    if (changed)
        Repaint();
}

void CustomTabPanelTabs::Event_MouseExit() {
    if (scrollRightIcn && scrollRightIcn->mouseMove(-1, -1))
        Repaint();
}

void CustomTabPanelTabs::doCustomTabBrimlow() {
    // The strip's right edge at the height of the button's top, on the screen.
    const QPoint point = mapToGlobal(QPoint(width(), scrollRightIcn ? scrollRightIcn->y : 0));
    emit MenuCustomTabBrimlow(point.x(), point.y());
}
