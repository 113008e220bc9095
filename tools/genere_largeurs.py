#!/usr/bin/python3
"""Generates the advance widths of the legend's fonts for the engine.

  engine/largeurs_helvetica.inc

The legend of every barcode file is set in Helvetica and Helvetica-Bold, and
its euro sign in our own font VuraVaze. The engine measures each legend before
it writes it, so that none passes the right edge of its symbol; it reads the
widths from this table, never from the fonts of the machine it runs on.

The widths of Helvetica and Helvetica-Bold are the standard metrics of Debian's
fonts-urw-base35 (Nimbus Sans and Nimbus Sans Bold share them); those of
VuraVaze come from its program in resources/texte/175-VuraVaze.ps, made by
tools/genere_polices.py. Glyph names of the WinAnsi codes follow the Windows
code page 1252 and the Adobe Glyph List (python3-fonttools), with code 160 drawn
as a space and code 173 as a hyphen, as PDF's WinAnsiEncoding has them.

Usage: /usr/bin/python3 tools/genere_largeurs.py [--verifie] [FILE]
FILE defaults to engine/largeurs_helvetica.inc in the repository. With
--verifie nothing is written: the exit status is 1 when FILE differs from what
the generator makes. The output is byte for byte reproducible.
"""

import os
import re
import sys

from fontTools.agl import LEGACY_AGL2UV, UV2AGL

AFM = "/usr/share/fonts/type1/urw-base35/"
POLICES = (("Helvetica", AFM + "NimbusSans-Regular.afm"),
           ("Helvetica-Bold", AFM + "NimbusSans-Bold.afm"))
RACINE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
VURAVAZE = os.path.join(RACINE, "resources", "texte", "175-VuraVaze.ps")
SORTIE = os.path.join(RACINE, "engine", "largeurs_helvetica.inc")


def lit_afm(chemin):
    """The advance widths of an AFM file by glyph name, and its own encoding
    (code -> glyph name)."""
    largeurs, codes = {}, {}
    with open(chemin, encoding="latin-1") as f:
        for ligne in f:
            m = re.match(r"C (-?\d+) ; WX (\d+) ; N (\S+) ;", ligne)
            if m:
                largeurs[m.group(3)] = int(m.group(2))
                if int(m.group(1)) >= 0:
                    codes[int(m.group(1))] = m.group(3)
    return largeurs, codes


def nom_glyphe(point, largeurs):
    """The glyph name of a Unicode character: the Adobe Glyph List's, or for
    the few that its current list leaves out, the legacy list's name that the
    font has."""
    if point in UV2AGL:
        return UV2AGL[point]
    for nom, points in sorted(LEGACY_AGL2UV.items()):
        if points == [point] and nom in largeurs:
            return nom
    sys.exit("genere_largeurs: no glyph name for U+%04X" % point)


def noms_winansi(largeurs):
    """The glyph name of each WinAnsi code, "" where the code draws nothing
    (the control codes and the five codes that the code page leaves out)."""
    noms = []
    for code in range(256):
        if code < 32 or code == 127:
            noms.append("")
            continue
        try:
            caractere = bytes([code]).decode("cp1252")
        except UnicodeDecodeError:
            noms.append("")
            continue
        if code == 0xA0:
            noms.append("space")
        elif code == 0xAD:
            noms.append("hyphen")
        else:
            noms.append(nom_glyphe(ord(caractere), largeurs))
    return noms


def largeurs_vuravaze():
    with open(VURAVAZE, encoding="ascii") as f:
        programme = f.read()
    espace = re.search(r"/space \{ (\d+) 0 setcharwidth", programme)
    euro = re.search(r"/E \{ (\d+) 0 (?:-?\d+ ){4}setcachedevice", programme)
    if not espace or not euro:
        sys.exit("genere_largeurs: widths of VuraVaze not found in " + VURAVAZE)
    return int(espace.group(1)), int(euro.group(1))


def tableau(valeurs, retrait):
    """Numbers 16 to a line, each line indented by `retrait`."""
    lignes = []
    for i in range(0, len(valeurs), 16):
        lignes.append(retrait + ", ".join("%4d" % v for v in valeurs[i:i + 16]) + ",")
    return lignes


def tableau_polices(commentaire, nom, par_police):
    """A C++ table of widths, one row for each font."""
    lignes = [commentaire, "constexpr std::uint16_t %s[%d][%d] = {"
              % (nom, len(par_police), len(par_police[0]))]
    for valeurs in par_police:
        lignes.append("    {")
        lignes += tableau(valeurs, "        ")
        lignes.append("    },")
    return lignes + ["};", ""]


def contenu():
    noms = noms_winansi(lit_afm(POLICES[0][1])[0])
    winansi, standard = [], []
    for police, chemin in POLICES:
        largeurs, codes = lit_afm(chemin)
        manquants = [n for n in noms if n and n not in largeurs]
        if manquants:
            sys.exit("genere_largeurs: %s lacks %s" % (police, " ".join(manquants)))
        winansi.append([largeurs[n] if n else 0 for n in noms])
        standard.append([largeurs[codes[c]] if 32 <= c < 127 and c in codes else 0
                         for c in range(128)])
    espace, euro = largeurs_vuravaze()

    lignes = [
        "// Advance widths of the legend's fonts, in thousandths of the font size.",
        "// Generated by tools/genere_largeurs.py from the standard metrics of",
        "// Helvetica and Helvetica-Bold (the AFM files of Debian's fonts-urw-base35)",
        "// and from our font VuraVaze (resources/texte/175-VuraVaze.ps). Do not edit:",
        "// run the generator.",
        "",
        "// The glyph of each WinAnsi code, \"\" where the code draws nothing.",
        "constexpr const char* noms_winansi[256] = {",
    ]
    morceau = "   "
    for nom in noms:
        mot = ' "%s",' % nom
        if len(morceau) + len(mot) > 100:
            lignes.append(morceau)
            morceau = "   "
        morceau += mot
    lignes.append(morceau)
    lignes.append("};")
    lignes.append("")
    lignes += tableau_polices(
        "// [0] Helvetica, [1] Helvetica-Bold, by WinAnsi code; 0 where no glyph.",
        "largeurs_winansi", winansi)
    lignes += tableau_polices(
        "// The same fonts in their own standard encoding, codes 32 to 126.",
        "largeurs_standard", standard)
    lignes.append("// VuraVaze: its space and its \"E\", the euro sign.")
    lignes.append("constexpr std::uint16_t largeur_vuravaze_espace = %d;" % espace)
    lignes.append("constexpr std::uint16_t largeur_vuravaze_euro = %d;" % euro)
    return "\n".join(lignes) + "\n"


def main():
    arguments = sys.argv[1:]
    verifie = "--verifie" in arguments
    arguments = [a for a in arguments if a != "--verifie"]
    sortie = arguments[0] if arguments else SORTIE
    texte = contenu().encode("ascii")
    if verifie:
        try:
            with open(sortie, "rb") as f:
                engage = f.read()
        except OSError as erreur:
            print("ECHEC: %s: %s" % (sortie, erreur))
            return 1
        if engage != texte:
            print("ECHEC: %s differs from the generator's output" % sortie)
            return 1
        return 0
    with open(sortie, "wb") as f:
        f.write(texte)
    return 0


if __name__ == "__main__":
    sys.exit(main())
