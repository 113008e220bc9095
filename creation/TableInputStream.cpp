#include "TableInputStream.h"

#include "ecriture_fichiers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringView>

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Makes the decoder of `codage` in `decodeur`. It is built in place and
// never moved: Qt's ICU converters count their errors in the decoder they
// were made in, whatever it was moved into since.
void prepare_decodeur(std::optional<QStringDecoder>& decodeur, codage_texte codage,
                      bool gros_boutiste) {
    // Marks are handled by the reader; a U+FEFF further on is text.
    const auto drapeaux =
        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    switch (codage) {
    case codage_texte::ascii:
        decodeur.emplace("US-ASCII", drapeaux);
        break;
    case codage_texte::mac_roman:
        decodeur.emplace("macintosh", drapeaux);
        break;
    case codage_texte::windows_ansi:
        decodeur.emplace("windows-1252", drapeaux);
        break;
    case codage_texte::utf8:
        decodeur.emplace(QStringConverter::Utf8, drapeaux);
        break;
    case codage_texte::utf16:
        decodeur.emplace(gros_boutiste ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                         drapeaux);
        break;
    }
    if (!decodeur->isValid()) // a Qt without the ICU codecs: keep every byte as a character
        decodeur.emplace(QStringConverter::Latin1, drapeaux);
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

// Puts the replacement character in place of every character of `texte`
// that `illisible` tells, and notes where in `illisibles`.
template <class Test>
void remplace_illisibles(QString& texte, QList<qsizetype>& illisibles, Test illisible) {
    for (qsizetype i = 0; i < texte.size(); ++i) {
        if (illisible(texte.at(i))) {
            texte[i] = QChar::ReplacementCharacter;
            illisibles.append(i);
        }
    }
}

// UTF-16 lets a surrogate stand alone, which no valid text holds: it becomes
// the replacement character, as an invalid byte sequence does.
void remplace_substituts_isoles(QString& texte, QList<qsizetype>& illisibles) {
    const qsizetype n = texte.size();
    // Most texts hold no surrogate at all: one pass without a branch tells.
    const char16_t* d = reinterpret_cast<const char16_t*>(texte.constData());
    bool substitut = false;
    for (qsizetype i = 0; i < n; ++i)
        substitut |= QChar::isSurrogate(d[i]);
    if (!substitut)
        return;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = texte.at(i);
        if (!c.isSurrogate())
            continue;
        if (c.isHighSurrogate() && i + 1 < n && texte.at(i + 1).isLowSurrogate()) {
            ++i;
        } else {
            texte[i] = QChar::ReplacementCharacter;
            illisibles.append(i);
        }
    }
}

// ASCII stands for no byte above 127. Whatever the decoder made of such a
// byte (ICU gives the replacement character, some of its converters U+001A),
// the chunk is decoded again byte for byte.
QString texte_ascii(QByteArrayView octets, QList<qsizetype>& illisibles) {
    QString texte = QString::fromLatin1(octets);
    remplace_illisibles(texte, illisibles, [](QChar c) { return c.unicode() > 0x7F; });
    return texte;
}

// The UTF-8 decoder gives the replacement character for bytes that are no
// character, and for EF BF BD, which encode it as text of the file. EF never
// continues a sequence and always begins this one, so the chunk is decoded
// again piece by piece between them, to the same text: the replacement
// characters within the pieces are the unreadable bytes.
QString texte_utf8(QStringDecoder& decodeur, QByteArrayView octets, QList<qsizetype>& illisibles) {
    static constexpr QByteArrayView remplacement_utf8("\xEF\xBF\xBD");
    QString texte;
    texte.reserve(octets.size());
    for (qsizetype debut = 0;;) {
        const qsizetype fin = octets.indexOf(remplacement_utf8, debut);
        const QString morceau =
            decodeur.decode(octets.sliced(debut, (fin < 0 ? octets.size() : fin) - debut));
        for (qsizetype i = 0; i < morceau.size(); ++i)
            if (morceau.at(i) == QChar::ReplacementCharacter)
                illisibles.append(texte.size() + i);
        texte += morceau;
        if (fin < 0)
            return texte;
        texte += QChar(QChar::ReplacementCharacter);
        debut = fin + remplacement_utf8.size();
    }
}

// Windows ANSI leaves five bytes undefined, which the decoder gives as the C1
// control characters of the same codes. Every defined byte of 0x80 to 0x9F
// stands for another character, so only those five give a C1 control.
constexpr char octets_indefinis_windows[] = {'\x81', '\x8D', '\x8F', '\x90', '\x9D'};

