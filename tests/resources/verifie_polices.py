#!/usr/bin/python3
"""Checks of the generated fonts and preview background.

  verifie_polices.py regeneration SOURCE  generator output == committed files
                                          (exit 77 where other package versions
                                          are installed than the fonts were made with)
  verifie_polices.py eps SOURCE           Type 3 fonts: Ghostscript + zbarimg
  verifie_polices.py pdf SOURCE           CFF fonts in a PDF: poppler + zbarimg

SOURCE is the repository's root. The real-reader checks write their own small
pages, independent of the application's writers, show the symbol of product
12345, price 1,50, issue 42, sub-issue 0 (EAN-13 3781234501507, add-on 00420)
at 35 points, render at 600 dpi and read the rendering back.
"""

import filecmp
import os
import re
import subprocess
import sys
import tempfile

EAN13 = "3781234501507"
EAN5 = "00420"

# The symbol string of that barcode as the encoder gives it, without reserves;
# with reserves the lead character is "3" and ";" follows.
SANS_RESERVES = bytes([38, 39, 58, 72, 73, 76, 77, 78, 69, 61,
                       90, 85, 86, 90, 85, 92, 58, 63,
                       107, 64, 107, 64, 101, 64, 99, 64, 97, 34])
AVEC_RESERVES = bytes([51]) + SANS_RESERVES[1:] + bytes([59])

FONT_BBOX = (-120, -176, 312, 857)
# Symbol ink stays below the legend, whose baseline is about 849 units up.
ENCRE_MAX = 849
DPI = 600
ECHECS = []
# The exit code of a check that cannot run here (CTest's SKIP_RETURN_CODE).
SAUTE = 77


def echec(message):
    ECHECS.append(message)
    print("ECHEC: " + message)


def verifie(condition, message):
    if not condition:
        echec(message)
    return condition


def lance(commande, **options):
    return subprocess.run(commande, capture_output=True, **options)


def chaine_ps(octets):
    """A string literal for PostScript or PDF."""
    texte = octets.decode("latin-1")
    for c in "\\()":
        texte = texte.replace(c, "\\" + c)
    return "(" + texte + ")"


def lit_pgm(chemin):
    with open(chemin, "rb") as f:
        donnees = f.read()
    entete = re.match(rb"P5\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+(\d+)\s", donnees)
    largeur, hauteur = int(entete.group(1)), int(entete.group(2))
    pixels = donnees[entete.end():]
    lignes = [pixels[y * largeur:(y + 1) * largeur] for y in range(hauteur)]
    return largeur, hauteur, lignes


def encre_points(chemin, hauteur_page):
    """Ink extent of a rendering as (left, bottom, right, top) in points, and
    whether the ink touches the edge of the picture."""
    largeur, hauteur, lignes = lit_pgm(chemin)
    sombres = [y for y in range(hauteur) if min(lignes[y]) < 128]
    colonnes = [x for x in range(largeur)
                if any(lignes[y][x] < 128 for y in range(hauteur))]
    if not sombres:
        return None, False
    pt = 72.0 / DPI
    bord = (sombres[0] == 0 or sombres[-1] == hauteur - 1
            or colonnes[0] == 0 or colonnes[-1] == largeur - 1)
    return ((colonnes[0] * pt, hauteur_page - (sombres[-1] + 1) * pt,
             (colonnes[-1] + 1) * pt, hauteur_page - sombres[0] * pt), bord)


# Bar geometry, magnified: a few characters set at 1000 points and rendered at
# 720 dpi, so that one glyph unit is 10 pixels, cut through the bars.
LOUPE = ":A=U@?"
MOTIFS_LOUPE = [("101", 0), ("0001101", 0), ("01010", 0), ("1110010", 0),
                ("01", 0), ("1011", 9)]  # dark modules, and blank modules first
