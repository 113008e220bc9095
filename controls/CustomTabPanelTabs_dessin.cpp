#include "CustomTabPanelTabs.h"

#include "bibliotheque_v1.h"
#include "illustrations_onglets.h"

#include <QGuiApplication>
#include <QPainter>

// Drawing the strip: the band along the page edge, the tabs back to front, the
// more-tabs button and, when the strip cannot be used, a white veil.
//
// The drawing layer draws into pictures, so the strip composes itself in one
// picture of its own size, filled with the window's colour, and copies that
// onto the widget. This is not the off-screen buffer that old systems needed
// (`mDoubleBuffer` stays false): Qt itself double-buffers every widget.

void CustomTabPanelTabs::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0)
        return;
    if (!surface || surface->Width() != width() || surface->Height() != height())
        surface = Picture::NewPicture(width(), height());
    Graphics& g = surface->graphics();
    g.setForeColor(palette().color(QPalette::Window).rgb());
    g.FillRect(0, 0, width(), height());
    try {
        Event_Paint(g);
    } catch (const objet_absent&) {
        bibliotheque_v1::msgdebug(QStringLiteral("Exception en CustomTabPanelTabs.Paint"));
    }
    QPainter peintre(this);
    peintre.drawImage(0, 0, surface->pixels());
}

void CustomTabPanelTabs::Event_Paint(Graphics& g) {
    CheckBackBuffer();
    Repaint(g);
}

void CustomTabPanelTabs::CheckBackBuffer() {
    if (width() == lastWidth && height() == lastHeight)
        return;
    lastWidth = width();
    lastHeight = height();
    // A running removal slide lays the tabs out again when it ends.
    if (!glissement_en_cours())
        sizeChanged();
}

void CustomTabPanelTabs::Repaint(Graphics& g) {
    const int W = width(), H = height();
    const int gW = g.Width(), gH = g.Height();

    // The band along the page side, closed at both ends by a dark line.
    g.setForeColor(0x262626);
    PictureRef bande;
    switch (tabFacing) {
    case CustomTab::N:
        bande = tabSeparator::tabSeparator();
        break;
    case CustomTab::S:
        bande = tabSeparatorS::tabSeparatorS();
        break;
    case CustomTab::E:
        bande = tabSeparatorE::tabSeparatorE();
        break;
    case CustomTab::W:
        bande = tabSeparatorW::tabSeparatorW();
        break;
    }
    if (bande) {
        const int bw = bande->Width(), bh = bande->Height();
        switch (tabFacing) {
        case CustomTab::N:
            g.DrawPicture(*bande, 0, gH - bh, W, bh, 0, 0, bw, bh);
            g.FillRect(0, gH - bh, 1, bh);
            g.FillRect(W - 1, gH - bh, 1, bh);
            break;
        case CustomTab::S:
            g.DrawPicture(*bande, 0, 0, W, bh, 0, 0, bw, bh);
            g.FillRect(0, 0, 1, bh);
            g.FillRect(W - 1, 0, 1, bh);
            break;
        case CustomTab::E:
            g.DrawPicture(*bande, 0, 0, bw, H, 0, 0, bw, bh);
            g.FillRect(0, 0, bw, 1);
            g.FillRect(0, H - 1, bw, 1);
            break;
        case CustomTab::W:
            g.DrawPicture(*bande, gW - bw, 0, bw, H, 0, 0, bw, bh);
            g.FillRect(gW - bw, 0, bw, 1);
            g.FillRect(gW - bw, H - 1, bw, 1);
            break;
        }
    }
    if (tabs.empty())
        return;

    // The tabs, back to front; those that run past the end are not drawn.
    const std::int32_t n = static_cast<std::int32_t>(drawOrder.size()) - 1;
    hiddenIndex = n;
    for (std::int32_t i = 0; i <= n; ++i) {
        CustomTab* t = drawOrder[i];
        t->visible = tabFits(*t);
        if (!t->visible && t->index() < hiddenIndex)
            hiddenIndex = t->index();
        t->paint(g, i == n);
    }

    // The more-tabs button, over whatever tab reaches the far end.
    if (scrollRightIcn) {
        LittleMiscButton& bouton = *scrollRightIcn;
        bouton.x = gW - 17;
        switch (tabFacing) {
        case CustomTab::N:
            bouton.y = 2;
            break;
        case CustomTab::S:
        case CustomTab::E:
            bouton.y = gH - bouton.height() - 2;
            break;
        case CustomTab::W:
            bouton.x = gW - 17 - largeur_bande_ouest() - 1;
            bouton.y = gH - bouton.height() - 2;
            break;
        }
        bouton.visible = true;
        bouton.paint(g, 0, 0);
    }

    // The veil: the strip is disabled, or the application is not the active
    // one (its training window is a tool window beside the main window, so
    // the application's state tells more than one window's activation).
    if (!isEnabled() || QGuiApplication::applicationState() != Qt::ApplicationActive) {
        const PictureRef voile = Picture::NewPicture(W, H);
        Graphics& masque = voile->Mask().graphics();
        masque.setForeColor(0x888888);
        masque.FillRect(0, 0, W, H);
        Graphics& blanc = voile->graphics();
        blanc.setForeColor(0xFFFFFF);
        blanc.FillRect(0, 0, W, H);
        g.DrawPicture(*voile, 0, 0);
    }
}
