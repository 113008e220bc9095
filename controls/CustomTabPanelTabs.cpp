#include "CustomTabPanelTabs.h"

#include "bibliotheque_v1.h"
#include "illustrations_onglets.h"

#include <QGuiApplication>
#include <QShowEvent>
#include <QStackedWidget>

#include <algorithm>
#include <cmath>

namespace {

int largeur_de(const PictureRef& pic) {
    return pic ? pic->Width() : 0;
}

int hauteur_de(const PictureRef& pic) {
    return pic ? pic->Height() : 0;
}

// The quotient rounded to the nearest integer, a half toward zero, so that the
// resizing passes settle instead of swinging by one pixel.
int arrondi(double quotient) {
    int entier = static_cast<int>(std::trunc(quotient));
    const double reste = quotient - entier;
    if (reste > 0.5)
        ++entier;
    else if (reste < -0.5)
        --entier;
    return entier;
}

// A tick of the removal slide is a sixtieth of a second, in whole milliseconds.
constexpr int duree_tick_ms = 17;
constexpr int pas_glissement = 7;

} // namespace

CustomTabPanelTabs::CustomTabPanelTabs(QWidget* parent) : QWidget(parent) {
    inscrit_accessibilite();
    setMouseTracking(true);
    minuterie_glissement.setInterval(duree_tick_ms);
    minuterie_glissement.setTimerType(Qt::PreciseTimer);
    connect(&minuterie_glissement, &QTimer::timeout, this, &CustomTabPanelTabs::pas_de_glissement);
    // The veil follows the application's active state.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this] { Repaint(); });

    // Everything the layout needs is set up here, so that tabs may be appended
    // before the strip is first shown.
    fitSize();
    try {
        scrollRightIcn = std::make_unique<LittleMiscButton>(
            moreTabsData::moreTabsData(), moreTabsMask::moreTabsMask(),
            moreTabsMaskOver::moreTabsMaskOver(), moreTabsMaskClicked::moreTabsMaskClicked());
    } catch (const objet_absent&) {
        bibliotheque_v1::msgdebug(QStringLiteral("Exception en CustomTabPanelTabs.Open"));
    }
    lastWidth = width();
    lastHeight = height();
}

CustomTabPanelTabs::~CustomTabPanelTabs() = default;

void CustomTabPanelTabs::showEvent(QShowEvent* evenement) {
    QWidget::showEvent(evenement);
    if (ouverte || evenement->spontaneous())
        return;
    ouverte = true;
    Event_Open();
}

void CustomTabPanelTabs::Event_Open() {
    // The owner has given the strip its place by now: fit its thickness again.
    fitSize();
    emit Open();
}

// ---- Tabs and their properties ----

void CustomTabPanelTabs::clear() {
    termine_glissement();
    currentActionTab = nullptr;
    drawOrder.clear();
    tabs.clear();
    hiddenIndex = 0;
    Repaint();
}

std::int32_t CustomTabPanelTabs::tabCount() const {
    return static_cast<std::int32_t>(tabs.size());
}

QString CustomTabPanelTabs::caption(std::int32_t i) const {
    return dans_les_bornes(i) ? tabs[i]->caption() : QString();
}

void CustomTabPanelTabs::modifie_onglet(std::int32_t i,
                                        const std::function<void(CustomTab&)>& modification) {
    if (!dans_les_bornes(i))
        return;
    // A removal slide in progress ends first: its tab goes, which may leave i
    // past the end.
    termine_glissement();
    if (!dans_les_bornes(i))
        return;
    modification(*tabs[i]);
    sizeChanged();
    Repaint();
}

void CustomTabPanelTabs::setCaption(std::int32_t i, const QString& s) {
    modifie_onglet(i, [&s](CustomTab& tab) { tab.setCaption(s); });
}

bool CustomTabPanelTabs::closeBox(std::int32_t i) const {
    return dans_les_bornes(i) && tabs[i]->closeBox();
}

void CustomTabPanelTabs::setCloseBox(std::int32_t i, bool b) {
    modifie_onglet(i, [b](CustomTab& tab) { tab.setCloseBox(b); });
}

PictureRef CustomTabPanelTabs::icon(std::int32_t i) const {
    return dans_les_bornes(i) ? tabs[i]->icon() : nullptr;
}

void CustomTabPanelTabs::setIcon(std::int32_t i, PictureRef p) {
    modifie_onglet(i, [&p](CustomTab& tab) { tab.setIcon(std::move(p)); });
}

bool CustomTabPanelTabs::enabled(std::int32_t i) const {
    return dans_les_bornes(i) && tabs[i]->enabled;
}

void CustomTabPanelTabs::setEnabled(std::int32_t i, bool b) {
    if (!dans_les_bornes(i))
        return;
    tabs[i]->enabled = b;
    Repaint();
}

void CustomTabPanelTabs::Repaint() {
    update();
}