AVANCES_LOUPE = [72, 168, 120, 168, 48, 312]
LOUPE_DPI = 720
LOUPE_X = 10  # points: where the first character starts
LOUPE_LARGEUR = 900
LOUPE_HAUTEUR = 20
LOUPE_Y = -300  # baseline: the page shows units 300 to 320 of the glyphs
CENTIEME_MM = 0.01 / 25.4 * 72 / 35 * 1000  # in glyph units at 35 points


def bords_attendus(k):
    """Edges (in pixels) of the dark runs of LOUPE in font k."""
    reduction = k * CENTIEME_MM
    bords, depart = [], 0
    for (motif, blancs), avance in zip(MOTIFS_LOUPE, AVANCES_LOUPE):
        motif = "0" * blancs + motif
        i = 0
        while i < len(motif):
            if motif[i] == "1":
                j = i
                while j < len(motif) and motif[j] == "1":
                    j += 1
                x0 = depart + i * 24 + reduction / 2
                x1 = depart + j * 24 - reduction / 2
                bords.append(((LOUPE_X + x0) * 10, (LOUPE_X + x1) * 10))
                i = j
            else:
                i += 1
        depart += avance
    return bords


def bords_mesures(chemin):
    """Edges of the dark runs across the middle row of a magnified rendering."""
    _largeur, hauteur, lignes = lit_pgm(chemin)
    ligne = lignes[hauteur // 2]
    bords, debut = [], None
    for x, p in enumerate(bytes(ligne) + b"\xff"):
        if p < 128 and debut is None:
            debut = x
        elif p >= 128 and debut is not None:
            bords.append((debut, x))
            debut = None
    return bords


def verifie_bords(chemin, k, cas):
    """Each bar is thinned by the font's reduction, half on each edge, to
    within 2.5 pixels (0.25 units, while a step of reduction moves each edge
    by 4 pixels); its centre stays put."""
    attendus, mesures = bords_attendus(k), bords_mesures(chemin)
    if not verifie(len(mesures) == len(attendus),
                   "%s: %d bars, not %d" % (cas, len(mesures), len(attendus))):
        return
    for (a0, a1), (m0, m1) in zip(attendus, mesures):
        if not verifie(abs(a0 - m0) <= 2.5 and abs(a1 - m1) <= 2.5,
                       "%s: bar at %d-%d pixels, expected %.1f-%.1f"
                       % (cas, m0, m1, a0, a1)):
            return


def lit_codes(image, cas):
    """Reads the rendering with zbarimg; expects exactly the EAN-13 and EAN-5."""
    r = lance(["zbarimg", "--nodbus", "-q", "-Sean5.enable", image])
    lus = sorted(r.stdout.decode().split())
    verifie(lus == ["EAN-13:" + EAN13, "EAN-5:" + EAN5],
            "%s: zbarimg reads %s" % (cas, lus))


def verifie_encre_page(image, hauteur_page, base, cas):
    etendue, bord = encre_points(image, hauteur_page)
    if not verifie(etendue is not None, cas + ": blank rendering"):
        return
    verifie(not bord, "%s: ink reaches the page's edge %s" % (cas, etendue))
    # Below the legend's baseline (37 pt) and inside the FontBBox.
    verifie(etendue[3] < 37, "%s: ink up to %.2f pt" % (cas, etendue[3]))
    bas = base + FONT_BBOX[1] * 0.035 - 0.1
    verifie(etendue[1] >= bas, "%s: ink down to %.2f pt" % (cas, etendue[1]))


# ---------------------------------------------------------------------------

def regeneration(source):
    generateur = os.path.join(source, "tools", "genere_polices.py")
    ressources = os.path.join(source, "resources")
    # The committed bytes come from given versions of the fonts and tools.
    ecarts = lance([sys.executable, generateur, "--versions"], check=True).stdout.decode()
    if ecarts:
        print("skipped: the committed fonts were made with other package versions:\n" + ecarts)
        return SAUTE
    with tempfile.TemporaryDirectory() as dossier:
        r = lance([sys.executable, generateur, "--sortie", dossier])
        if not verifie(r.returncode == 0, "generator failed: " + r.stderr.decode()):
            return
        produits = []
        for genre in ("texte", "image"):
            for nom in sorted(os.listdir(os.path.join(dossier, genre))):
                produits.append(os.path.join(genre, nom))
        verifie(len(produits) == 12, "generator wrote %s" % produits)
        for chemin in produits:
            engage = os.path.join(ressources, chemin)
            verifie(os.path.exists(engage), chemin + " is not committed")
            verifie(os.path.exists(engage) and filecmp.cmp(
                os.path.join(dossier, chemin), engage, shallow=False),
                chemin + " differs from the generator's output")
        # A second run gives the same bytes.
        with tempfile.TemporaryDirectory() as autre:
            lance([sys.executable, generateur, "--sortie", autre], check=True)
            for chemin in produits:
                verifie(filecmp.cmp(os.path.join(dossier, chemin),
                                    os.path.join(autre, chemin), shallow=False),
                        chemin + " is not reproducible")


def police_ps(source, numero):
    dossier = os.path.join(source, "resources", "texte")
    for nom in os.listdir(dossier):
        if nom.startswith("%d-" % numero):
            with open(os.path.join(dossier, nom), "rb") as f:
                return nom, f.read()
    raise FileNotFoundError("resource %d" % numero)


def page_eps(polices, k, reserves, legende):
    largeur = "143.5" if reserves else "128"
    symbole = AVEC_RESERVES if reserves else SANS_RESERVES
    texte = ("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 " + largeur + " 49\n"
             "%%EndComments\n").encode()
    texte += b"".join(polices)
    texte += ("/EanP35N%d findfont 35 scalefont setfont\n0.8 7.3 moveto\n%s show\n"
              % (k, chaine_ps(symbole))).encode("latin-1")
    if legende:
        texte += ("/Helvetica-Bold findfont [8.6 0 0 11.5 0 0] makefont setfont\n"
                  "%s 37 moveto (P 12345 - 42 - 1,50) show\n"
                  "/VuraVaze findfont [8.6 0 0 11.5 0 0] makefont setfont\n"
                  "( E) show\n" % ("15" if reserves else "6")).encode()
    texte += b"showpage\n%%EOF\n"
    return texte


def loupe_eps(police, k):
    return ("%%!PS-Adobe-3.0 EPSF-3.0\n%%%%BoundingBox: 0 0 %d %d\n%%%%EndComments\n"
            % (LOUPE_LARGEUR, LOUPE_HAUTEUR)).encode() + police + (
        "/EanP35N%d findfont 1000 scalefont setfont\n%d %d moveto\n(%s) show\n"
        "showpage\n%%%%EOF\n" % (k, LOUPE_X, LOUPE_Y, LOUPE)).encode()


def eps(source):
    _nom, vuravaze = police_ps(source, 175)
    verifie(b"/VuraVaze exch definefont" in vuravaze, "175 does not define VuraVaze")
    with tempfile.TemporaryDirectory() as dossier:
        for k in range(5):
            nom, police = police_ps(source, 170 + k)
            verifie(nom == "%d-EanP35N%d.ps" % (170 + k, k), "file name " + nom)
            verifie(all(o < 128 for o in police), nom + " is not 7-bit")
            verifie(police.endswith(b"\n"), nom + " does not end with a line end")
            noms = set(re.findall(rb"/(\w+) exch definefont", police))
            verifie(noms == {b"EanP35N%d" % k}, "%s defines %s" % (nom, noms))
            verifie(b"RorU35V0" not in police, nom + " names RorU35V0")
            for reserves in (True, False):
                for legende in (False, True):
                    cas = "EanP35N%d %s reserves%s" % (
                        k, "with" if reserves else "without",
                        ", legend" if legende else "")
                    eps = os.path.join(dossier, "p.eps")
                    pgm = os.path.join(dossier, "p.pgm")
                    with open(eps, "wb") as f:
                        f.write(page_eps([police, vuravaze], k, reserves, legende))
                    r = lance(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE",
                               "-sDEVICE=pgmraw", "-r%d" % DPI, "-dEPSCrop",
                               "-sOutputFile=" + pgm, eps])
                    sortie = (r.stdout + r.stderr).decode(errors="replace")
                    verifie(r.returncode == 0 and "Error" not in sortie
                            and "Substitut" not in sortie
                            and "an't find" not in sortie,
                            "%s: Ghostscript says %r" % (cas, sortie))
                    if r.returncode != 0:
                        continue
                    lit_codes(pgm, cas)
                    if not legende:
                        verifie_encre_page(pgm, 49, 7.3, cas)
            eps = os.path.join(dossier, "loupe.eps")
            pgm = os.path.join(dossier, "loupe.pgm")
            with open(eps, "wb") as f:
                f.write(loupe_eps(police, k))
            lance(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pgmraw",
                   "-r%d" % LOUPE_DPI, "-dEPSCrop", "-sOutputFile=" + pgm, eps],
                  check=True)
            verifie_bords(pgm, k, "EanP35N%d magnified" % k)


