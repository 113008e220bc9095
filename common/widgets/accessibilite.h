#pragma once

// What assistive technology reads of the controls that paint themselves.
// Qt's own factory answers for its standard widgets; the application adds one
// factory of its own, installed on first use, that answers for the classes
// registered here.

#include <QAccessibleWidget>
#include <QString>

#include <functional>

namespace accessibilite {

using fabrique = QAccessibleInterface* (*)(QWidget*);

// Widgets of class `classe` (the name moc gives it), and of its subclasses
// that register nothing of their own, are answered by what `f` makes.
// Registering a class again replaces its maker.
void enregistre(const char* classe, fabrique f);

// A text as it is read out: CR and CR LF line ends become "\n".
QString texte_annonce(QString texte);

// A painted control read as `role`, named by `nom` (the widget's accessible
// name wins when it has one). With `appui`, the control offers the press
// action, which runs `appui` while the widget is enabled.
class controle_peint : public QAccessibleWidget {
public:
    controle_peint(QWidget* controle, QAccessible::Role role, std::function<QString()> nom,
                   std::function<void()> appui = {});

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

private:
    std::function<QString()> nom_;
    std::function<void()> appui_;
};

} // namespace accessibilite
