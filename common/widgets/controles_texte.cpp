#include "controles_texte.h"

#include "accessibilite.h"
#include "bibliotheque_divers.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QChildEvent>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <climits>

namespace {

// Qt breaks lines only at "\n": CR and CR LF line ends are drawn as such.
QString lignes_pour_dessin(QString texte) {
    texte.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texte.replace(u'\r', u'\n');
    return signes_lies(texte);
}

constexpr int drapeaux_texte = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

// The text it shows is read as a static text.
QAccessibleInterface* st_centre_accessible(QWidget* controle) {
    auto* zone = static_cast<st_centre*>(controle);
    return new accessibilite::controle_peint(
        zone, QAccessible::StaticText, [zone] { return accessibilite::texte_annonce(zone->Text); });
}

// Read as a link, which the press action follows.
QAccessibleInterface* st_lien_accessible(QWidget* controle) {
    auto* lien = static_cast<st_lien*>(controle);
    return new accessibilite::controle_peint(
        lien, QAccessible::Link, [lien] { return accessibilite::texte_annonce(lien->text()); },
        [lien] { emit lien->Action(); });
}

} // namespace

QString signes_lies(QString texte) {
    // Each space of a run before the sign, so that none breaks the line.
    static const QRegularExpression espace(QStringLiteral(" (?= *[:;!?])"));
    return texte.replace(espace, QStringLiteral("\u00A0"));
}

st_centre::st_centre(QWidget* parent) : QWidget(parent) {
    accessibilite::enregistre("st_centre", &st_centre_accessible);
}

QFont st_centre::police() const {
    QFont fonte = QGuiApplication::font();
    if (TextFont != u"System")
        fonte.setFamily(TextFont);
    if (TextSize > 0)
        fonte.setPixelSize(TextSize);
    fonte.setBold(Bold);
    fonte.setItalic(Italic);
    fonte.setUnderline(Underline);
    return fonte;
}

st_centre::disposition st_centre::calcule_disposition() const {
    disposition d{};
    d.largeur_ligne = width() - 2 * marge;
    // The system font draws a little wider than it measures.
    if (TextFont == u"System")
        d.largeur_ligne = static_cast<int>(d.largeur_ligne * (Bold ? 0.96 : 0.98));
    const QFontMetrics mesures(police());
    if (!Text.isEmpty())
        d.hauteur_texte = mesures
                              .boundingRect(QRect(0, 0, std::max(d.largeur_ligne, 1), INT_MAX / 2),
                                            drapeaux_texte, lignes_pour_dessin(Text))
                              .height();
    const int ascendante = mesures.ascent();
    const int hauteur = height();
    d.hauteur_controle = hauteur;
    if (centrage_vertical == u"down") {
        d.ligne_base = d.hauteur_texte + marge < hauteur
                           ? hauteur - marge - d.hauteur_texte + ascendante
                           : ascendante;
    } else if (centrage_vertical == u"center") {
        d.ligne_base = d.hauteur_texte < hauteur
                           ? static_cast<int>((hauteur - d.hauteur_texte) / 2.0) + ascendante
                           : ascendante;
    } else {
        d.ligne_base = marge + ascendante;
        d.hauteur_controle = d.hauteur_texte + 2 * marge;
    }
    return d;
}

void st_centre::paintEvent(QPaintEvent*) {
    // The owner sets the text and asks for a paint: a new text is announced
    // as it comes on screen.
    if (Text != texte_signale) {
        texte_signale = Text;
        QAccessibleEvent changement(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changement);
    }
    const disposition d = calcule_disposition();
    if (d.hauteur_controle != height())
        resize(width(), d.hauteur_controle);
    QPainter peintre(this);
    peintre.fillRect(QRect(0, 0, width(), d.hauteur_controle), BackColor);
    if (Text.isEmpty())
        return;
    peintre.setFont(police());
    peintre.setPen(TextColor);
    const int haut = d.ligne_base - QFontMetrics(police()).ascent();
    peintre.drawText(QRect(marge, haut, std::max(d.largeur_ligne, 1), INT_MAX / 2), drapeaux_texte,
                     lignes_pour_dessin(Text));
}

st_bas::st_bas(QWidget* parent) : st_centre(parent) {
    centrage_vertical = QStringLiteral("down");
}

st_jauge::st_jauge(QWidget* parent) : QLabel(parent) {}