# ---------------------------------------------------------------------------

LARGEURS = {}
for _debut, _fin, _largeur in [
        (33, 33, 280), (34, 45, 0), (46, 47, 280), (48, 57, 264), (58, 58, 72),
        (59, 59, 168), (60, 60, 264), (61, 61, 120), (62, 62, 168), (63, 63, 312),
        (64, 64, 48), (65, 94, 168), (95, 95, 280), (96, 96, 0), (97, 116, 168),
        (117, 126, 280), (127, 160, 1000), (161, 168, 280), (169, 170, 0),
        (171, 175, 280), (176, 176, 1000), (177, 180, 280), (181, 181, 1000),
        (182, 185, 280), (186, 186, 0), (187, 189, 280), (190, 190, 1000),
        (191, 191, 280), (192, 192, 1000), (193, 200, 280), (201, 201, 1000),
        (202, 203, 280), (204, 204, 1000), (205, 208, 280), (209, 224, 1000),
        (225, 225, 280), (226, 226, 1000), (227, 227, 280), (228, 231, 1000),
        (232, 235, 280), (236, 240, 1000), (241, 241, 280), (242, 244, 1000),
        (245, 245, 280), (246, 247, 1000), (248, 251, 280)]:
    for _code in range(_debut, _fin + 1):
        LARGEURS[_code] = _largeur


