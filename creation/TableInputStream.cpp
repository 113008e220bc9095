#include "TableInputStream.h"

#include <QFileInfo>
#include <QStringView>

#include <algorithm>

namespace {

const QString erreur_csv = QStringLiteral("<ERREUR_CSV>");

QStringDecoder decodeur_pour(codage_texte codage, bool gros_boutiste) {
    // Marks are handled by the reader; a U+FEFF further on is text.
    const auto drapeaux =
        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    QStringDecoder decodeur;
    switch (codage) {
    case codage_texte::ascii:
        decodeur = QStringDecoder("US-ASCII", drapeaux);
        break;
    case codage_texte::mac_roman:
        decodeur = QStringDecoder("macintosh", drapeaux);
        break;
    case codage_texte::windows_ansi:
        decodeur = QStringDecoder("windows-1252", drapeaux);
        break;
    case codage_texte::utf8:
        decodeur = QStringDecoder(QStringConverter::Utf8, drapeaux);
        break;
    case codage_texte::utf16:
        decodeur = QStringDecoder(
            gros_boutiste ? QStringConverter::Utf16BE : QStringConverter::Utf16LE, drapeaux);
        break;
    }
    if (!decodeur.isValid()) // a Qt without the ICU codecs: keep every byte as a character
        decodeur = QStringDecoder(QStringConverter::Latin1, drapeaux);
    return decodeur;
}

// How many bytes at the end of `octets` begin a character that the next
// bytes of the file complete, which the next chunk must decode.
qsizetype octets_coupes(const QByteArray& octets, codage_texte codage, bool gros_boutiste) {
    const qsizetype n = octets.size();
    if (codage == codage_texte::utf16) {
        // An odd byte, and the first half of a surrogate pair.
        const qsizetype impair = n % 2;
        if (n - impair < 2)
            return impair;
        const auto fort =
            static_cast<unsigned char>(octets.at(n - impair - (gros_boutiste ? 2 : 1)));
        return impair + ((fort & 0xFC) == 0xD8 ? 2 : 0);
    }
    if (codage != codage_texte::utf8)
        return 0;
    // Find the last byte that is not a continuation byte, within a character's length.
    for (qsizetype recul = 1; recul <= std::min<qsizetype>(4, n); ++recul) {
        const auto octet = static_cast<unsigned char>(octets.at(n - recul));
        if ((octet & 0xC0) == 0x80)
            continue;
        const int longueur = octet >= 0xF0 ? 4 : octet >= 0xE0 ? 3 : octet >= 0xC0 ? 2 : 1;
        return longueur > recul ? recul : 0;
    }
    return 0;
}

// UTF-16 lets a surrogate stand alone, which no valid text holds: it becomes
// the replacement character, as an invalid byte sequence does.
void remplace_substituts_isoles(QString& texte) {
    const qsizetype n = texte.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = texte.at(i);
        if (!c.isSurrogate())
            continue;
        if (c.isHighSurrogate() && i + 1 < n && texte.at(i + 1).isLowSurrogate())
            ++i;
        else
            texte[i] = QChar::ReplacementCharacter;
    }
}

} // namespace

TableInputStream::TableInputStream() = default;
TableInputStream::~TableInputStream() = default;

void TableInputStream::Open(const QString& fichier, codage_texte codage_fichier,
                            const QString& delimiteur) {
    // Only a regular file: opening a pipe would wait for a writer.
    auto flux = std::make_unique<QFile>(fichier);
    if (!QFileInfo(fichier).isFile() || !flux->open(QIODevice::ReadOnly))
        throw echec_lecture("data file cannot be opened");
    nb_cars_total = static_cast<std::uint64_t>(std::max<qint64>(flux->size(), 0));
    codage = codage_fichier;

    // The byte-order and UTF-8 marks.
    qint64 marque = 0;
    sens_utf16_correct = true;
    if (codage == codage_texte::utf8) {
        const QByteArray debut = flux->peek(3);
        if (debut == "\xEF\xBB\xBF" || debut == "\xEF\xBF\xBE")
            marque = 3;
    } else if (codage == codage_texte::utf16) {
        const QByteArray debut = flux->peek(2);
        if (debut == "\xFE\xFF") {
            marque = 2;
        } else if (debut == "\xFF\xFE") {
            marque = 2;
            sens_utf16_correct = false;
        }
    }
    flux->read(marque);
    tis = std::move(flux);
    decodeur = decodeur_pour(codage, sens_utf16_correct);
    reste.clear();
    tampon.clear();
    indice = 0;
    octets_avant_tampon = static_cast<std::uint64_t>(marque);
    octets_tampon = 0;
    fin_fichier = tis->atEnd();

    valeur_separateur_entree = delimiteur.isEmpty() ? 0 : delimiteur.at(0).unicode();
    chaine_retour_chariot = QStringLiteral("\r");
    chaine_separateur_sortie = QStringLiteral("\t");
    nb_colonnes_maxi = 0;
    guillemet_ouvert = false;
}

