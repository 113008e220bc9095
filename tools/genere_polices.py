#!/usr/bin/python3
"""Generates the barcode fonts and the preview background of the application.

One glyph model gives every symbol font:
  texte/170-EanP35N0.ps ... 174-EanP35N4.ps   PostScript Type 3 fonts (EPS files)
  texte/175-VuraVaze.ps                       Type 3 font whose "E" is the euro sign
  texte/176-EanP35N0.cff.a85 ... 180          CFF (Type1C) fonts, Flate + ASCII85 (PDF files)
  image/169-fond-previsu.png                  background of the preview picture

The five symbol fonts differ only in bar width: each dark bar is narrowed by
0 to 0,04 mm in total, half on each edge, so that bar centres and advance
widths stay put. The human-readable digits are the OCR-B outlines of Debian's
fonts-ocr-b (public domain).

Usage: /usr/bin/python3 tools/genere_polices.py [--sortie DIR] [--versions]
DIR defaults to the resources/ folder of the repository. Run it with Debian's
python3 (python3-fonttools); the output is byte for byte reproducible, and is
the committed resources with the package versions that SOURCES names.
"""

import argparse
import base64
import math
import os
import re
import struct
import subprocess
import sys
import zlib

from fontTools.cffLib import (CFFFontSet, CharStrings, GlobalSubrsIndex,
                              PrivateDict, TopDict, TopDictIndex)
from fontTools.encodings.StandardEncoding import StandardEncoding
from fontTools.pens.recordingPen import RecordingPen
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.ttLib import TTFont

OCRB = "/usr/share/fonts/opentype/ocr-b/OCRB.otf"

# The Debian packages the committed resources were made with, by upstream
# version: another OCR-B draws other digits, another fontTools or zlib writes
# other bytes. The resources are this generator's output with these alone.
SOURCES = {"fonts-ocr-b": "0.3", "python3-fonttools": "4.38.0", "zlib1g": "1.2.13"}


def version_amont(version):
    """The upstream part of a Debian version: no epoch, revision or repack mark."""
    version = version.split(":", 1)[-1].rsplit("-", 1)[0]
    return re.split(r"[~+]|\.dfsg", version)[0]


def versions_differentes():
    """The packages installed in another version than SOURCES names, as text."""
    ecarts = []
    for paquet, attendue in SOURCES.items():
        try:
            lue = subprocess.run(["dpkg-query", "-W", "-f", "${Version}", paquet],
                                 capture_output=True, text=True).stdout.strip()
        except OSError:
            lue = ""
        if version_amont(lue) != attendue:
            ecarts.append("%s %s (resources made with %s)" % (paquet, lue or "absent", attendue))
    return ecarts

# ---------------------------------------------------------------------------
# Geometry, in units of the 1000-unit glyph space (the fonts are set at 35 pt,
# so one unit is 0.035 pt). The symbol line's baseline lies 7.1 to 7.3 pt
# above the page's edge under it (7.3 in the EPS files, 7.2 on a horizontal PDF
# page, 7.1 on a turned one) and the legend's baseline 37 pt above that edge,
# that is about 849 units above the symbol's baseline: all ink stays below 800,
# so that even the legend's comma clears the bars.
#
# The frame of protection "C" covers the outer 0.5 pt of the page. The figures
# under the main symbol end 176 units (6.16 pt) below the baseline, so that
# even on the lowest baseline 0.45 pt of white, more than the 0.3 pt wanted,
# lies between their feet and the frame. They are a tenth smaller than the
# add-on's, which keeps a gap of about one module under the data bars.

MODULE = 24  # narrowest bar or space
FONT_BBOX = (-120, -176, 312, 857)  # its bottom is the figures' lowest ink
FONT_MATRIX = (0.001, 0, 0, 0.001, 0, 0)

BAR_TOP = 795  # top of every bar of the main symbol
DATA_BOTTOM = 20  # bottom of the data bars of the main symbol
GUARD_BOTTOM = DATA_BOTTOM - 5 * MODULE  # guard bars reach 5 modules lower
ADDON_TOP = 575  # top of the add-on's bars (its digits stand above them)
ADDON_BOTTOM = GUARD_BOTTOM  # add-on bars end level with the guard bars

DIGIT_SCALE = 0.24  # OCR-B em to glyph units: figures about 189 units high
# Size of the figures under the main symbol (the lead digit's too), relative
# to the add-on's: about 170 units high. Nine tenths keeps their points whole
# on the CFF grid.
MAIN_DIGIT_SIZE = 0.9
DIGIT_BASE = -173  # baseline of the digits under the main symbol
ADDON_DIGIT_BASE = 609  # baseline of the digits above the add-on
LEAD_DIGIT_CENTRE = 172  # centre of the lead digit in the 11-module reserve