void remplace_controles_c1(QString& texte, QList<qsizetype>& illisibles) {
    remplace_illisibles(texte, illisibles,
                        [](QChar c) { return c.unicode() >= 0x80 && c.unicode() <= 0x9F; });
}

QString ouverture_impossible(const QString& raison) {
    return QStringLiteral("le fichier de données n'a pas pu être ouvert\u00A0: ") + raison;
}

QString lecture_impossible(int erreur) {
    return QStringLiteral("le fichier de données n'a pas pu être lu\u00A0: ") +
           bibliotheque_v1::raison_systeme(erreur);
}

qint64 date_modification(const struct stat& etat) {
    return static_cast<qint64>(etat.st_mtim.tv_sec) * 1000000000 + etat.st_mtim.tv_nsec;
}

// Writes a record into the reader's building space, which grows by doubling
// and keeps its size for the next records; the record then goes out as a
// copy of its own length. Past `limite` characters nothing more is written,
// and the record is marked as cut.
class ecrivain {
public:
    ecrivain(QString& espace, qsizetype limite)
        : espace(espace), limite(std::max<qsizetype>(limite, 0)), capacite(espace.size()) {
        if (capacite > 0)
            p = reinterpret_cast<char16_t*>(espace.data());
    }
    // False when the character was not kept.
    bool ajoute(char16_t c) {
        if (pos == capacite && !agrandit(1))
            return false;
        p[pos++] = c;
        return true;
    }
    void ajoute(const char16_t* d, qsizetype n) {
        if (pos + n > capacite && !agrandit(n))
            n = capacite - pos;
        std::copy(d, d + n, p + pos);
        pos += n;
    }
    void ajoute(const QString& s) {
        ajoute(reinterpret_cast<const char16_t*>(s.constData()), s.size());
    }
    // The record so far.
    QStringView texte() const { return QStringView(p, pos); }
    QString termine() const {
        return pos > 0 ? QString(reinterpret_cast<const QChar*>(p), pos) : QString();
    }
    bool coupe() const { return coupe_; }

private:
    // Makes room for `n` more characters within the limit; false, and the
    // record is cut, when they do not all fit.
    bool agrandit(qsizetype n) {
        if (capacite < limite) {
            capacite = std::min(std::max<qsizetype>({capacite * 2, pos + n, 120}), limite);
            espace.resize(capacite);
            p = reinterpret_cast<char16_t*>(espace.data());
        }
        if (pos + n <= capacite)
            return true;
        coupe_ = true;
        return false;
    }
    QString& espace;
    const qsizetype limite;
    char16_t* p = nullptr;
    qsizetype pos = 0;
    qsizetype capacite;
    bool coupe_ = false;
};

} // namespace

TableInputStream::TableInputStream() = default;

TableInputStream::~TableInputStream() {
    Close();
}

void TableInputStream::Open(const QString& fichier, codage_texte codage_fichier,
                            const QString& delimiteur) {
    Close();
    // Without waiting for a writer, should it be a pipe: only a regular file is read.
    descripteur = ::open(QFile::encodeName(fichier).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descripteur < 0) {
        const int erreur = errno;
        // The system says the same of a missing file and of a missing folder.
        throw echec_lecture(
            ouverture_impossible(erreur == ENOENT && QFileInfo(fichier).absoluteDir().exists()
                                     ? QStringLiteral("il n'existe pas.")
                                     : bibliotheque_v1::raison_systeme(erreur)));
    }
    try {
        struct stat etat = {};
        if (::fstat(descripteur, &etat) != 0)
            throw echec_lecture(ouverture_impossible(bibliotheque_v1::raison_systeme(errno)));
        if (!S_ISREG(etat.st_mode))
            throw echec_lecture(ouverture_impossible(
                S_ISDIR(etat.st_mode) ? bibliotheque_v1::raison_systeme(EISDIR)
                                      : QStringLiteral("ce n'est pas un fichier ordinaire.")));
        taille_ouverture = etat.st_size;
        date_ouverture = date_modification(etat);
        nb_cars_total = static_cast<std::uint64_t>(std::max<qint64>(taille_ouverture, 0));
        octets_lus = 0;
        fin_fichier = false;
        codage = codage_fichier;

        // The byte-order and UTF-8 marks. The first bytes are read whatever
        // the encoding, so that an empty file is at its end at once.
        QByteArray debut;
        while (debut.size() < 3 && !fin_fichier)
            lit_octets(debut, 3 - debut.size());
        qsizetype marque = 0;
        sens_utf16_correct = true;
        if (codage == codage_texte::utf8) {
            if (debut.startsWith("\xEF\xBB\xBF") || debut.startsWith("\xEF\xBF\xBE"))
                marque = 3;
        } else if (codage == codage_texte::utf16) {
            if (debut.startsWith("\xFE\xFF")) {
                marque = 2;
            } else if (debut.startsWith("\xFF\xFE")) {
                marque = 2;
                sens_utf16_correct = false;
            }
        }
        prepare_decodeur(decodeur, codage, sens_utf16_correct);
        reste = debut.mid(marque);
        tampon.clear();
        indice = 0;
        illisibles.clear();
        illisible_suivant = 0;
        octets_avant_tampon = static_cast<std::uint64_t>(marque);
        octets_tampon = 0;

        valeur_separateur_entree = delimiteur.isEmpty() ? 0 : delimiteur.at(0).unicode();
        chaine_retour_chariot = QStringLiteral("\r");
        chaine_separateur_sortie = QStringLiteral("\t");
        nb_colonnes_maxi = 0;
        guillemet_ouvert = false;
        trop_long = false;
        premiere_colonne_illisible = 0;
    } catch (...) {
        Close();
        throw;
    }
}

