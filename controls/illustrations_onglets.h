#pragma once

// The 34 pictures the tab strip and its tabs are drawn from, one module per
// picture. Each accessor loads its picture from the resources by number on
// first use and keeps it in the module's `_permapic`; a picture the resources
// lack gives nothing and is asked for again at the next call.

#include "dessin.h"

#include <functional>

namespace illustrations_onglets {
// Where the accessors read their pictures: the resource store, unless a test
// installs another.
extern std::function<QImage(int)> source;
} // namespace illustrations_onglets

#define VALDORIN_ILLUSTRATION(nom)                                                                 \
    namespace nom {                                                                                \
    extern PictureRef _permapic;                                                                   \
    PictureRef nom();                                                                              \
    }

VALDORIN_ILLUSTRATION(closeBoxData)         // 172
VALDORIN_ILLUSTRATION(closeBoxMask)         // 173
VALDORIN_ILLUSTRATION(closeBoxMaskClicked)  // 174
VALDORIN_ILLUSTRATION(closeBoxMaskOver)     // 175
VALDORIN_ILLUSTRATION(leftTabMask)          // 176
VALDORIN_ILLUSTRATION(leftTabMaskE)         // 177
VALDORIN_ILLUSTRATION(leftTabMaskS)         // 178
VALDORIN_ILLUSTRATION(leftTabMaskW)         // 179
VALDORIN_ILLUSTRATION(leftTabOutline)       // 180
VALDORIN_ILLUSTRATION(leftTabOutlineMask)   // 181
VALDORIN_ILLUSTRATION(leftTabOutlineMaskS)  // 182
VALDORIN_ILLUSTRATION(leftTabOutlineS)      // 183
VALDORIN_ILLUSTRATION(moreTabsData)         // 184
VALDORIN_ILLUSTRATION(moreTabsMask)         // 185
VALDORIN_ILLUSTRATION(moreTabsMaskClicked)  // 186
VALDORIN_ILLUSTRATION(moreTabsMaskOver)     // 187
VALDORIN_ILLUSTRATION(rightTabMask)         // 188
VALDORIN_ILLUSTRATION(rightTabMaskE)        // 189
VALDORIN_ILLUSTRATION(rightTabMaskS)        // 190
VALDORIN_ILLUSTRATION(rightTabMaskW)        // 191
VALDORIN_ILLUSTRATION(rightTabOutline)      // 192
VALDORIN_ILLUSTRATION(rightTabOutlineMask)  // 193
VALDORIN_ILLUSTRATION(rightTabOutlineMaskS) // 194
VALDORIN_ILLUSTRATION(rightTabOutlineS)     // 195
VALDORIN_ILLUSTRATION(tabBackground)        // 196
VALDORIN_ILLUSTRATION(tabBackgroundS)       // 197
VALDORIN_ILLUSTRATION(tabSeparator)         // 198
VALDORIN_ILLUSTRATION(tabSeparatorE)        // 199
VALDORIN_ILLUSTRATION(tabSeparatorS)        // 200
VALDORIN_ILLUSTRATION(tabSeparatorW)        // 201
VALDORIN_ILLUSTRATION(tabTopMostSeparator)  // 202
VALDORIN_ILLUSTRATION(tabTopMostSeparatorE) // 203
VALDORIN_ILLUSTRATION(tabTopMostSeparatorS) // 204
VALDORIN_ILLUSTRATION(tabTopMostSeparatorW) // 205

#undef VALDORIN_ILLUSTRATION