# One hundredth of a millimetre, in glyph units at 35 pt.
CENTIEME_MM = 0.01 / 25.4 * 72 / 35 * 1000

# What the figures under the main symbol keep clear of, in points: the lowest
# baseline of the symbol line, the frame's width and the white wanted between;
# and in units, the white wanted under the data bars.
BASE_MIN_PT = 7.1
CADRE_PT = 0.5
BLANC_CADRE_PT = 0.3
BLANC_BARRES = 20

# EAN-13 digit patterns (1 = dark module) of sets A, B and C; the add-on
# uses sets A and B too.
SET_A = ["0001101", "0011001", "0010011", "0111101", "0100011",
         "0110001", "0101111", "0111011", "0110111", "0001011"]
SET_B = ["0100111", "0110011", "0011011", "0100001", "0011101",
         "0111001", "0000101", "0010001", "0001001", "0010111"]
SET_C = ["1110010", "1100110", "1101100", "1000010", "1011100",
         "1001110", "1010000", "1000100", "1001000", "1110100"]

# Advance widths of the codes 33 to 251, in thousandths of the font size,
# as the PDF font dictionary lists them. The codes given 1000 are those the
# standard encoding leaves undefined.
def _table_largeurs():
    plages = [(33, 33, 280), (34, 45, 0), (46, 47, 280), (48, 57, 264),
              (58, 58, 72), (59, 59, 168), (60, 60, 264), (61, 61, 120),
              (62, 62, 168), (63, 63, 312), (64, 64, 48), (65, 94, 168),
              (95, 95, 280), (96, 96, 0), (97, 116, 168), (117, 126, 280),
              (127, 160, 1000), (161, 168, 280), (169, 170, 0),
              (171, 175, 280), (176, 176, 1000), (177, 180, 280),
              (181, 181, 1000), (182, 185, 280), (186, 186, 0),
              (187, 189, 280), (190, 190, 1000), (191, 191, 280),
              (192, 192, 1000), (193, 200, 280), (201, 201, 1000),
              (202, 203, 280), (204, 204, 1000), (205, 208, 280),
              (209, 224, 1000), (225, 225, 280), (226, 226, 1000),
              (227, 227, 280), (228, 231, 1000), (232, 235, 280),
              (236, 240, 1000), (241, 241, 280), (242, 244, 1000),
              (245, 245, 280), (246, 247, 1000), (248, 251, 280)]
    table = {}
    for debut, fin, largeur in plages:
        for code in range(debut, fin + 1):
            table[code] = largeur
    assert sorted(table) == list(range(33, 252))
    return table


LARGEURS = _table_largeurs()


def nombre(v):
    """Shortest decimal text of v rounded to 1/1000 (PostScript number)."""
    v = round(v, 3)
    if v == int(v):
        return str(int(v))
    return ("%.3f" % v).rstrip("0")


# ---------------------------------------------------------------------------
# Glyph model

class Glyphe:
    def __init__(self, code, avance):
        self.code = code
        self.nom = StandardEncoding[code]
        self.avance = avance
        self.barres = []  # (x0, y0, x1, y1)
        self.chiffres = []  # (digit, x of its centre, baseline, size)

    def encre(self, contours_chiffres):
        """Ink box (x0, y0, x1, y1) in whole units, or None for a blank glyph."""
        xs, ys = [], []
        for x0, y0, x1, y1 in self.barres:
            xs += [x0, x1]
            ys += [y0, y1]
        for chiffre, cx, base, taille in self.chiffres:
            for _op, points in contours_chiffres[chiffre]:
                for x, y in points:
                    xs.append(x * taille + cx)
                    ys.append(y * taille + base)
        if not xs:
            return None
        return (math.floor(min(xs)), math.floor(min(ys)),
                math.ceil(max(xs)), math.ceil(max(ys)))


def contours_ocrb():
    """The ten OCR-B figures, scaled, centred on x 0, baseline at y 0."""
    police = TTFont(OCRB)
    jeu = police.getGlyphSet()
    cmap = police.getBestCmap()
    contours = []
    for chiffre in range(10):
        nom = cmap[ord("0") + chiffre]
        centre = jeu[nom].width / 2
        stylo = RecordingPen()
        jeu[nom].draw(stylo)
        operations = []
        for op, points in stylo.value:
            points = [(round((x - centre) * DIGIT_SCALE), round(y * DIGIT_SCALE))
                      for x, y in points]
            operations.append((op, points))
        contours.append(operations)
    return contours