void TableInputStream::lit_octets(QByteArray& octets, qint64 n) {
    const qsizetype avant = octets.size();
    octets.resize(avant + n);
    ssize_t lus;
    do
        lus = ::read(descripteur, octets.data() + avant, static_cast<size_t>(n));
    while (lus < 0 && errno == EINTR);
    if (lus < 0)
        throw echec_lecture(lecture_impossible(errno));
    octets.resize(avant + lus);
    octets_lus += lus;
    // The size the file had at Open ends the reading; a file that ends
    // before has changed.
    if (lus == 0 || octets_lus >= taille_ouverture) {
        verifie_inchange();
        fin_fichier = true;
    }
}

void TableInputStream::verifie_inchange() const {
    struct stat etat = {};
    if (::fstat(descripteur, &etat) != 0)
        throw echec_lecture(lecture_impossible(errno));
    if (octets_lus != taille_ouverture || etat.st_size != taille_ouverture ||
        date_modification(etat) != date_ouverture)
        throw echec_lecture(QStringLiteral("le fichier de données a changé pendant la lecture."));
}

bool TableInputStream::lit_bloc() {
    while (indice >= tampon.size()) {
        if (descripteur < 0 || (fin_fichier && reste.isEmpty()))
            return false;
        QByteArray octets = std::move(reste);
        reste = QByteArray();
        if (!fin_fichier)
            lit_octets(octets, taille_bloc);
        const qsizetype coupes =
            fin_fichier ? 0 : octets_coupes(octets, codage, sens_utf16_correct);
        reste = octets.right(coupes);
        octets.chop(coupes);
        octets_avant_tampon += octets_tampon;
        octets_tampon = static_cast<std::uint64_t>(octets.size());
        tampon = decodeur->decode(octets);
        illisibles.clear();
        illisible_suivant = 0;
        switch (codage) {
        case codage_texte::utf16:
            // A last odd byte is no character: it is marked as invalid.
            if (octets.size() % 2)
                tampon = decodeur->decode(QByteArrayView(octets).chopped(1)) +
                         QChar(QChar::ReplacementCharacter);
            remplace_substituts_isoles(tampon, illisibles);
            if (octets.size() % 2)
                illisibles.append(tampon.size() - 1);
            break;
        case codage_texte::ascii:
            // The decoder counts every byte above 127 as an error; the count
            // stays, so every chunk after a first error is decoded again.
            if (decodeur->hasError())
                tampon = texte_ascii(octets, illisibles);
            break;
        case codage_texte::windows_ansi:
            if (std::any_of(std::begin(octets_indefinis_windows),
                            std::end(octets_indefinis_windows),
                            [&](char o) { return octets.contains(o); }))
                remplace_controles_c1(tampon, illisibles);
            break;
        case codage_texte::utf8:
            // The decoder's error count starts again with each chunk.
            if (decodeur->hasError())
                tampon = texte_utf8(*decodeur, octets, illisibles);
            decodeur->resetState();
            break;
        default:
            // Every byte of Mac Roman stands for a character.
            break;
        }
        indice = 0;
    }
    return true;
}

