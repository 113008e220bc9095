#!/usr/bin/python3
"""Draws the 34 pictures of the tab strip (picture resources 172-205): the
close box and more-tabs button with their three masks, the end shapes and end
caps of a tab in each facing, the tab body, the separator band and the joining
piece under the front tab. A flat, light look: a light grey body with a thin
grey outline, slanted ends with rounded top corners, a grey band along the page
edge. Pure Python, so the same PNGs come out on every machine.

Masks are greyscale: black shows the picture, white hides it.

Sizes that the program relies on agreeing: tab body 22 high (every facing), end
caps 10 wide and as high as the body, end-shape masks as large as the caps
(turned for E and W), band 5 thick, buttons 13 x 13.

    /usr/bin/python3 tools/illustrations_onglets.py resources/image
    /usr/bin/python3 tools/illustrations_onglets.py --verifie resources/image

With --verifie nothing is written: the exit status is 1 when a file of the
folder differs from what the generator draws.
"""
import math
import os
import struct
import sys
import zlib

EPAISSEUR = 22  # tab body
BOUT = 10  # end caps and end shapes, along the tab
BANDE = 5  # separator band
BOUTON = 13  # close box and more-tabs button
MOTIF = 8  # length of the stretched body and band pieces

SOUS_ECHANTILLONS = 4  # per axis, for smooth edges

FOND = (239, 239, 239)  # body and page
BORD = (168, 168, 168)  # outline and band edge
DISQUE = (190, 190, 190)  # button disc, shown under the pointer
SIGNE = (60, 60, 60)  # the cross and the chevron

# End profile of a tab: the edge climbs from PIED (at the base) to PIED +
# PENTE (at the outer edge) along the tab, and the top corner is rounded.
PIED = 0.5
PENTE = 6.5
RAYON = 3.0


# --- PNG ---------------------------------------------------------------------