def barres(glyphe, motif, depart, bas, haut, reduction):
    """Adds the dark runs of `motif`, starting `depart` modules in."""
    i = 0
    while i < len(motif):
        if motif[i] == "1":
            j = i
            while j < len(motif) and motif[j] == "1":
                j += 1
            x0 = (depart + i) * MODULE + reduction / 2
            x1 = (depart + j) * MODULE - reduction / 2
            glyphe.barres.append((round(x0, 3), bas, round(x1, 3), haut))
            i = j
        else:
            i += 1


def modele(k):
    """Glyphs of the symbol font for a bar-width reduction of k hundredths of mm."""
    reduction = k * CENTIEME_MM
    glyphes = {}

    def glyphe(code, avance):
        assert avance == LARGEURS[code], (code, avance)
        g = Glyphe(code, avance)
        glyphes[code] = g
        return g

    demi = 7 * MODULE / 2
    # Digits of the main symbol: bars from the data-bar bottom, figure below.
    for base, motifs in ((65, SET_A), (75, SET_B), (85, SET_C)):
        for chiffre, motif in enumerate(motifs):
            g = glyphe(base + chiffre, 7 * MODULE)
            barres(g, motif, 0, DATA_BOTTOM, BAR_TOP, reduction)
            g.chiffres.append((chiffre, demi, DIGIT_BASE, MAIN_DIGIT_SIZE))
    # Digits of the add-on: shorter bars, figure above them.
    for base, motifs in ((97, SET_A), (107, SET_B)):
        for chiffre, motif in enumerate(motifs):
            g = glyphe(base + chiffre, 7 * MODULE)
            barres(g, motif, 0, ADDON_BOTTOM, ADDON_TOP, reduction)
            g.chiffres.append((chiffre, demi, ADDON_DIGIT_BASE, 1))
    # Lead digit: with reserves it is the 11-module left reserve and shows the
    # figure there; without reserves it takes no room, and no figure fits in
    # front of the symbol on the page.
    for chiffre in range(10):
        g = glyphe(48 + chiffre, 11 * MODULE)
        g.chiffres.append((chiffre, LEAD_DIGIT_CENTRE, DIGIT_BASE, MAIN_DIGIT_SIZE))
        glyphe(48 + chiffre - (13 if chiffre < 4 else 12), 0)
    barres(glyphe(58, 3 * MODULE), "101", 0, GUARD_BOTTOM, BAR_TOP, reduction)
    barres(glyphe(61, 5 * MODULE), "01010", 0, GUARD_BOTTOM, BAR_TOP, reduction)
    # Gap of 9 modules after the main symbol, then the add-on start guard.
    barres(glyphe(63, 13 * MODULE), "1011", 9, ADDON_BOTTOM, ADDON_TOP, reduction)
    barres(glyphe(64, 2 * MODULE), "01", 0, ADDON_BOTTOM, ADDON_TOP, reduction)
    glyphe(59, 7 * MODULE)  # right reserve, blank
    glyphe(39, 0)  # follows the lead digit
    glyphe(34, 0)  # ends the symbol
    return glyphes


def nom_police(k):
    return "EanP35N%d" % k


# ---------------------------------------------------------------------------
# PostScript Type 3 form

def lignes_pliees(mots, largeur=78):
    """Joins words into lines of at most `largeur` characters."""
    lignes, courante = [], ""
    for mot in mots:
        if courante and len(courante) + 1 + len(mot) > largeur:
            lignes.append(courante)
            courante = mot
        else:
            courante = mot if not courante else courante + " " + mot
    if courante:
        lignes.append(courante)
    return lignes


def chemin_ps(operations):
    mots = []
    noms = {"moveTo": "m", "lineTo": "l", "curveTo": "c"}
    for op, points in operations:
        if op == "closePath":
            mots.append("h")
            continue
        if op not in noms:
            raise ValueError("unexpected outline operation " + op)
        for x, y in points:
            mots += [nombre(x), nombre(y)]
        mots.append(noms[op])
    return mots


def entete_ps(nom, description):
    return ["%%BeginResource: font " + nom,
            "% " + nom + ": " + description,
            "% Generated by tools/genere_polices.py; figures from OCR-B (public domain).",
            "32 dict begin",
            "/FontType 3 def",
            "/FontName /" + nom + " def",
            "/FontMatrix [" + " ".join(nombre(v) for v in FONT_MATRIX) + "] def"]