void st_jauge::affiche_pourcentage(const QProgressBar& pb) {
    long long pourcentage = 0;
    if (pb.maximum() > 0)
        pourcentage = static_cast<long long>(pb.value()) * 100 / pb.maximum();
    // A reset bar holds a value below its minimum.
    pourcentage = std::clamp(pourcentage, 0LL, 100LL);
    setText(QString::number(pourcentage) + QStringLiteral(" %"));
}

st_lien::st_lien(QWidget* parent) : QLabel(parent) {
    accessibilite::enregistre("st_lien", &st_lien_accessible);
    setTextFormat(Qt::PlainText);
    setTextColor(gris_lien);
    QFont fonte = font();
    fonte.setPixelSize(13);
    fonte.setBold(true);
    fonte.setUnderline(true);
    setFont(fonte);
    // Tab reaches it as it reaches the buttons of the platform.
    setFocusPolicy(static_cast<Qt::FocusPolicy>(style()->styleHint(QStyle::SH_Button_FocusPolicy)));
}

QColor st_lien::TextColor() const {
    return palette().color(QPalette::WindowText);
}

void st_lien::setTextColor(const QColor& couleur) {
    // A disabled link keeps the greyed text of disabled controls.
    QPalette couleurs = palette();
    couleurs.setColor(QPalette::Active, QPalette::WindowText, couleur);
    couleurs.setColor(QPalette::Inactive, QPalette::WindowText, couleur);
    setPalette(couleurs);
}

void st_lien::enterEvent(QEnterEvent*) {
    if (isEnabled())
        setCursor(Qt::PointingHandCursor);
}

void st_lien::leaveEvent(QEvent*) {
    setCursor(Qt::ArrowCursor);
}

void st_lien::mousePressEvent(QMouseEvent* evenement) {
    if (evenement->button() != Qt::LeftButton) {
        evenement->ignore();
        return;
    }
    // Taking the press makes the release come here, wherever it happens.
    setTextColor(rouge_presse);
    evenement->accept();
}

void st_lien::mouseReleaseEvent(QMouseEvent* evenement) {
    if (evenement->button() != Qt::LeftButton) {
        evenement->ignore();
        return;
    }
    setCursor(Qt::ArrowCursor);
    setTextColor(gris_lien);
    const QPointF point = evenement->position();
    if (point.x() >= 0 && point.x() <= width() && point.y() >= 0 && point.y() <= height())
        emit Action();
}

