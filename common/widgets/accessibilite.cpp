#include "accessibilite.h"

#include <QHash>
#include <QWidget>

namespace accessibilite {

namespace {

QHash<QString, fabrique>& registre() {
    static QHash<QString, fabrique> fabriques;
    return fabriques;
}

// Qt asks with each class name of the object's hierarchy in turn, the most
// derived first, until a factory answers.
QAccessibleInterface* fabrique_application(const QString& classe, QObject* objet) {
    if (!objet || !objet->isWidgetType())
        return nullptr;
    const auto trouvee = registre().constFind(classe);
    return trouvee == registre().cend() ? nullptr : (*trouvee)(static_cast<QWidget*>(objet));
}

} // namespace

void enregistre(const char* classe, fabrique f) {
    static const bool installee = [] {
        QAccessible::installFactory(&fabrique_application);
        return true;
    }();
    Q_UNUSED(installee)
    registre().insert(QString::fromLatin1(classe), f);
}

QString texte_annonce(QString texte) {
    texte.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texte.replace(u'\r', u'\n');
    return texte;
}

controle_peint::controle_peint(QWidget* controle, QAccessible::Role role,
                               std::function<QString()> nom, std::function<void()> appui)
    : QAccessibleWidget(controle, role), nom_(std::move(nom)), appui_(std::move(appui)) {}

QString controle_peint::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return nom_();
    return QAccessibleWidget::text(t);
}

QStringList controle_peint::actionNames() const {
    QStringList actions = QAccessibleWidget::actionNames();
    if (appui_)
        actions.prepend(pressAction());
    return actions;
}

void controle_peint::doAction(const QString& action) {
    if (action != pressAction() || !appui_) {
        QAccessibleWidget::doAction(action);
        return;
    }
    // A disabled control ignores the press, as it ignores the mouse.
    if (widget()->isEnabled())
        appui_();
}

} // namespace accessibilite