bool TableInputStream::Eof() const {
    return indice >= tampon.size() && ((fin_fichier && reste.isEmpty()) || descripteur < 0);
}

void TableInputStream::Close() {
    if (descripteur >= 0)
        ::close(descripteur);
    descripteur = -1;
    tampon.clear();
    reste.clear();
    enregistrement_en_cours = QString();
    indice = 0;
    illisibles.clear();
    illisible_suivant = 0;
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
    premiere_colonne_illisible = 0;
    if (valeur_separateur_entree == u',' || valeur_separateur_entree == u';')
        return read_line_csv();
    return read_line_simple();
}

void TableInputStream::maj_nb_colonnes_maxi(std::int32_t n) {
    nb_colonnes_maxi = std::max(nb_colonnes_maxi, n);
}

void TableInputStream::attribue_illisibles(qsizetype fin, QStringView ecrit) {
    if (premiere_colonne_illisible == 0)
        premiere_colonne_illisible = static_cast<std::int32_t>(ecrit.count(u'\t')) + 1;
    while (illisible_suivant < illisibles.size() && illisibles.at(illisible_suivant) < fin)
        ++illisible_suivant;
}

void TableInputStream::saute_lf_apres_cr() {
    if (disponible() && tampon.at(indice) == u'\n')
        ++indice;
}

QString TableInputStream::read_line_simple() {
    ecrivain e(enregistrement_en_cours, longueur_maximale);
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
                note_illisibles(i, e.texte());
                if (e.ajoute(u'\t'))
                    ++champs;
                debut = i + 1;
            }
        }
        e.ajoute(d + debut, i - debut);
        note_illisibles(i, e.texte());
        indice = fin ? i + 1 : i;
    }
    if (retour_chariot)
        saute_lf_apres_cr();
    trop_long = e.coupe();
    maj_nb_colonnes_maxi(champs);
    return e.termine();
}

QString TableInputStream::read_line_csv() {
    enum { debut_champ, champ_simple, champ_entre_guillemets };
    const auto separateur = static_cast<char16_t>(valeur_separateur_entree);
    ecrivain e(enregistrement_en_cours, longueur_maximale);
    int etat = debut_champ;
    bool guillemet_vu = false;
    // The last unit was a CR inside a quoted field: an LF right after it
    // ends the same line (a cell typed on Windows holds CR LF).
    bool cr_dans_champ = false;
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
                    // The delimiter is above the quote; TAB, CR and LF are below it.
                    if (c == separateur ||
                        (c <= u'"' && (c == u'"' || c == u'\t' || c == u'\r' || c == u'\n')))
                        break;
                    ++j;
                }
                if (j > i)
                    cr_dans_champ = false;
                e.ajoute(d + i, j - i);
                i = j;
                // A character that the switch below appends alone is followed
                // by such a run, or by the end of the chunk.
                note_illisibles(i, e.texte());
                if (i == n)
                    break;
            }
            const char16_t c = d[i++];
            const bool apres_cr = std::exchange(cr_dans_champ, false);
            switch (etat) {
            case debut_champ:
                if (c == u'"') {
                    etat = champ_entre_guillemets;
                    guillemet_vu = false;
                } else if (c == separateur) {
                    if (e.ajoute(u'\t'))
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
                    e.ajoute(marque_erreur_csv);
                } else if (c == separateur) {
                    if (e.ajoute(u'\t'))
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
                        if (e.ajoute(u'\t'))
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
                    } else if (c == u'\r' || !apres_cr) {
                        e.ajoute(chaine_retour_chariot);
                        cr_dans_champ = c == u'\r';
                    }
                    guillemet_vu = false;
                } else if (c == u'\t') {
                    // Once the fields are joined by TAB, the TAB would split
                    // its field: its mark stands in its place. A lone quote
                    // before it is dropped.
                    e.ajoute(marque_tabulation);
                    guillemet_vu = false;
                } else {
                    // A lone quote followed by any other character is dropped.
                    e.ajoute(c);
                    guillemet_vu = false;
                }
                break;
            }
        }
        note_illisibles(i, e.texte());
        indice = i;
    }
    if (retour_chariot)
        saute_lf_apres_cr();
    // A quote that would close the field at the end of the file has closed it.
    guillemet_ouvert = !fin && etat == champ_entre_guillemets && !guillemet_vu;
    trop_long = e.coupe();
    maj_nb_colonnes_maxi(champs);
    return e.termine();
}