bool TableInputStream::lit_bloc() {
    while (indice >= tampon.size()) {
        if (fin_fichier || !tis)
            return false;
        QByteArray octets = reste + tis->read(taille_bloc);
        fin_fichier = tis->atEnd();
        const qsizetype coupes =
            fin_fichier ? 0 : octets_coupes(octets, codage, sens_utf16_correct);
        reste = octets.right(coupes);
        octets.chop(coupes);
        octets_avant_tampon += octets_tampon;
        octets_tampon = static_cast<std::uint64_t>(octets.size());
        tampon = decodeur.decode(octets);
        if (codage == codage_texte::utf16) {
            // A last odd byte is no character: it is marked as invalid.
            if (octets.size() % 2)
                tampon = decodeur.decode(QByteArrayView(octets).chopped(1)) +
                         QChar(QChar::ReplacementCharacter);
            remplace_substituts_isoles(tampon);
        }
        indice = 0;
    }
    return true;
}

bool TableInputStream::Eof() const {
    return indice >= tampon.size() && (fin_fichier || !tis);
}

void TableInputStream::Close() {
    tis.reset();
    tampon.clear();
    reste.clear();
    indice = 0;
    fin_fichier = true;
}

std::int32_t TableInputStream::Percent() const {
    if (nb_cars_total == 0)
        return 100;
    // Within a chunk the position is taken in proportion of its characters.
    double position = static_cast<double>(octets_avant_tampon);
    if (indice >= tampon.size())
        position += static_cast<double>(octets_tampon);
    else
        position += static_cast<double>(octets_tampon) * static_cast<double>(indice) /
                    static_cast<double>(tampon.size());
    const double pourcentage = position / static_cast<double>(nb_cars_total) * 100.0;
    return static_cast<std::int32_t>(std::clamp(pourcentage, 0.0, 100.0));
}

QString TableInputStream::ReadLine() {
    if (valeur_separateur_entree == u',' || valeur_separateur_entree == u';')
        return read_line_csv();
    return read_line_simple();
}

void TableInputStream::maj_nb_colonnes_maxi(std::int32_t n) {
    nb_colonnes_maxi = std::max(nb_colonnes_maxi, n);
}

void TableInputStream::saute_lf_apres_cr() {
    if (disponible() && tampon.at(indice) == u'\n')
        ++indice;
}

namespace {

// Writes a record straight into its text, growing it by doubling; one
// allocation for most records.
class ecrivain {
public:
    explicit ecrivain(QString& texte) : texte(texte) { place(0); }
    void ajoute(char16_t c) {
        place(1);
        p[pos++] = c;
    }
    void ajoute(const char16_t* d, qsizetype n) {
        place(n);
        std::copy(d, d + n, p + pos);
        pos += n;
    }
    void ajoute(const QString& s) {
        ajoute(reinterpret_cast<const char16_t*>(s.constData()), s.size());
    }
    void termine() { texte.resize(pos); }

private:
    void place(qsizetype n) {
        if (pos + n <= capacite)
            return;
        capacite = std::max<qsizetype>({capacite * 2, pos + n, 120});
        texte.resize(capacite);
        p = reinterpret_cast<char16_t*>(texte.data());
    }
    QString& texte;
    char16_t* p = nullptr;
    qsizetype pos = 0;
    qsizetype capacite = 0;
};

} // namespace