bool touche_action(const QKeyEvent& evenement, bool espace) {
    const int touche = evenement.key();
    return (touche == Qt::Key_Return || touche == Qt::Key_Enter ||
            (espace && touche == Qt::Key_Space)) &&
           (evenement.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void cadre_focus::entree(const QFocusEvent& evenement) {
    // Coming back with its window keeps the way the focus came.
    const Qt::FocusReason raison = evenement.reason();
    if (raison != Qt::ActiveWindowFocusReason && raison != Qt::PopupFocusReason)
        par_clic = raison == Qt::MouseFocusReason;
}

void cadre_focus::dessine(QPainter& peintre, const QWidget& controle,
                          const QRect& rectangle) const {
    if (!controle.hasFocus() || par_clic)
        return;
    peintre.save();
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(QPen(controle.palette().color(QPalette::Highlight), 2));
    peintre.setBrush(Qt::NoBrush);
    peintre.drawRoundedRect(QRectF(rectangle), 3, 3);
    peintre.restore();
}

void st_lien::keyPressEvent(QKeyEvent* evenement) {
    if (!touche_action(*evenement, true)) {
        QLabel::keyPressEvent(evenement);
        return;
    }
    evenement->accept();
    if (evenement->isAutoRepeat())
        return;
    if (evenement->key() == Qt::Key_Space) {
        // Pressed as by the mouse; the release acts.
        espace_enfonce = true;
        setTextColor(rouge_presse);
    } else {
        emit Action();
    }
}

void st_lien::keyReleaseEvent(QKeyEvent* evenement) {
    if (evenement->key() != Qt::Key_Space || !espace_enfonce) {
        QLabel::keyReleaseEvent(evenement);
        return;
    }
    evenement->accept();
    if (evenement->isAutoRepeat())
        return;
    espace_enfonce = false;
    setTextColor(gris_lien);
    emit Action();
}

void st_lien::focusInEvent(QFocusEvent* evenement) {
    cadre.entree(*evenement);
    QLabel::focusInEvent(evenement);
    update();
}

void st_lien::focusOutEvent(QFocusEvent* evenement) {
    // Space released elsewhere acts no more, as for a press dragged out.
    if (espace_enfonce) {
        espace_enfonce = false;
        setTextColor(gris_lien);
    }
    QLabel::focusOutEvent(evenement);
    update();
}

void st_lien::paintEvent(QPaintEvent* evenement) {
    QLabel::paintEvent(evenement);
    if (!hasFocus())
        return;
    // The focus frame goes around the text, as high as the control.
    const QRect texte = style()->itemTextRect(fontMetrics(), contentsRect(),
                                              static_cast<int>(alignment()), isEnabled(), text());
    const QRect interieur = rect().adjusted(1, 1, -1, -1);
    QPainter peintre(this);
    cadre.dessine(
        peintre, *this,
        QRect(QPoint(std::max(texte.left() - 4, interieur.left()), interieur.top()),
              QPoint(std::min(texte.right() + 4, interieur.right()), interieur.bottom())));
}

namespace {

// The frame of a box, a child laid over the whole box above its content and
// its scroll bars, which the mouse goes through. It follows the box's size
// and goes back on top whenever another child of the box is raised (as a
// scroll bar is when the box lays itself out). The box's own paint, which
// draws only the style's frame, is held back.
class contour_zone : public QWidget {
public:
    explicit contour_zone(QAbstractScrollArea* zone) : QWidget(zone) {
        setObjectName(QStringLiteral("contour_zone"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(zone->rect());
        zone->installEventFilter(this);
        for (QObject* enfant : zone->children())
            suit(enfant);
        raise();
        show();
    }

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override {
        if (objet != parent()) {
            if (evenement->type() == QEvent::ZOrderChange)
                raise();
            return false;
        }
        switch (evenement->type()) {
        case QEvent::Resize:
            setGeometry(parentWidget()->rect());
            return false;
        case QEvent::ChildAdded:
            suit(static_cast<QChildEvent*>(evenement)->child());
            raise();
            return false;
        case QEvent::Paint:
            return true;
        default:
            return false;
        }
    }

    void paintEvent(QPaintEvent*) override {
        QPainter peintre(this);
        bibliotheque_v1::trace_contour(peintre, rect(), palette().color(QPalette::Mid));
    }

private:
    // Watches another child of the box for its raising.
    void suit(QObject* enfant) {
        if (enfant != this && enfant->isWidgetType())
            enfant->installEventFilter(this);
    }
};

} // namespace

void encadre_zone(QAbstractScrollArea* zone) {
    new contour_zone(zone);
}

zone_texte::zone_texte(QWidget* parent) : QPlainTextEdit(parent) {
    // Connected before Qt's layout hears of a change: the document tells its
    // layout after its listeners.
    connect(document(), &QTextDocument::contentsChange, this, &zone_texte::document_contentsChange);
}

void zone_texte::document_contentsChange(int position, int, int ajoutes) {
    const auto longue = [](const QTextBlock& bloc) { return bloc.length() > ligne_longue; };
    const QTextDocument& texte = *document();
    bool une_longue = false;
    if (wordWrapMode() == QTextOption::WrapAnywhere) {
        // A long line elsewhere may have gone: every line is looked at.
        for (QTextBlock bloc = texte.begin(); bloc.isValid() && !une_longue; bloc = bloc.next())
            une_longue = longue(bloc);
    } else {
        const QTextBlock dernier = texte.findBlock(position + ajoutes);
        for (QTextBlock bloc = texte.findBlock(position); bloc.isValid() && !une_longue;
             bloc = bloc.next()) {
            une_longue = longue(bloc);
            if (bloc == dernier)
                break;
        }
    }
    setWordWrapMode(une_longue ? QTextOption::WrapAnywhere
                               : QTextOption::WrapAtWordBoundaryOrAnywhere);
}

bool zone_texte::canInsertFromMimeData(const QMimeData* source) const {
    return source && source->hasText() && !source->text().isEmpty();
}

void zone_texte::insertFromMimeData(const QMimeData* source) {
    if (!(textInteractionFlags() & Qt::TextEditable) || !canInsertFromMimeData(source))
        return;
    insertPlainText(source->text());
    ensureCursorVisible();
}

QString texte_zone(const QPlainTextEdit& zone) {
    QString texte = zone.document()->toRawText();
    for (const QChar separateur : {QChar(QChar::ParagraphSeparator), QChar(QChar::LineSeparator)})
        texte.replace(separateur, u'\n');
    return texte;
}
