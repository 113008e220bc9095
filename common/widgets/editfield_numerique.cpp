#include "editfield_numerique.h"

#include <QKeyEvent>
#include <QValidator>

namespace {

// Whether `texte` keeps within `entiers` characters before the separator
// and `decimaux` after it.
bool longueurs_admises(const QString& texte, int entiers, int decimaux) {
    qsizetype separateur = texte.indexOf(u',');
    if (separateur < 0)
        separateur = texte.indexOf(u'.');
    const qsizetype avant = separateur < 0 ? texte.size() : separateur;
    const qsizetype apres = separateur < 0 ? 0 : texte.size() - separateur - 1;
    return avant <= entiers && apres <= decimaux;
}

// Holds pasted and dropped text to the rule of typed keys: digits, at most
// one separator, the counts on each side. Deleting never brings a character
// in, so cutting a range out of the present text passes, as the editing keys
// do.
class validateur_numerique : public QValidator {
public:
    explicit validateur_numerique(editfield_numerique* champ) : QValidator(champ), champ_(champ) {
        QObject::connect(champ, &QLineEdit::textChanged, this,
                         [this](const QString& texte) { present_ = texte; });
    }

    State validate(QString& texte, int&) const override {
        // What the field holds already, the owner's text included, stands.
        if (texte == present_)
            return Acceptable;
        int separateurs = 0;
        for (const QChar c : texte) {
            if (c == u',' || c == u'.')
                ++separateurs;
            else if (c < u'0' || c > u'9')
                return coupe_du_present(texte) ? Intermediate : Invalid;
        }
        if (separateurs <= 1 && longueurs_admises(texte, champ_->nb_maxi_chiffres_entiers,
                                                  champ_->nb_maxi_chiffes_decimaux))
            return Acceptable;
        return coupe_du_present(texte) ? Intermediate : Invalid;
    }

private:
    // Whether `texte` is the present text with one range taken out.
    bool coupe_du_present(const QString& texte) const {
        if (texte.size() >= present_.size())
            return false;
        qsizetype commun = 0;
        while (commun < texte.size() && texte.at(commun) == present_.at(commun))
            ++commun;
        return present_.endsWith(QStringView(texte).mid(commun));
    }

    const editfield_numerique* champ_;
    QString present_;
};

} // namespace

editfield_numerique::editfield_numerique(QWidget* parent) : QLineEdit(parent) {
    setValidator(new validateur_numerique(this));
}

QString editfield_numerique::touche(const QKeyEvent& evenement) {
    switch (evenement.key()) {
    case Qt::Key_Enter:
        return QString(QChar(3));
    case Qt::Key_Backspace:
        return QString(QChar(8));
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return QString(QChar(9));
    case Qt::Key_Return:
        return QString(QChar(13));
    case Qt::Key_Escape:
        return QString(QChar(27));
    case Qt::Key_Left:
        return QString(QChar(28));
    case Qt::Key_Right:
        return QString(QChar(29));
    case Qt::Key_Up:
        return QString(QChar(30));
    case Qt::Key_Down:
        return QString(QChar(31));
    case Qt::Key_Delete:
        return QString(QChar(127));
    default:
        break;
    }
    // Command combinations (paste, undo...) type nothing into a number.
    if (evenement.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return QString();
    return evenement.text();
}

bool editfield_numerique::Event_KeyDown(const QString& touche) const {
    if (touche.isEmpty())
        return true;
    const char16_t c = touche.at(0).unicode();
    if (c == 3 || c == 8 || c == 13 || c == 28 || c == 29)
        return false;
    const QString present = text();
    if (c == u',' || c == u'.') {
        if (present.contains(u',') || present.contains(u'.'))
            return true;
    } else if (c < u'0' || c > u'9') {
        return true;
    }
    // The text as it would be: the key replaces the selection.
    const qsizetype debut = hasSelectedText() ? selectionStart() : cursorPosition();
    const qsizetype longueur = hasSelectedText() ? selectedText().size() : 0;
    const QString apres = present.left(debut) + touche + present.mid(debut + longueur);
    return !longueurs_admises(apres, nb_maxi_chiffres_entiers, nb_maxi_chiffes_decimaux);
}

bool editfield_numerique::event(QEvent* evenement) {
    // Tab goes through the filter like every key (it would otherwise move the
    // focus before the field sees it); refused, it leaves the focus here.
    if (evenement->type() == QEvent::KeyPress) {
        auto* clavier = static_cast<QKeyEvent*>(evenement);
        if ((clavier->key() == Qt::Key_Tab || clavier->key() == Qt::Key_Backtab) &&
            Event_KeyDown(touche(*clavier))) {
            clavier->accept();
            return true;
        }
    }
    return QLineEdit::event(evenement);
}

void editfield_numerique::keyPressEvent(QKeyEvent* evenement) {
    if (Event_KeyDown(touche(*evenement))) {
        // The text does not change; the window may still use the key (Escape).
        evenement->ignore();
        return;
    }
    QLineEdit::keyPressEvent(evenement);
}