def document_pdf(texte_police, k, reserves, legende):
    """A one-page PDF 1.3 with the symbol font embedded as the writer does.
    `reserves` None gives the magnified page of LOUPE instead of the symbol."""
    if reserves is None:
        largeur, hauteur = str(LOUPE_LARGEUR), str(LOUPE_HAUTEUR)
        contenu = ("BT\r/F_CB 1000 Tf\r1 0 0 1 %d %d Tm\r(%s) Tj\rET"
                   % (LOUPE_X, LOUPE_Y, LOUPE)).encode()
    else:
        largeur, hauteur = ("143.5" if reserves else "128"), "49"
        symbole = AVEC_RESERVES if reserves else SANS_RESERVES
        contenu = ("BT\r/F_CB 1 Tf\r35 0 0 35 0.8 7.2 Tm\r%s Tj\rET"
                   % chaine_ps(symbole)).encode("latin-1")
    if legende:
        contenu += ("\rBT\r70 Tz\r/F_HB 11.5 Tf\r1 0 0 1 %s 37 Tm\r"
                    "(P\\24012345\\240-\\24042\\240-\\2401,50\\240\\200) Tj\rET"
                    % ("15" if reserves else "6")).encode()
    largeurs = " ".join(str(LARGEURS[c]) for c in range(33, 252))
    objets = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        ("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 %s %s] /Contents 4 0 R"
         " /Resources << /Font << /F_CB 5 0 R /F_HB 8 0 R >> >> >>" % (largeur, hauteur)).encode(),
        b"<< /Length %d >>\rstream\r\n" % len(contenu) + contenu + b"\rendstream",
        ("<< /Type /Font /Subtype /Type1 /Name /F_CB /FirstChar 33 /LastChar 251"
         " /Widths [%s] /BaseFont /EanP35N%d /FontDescriptor 6 0 R >>"
         % (largeurs, k)).encode(),
        ("<< /Type /FontDescriptor /Ascent 734 /CapHeight 734 /Descent -176"
         " /Flags 32 /FontBBox [-120 -176 312 857] /ItalicAngle 0 /StemV 22.972"
         " /XHeight 390 /FontName /EanP35N%d /FontFile3 7 0 R >>" % k).encode(),
        b"<< /Filter [/ASCII85Decode /FlateDecode] /Subtype /Type1C /Length %d >>"
        b"\rstream\r\n" % len(texte_police) + texte_police + b"\rendstream",
        b"<< /Type /Font /Subtype /Type1 /Name /F_HB /BaseFont /Helvetica-Bold"
        b" /Encoding /WinAnsiEncoding >>",
    ]
    document = b"%PDF-1.3\r"
    positions = []
    for numero, corps in enumerate(objets, 1):
        positions.append(len(document))
        document += b"%d 0 obj\r" % numero + corps + b"\rendobj\r"
    xref = len(document)
    document += b"xref\r0 %d\r0000000000 65535 f\r\n" % (len(objets) + 1)
    for p in positions:
        document += b"%010d 00000 n\r\n" % p
    document += (b"trailer\r<< /Size %d /Root 1 0 R >>\rstartxref\r%d\r%%%%EOF"
                 % (len(objets) + 1, xref))
    return document


