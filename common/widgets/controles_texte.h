#pragma once

#include <QColor>
#include <QLabel>
#include <QPlainTextEdit>
#include <QString>
#include <QWidget>

class QAbstractScrollArea;
class QFocusEvent;
class QKeyEvent;
class QMimeData;
class QPainter;
class QProgressBar;

// A surface that paints a word-wrapped text with a margin and a vertical
// placement: centred ("center"), against the bottom ("down"), or, for any
// other value, from the top with the control's height fitted to the text.
// The owner sets the properties and asks for a redraw (update()).
//
// The text may hold CR line ends: they are drawn as line breaks and stay in
// `Text` as they are. So does the space before ":", ";", "!" and "?", drawn
// as a no-break space (signes_lies). Assistive technology reads the control
// as a static text named by its text.
class st_centre : public QWidget {
    Q_OBJECT
public:
    explicit st_centre(QWidget* parent = nullptr);

    QString centrage_vertical = QStringLiteral("center");
    QString Text;
    QString TextFont = QStringLiteral("System");
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    QColor TextColor = QColor(0, 0, 0);
    int TextSize = 13; // pixels
    QColor BackColor = QColor(255, 255, 255);
    int marge = 0;

    // Where the text goes, as the next paint places it.
    struct disposition {
        int largeur_ligne;    // wrap width
        int hauteur_texte;    // height of the wrapped text
        int ligne_base;       // baseline of the first line
        int hauteur_controle; // the control's height after the paint
    };
    disposition calcule_disposition() const;

    // The font the text is drawn in.
    QFont police() const;

protected:
    void paintEvent(QPaintEvent* evenement) override;

private:
    // The text last painted, that assistive technology was told of.
    QString texte_signale;
};

// An st_centre that places its text against the bottom.
class st_bas : public st_centre {
    Q_OBJECT
public:
    explicit st_bas(QWidget* parent = nullptr);
};

// A label that shows how far a progress bar has gone, as "33 %".
class st_jauge : public QLabel {
    Q_OBJECT
public:
    explicit st_jauge(QWidget* parent = nullptr);

    // The integer part of value × 100 / maximum, kept within 0 to 100; "0 %"
    // for a bar whose maximum is 0 or less.
    void affiche_pourcentage(const QProgressBar& pb);
};

// `texte` as a wrapped text is shown: the space that French puts before ":",
// ";", "!" and "?" becomes a no-break space, so that the sign never starts a
// line of its own. Only what is drawn changes, never a stored text.
QString signes_lies(QString texte);

// The text of a multi-line field as the user typed it, lines ended by "\n".
// QPlainTextEdit::toPlainText() would turn its no-break spaces into blanks.
QString texte_zone(const QPlainTextEdit& zone);

// A multi-line field of plain text, for every multi-line box of the
// application. A paste (keys, menu, middle click) or a drop brings in the
// plain text it carries, where the cursor is, as if typed: nothing when it
// carries none, and never its formatting. Qt's own insertion reads the first
// format offered without looking whether there is one: on an empty X11
// clipboard, where nothing is offered, Qt 6.4 ends the program.
//
// Lines wrap at word boundaries, a word too long for the box anywhere; a box
// that holds a line of more than `ligne_longue` characters (a pasted block
// of base64, a spreadsheet's row) breaks its lines anywhere until it holds
// none: Qt takes a time that grows with the square of a run without a break
// opportunity to lay it out the other way, minutes for a megabyte.
class zone_texte : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit zone_texte(QWidget* parent = nullptr);

    static constexpr int ligne_longue = 10000;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Chooses the wrap mode before Qt lays out the changed text.
    void document_contentsChange(int position, int retires, int ajoutes);
};

// Gives the multi-line box `zone` (a text field or a list) a frame drawn over
// everything it shows: one pixel in its palette's mid-grey, on whole device
// pixels (trace_contour). The style's own frame is not drawn: its box keeps
// its room, but at fractional scale factors the content covers its lines in
// part, or whole. Call it once per box.
void encadre_zone(QAbstractScrollArea* zone);

// Whether `evenement` is a key that acts on a focused button: Return or
// keypad Enter, and Space when `espace`, pressed with no other modifier.
bool touche_action(const QKeyEvent& evenement, bool espace);

// The focus of a control painted here: a rounded frame in the colour the
// platform marks the focus with, drawn while the control has the focus,
// unless a click brought it there (the frame tells where the keys go).
class cadre_focus {
public:
    // Called from the control's focusInEvent.
    void entree(const QFocusEvent& evenement);
    // Draws the frame on `rectangle` when `controle` has the focus.
    void dessine(QPainter& peintre, const QWidget& controle, const QRect& rectangle) const;

private:
    bool par_clic = false;
};

// A label that looks and acts as a hyperlink: grey, bold and underlined; dark
// red while pressed; Action() when a press is released over it. It takes the
// focus as a button does, shows it with a frame around its text unless a
// click brought it there, and acts on Space (pressed, then released) and on
// Return as on a click. Assistive technology reads it as a focusable link
// whose press action raises Action().
class st_lien : public QLabel {
    Q_OBJECT
public:
    explicit st_lien(QWidget* parent = nullptr);

    static inline const QColor gris_lien = QColor(0x26, 0x26, 0x26);
    static inline const QColor rouge_presse = QColor(0x78, 0x00, 0x00);

    QColor TextColor() const;
    void setTextColor(const QColor& couleur);

signals:
    void Action();

protected:
    void enterEvent(QEnterEvent* evenement) override;
    void leaveEvent(QEvent* evenement) override;
    void mousePressEvent(QMouseEvent* evenement) override;
    void mouseReleaseEvent(QMouseEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;
    void keyReleaseEvent(QKeyEvent* evenement) override;
    void focusInEvent(QFocusEvent* evenement) override;
    void focusOutEvent(QFocusEvent* evenement) override;
    void paintEvent(QPaintEvent* evenement) override;

private:
    // Space is down on the link: its release acts.
    bool espace_enfonce = false;
    cadre_focus cadre;
};
