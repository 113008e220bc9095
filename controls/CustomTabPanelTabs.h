#pragma once

// A row (or column) of tabs along one edge of a page area, drawn by the control
// itself. The tabs live in two lists: `tabs` in their place along the strip and
// `drawOrder` in painting order, whose last entry is the front (selected) tab,
// so selecting a tab never moves it. The strip answers its own mouse, focus and
// paint events; its owner hears only the strip's signals below, raised
// synchronously inside the operation that causes them (connect them directly).
// Assistive technology reads the strip as a page tab list, one page tab per
// tab named by its caption, the front tab selected.

#include "CustomTab.h"
#include "LittleMiscButton.h"
#include "dessin.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QStackedWidget;

class CustomTabPanelTabs : public QWidget {
    Q_OBJECT

public:
    explicit CustomTabPanelTabs(QWidget* parent = nullptr);
    ~CustomTabPanelTabs() override;

    // Empties the strip without raising any event.
    void clear();
    // Asks `CancelRemoveTab` first; then removes tab `index`, slides the tabs
    // after it into its place and raises `TabRemoved` once the slide is over.
    void removeTab(std::int32_t index);

    // Properties of tab i: "", false, nothing and false outside 0..tabCount()-1,
    // where the setters do nothing.
    QString caption(std::int32_t i) const;
    void setCaption(std::int32_t i, const QString& s);
    bool closeBox(std::int32_t i) const;
    void setCloseBox(std::int32_t i, bool b);
    PictureRef icon(std::int32_t i) const;
    void setIcon(std::int32_t i, PictureRef p);
    bool enabled(std::int32_t i) const;
    // A disabled tab cannot be brought to the front and is drawn whitened.
    void setEnabled(std::int32_t i, bool b);
    using QWidget::setEnabled;

    std::int32_t tabCount() const;

    // Asks for the strip to be drawn again.
    void Repaint();

    // Each appends a tab at the end of the strip, puts it in front and raises
    // `TabChanged` with its index before returning.
    void appendTab(const QString& caption, PictureRef icon, bool closeBox);
    void appendTab(const QString& caption);
    void appendTab(const QString& caption, PictureRef icon);
    void appendTab(const QString& caption, bool closeBox);

    // Binds a page panel whose pages follow the tabs (nullptr keeps the
    // binding), or forgets it. Binding changes nothing in the panel.
    void attachPanel(QStackedWidget* p);
    void detachPanel();

    // Index of the front tab; -1 without tabs.
    std::int32_t value() const;
    // Brings tab v to the front (past the end: tab 0; below 0: the last tab)
    // and raises `TabChanged`; nothing when v is already the value.
    void setValue(std::int32_t v);

    // The side the tabs face: 0 N (above the page), 1 S, 2 E, 3 W. Any other
    // value is refused. New tabs take the facing; existing ones keep theirs.
    std::int32_t Facing() const;
    void setFacing(std::int32_t f);

    // The strip's state, written by the strip alone.
    std::vector<std::unique_ptr<CustomTab>> tabs;
    std::int32_t nextLoc = 0;
    // The tab on which the current press began; nullptr when there is none,
    // and cleared when that tab leaves the strip.
    CustomTab* currentActionTab = nullptr;
    std::vector<CustomTab*> drawOrder;
    // No system query asks for an off-screen buffer on this platform: Qt
    // already double-buffers every widget, so this stays false.
    bool mDoubleBuffer = false;
    QPointer<QStackedWidget> panel;
    // The more-tabs button; its place is set by painting.
    std::unique_ptr<LittleMiscButton> scrollRightIcn;
    // After each painting with tabs: the first tab that did not fit, or the
    // last index when all fit.
    std::int32_t hiddenIndex = 0;
    std::int32_t lastWidth = 0;
    std::int32_t lastHeight = 0;
    std::int32_t tabFacing = 0;

    // Whether a removal slide is running (its `TabRemoved` is still to come).
    bool glissement_en_cours() const { return glissement_restant > 0; }

signals:
    // The strip is ready (raised when it is first shown).
    void Open();
    // Tab `index` has become the front tab.
    void TabChanged(std::int32_t index);
    // Tab `index` has been removed; it is already gone from both lists.
    void TabRemoved(std::int32_t index);
    // A page was appended to the bound panel for the new tab `index`.
    void PanelPageAdded(QStackedWidget* panel, std::int32_t index);
    // Setting `annuler` to true vetoes the removal of tab `index`.
    void CancelRemoveTab(std::int32_t index, bool& annuler);
    // The more-tabs button was pressed: the owner shows its menu at this point
    // of the screen (the strip's right edge, at the button's top).
    void MenuCustomTabBrimlow(std::int32_t x, std::int32_t y);

protected:
    void paintEvent(QPaintEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;
    void mousePressEvent(QMouseEvent* evenement) override;
    void mouseMoveEvent(QMouseEvent* evenement) override;
    void mouseReleaseEvent(QMouseEvent* evenement) override;
    void leaveEvent(QEvent* evenement) override;
    void wheelEvent(QWheelEvent* evenement) override;

    // The framework events the strip handles, in strip coordinates.
    void Event_Open();
    void Event_Paint(Graphics& g);
    bool Event_MouseDown(std::int32_t x, std::int32_t y);
    void Event_MouseUp(std::int32_t x, std::int32_t y);
    void Event_MouseDrag(std::int32_t x, std::int32_t y);
    void Event_MouseMove(std::int32_t x, std::int32_t y);
    void Event_MouseExit();

private:
    void appendTab(std::unique_ptr<CustomTab> tab);
    void moveTabToFront(std::int32_t i);
    std::int32_t drawIndex(std::int32_t i) const;
    void doTabChange(std::int32_t i);
    void doTabRemove(std::int32_t i);
    void doCustomTabBrimlow();
    // Changes tab i (nothing outside the strip's tabs), whose length may
    // change with it, and lays the strip out again.
    void modifie_onglet(std::int32_t i, const std::function<void(CustomTab&)>& modification);

    // Assistive technology: the strip's reading, and the news of a new front
    // tab.
    static void inscrit_accessibilite();
    void signale_selection(std::int32_t i);

    // Layout.
    void fixLocations();
    void sizeChanged();
    bool tabFits(const CustomTab& tab) const;
    void fitSize();
    void animateTabsLeft(std::int32_t from, std::int32_t target);
    void animateTabsUp(std::int32_t from, std::int32_t target);

    // Painting.
    void CheckBackBuffer();
    void Repaint(Graphics& g);

    bool horizontale() const { return tabFacing == 0 || tabFacing == 1; }
    std::int32_t position(const CustomTab& tab) const;
    void placer(CustomTab& tab, std::int32_t position);
    std::int32_t longueur(const CustomTab& tab) const;
    void allonger(CustomTab& tab, std::int32_t longueur);
    std::int32_t longueur_controle() const;
    static std::int32_t chevauchement();
    static std::int32_t largeur_bande_ouest();
    bool dans_les_bornes(std::int32_t i) const { return i >= 0 && i < tabCount(); }

    // The removal slide: one step per tick on the event loop.
    void pas_de_glissement();
    void termine_glissement();
    QTimer minuterie_glissement;
    std::int32_t glissement_depuis = 0;
    std::int32_t glissement_pas = 0;
    std::int32_t glissement_restant = 0;
    std::int32_t glissement_index = 0;

    // The press in progress was claimed by Event_MouseDown.
    bool pression_prise = false;
    bool ouverte = false;
    // The picture the strip composes itself in before it goes on screen.
    PictureRef surface;
};