def pied_ps(nom):
    return ["/BuildGlyph { exch begin CharProcs exch 2 copy known not"
            " { pop /.notdef } if get exec end } bind def",
            "/BuildChar { 1 index /Encoding get exch get"
            " 1 index /BuildGlyph get exec } bind def",
            "currentdict end",
            "/" + nom + " exch definefont pop",
            "%%EndResource"]


def encodage_ps(codes_noms):
    lignes = ["/Encoding 256 array def",
              "0 1 255 { Encoding exch /.notdef put } for"]
    mots = ["Encoding %d /%s put" % (code, nom) for code, nom in codes_noms]
    lignes += lignes_pliees(mots)
    return lignes


def police_type3(k, contours):
    nom = nom_police(k)
    glyphes = modele(k)
    lignes = entete_ps(nom, "EAN-13 symbol with EAN-5 add-on, bars narrowed by"
                       " 0,0%d mm" % k)
    lignes.append("/FontBBox [" + " ".join(str(v) for v in FONT_BBOX) + "] def")
    lignes += encodage_ps((g.code, g.nom) for _c, g in sorted(glyphes.items()))
    lignes += ["/m /moveto load def /l /lineto load def /c /curveto load def"
               " /h /closepath load def",
               "% x y width height r: rectangle path",
               "/r { 4 2 roll moveto exch dup 0 rlineto exch 0 exch rlineto"
               " neg 0 rlineto closepath } bind def",
               "% /figure x y s D: fills the figure at s times its size, with its centre"
               " and baseline at x y",
               "/D { gsave 3 1 roll translate dup scale load exec fill grestore } bind def"]
    for chiffre, operations in enumerate(contours):
        lignes += lignes_pliees(["/d%d {" % chiffre] + chemin_ps(operations)
                                + ["}", "bind", "def"])
    lignes += ["/CharProcs %d dict def" % (len(glyphes) + 1),
               "CharProcs begin",
               "/.notdef { 0 0 setcharwidth } bind def"]
    for _code, g in sorted(glyphes.items()):
        encre = g.encre(contours)
        mots = ["/" + g.nom, "{", str(g.avance), "0"]
        if encre is None:
            mots.append("setcharwidth")
        else:
            mots += [str(v) for v in encre] + ["setcachedevice"]
        for x0, y0, x1, y1 in g.barres:
            mots += [nombre(x0), nombre(y0), nombre(x1 - x0), nombre(y1 - y0), "r"]
        if g.barres:
            mots.append("fill")
        for chiffre, cx, base, taille in g.chiffres:
            mots += ["/d%d" % chiffre, nombre(cx), nombre(base), nombre(taille), "D"]
        mots += ["}", "bind", "def"]
        lignes += lignes_pliees(mots)
    lignes.append("end")
    lignes += pied_ps(nom)
    return ("\n".join(lignes) + "\n").encode("ascii")


# The euro sign of the legend: a ring open on the right, crossed by two bars.
EURO_AVANCE = 660
EURO_ANNEAU = (395, 350, 350, 262, 45, 315)  # centre x, y, radii, angles
EURO_BARRES = ((20, 395, 440, 70), (20, 235, 410, 70))  # x, y, width, height
ESPACE_AVANCE = 278


def police_vuravaze():
    nom = "VuraVaze"
    cx, cy, rayon, interieur, a0, a1 = EURO_ANNEAU
    x0 = min(b[0] for b in EURO_BARRES)
    encre = (x0, cy - rayon, math.ceil(cx + rayon * math.cos(math.radians(a0))),
             cy + rayon)
    lignes = entete_ps(nom, "euro sign (E) and space")
    lignes.append("/FontBBox [" + " ".join(str(v) for v in encre) + "] def")
    lignes += encodage_ps([(32, "space"), (69, "E")])
    lignes += ["/CharProcs 3 dict def",
               "CharProcs begin",
               "/.notdef { 0 0 setcharwidth } bind def",
               "/space { %d 0 setcharwidth } bind def" % ESPACE_AVANCE]
    mots = ["/E", "{", str(EURO_AVANCE), "0"] + [str(v) for v in encre]
    mots += ["setcachedevice", "newpath"]
    mots += [str(v) for v in (cx, cy, rayon, a0, a1)] + ["arc"]
    mots += [str(v) for v in (cx, cy, interieur, a1, a0)] + ["arcn", "closepath", "fill"]
    for x, y, l, h in EURO_BARRES:
        mots += [str(v) for v in (x, y, l, h)] + ["r", "fill"]
    mots += ["}", "bind", "def"]
    lignes += lignes_pliees(mots)
    lignes.append("end")
    # The rectangle procedure the euro's bars use.
    lignes.insert(lignes.index("/CharProcs 3 dict def"),
                  "/r { 4 2 roll moveto exch dup 0 rlineto exch 0 exch rlineto"
                  " neg 0 rlineto closepath } bind def")
    lignes += pied_ps(nom)
    return ("\n".join(lignes) + "\n").encode("ascii")


