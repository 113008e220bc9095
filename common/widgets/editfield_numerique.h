#pragma once

#include <QLineEdit>

// A one-line field that accepts only a decimal number, typed at the keyboard,
// pasted or dropped: digits, at most one separator ("," or "."), at most so
// many characters before and after the separator. Text that the owner puts
// into the field (setText) is not filtered.
class editfield_numerique : public QLineEdit {
    Q_OBJECT
public:
    explicit editfield_numerique(QWidget* parent = nullptr);

    int nb_maxi_chiffres_entiers = 12; // characters before the separator
    int nb_maxi_chiffes_decimaux = 12; // characters after it

    // Filter of one typed key, given as the characters it types (the editing
    // and arrow keys by their classic character codes: 3 Enter, 8 Backspace,
    // 9 Tab, 13 Return, 28-31 arrows, 127 forward delete). True refuses the key.
    bool Event_KeyDown(const QString& touche) const;

    // The characters of a key press as Event_KeyDown takes them; "" for a key
    // that types nothing (refused).
    static QString touche(const QKeyEvent& evenement);

protected:
    bool event(QEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;
};