// ---- Appending ----

void CustomTabPanelTabs::appendTab(const QString& caption, PictureRef icon, bool closeBox) {
    appendTab(std::make_unique<CustomTab>(caption, std::move(icon), closeBox, tabFacing));
}

void CustomTabPanelTabs::appendTab(const QString& caption) {
    appendTab(caption, nullptr, false);
}

void CustomTabPanelTabs::appendTab(const QString& caption, PictureRef icon) {
    appendTab(caption, std::move(icon), false);
}

void CustomTabPanelTabs::appendTab(const QString& caption, bool closeBox) {
    appendTab(caption, nullptr, closeBox);
}

void CustomTabPanelTabs::appendTab(std::unique_ptr<CustomTab> tab) {
    termine_glissement();
    switch (tabFacing) {
    case CustomTab::N:
        tab->setX(nextLoc);
        tab->setY(0);
        break;
    case CustomTab::S:
        tab->setX(nextLoc);
        tab->setY(hauteur_de(tabSeparatorS::tabSeparatorS()));
        break;
    case CustomTab::E:
        tab->setX(largeur_bande_ouest());
        tab->setY(nextLoc);
        break;
    case CustomTab::W:
        tab->setX(0);
        tab->setY(nextLoc);
        break;
    }
    drawOrder.push_back(tab.get());
    tabs.push_back(std::move(tab));
    tabs.back()->setIndex(tabCount() - 1);
    sizeChanged();
    Repaint();
    if (panel) {
        panel->addWidget(new QWidget);
        emit PanelPageAdded(panel, value());
    }
    doTabChange(value());
}

// ---- Panel ----

void CustomTabPanelTabs::attachPanel(QStackedWidget* p) {
    if (!p)
        return;
    termine_glissement();
    panel = p;
}

void CustomTabPanelTabs::detachPanel() {
    termine_glissement();
    panel = nullptr;
}

// ---- Front tab ----

std::int32_t CustomTabPanelTabs::value() const {
    return drawOrder.empty() ? -1 : drawOrder.back()->index();
}

void CustomTabPanelTabs::setValue(std::int32_t v) {
    const std::int32_t last = tabCount() - 1;
    std::int32_t cible;
    if (v >= 0 && v <= last)
        cible = v;
    else if (v > last)
        cible = 0; // past the end: the first tab
    else
        cible = last; // below 0: the last tab
    // Outside the range the given value is compared, so a wrapped value
    // raises the event even when its tab is already in front.
    if (v == value())
        return;
    if (enabled(cible)) {
        moveTabToFront(cible);
        doTabChange(cible);
    }
    Repaint();
}

void CustomTabPanelTabs::moveTabToFront(std::int32_t i) {
    if (!dans_les_bornes(i))
        return;
    drawOrder.erase(drawOrder.begin() + drawIndex(i));
    drawOrder.push_back(tabs[i].get());
}

std::int32_t CustomTabPanelTabs::drawIndex(std::int32_t i) const {
    for (std::size_t k = 0; k < drawOrder.size(); ++k)
        if (drawOrder[k]->index() == i)
            return static_cast<std::int32_t>(k);
    return 0;
}

void CustomTabPanelTabs::doTabChange(std::int32_t i) {
    if (panel)
        panel->setCurrentIndex(i);
    signale_selection(i);
    emit TabChanged(i);
}

// ---- Facing ----

std::int32_t CustomTabPanelTabs::Facing() const {
    return tabFacing;
}

void CustomTabPanelTabs::setFacing(std::int32_t f) {
    if (f < CustomTab::N || f > CustomTab::W || f == tabFacing)
        return;
    tabFacing = f;
    fitSize();
}

// ---- Removing ----

void CustomTabPanelTabs::removeTab(std::int32_t index) {
    termine_glissement();
    bool annuler = false;
    emit CancelRemoveTab(index, annuler);
    if (annuler || !dans_les_bornes(index))
        return;
    // Where the removed tab began: the tabs after it slide there.
    std::int32_t cible = 0;
    if (index > 0) {
        const CustomTab& avant = *tabs[index - 1];
        cible = position(avant) + longueur(avant) - chevauchement();
    }
    std::unique_ptr<CustomTab> retire = std::move(tabs[index]);
    tabs.erase(tabs.begin() + index);
    drawOrder.erase(std::find(drawOrder.begin(), drawOrder.end(), retire.get()));
    if (currentActionTab == retire.get())
        currentActionTab = nullptr;
    retire.reset();
    // The numbers follow the list at once, so that `value` reads the front
    // tab's new index while the slide runs.
    for (std::int32_t i = index; i < tabCount(); ++i)
        tabs[i]->setIndex(i);
    hiddenIndex = std::clamp(hiddenIndex, 0, std::max(0, tabCount() - 1));
    glissement_index = index;
    if (horizontale())
        animateTabsLeft(index, cible);
    else
        animateTabsUp(index, cible);
}

