#pragma once

// A small tab strip for the tests: it lays its tabs out side by side, each
// overlapping the last by the right end cap's width, draws the band along the
// page edge and paints the tabs back to front, the front tab last.

#include "CustomTab.h"
#include "illustrations_onglets.h"

#include <memory>
#include <vector>

class bande_essai {
public:
    bande_essai(int facing, int longueur) : facing_(facing) {
        const int epaisseur =
            tabBackground::tabBackground()->Height() + tabSeparator::tabSeparator()->Height();
        const bool verticale = facing == CustomTab::E || facing == CustomTab::W;
        image =
            Picture::NewPicture(verticale ? epaisseur : longueur, verticale ? longueur : epaisseur);
    }

    CustomTab& ajoute(const QString& titre, bool fermeture, PictureRef icone = nullptr) {
        tabs.push_back(std::make_unique<CustomTab>(titre, icone, fermeture, facing_));
        place();
        return *tabs.back();
    }

    void place() {
        const int recouvrement = rightTabOutline::rightTabOutline()->Width();
        int position = 0;
        for (auto& tab : tabs) {
            const bool verticale = facing_ == CustomTab::E || facing_ == CustomTab::W;
            if (verticale) {
                tab->setY(position);
                tab->setX(facing_ == CustomTab::E ? tabSeparatorW::tabSeparatorW()->Width() : 0);
                position += tab->height() - recouvrement;
            } else {
                tab->setX(position);
                tab->setY(facing_ == CustomTab::S ? tabSeparatorS::tabSeparatorS()->Height() : 0);
                position += tab->width() - recouvrement;
            }
        }
    }

    // Paints the strip with tab `devant` in front.
    Picture& peins(size_t devant) {
        Graphics& g = image->graphics();
        g.setForeColor(0xDEDDDA);
        g.FillRect(0, 0, g.Width(), g.Height());
        const int l = g.Width(), h = g.Height();
        switch (facing_) {
        case CustomTab::N:
            bande(*tabSeparator::tabSeparator(), 0, h - tabSeparator::tabSeparator()->Height(), l,
                  tabSeparator::tabSeparator()->Height());
            break;
        case CustomTab::S:
            bande(*tabSeparatorS::tabSeparatorS(), 0, 0, l,
                  tabSeparatorS::tabSeparatorS()->Height());
            break;
        case CustomTab::E:
            bande(*tabSeparatorE::tabSeparatorE(), 0, 0, tabSeparatorE::tabSeparatorE()->Width(),
                  h);
            break;
        default:
            bande(*tabSeparatorW::tabSeparatorW(), l - tabSeparatorW::tabSeparatorW()->Width(), 0,
                  tabSeparatorW::tabSeparatorW()->Width(), h);
            break;
        }
        for (size_t i = 0; i < tabs.size(); ++i)
            if (i != devant)
                tabs[i]->paint(g, false);
        if (devant < tabs.size())
            tabs[devant]->paint(g, true);
        return *image;
    }

    std::vector<std::unique_ptr<CustomTab>> tabs;
    PictureRef image;

private:
    void bande(const Picture& p, int x, int y, int l, int h) {
        image->graphics().DrawPicture(p, x, y, l, h, 0, 0, p.Width(), p.Height());
    }
    int facing_;
};
