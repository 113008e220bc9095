#include "illustrations_onglets.h"

#include "ressources.h"

namespace illustrations_onglets {
std::function<QImage(int)> source = ressources::image;
} // namespace illustrations_onglets

// Loads picture `numero` into `cache` unless it holds one already.
static PictureRef charge(PictureRef& cache, int numero) {
    if (!cache) {
        const QImage image = illustrations_onglets::source(numero);
        if (!image.isNull())
            cache = std::make_shared<Picture>(image);
    }
    return cache;
}

#define VALDORIN_ILLUSTRATION(nom, numero)                                                         \
    namespace nom {                                                                                \
    PictureRef _permapic;                                                                          \
    PictureRef nom() {                                                                             \
        return charge(_permapic, numero);                                                          \
    }                                                                                              \
    }

VALDORIN_ILLUSTRATION(closeBoxData, 172)
VALDORIN_ILLUSTRATION(closeBoxMask, 173)
VALDORIN_ILLUSTRATION(closeBoxMaskClicked, 174)
VALDORIN_ILLUSTRATION(closeBoxMaskOver, 175)
VALDORIN_ILLUSTRATION(leftTabMask, 176)
VALDORIN_ILLUSTRATION(leftTabMaskE, 177)
VALDORIN_ILLUSTRATION(leftTabMaskS, 178)
VALDORIN_ILLUSTRATION(leftTabMaskW, 179)
VALDORIN_ILLUSTRATION(leftTabOutline, 180)
VALDORIN_ILLUSTRATION(leftTabOutlineMask, 181)
VALDORIN_ILLUSTRATION(leftTabOutlineMaskS, 182)
VALDORIN_ILLUSTRATION(leftTabOutlineS, 183)
VALDORIN_ILLUSTRATION(moreTabsData, 184)
VALDORIN_ILLUSTRATION(moreTabsMask, 185)
VALDORIN_ILLUSTRATION(moreTabsMaskClicked, 186)
VALDORIN_ILLUSTRATION(moreTabsMaskOver, 187)
VALDORIN_ILLUSTRATION(rightTabMask, 188)
VALDORIN_ILLUSTRATION(rightTabMaskE, 189)
VALDORIN_ILLUSTRATION(rightTabMaskS, 190)
VALDORIN_ILLUSTRATION(rightTabMaskW, 191)
VALDORIN_ILLUSTRATION(rightTabOutline, 192)
VALDORIN_ILLUSTRATION(rightTabOutlineMask, 193)
VALDORIN_ILLUSTRATION(rightTabOutlineMaskS, 194)
VALDORIN_ILLUSTRATION(rightTabOutlineS, 195)
VALDORIN_ILLUSTRATION(tabBackground, 196)
VALDORIN_ILLUSTRATION(tabBackgroundS, 197)
VALDORIN_ILLUSTRATION(tabSeparator, 198)
VALDORIN_ILLUSTRATION(tabSeparatorE, 199)
VALDORIN_ILLUSTRATION(tabSeparatorS, 200)
VALDORIN_ILLUSTRATION(tabSeparatorW, 201)
VALDORIN_ILLUSTRATION(tabTopMostSeparator, 202)
VALDORIN_ILLUSTRATION(tabTopMostSeparatorE, 203)
VALDORIN_ILLUSTRATION(tabTopMostSeparatorS, 204)
VALDORIN_ILLUSTRATION(tabTopMostSeparatorW, 205)