# ---------------------------------------------------------------------------
# CFF (Type1C) form

class _PoliceCff:
    """The little of a font file that the CFF compiler asks of its owner."""

    recalcBBoxes = False

    def __init__(self, ordre):
        self.ordre = ordre

    def getGlyphOrder(self):
        return self.ordre


# The CFF outlines are drawn on a grid ten times finer than the 1000-unit
# glyph space (FontMatrix 0.0001), so that the bar edges of the thinned fonts,
# which fall between whole units, come out as whole numbers: renderers that
# round outline coordinates to whole font units would otherwise lose the
# reduction. Advance widths and the FontBBox are scaled alike.
CFF_ECHELLE = 10


def police_cff(k, contours):
    """CFF program of the symbol font, standard encoding, a glyph per code
    33 to 251 that the standard encoding names, with the table's widths."""
    e = CFF_ECHELLE

    def point(x, y):
        return (round(x * e, 3), round(y * e, 3))

    glyphes = modele(k)
    ordre = [".notdef"]
    programmes = {}
    stylo = T2CharStringPen(0, None)
    programmes[".notdef"] = stylo.getCharString()
    for code in range(33, 252):
        nom = StandardEncoding[code]
        if nom == ".notdef":
            assert LARGEURS[code] == 1000, code
            continue
        ordre.append(nom)
        g = glyphes.get(code)
        stylo = T2CharStringPen(LARGEURS[code] * e, None, roundTolerance=0)
        if g is not None:
            for x0, y0, x1, y1 in g.barres:
                stylo.moveTo(point(x0, y0))
                stylo.lineTo(point(x1, y0))
                stylo.lineTo(point(x1, y1))
                stylo.lineTo(point(x0, y1))
                stylo.closePath()
            for chiffre, cx, base, taille in g.chiffres:
                for op, points in contours[chiffre]:
                    points = [point(x * taille + cx, y * taille + base) for x, y in points]
                    getattr(stylo, op)(*points)
        programmes[nom] = stylo.getCharString()
    assert len(set(ordre)) == len(ordre)

    jeu = CFFFontSet()
    jeu.major, jeu.minor = 1, 0
    jeu.fontNames = [nom_police(k)]
    jeu.topDictIndex = TopDictIndex()
    jeu.GlobalSubrs = GlobalSubrsIndex()
    prive = PrivateDict()
    prive.defaultWidthX = 0
    prive.nominalWidthX = 0
    dico = TopDict()
    dico.charset = ordre
    dico.Private = prive
    dico.GlobalSubrs = jeu.GlobalSubrs
    dico.FullName = nom_police(k)
    dico.FamilyName = "EanP35N"
    dico.Weight = "Regular"
    dico.FontMatrix = [v / e for v in FONT_MATRIX]
    dico.FontBBox = [v * e for v in FONT_BBOX]
    dico.Notice = "Generated by tools/genere_polices.py; figures from OCR-B (public domain)."
    chaines = CharStrings(None, ordre, jeu.GlobalSubrs, prive, None, None)
    for nom in ordre:
        programme = programmes[nom]
        programme.private = prive
        programme.globalSubrs = jeu.GlobalSubrs
        chaines[nom] = programme
    dico.CharStrings = chaines
    jeu.topDictIndex.append(dico)

    import io
    tampon = io.BytesIO()
    jeu.compile(tampon, _PoliceCff(ordre))
    return tampon.getvalue()


def texte_pdf(programme_cff):
    """Flate then ASCII85, ending with the "~>" end-of-data mark."""
    comprime = zlib.compress(programme_cff, 9)
    texte = base64.a85encode(comprime, wrapcol=76)
    return texte + b"~>"


# ---------------------------------------------------------------------------
# Preview background: a light paper tone with a faint barcode silhouette.

FOND_LARGEUR, FOND_HAUTEUR = 191, 65