void CustomTabPanelTabs::doTabRemove(std::int32_t i) {
    if (panel) {
        if (QWidget* page = panel->widget(i)) {
            panel->removeWidget(page);
            delete page;
        }
    }
    sizeChanged();
    if (panel)
        panel->setCurrentIndex(value());
    Repaint();
    emit TabRemoved(i);
}

// ---- Layout ----

std::int32_t CustomTabPanelTabs::position(const CustomTab& tab) const {
    return horizontale() ? tab.x() : tab.y();
}

void CustomTabPanelTabs::placer(CustomTab& tab, std::int32_t position) {
    if (horizontale())
        tab.setX(position);
    else
        tab.setY(position);
}

std::int32_t CustomTabPanelTabs::longueur(const CustomTab& tab) const {
    return horizontale() ? tab.width() : tab.height();
}

void CustomTabPanelTabs::allonger(CustomTab& tab, std::int32_t longueur) {
    if (horizontale())
        tab.setWidth(longueur);
    else
        tab.setHeight(longueur);
}

std::int32_t CustomTabPanelTabs::longueur_controle() const {
    return horizontale() ? width() : height();
}

std::int32_t CustomTabPanelTabs::chevauchement() {
    return largeur_de(rightTabOutline::rightTabOutline());
}

std::int32_t CustomTabPanelTabs::largeur_bande_ouest() {
    return largeur_de(tabSeparatorW::tabSeparatorW());
}

void CustomTabPanelTabs::fitSize() {
    const int epaisseur =
        hauteur_de(tabBackground::tabBackground()) + hauteur_de(tabSeparator::tabSeparator());
    if (epaisseur <= 0)
        return;
    if (horizontale())
        resize(width(), epaisseur);
    else
        resize(epaisseur, height());
}

void CustomTabPanelTabs::fixLocations() {
    nextLoc = 0;
    for (std::int32_t i = 0; i < tabCount(); ++i) {
        CustomTab& tab = *tabs[i];
        placer(tab, nextLoc);
        tab.setIndex(i);
        nextLoc += longueur(tab) - chevauchement();
    }
}

void CustomTabPanelTabs::sizeChanged() {
    // The room left after the last tab (with one overlap of margin) is shared
    // out over all the tabs, pass after pass, until the lengths settle: tabs
    // grow back toward their optimum when there is room and shrink, down to
    // 80 pixels, when there is not. Tabs that still do not fit are left past
    // the end; painting hides them and the more-tabs menu reaches them.
    fixLocations();
    if (tabs.empty())
        return;
    const int n = tabCount();
    for (int passe = 0; passe < 64; ++passe) {
        const CustomTab& derniere = *tabs.back();
        const int libre =
            longueur_controle() - (position(derniere) + longueur(derniere) + chevauchement());
        const int pas = arrondi(static_cast<double>(libre) / n);
        if (pas == 0)
            break;
        bool change = false;
        for (auto& tab : tabs) {
            const int avant = longueur(*tab);
            allonger(*tab, avant + pas);
            change = change || longueur(*tab) != avant;
        }
        fixLocations();
        if (!change)
            break;
    }
}

bool CustomTabPanelTabs::tabFits(const CustomTab& tab) const {
    return horizontale() ? tab.x() + tab.width() <= width() : tab.y() + tab.height() <= height();
}

// ---- Removal slide ----

void CustomTabPanelTabs::animateTabsLeft(std::int32_t from, std::int32_t target) {
    if (from > tabCount() - 1) {
        doTabRemove(glissement_index);
        return;
    }
    glissement_depuis = from;
    glissement_pas = static_cast<std::int32_t>((position(*tabs[from]) - target) / 7.0);
    glissement_restant = pas_glissement;
    // The first step does not wait; each later one waits a tick on the event
    // loop, so the window stays alive while the tabs slide.
    pas_de_glissement();
    if (glissement_restant > 0)
        minuterie_glissement.start();
}

void CustomTabPanelTabs::animateTabsUp(std::int32_t from, std::int32_t target) {
    // placer() moves y for the vertical facings: the slide is the same.
    animateTabsLeft(from, target);
}

void CustomTabPanelTabs::pas_de_glissement() {
    if (glissement_restant <= 0)
        return;
    for (std::int32_t i = glissement_depuis; i < tabCount(); ++i)
        placer(*tabs[i], position(*tabs[i]) - glissement_pas);
    --glissement_restant;
    Repaint();
    if (glissement_restant == 0) {
        minuterie_glissement.stop();
        doTabRemove(glissement_index);
    }
}

void CustomTabPanelTabs::termine_glissement() {
    if (glissement_restant <= 0)
        return;
    minuterie_glissement.stop();
    glissement_restant = 0;
    doTabRemove(glissement_index);
}