QString TableInputStream::read_line_simple() {
    QString enregistrement;
    ecrivain e(enregistrement);
    const auto separateur = static_cast<char16_t>(valeur_separateur_entree);
    std::int32_t champs = 1;
    bool fin = false;
    bool retour_chariot = false;
    while (!fin && disponible()) {
        const char16_t* d = reinterpret_cast<const char16_t*>(tampon.constData());
        const qsizetype n = tampon.size();
        qsizetype i = indice;
        qsizetype debut = i;
        for (; i < n; ++i) {
            const char16_t c = d[i];
            if (c == u'\r' || c == u'\n') {
                fin = true;
                retour_chariot = c == u'\r';
                break;
            }
            if (c == separateur || c == u'\t') {
                // Every delimiter, and a TAB of a vertical-bar file, is a field boundary.
                e.ajoute(d + debut, i - debut);
                e.ajoute(u'\t');
                debut = i + 1;
                ++champs;
            }
        }
        e.ajoute(d + debut, i - debut);
        indice = fin ? i + 1 : i;
    }
    if (retour_chariot)
        saute_lf_apres_cr();
    e.termine();
    maj_nb_colonnes_maxi(champs);
    return enregistrement;
}

QString TableInputStream::read_line_csv() {
    enum { debut_champ, champ_simple, champ_entre_guillemets };
    const auto separateur = static_cast<char16_t>(valeur_separateur_entree);
    QString enregistrement;
    ecrivain e(enregistrement);
    int etat = debut_champ;
    bool guillemet_vu = false;
    std::int32_t champs = 1;
    bool fin = false;
    bool retour_chariot = false;
    while (!fin && disponible()) {
        const char16_t* d = reinterpret_cast<const char16_t*>(tampon.constData());
        const qsizetype n = tampon.size();
        qsizetype i = indice;
        while (i < n && !fin) {
            // Ordinary characters inside a field are copied by runs.
            if (etat == champ_simple || (etat == champ_entre_guillemets && !guillemet_vu)) {
                qsizetype j = i;
                while (j < n) {
                    const char16_t c = d[j];
                    if (c == u'"' || c == separateur || c == u'\r' || c == u'\n')
                        break;
                    ++j;
                }
                e.ajoute(d + i, j - i);
                i = j;
                if (i == n)
                    break;
            }
            const char16_t c = d[i++];
            switch (etat) {
            case debut_champ:
                if (c == u'"') {
                    etat = champ_entre_guillemets;
                    guillemet_vu = false;
                } else if (c == separateur) {
                    e.ajoute(u'\t');
                    ++champs;
                } else if (c == u'\n' || c == u'\r') {
                    fin = true;
                    retour_chariot = c == u'\r';
                } else {
                    e.ajoute(c);
                    etat = champ_simple;
                }
                break;
            case champ_simple:
                if (c == u'"') {
                    e.ajoute(erreur_csv);
                } else if (c == separateur) {
                    e.ajoute(u'\t');
                    ++champs;
                    etat = debut_champ;
                } else if (c == u'\n' || c == u'\r') {
                    fin = true;
                    retour_chariot = c == u'\r';
                } else {
                    e.ajoute(c);
                }
                break;
            default: // champ_entre_guillemets
                if (c == u'"') {
                    if (guillemet_vu)
                        e.ajoute(u'"');
                    guillemet_vu = !guillemet_vu;
                } else if (c == separateur) {
                    if (guillemet_vu) {
                        e.ajoute(u'\t');
                        ++champs;
                        etat = debut_champ;
                    } else {
                        e.ajoute(c);
                    }
                    guillemet_vu = false;
                } else if (c == u'\n' || c == u'\r') {
                    if (guillemet_vu) {
                        fin = true;
                        retour_chariot = c == u'\r';
                    } else {
                        e.ajoute(chaine_retour_chariot);
                    }
                    guillemet_vu = false;
                } else {
                    // A lone quote followed by any other character is dropped.
                    e.ajoute(c);
                    guillemet_vu = false;
                }
                break;
            }
        }
        indice = i;
    }
    if (retour_chariot)
        saute_lf_apres_cr();
    // A quote that would close the field at the end of the file has closed it.
    guillemet_ouvert = !fin && etat == champ_entre_guillemets && !guillemet_vu;
    e.termine();
    maj_nb_colonnes_maxi(champs);
    return enregistrement;
}
