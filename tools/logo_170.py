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

# Bar widths in pixels, alternately bar and space, from x = 11.
MOTIF = [1, 1, 2, 1, 1, 2, 3, 1, 1, 1, 2, 2, 1, 1, 1, 3, 2, 1, 1, 1]
BARRES = []
x = 11.0
for i, largeur in enumerate(MOTIF):
    if i % 2 == 0:
        BARRES.append((x, x + largeur))
    x += largeur


def dans_carte(px, py, marge=2.0, rayon=7.0):
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
    if not dans_carte(px, py, marge=4.0, rayon=5.0):
        return ROUGE
    if min(distance_segment(px, py, 13, 10, 25, 31), distance_segment(px, py, 25, 31, 37, 10)) <= 2.6:
        return ROUGE
    for gauche, droite in BARRES:
        bas = 56 if (gauche, droite) in (BARRES[0], BARRES[-1]) else 53
        if gauche <= px < droite and 37 <= py < bas:
            return NOIR
    return BLANC


def pixel(x, y):
    n = SOUS_ECHANTILLONS
    somme = [0, 0, 0]
    couverts = 0
    for j in range(n):
        for i in range(n):
            c = couleur(x + (i + 0.5) / n, y + (j + 0.5) / n)
            if c is not None:
                couverts += 1
                for k in range(3):
                    somme[k] += c[k]
    if couverts == 0:
        return (0, 0, 0, 0)
    return tuple(round(s / couverts) for s in somme) + (round(255 * couverts / (n * n)),)


def png(chemin):
    lignes = b""
    for y in range(HAUTEUR):
        lignes += b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(LARGEUR))

    def bloc(genre, donnees):
        return (struct.pack(">I", len(donnees)) + genre + donnees +
                struct.pack(">I", zlib.crc32(genre + donnees) & 0xFFFFFFFF))

    contenu = (b"\x89PNG\r\n\x1a\n" +
               bloc(b"IHDR", struct.pack(">IIBBBBB", LARGEUR, HAUTEUR, 8, 6, 0, 0, 0)) +
               bloc(b"IDAT", zlib.compress(lignes, 9)) + bloc(b"IEND", b""))
    with open(chemin, "wb") as fichier:
        fichier.write(contenu)


if __name__ == "__main__":
    png(sys.argv[1] if len(sys.argv) > 1 else "resources/image/170-logo.png")
