#pragma once

// Answering modal dialogs in tests: an action runs on the dialog on screen
// once its modal loop runs, and a guard closes any dialog left open, so that
// no test can hang on a modal window.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace repondeur {

// Runs `action` on the modal window on screen as soon as there is one (the
// window that the next call shows). Fails the test when none comes.
inline void quand_visible(std::function<void(QWidget*)> action, int essais = 300) {
    QTimer::singleShot(0, [action, essais] {
        QWidget* modale = QApplication::activeModalWidget();
        if (modale && modale->isVisible()) {
            action(modale);
        } else if (essais > 0) {
            QTimer::singleShot(10, [action, essais] { quand_visible(action, essais - 1); });
        } else {
            ADD_FAILURE() << "no dialog came to answer";
        }
    });
}

// While it lives, closes every modal window still open after a long while
// and fails the test: a dialog that nothing answers ends instead of hanging.
class garde {
public:
    garde() {
        minuterie.setInterval(15000);
        QObject::connect(&minuterie, &QTimer::timeout, [] {
            while (QWidget* modale = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a dialog was left open: " << modale->metaObject()->className();
                modale->close();
                modale->hide();
            }
        });
        minuterie.start();
    }

private:
    QTimer minuterie;
};

} // namespace repondeur
