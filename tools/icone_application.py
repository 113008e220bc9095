#!/usr/bin/python3
"""Draws the application's icon for the desktop: the logo of picture 170
(tools/logo_170.py), centred on a transparent square, as a PNG at each size
the hicolor icon theme has and as an SVG of the same shapes. Pure Python, so
the same files come out on every machine.

    /usr/bin/python3 tools/icone_application.py resources/icones
    /usr/bin/python3 tools/icone_application.py --verifie resources/icones

With --verifie nothing is written: the exit status is 1 when a file of the
folder differs from what the generator draws.
"""
import os
import sys

import logo_170 as logo

TAILLES = (16, 22, 24, 32, 48, 64, 128, 256)


def png(taille):
    echelle = taille / logo.HAUTEUR
    decalage = (taille - logo.LARGEUR * echelle) / 2
    return logo.png_rgba(taille, taille, lambda x, y: logo.pixel(x, y, echelle, decalage))


def svg():
    def teinte(c):
        return "#%02x%02x%02x" % c

    def carte(marge, rayon, couleur):
        return ('<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"/>\n' %
                (marge, marge, logo.LARGEUR - 2 * marge, logo.HAUTEUR - 2 * marge, rayon,
                 teinte(couleur)))

    barres = "".join(
        '<rect x="%g" y="%g" width="%g" height="%g"/>' %
        (gauche, logo.HAUT_BARRES, droite - gauche,
         (logo.BAS_GARDES if (gauche, droite) in (logo.BARRES[0], logo.BARRES[-1])
          else logo.BAS_BARRES) - logo.HAUT_BARRES)
        for gauche, droite in logo.BARRES)
    marge = (logo.HAUTEUR - logo.LARGEUR) / 2
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
            'viewBox="%g 0 %d %d">\n' % (-marge, logo.HAUTEUR, logo.HAUTEUR) +
            carte(*logo.CARTE, logo.ROUGE) + carte(*logo.FOND, logo.BLANC) +
            '<path d="M%s" fill="none" stroke="%s" stroke-width="%g" stroke-linecap="round" '
            'stroke-linejoin="round"/>\n' % (" ".join("%d %d" % p for p in logo.V),
                                              teinte(logo.ROUGE), 2 * logo.DEMI_TRAIT) +
            '<g fill="%s">%s</g>\n</svg>\n' % (teinte(logo.NOIR), barres)).encode()


def icones():
    """(file name, content) of every icon."""
    for taille in TAILLES:
        yield "valdorin-%d.png" % taille, png(taille)
    yield "valdorin.svg", svg()


if __name__ == "__main__":
    arguments = sys.argv[1:]
    verifie = "--verifie" in arguments
    arguments = [a for a in arguments if a != "--verifie"]
    dossier = arguments[0] if arguments else "resources/icones"
    differences = 0
    for nom, contenu in icones():
        chemin = os.path.join(dossier, nom)
        if not verifie:
            with open(chemin, "wb") as fichier:
                fichier.write(contenu)
        elif not os.path.exists(chemin) or open(chemin, "rb").read() != contenu:
            print("différent : " + chemin)
            differences += 1
    sys.exit(1 if differences else 0)