def verifie_cff(texte, k, nom):
    """The font program itself: name, encoding, widths and glyph boxes."""
    import base64
    import io
    import zlib
    from fontTools.cffLib import CFFFontSet
    from fontTools.encodings.StandardEncoding import StandardEncoding
    from fontTools.pens.boundsPen import BoundsPen

    verifie(texte.endswith(b"~>"), nom + " does not end with ~>")
    verifie(all(o < 128 for o in texte), nom + " is not ASCII")
    cff = zlib.decompress(base64.a85decode(texte[:-2]))
    jeu = CFFFontSet()
    jeu.decompile(io.BytesIO(cff), None)
    verifie(jeu.fontNames == ["EanP35N%d" % k], "%s names %s" % (nom, jeu.fontNames))
    dico = jeu[jeu.fontNames[0]]
    verifie(dico.Encoding == "StandardEncoding", nom + " encoding")
    # Glyph units of the program to the 1000-unit space of the PDF metrics.
    matrice = list(dico.FontMatrix)
    echelle = matrice[0] * 1000
    verifie(matrice == [matrice[0], 0, 0, matrice[0], 0, 0] and echelle > 0,
            "%s FontMatrix %s" % (nom, matrice))
    verifie([round(v * echelle, 6) for v in dico.FontBBox] == list(FONT_BBOX),
            "%s FontBBox %s" % (nom, dico.FontBBox))
    glyphes = dico.CharStrings
    fautes = []
    for code in range(33, 252):
        nom_glyphe = StandardEncoding[code]
        if nom_glyphe == ".notdef":
            if LARGEURS[code] != 1000:
                fautes.append("code %d has no glyph" % code)
            continue
        if nom_glyphe not in glyphes:
            fautes.append("no glyph " + nom_glyphe)
            continue
        programme = glyphes[nom_glyphe]
        stylo = BoundsPen(None)
        programme.draw(stylo)
        if round(programme.width * echelle, 6) != LARGEURS[code]:
            fautes.append("%s is %s wide" % (nom_glyphe, programme.width * echelle))
        if stylo.bounds:
            x0, y0, x1, y1 = [v * echelle for v in stylo.bounds]
            if not (x0 >= FONT_BBOX[0] and y0 >= FONT_BBOX[1] and x1 <= FONT_BBOX[2]
                    and y1 <= min(FONT_BBOX[3], ENCRE_MAX)):
                fautes.append("%s ink %s" % (nom_glyphe, (x0, y0, x1, y1)))
    verifie(not fautes, "%s: %s" % (nom, "; ".join(fautes[:10])))


