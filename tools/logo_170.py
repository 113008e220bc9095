#!/usr/bin/python3
"""Draws the application's logo (picture resource 170): a white card with a
dark red border, a dark red "V" and a row of barcode bars. Pure Python, so
the same PNG comes out on every machine.

    /usr/bin/python3 tools/logo_170.py resources/image/170-logo.png
"""
import math
import struct
import sys
import zlib

LARGEUR, HAUTEUR = 50, 63
SOUS_ECHANTILLONS = 4  # per axis, for smooth edges

ROUGE = (120, 0, 0)
BLANC = (255, 255, 255)
NOIR = (26, 26, 26)

CARTE = (2.0, 7.0)  # margin and corner radius of the card
FOND = (4.0, 5.0)  # the same for its white inside, within the red border
V = ((13, 10), (25, 31), (37, 10))  # the "V", a line this far each side
DEMI_TRAIT = 2.6
HAUT_BARRES, BAS_BARRES, BAS_GARDES = 37, 53, 56  # the first and last bars go lower

# Bar widths in pixels, alternately bar and space, from x = 11.
MOTIF = [1, 1, 2, 1, 1, 2, 3, 1, 1, 1, 2, 2, 1, 1, 1, 3, 2, 1, 1, 1]
BARRES = []
x = 11.0
for i, largeur in enumerate(MOTIF):
    if i % 2 == 0:
        BARRES.append((x, x + largeur))
    x += largeur


def dans_carte(px, py, marge=CARTE[0], rayon=CARTE[1]):
    gauche, haut, droite, bas = marge, marge, LARGEUR - marge, HAUTEUR - marge
    if not (gauche <= px <= droite and haut <= py <= bas):
        return False
    cx = min(max(px, gauche + rayon), droite - rayon)
    cy = min(max(py, haut + rayon), bas - rayon)
    return (px - cx) ** 2 + (py - cy) ** 2 <= rayon ** 2


def distance_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def couleur(px, py):
    """Colour of one sample, or None outside the card."""
    if not dans_carte(px, py):
        return None
    if not dans_carte(px, py, *FOND):
        return ROUGE
    if min(distance_segment(px, py, *V[0], *V[1]), distance_segment(px, py, *V[1], *V[2])) <= DEMI_TRAIT:
        return ROUGE
    for gauche, droite in BARRES:
        bas = BAS_GARDES if (gauche, droite) in (BARRES[0], BARRES[-1]) else BAS_BARRES
        if gauche <= px < droite and HAUT_BARRES <= py < bas:
            return NOIR
    return BLANC


def pixel(x, y, echelle=1.0, decalage=0.0):
    """RGBA pixel (x, y) of the logo drawn `echelle` times its size, `decalage`
    pixels from the left."""
    n = SOUS_ECHANTILLONS
    somme = [0, 0, 0]
    couverts = 0
    for j in range(n):
        for i in range(n):
            c = couleur((x - decalage + (i + 0.5) / n) / echelle, (y + (j + 0.5) / n) / echelle)
            if c is not None:
                couverts += 1
                for k in range(3):
                    somme[k] += c[k]
    if couverts == 0:
        return (0, 0, 0, 0)
    return tuple(round(s / couverts) for s in somme) + (round(255 * couverts / (n * n)),)


def png_rgba(largeur, hauteur, pixel):
    """A PNG file's bytes; pixel(x, y) gives an RGBA quadruple."""
    lignes = b""
    for y in range(hauteur):
        lignes += b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(largeur))

    def bloc(genre, donnees):
        return (struct.pack(">I", len(donnees)) + genre + donnees +
                struct.pack(">I", zlib.crc32(genre + donnees) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            bloc(b"IHDR", struct.pack(">IIBBBBB", largeur, hauteur, 8, 6, 0, 0, 0)) +
            bloc(b"IDAT", zlib.compress(lignes, 9)) + bloc(b"IEND", b""))


def png(chemin):
    with open(chemin, "wb") as fichier:
        fichier.write(png_rgba(LARGEUR, HAUTEUR, pixel))


if __name__ == "__main__":
    png(sys.argv[1] if len(sys.argv) > 1 else "resources/image/170-logo.png")
