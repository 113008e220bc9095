#include "editfield_numerique.h"

#include <QKeyEvent>

editfield_numerique::editfield_numerique(QWidget* parent) : QLineEdit(parent) {}

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
    qsizetype separateur = apres.indexOf(u',');
    if (separateur < 0)
        separateur = apres.indexOf(u'.');
    const qsizetype entiers = separateur < 0 ? apres.size() : separateur;
    const qsizetype decimaux = separateur < 0 ? 0 : apres.size() - separateur - 1;
    return entiers > nb_maxi_chiffres_entiers || decimaux > nb_maxi_chiffes_decimaux;
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