def pdf(source):
    with tempfile.TemporaryDirectory() as dossier:
        for k in range(5):
            nom, texte = police_ps(source, 176 + k)
            verifie(nom == "%d-EanP35N%d.cff.a85" % (176 + k, k), "file name " + nom)
            verifie_cff(texte, k, nom)
            for reserves in (True, False):
                for legende in (False, True):
                    cas = "PDF EanP35N%d %s reserves%s" % (
                        k, "with" if reserves else "without",
                        ", legend" if legende else "")
                    fichier = os.path.join(dossier, "p.pdf")
                    with open(fichier, "wb") as f:
                        f.write(document_pdf(texte, k, reserves, legende))
                    r = lance(["qpdf", "--check", fichier])
                    verifie(r.returncode == 0, "%s: qpdf says %s" % (cas, r.stdout))
                    r = lance(["pdffonts", fichier])
                    ligne = [l for l in r.stdout.decode().splitlines()
                             if l.startswith("EanP35N%d " % k)]
                    verifie(len(ligne) == 1 and re.search(r"\bType 1C\s+\S+\s+yes\b",
                                                          ligne[0]),
                            "%s: pdffonts says %r" % (cas, r.stdout.decode()))
                    r = lance(["pdftoppm", "-r", str(DPI), "-gray", "-singlefile",
                               fichier, os.path.join(dossier, "p")])
                    verifie(r.returncode == 0 and not r.stderr,
                            "%s: pdftoppm says %r" % (cas, r.stderr))
                    pgm = os.path.join(dossier, "p.pgm")
                    lit_codes(pgm, cas)
                    if not legende:
                        verifie_encre_page(pgm, 49, 7.2, cas)

                        # A second renderer reads it too.
                        gs = os.path.join(dossier, "g.pgm")
                        r = lance(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE",
                                   "-sDEVICE=pgmraw", "-r%d" % DPI,
                                   "-sOutputFile=" + gs, fichier])
                        verifie(r.returncode == 0 and not r.stderr and not r.stdout,
                                "%s: Ghostscript says %r" % (cas, r.stdout + r.stderr))
                        lit_codes(gs, cas + " (Ghostscript)")
            fichier = os.path.join(dossier, "loupe.pdf")
            with open(fichier, "wb") as f:
                f.write(document_pdf(texte, k, None, False))
            lance(["pdftoppm", "-r", str(LOUPE_DPI), "-gray", "-singlefile", fichier,
                   os.path.join(dossier, "loupe")], check=True)
            verifie_bords(os.path.join(dossier, "loupe.pgm"), k,
                          "PDF EanP35N%d magnified" % k)
            gs = os.path.join(dossier, "loupe-gs.pgm")
            lance(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pgmraw",
                   "-r%d" % LOUPE_DPI, "-sOutputFile=" + gs, fichier], check=True)
            verifie_bords(gs, k, "PDF EanP35N%d magnified (Ghostscript)" % k)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("regeneration", "eps", "pdf"):
        print(__doc__)
        return 2
    if {"regeneration": regeneration, "eps": eps, "pdf": pdf}[sys.argv[1]](sys.argv[2]) == SAUTE:
        return SAUTE
    if ECHECS:
        print("%d failure(s)" % len(ECHECS))
        return 1
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
