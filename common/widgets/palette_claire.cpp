#include "palette_claire.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <initializer_list>

namespace palette_claire {

namespace {

// Set on the windows that draw with the light palette.
constexpr char marque[] = "valdorin_palette_claire";

// One role: its colour in an active or inactive window, and on a disabled
// control.
struct teinte {
    QPalette::ColorRole role;
    QRgb normale;
    QRgb desactivee;
};

// Qt's own light colours, with the pages' grey for the windows, and a
// selection dark enough for the white text on it to read.
constexpr teinte teintes[] = {
    {QPalette::WindowText, 0x000000, 0xBEBEBE},      // captions, titles, check boxes
    {QPalette::Button, 0xEFEFEF, 0xEFEFEF},          // buttons, popups, headers
    {QPalette::Light, 0xFFFFFF, 0xFFFFFF},           // the light edge of a bevel
    {QPalette::Midlight, 0xCACACA, 0xCACACA},        // the bevels' middle tones
    {QPalette::Dark, 0x9F9F9F, 0xBEBEBE},            // frames
    {QPalette::Mid, 0xB8B8B8, 0xB8B8B8},             // outlines
    {QPalette::Text, 0x000000, 0xBEBEBE},            // the text of fields and lists
    {QPalette::BrightText, 0xFFFFFF, 0xFFFFFF},      // text on a dark fill
    {QPalette::ButtonText, 0x000000, 0xBEBEBE},      // the captions of buttons
    {QPalette::Base, 0xFFFFFF, 0xEFEFEF},            // fields and lists
    {QPalette::Window, gris_page, gris_page},        // windows and pages
    {QPalette::Shadow, 0x767676, 0xB1B1B1},          // shadows
    {QPalette::Highlight, 0x2875A5, 0x919191},       // selection, focus
    {QPalette::HighlightedText, 0xFFFFFF, 0xFFFFFF}, // selected text
    {QPalette::Link, 0x0000FF, 0x0000FF},            // links in a rich text
    {QPalette::LinkVisited, 0xFF00FF, 0xFF00FF},     // the same, once followed
    {QPalette::AlternateBase, 0xF7F7F7, 0xF7F7F7},   // every other row of a list
    {QPalette::NoRole, 0x000000, 0x000000},          // none
    {QPalette::ToolTipBase, 0xFFFFDC, 0xFFFFDC},     // tool tips
    {QPalette::ToolTipText, 0x000000, 0x000000},     // their text
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    {QPalette::Accent, 0x2875A5, 0x919191}, // as the selection
#endif
};

// Qt makes the list of a popup, a menu and a tool tip windows of their own,
// which take the application's palette and not their control's: each takes
// the light palette as it shows, when its control's window has it.
class fenetres_annexes : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* objet, QEvent* evenement) override {
        if (evenement->type() != QEvent::Show || !objet->isWidgetType())
            return false;
        auto* fenetre = static_cast<QWidget*>(objet);
        const Qt::WindowType genre = fenetre->windowType();
        if (!fenetre->isWindow() || (genre != Qt::Popup && genre != Qt::ToolTip))
            return false;
        const QWidget* controle = fenetre->parentWidget();
        if (controle && controle->window()->property(marque).toBool()) {
            // A submenu's own menu is such a window too.
            fenetre->setProperty(marque, true);
            fenetre->setPalette(couleurs());
            // A popup's list draws its rows as menu items, in the colours it
            // sets itself, the others taken from the application's menus:
            // its parts set them all.
            for (QWidget* partie : fenetre->findChildren<QWidget*>())
                partie->setPalette(couleurs());
        }
        return false;
    }
};

} // namespace

QPalette couleurs() {
    QPalette palette;
    for (const teinte& t : teintes) {
        palette.setColor(QPalette::Active, t.role, QColor::fromRgb(t.normale));
        palette.setColor(QPalette::Inactive, t.role, QColor::fromRgb(t.normale));
        palette.setColor(QPalette::Disabled, t.role, QColor::fromRgb(t.desactivee));
    }
    // Qt's placeholder: the text colour at half opacity.
    for (const auto groupe : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        QColor indication = palette.color(groupe, QPalette::Text);
        indication.setAlpha(128);
        palette.setColor(groupe, QPalette::PlaceholderText, indication);
    }
    return palette;
}

void applique(QWidget* fenetre) {
    static QPointer<fenetres_annexes> suivi;
    if (!suivi && qApp) {
        suivi = new fenetres_annexes(qApp);
        qApp->installEventFilter(suivi);
    }
    fenetre->setProperty(marque, true);
    fenetre->setPalette(couleurs());
}

} // namespace palette_claire