def png(largeur, hauteur, pixel, gris):
    """A PNG file's bytes; pixel(x, y) gives a grey level (gris) or an RGB triple."""
    lignes = bytearray()
    for y in range(hauteur):
        lignes.append(0)
        for x in range(largeur):
            valeur = pixel(x, y)
            if gris:
                lignes.append(valeur)
            else:
                lignes.extend(valeur)

    def bloc(genre, donnees):
        return (struct.pack(">I", len(donnees)) + genre + donnees +
                struct.pack(">I", zlib.crc32(genre + donnees) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            bloc(b"IHDR", struct.pack(">IIBBBBB", largeur, hauteur, 8, 0 if gris else 2, 0, 0, 0)) +
            bloc(b"IDAT", zlib.compress(bytes(lignes), 9)) + bloc(b"IEND", b""))


def couverture(x, y, dedans):
    """Share of pixel (x, y) for which dedans(px, py) holds."""
    n = SOUS_ECHANTILLONS
    compte = 0
    for j in range(n):
        for i in range(n):
            if dedans(x + (i + 0.5) / n, y + (j + 0.5) / n):
                compte += 1
    return compte / (n * n)


def masque(c):
    """Grey level of a mask that shows a share c of the picture."""
    return round(255 * (1 - c))


def melange(a, b, c):
    return tuple(round(a[k] + (b[k] - a[k]) * c) for k in range(3))


# --- The end of a tab ----------------------------------------------------------
# Coordinates of the tab lying flat as an N tab: d is the distance from the
# tab's end along its length, h the depth from the outer edge (0) to the base
# (EPAISSEUR). The shape is a wedge (below the outer edge, inside the slanted
# end) with its top corner rounded: the points within `rayon` of the wedge
# shrunk by RAYON.

PENTE_PAR_PIXEL = PENTE / EPAISSEUR
NORME = math.hypot(1.0, PENTE_PAR_PIXEL)


def distance_coeur(d, h):
    """Distance from (d, h) to the shrunk wedge."""
    # Half-planes: h >= RAYON, and (d + s h) / norm >= c.
    c = (PIED + PENTE_PAR_PIXEL * EPAISSEUR) / NORME + RAYON
    nd, nh = 1.0 / NORME, PENTE_PAR_PIXEL / NORME
    dans1 = h >= RAYON
    projection = d * nd + h * nh
    dans2 = projection >= c
    if dans1 and dans2:
        return 0.0
    candidats = []
    if not dans1:
        q = (d, RAYON)
        if q[0] * nd + q[1] * nh >= c:
            candidats.append(RAYON - h)
    if not dans2:
        ecart = c - projection
        q = (d + ecart * nd, h + ecart * nh)
        if q[1] >= RAYON:
            candidats.append(ecart)
    # The corner of the shrunk wedge.
    sommet_d = (c - RAYON * nh) / nd
    candidats.append(math.hypot(d - sommet_d, h - RAYON))
    return min(candidats)


def dans_forme(d, h):
    return h <= EPAISSEUR and distance_coeur(d, h) <= RAYON


def dans_bord(d, h):
    """On the one-pixel outline of the end (side and outer edge)."""
    return dans_forme(d, h) and distance_coeur(d, h) > RAYON - 1.0


def forme(d, h):
    """Shape mask of an end: d and h of the pixel's top-left corner."""
    return masque(couverture(d, h, dans_forme))


# --- The pictures ----------------------------------------------------------------

def illustrations():
    """(number, name, width, height, pixel function, greyscale)."""
    L, T = BOUT, EPAISSEUR
    liste = []

    def ajoute(numero, nom, largeur, hauteur, pixel, gris=True):
        liste.append((numero, nom, largeur, hauteur, pixel, gris))

    # Buttons: a cross and a chevron, over a disc that the masks show under
    # the pointer (in part) and when pressed (whole).
    centre = BOUTON / 2.0

    def distance_segments(px, py, segments):
        meilleure = 1e9
        for (ax, ay), (bx, by) in segments:
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
            meilleure = min(meilleure, math.hypot(px - (ax + t * dx), py - (ay + t * dy)))
        return meilleure

    croix = [((4.0, 4.0), (9.0, 9.0)), ((9.0, 4.0), (4.0, 9.0))]
    chevron = [((3.5, 5.0), (6.5, 8.0)), ((6.5, 8.0), (9.5, 5.0))]

    def bouton(numero, nom, segments):
        def signe(px, py):
            return distance_segments(px, py, segments) <= 0.8

        def disque(px, py):
            return math.hypot(px - centre, py - centre) <= centre

        def image(x, y):
            return melange(DISQUE, SIGNE, couverture(x, y, signe))

        def masque_de(part_disque):
            def pixel(x, y):
                c = couverture(x, y, signe)
                return masque(max(c, part_disque * couverture(x, y, disque)))
            return pixel

        ajoute(numero, nom + "Data", BOUTON, BOUTON, image, False)
        ajoute(numero + 1, nom + "Mask", BOUTON, BOUTON, masque_de(0.0))
        ajoute(numero + 2, nom + "MaskClicked", BOUTON, BOUTON, masque_de(1.0))
        ajoute(numero + 3, nom + "MaskOver", BOUTON, BOUTON, masque_de(0.5))

    bouton(172, "closeBox", croix)
    bouton(184, "moreTabs", chevron)

    # End shapes. N: left end at x 0, right end mirrored. S: upside down.
    # E: the N tab turned a quarter clockwise and one pixel to the left; W:
    # turned a quarter anticlockwise and two pixels up, as the tab turns its
    # flat rendering.
    ajoute(176, "leftTabMask", L, T, lambda x, y: forme(x, y))
    ajoute(188, "rightTabMask", L, T, lambda x, y: forme_miroir(L - x, y))
    ajoute(178, "leftTabMaskS", L, T, lambda x, y: forme_vers_haut(x, y))
    ajoute(190, "rightTabMaskS", L, T, lambda x, y: forme_vers_haut_miroir(L - x, y))
    # E, upper end (flat left end): d = y, h = T - 1 - x.
    ajoute(177, "leftTabMaskE", T, L, lambda x, y: forme_tournee(lambda px, py: (py, T - 1 - px), x, y))
    # E, lower end (flat right end), at the bottom: d = L - y.
    ajoute(189, "rightTabMaskE", T, L, lambda x, y: forme_tournee(lambda px, py: (L - py, T - 1 - px), x, y))
    # W, upper end (flat right end), two pixels cut off: d = 2 + y, h = x.
    ajoute(191, "rightTabMaskW", T, L, lambda x, y: forme_tournee(lambda px, py: (2 + py, px), x, y))
    # W, lower end (flat left end), two pixels short: d = L - 2 - y.
    ajoute(179, "leftTabMaskW", T, L, lambda x, y: forme_tournee(lambda px, py: (L - 2 - py, px), x, y))

    # End caps: the outline of an end; the mask shows the outline only, so the
    # body shows through inside.
    ajoute(180, "leftTabOutline", L, T, lambda x, y: BORD, False)
    ajoute(181, "leftTabOutlineMask", L, T, lambda x, y: masque(couverture(x, y, lambda px, py: dans_bord(px, py))))
    ajoute(183, "leftTabOutlineS", L, T, lambda x, y: BORD, False)
    ajoute(182, "leftTabOutlineMaskS", L, T, lambda x, y: masque(couverture(x, y, lambda px, py: dans_bord(px, T - py))))
    ajoute(192, "rightTabOutline", L, T, lambda x, y: BORD, False)
    ajoute(193, "rightTabOutlineMask", L, T, lambda x, y: masque(couverture(x, y, lambda px, py: dans_bord(L - px, py))))
    ajoute(195, "rightTabOutlineS", L, T, lambda x, y: BORD, False)
    ajoute(194, "rightTabOutlineMaskS", L, T, lambda x, y: masque(couverture(x, y, lambda px, py: dans_bord(L - px, T - py))))

    # Body: the outline along the outer edge, the page colour below it.
    ajoute(196, "tabBackground", MOTIF, T, lambda x, y: BORD if y == 0 else FOND, False)
    ajoute(197, "tabBackgroundS", MOTIF, T, lambda x, y: BORD if y == T - 1 else FOND, False)

    # Band along the page edge: page colour with the outline on the tabs' side.
    ajoute(198, "tabSeparator", MOTIF, BANDE, lambda x, y: BORD if y == 0 else FOND, False)
    ajoute(200, "tabSeparatorS", MOTIF, BANDE, lambda x, y: BORD if y == BANDE - 1 else FOND, False)
    ajoute(199, "tabSeparatorE", BANDE, MOTIF, lambda x, y: BORD if x == BANDE - 1 else FOND, False)
    ajoute(201, "tabSeparatorW", BANDE, MOTIF, lambda x, y: BORD if x == 0 else FOND, False)

    # Joining piece: the page colour, which opens the band under the front tab.
    ajoute(202, "tabTopMostSeparator", MOTIF, BANDE, lambda x, y: FOND, False)
    ajoute(204, "tabTopMostSeparatorS", MOTIF, BANDE, lambda x, y: FOND, False)
    ajoute(203, "tabTopMostSeparatorE", BANDE, MOTIF, lambda x, y: FOND, False)
    ajoute(205, "tabTopMostSeparatorW", BANDE, MOTIF, lambda x, y: FOND, False)
    return sorted(liste)


def forme_miroir(d, h):
    # d is the distance of the pixel's right edge from the end.
    return masque(couverture(0, h, lambda px, py: dans_forme(d - px, py)))


def forme_vers_haut(x, y):
    return masque(couverture(x, y, lambda px, py: dans_forme(px, EPAISSEUR - py)))


def forme_vers_haut_miroir(d, y):
    return masque(couverture(0, y, lambda px, py: dans_forme(d - px, EPAISSEUR - py)))


def forme_tournee(vers_plat, x, y):
    """Mask pixel (x, y) of a turned end; vers_plat maps a point to (d, h)."""
    def dedans(px, py):
        d, h = vers_plat(px, py)
        return 0 <= h and dans_forme(d, h)
    return masque(couverture(x, y, dedans))


if __name__ == "__main__":
    arguments = sys.argv[1:]
    verifie = "--verifie" in arguments
    arguments = [a for a in arguments if a != "--verifie"]
    dossier = arguments[0] if arguments else "resources/image"
    differences = 0
    for numero, nom, largeur, hauteur, pixel, gris in illustrations():
        chemin = os.path.join(dossier, "%d-%s.png" % (numero, nom))
        contenu = png(largeur, hauteur, pixel, gris)
        if not verifie:
            with open(chemin, "wb") as fichier:
                fichier.write(contenu)
        elif not os.path.exists(chemin) or open(chemin, "rb").read() != contenu:
            print("différent : " + chemin)
            differences += 1
    sys.exit(1 if differences else 0)