def fond_previsu():
    motif = "101" + SET_A[7] + SET_A[8] + SET_B[1] + SET_B[2] + SET_B[3] \
        + SET_A[4] + "01010" + "".join(SET_C[int(c)] for c in "501507") + "101"
    x_motif = (FOND_LARGEUR - 2 * len(motif)) // 2
    lignes = []
    for y in range(FOND_HAUTEUR):
        t = y / (FOND_HAUTEUR - 1)
        ligne = bytearray([0])  # filter type None
        for x in range(FOND_LARGEUR):
            r = round(250 - 8 * t)
            v = round(250 - 6 * t)
            b = round(245 - 8 * t)
            i = (x - x_motif) // 2
            if y >= 22 and 0 <= i < len(motif) and motif[i] == "1":
                r, v, b = r - 10, v - 9, b - 7
            if x in (0, FOND_LARGEUR - 1) or y in (0, FOND_HAUTEUR - 1):
                r, v, b = r - 14, v - 12, b - 10
            ligne += bytes((r, v, b))
        lignes.append(bytes(ligne))

    def bloc(genre, donnees):
        corps = genre + donnees
        return struct.pack(">I", len(donnees)) + corps \
            + struct.pack(">I", zlib.crc32(corps) & 0xFFFFFFFF)

    entete = struct.pack(">IIBBBBB", FOND_LARGEUR, FOND_HAUTEUR, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + bloc(b"IHDR", entete)
            + bloc(b"IDAT", zlib.compress(b"".join(lignes), 9))
            + bloc(b"IEND", b""))


# ---------------------------------------------------------------------------

# Highest ink of the symbol: the legend's baseline lies about 849 units up.
ENCRE_MAX = 800


def verifie_encre(k, contours):
    """Every glyph's ink lies inside the FontBBox and below the legend, the
    lowest of it on the FontBBox's bottom; the figures under the main symbol
    keep clear of the frame under them and of the bars above them."""
    x0, y0, x1, y1 = FONT_BBOX
    bas = []
    for g in modele(k).values():
        encre = g.encre(contours)
        if encre is None:
            continue
        bas.append(encre[1])
        if not (x0 <= encre[0] and y0 <= encre[1] and encre[2] <= x1
                and encre[3] <= min(y1, ENCRE_MAX)):
            raise ValueError("glyph %s of font %d leaves its box: %s"
                             % (g.nom, k, encre))
    if min(bas) != y0:
        raise ValueError("font %d: lowest ink %d, FontBBox bottom %d" % (k, min(bas), y0))
    ys = [y * MAIN_DIGIT_SIZE + DIGIT_BASE
          for figure in contours for _op, points in figure for _x, y in points]
    plancher = (CADRE_PT + BLANC_CADRE_PT - BASE_MIN_PT) * 1000 / 35
    if min(ys) < plancher or max(ys) > DATA_BOTTOM - BLANC_BARRES:
        raise ValueError("figures from %.1f to %.1f, not inside %.1f to %d"
                         % (min(ys), max(ys), plancher, DATA_BOTTOM - BLANC_BARRES))


def fichiers():
    contours = contours_ocrb()
    sortie = {}
    for k in range(5):
        verifie_encre(k, contours)
        sortie["texte/%d-%s.ps" % (170 + k, nom_police(k))] = police_type3(k, contours)
        sortie["texte/%d-%s.cff.a85" % (176 + k, nom_police(k))] = \
            texte_pdf(police_cff(k, contours))
    sortie["texte/175-VuraVaze.ps"] = police_vuravaze()
    sortie["image/169-fond-previsu.png"] = fond_previsu()
    return sortie


def main():
    racine = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    analyse = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    analyse.add_argument("--sortie", default=racine,
                         help="folder that receives texte/ and image/")
    analyse.add_argument("--versions", action="store_true",
                         help="print the packages installed in another version than the "
                              "committed resources were made with, and write nothing")
    options = analyse.parse_args()
    ecarts = versions_differentes()
    if options.versions:
        for ecart in ecarts:
            print(ecart)
        return 0
    for ecart in ecarts:
        print("warning: " + ecart + ": the output will differ from the committed resources",
              file=sys.stderr)
    for chemin, contenu in sorted(fichiers().items()):
        complet = os.path.join(options.sortie, chemin)
        os.makedirs(os.path.dirname(complet), exist_ok=True)
        with open(complet, "wb") as f:
            f.write(contenu)
        print(complet)
    return 0


if __name__ == "__main__":
    sys.exit(main())
