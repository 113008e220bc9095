#!/usr/bin/python3
"""Draws the about picture (picture resource 168), 640 x 430: a dark slate
backdrop on which light grey text reads well, a faint barcode on the right,
a dark red rule and a light band at the bottom where the web link goes.
Pure Python, so the same PNG comes out on every machine.

    /usr/bin/python3 tools/apropos_168.py resources/image/168-apropos.png
"""
import struct
import sys
import zlib

LARGEUR, HAUTEUR = 640, 430
HAUT_BANDE = 362  # top of the light band
ROUGE = (120, 0, 0)
BANDE = (226, 226, 222)

# Bar widths in pixels, alternately bar and space, from x = 468.
MOTIF = [3, 3, 6, 3, 3, 6, 9, 3, 3, 3, 6, 6, 3, 3, 3, 9, 6, 3, 3, 3, 3, 6, 9, 3, 3, 3, 6, 3]
BARRES = []
x = 468
for i, largeur in enumerate(MOTIF):
    if i % 2 == 0:
        BARRES.append((x, x + largeur))
    x += largeur


def fond(px, py):
    """The slate gradient, darker towards the bottom right."""
    t = (px / LARGEUR) * 0.4 + (py / HAUT_BANDE) * 0.6
    return tuple(round(a + (b - a) * t) for a, b in zip((58, 66, 78), (24, 28, 36)))


def couleur(px, py):
    if py >= HAUT_BANDE + 4:
        return BANDE
    if py >= HAUT_BANDE:
        return ROUGE
    c = fond(px, py)
    for gauche, droite in BARRES:
        bas = 318 if (gauche, droite) in (BARRES[0], BARRES[-1]) else 300
        if gauche <= px < droite and 96 <= py < bas:
            return tuple(min(255, v + 22) for v in c)
    if 40 <= px < 44 and 96 <= py < 300:
        return ROUGE
    return c


def png(chemin):
    lignes = bytearray()
    for y in range(HAUTEUR):
        lignes += b"\x00"
        for x in range(LARGEUR):
            lignes += bytes(couleur(x, y))

    def bloc(genre, donnees):
        return (struct.pack(">I", len(donnees)) + genre + donnees +
                struct.pack(">I", zlib.crc32(genre + donnees) & 0xFFFFFFFF))

    contenu = (b"\x89PNG\r\n\x1a\n" +
               bloc(b"IHDR", struct.pack(">IIBBBBB", LARGEUR, HAUTEUR, 8, 2, 0, 0, 0)) +
               bloc(b"IDAT", zlib.compress(bytes(lignes), 9)) + bloc(b"IEND", b""))
    with open(chemin, "wb") as fichier:
        fichier.write(contenu)


if __name__ == "__main__":
    png(sys.argv[1] if len(sys.argv) > 1 else "resources/image/168-apropos.png")
