#pragma once

// What assistive technology reads of the fields of a page.

#include <QAccessible>
#include <QComboBox>
#include <QWidget>
#include <gtest/gtest.h>

namespace lecture_accessible {

// `champ` is announced by its caption `legende`: its label relation leads to
// it, and it is its name too, but for a popup (named by its item on Linux).
inline void annonce_par(QWidget* champ, const QString& legende) {
    ASSERT_NE(champ, nullptr) << legende.toStdString();
    QAccessibleInterface* lu = QAccessible::queryAccessibleInterface(champ);
    const auto relations = lu->relations(QAccessible::Label);
    ASSERT_EQ(relations.size(), 1) << champ->objectName().toStdString();
    EXPECT_EQ(relations.first().first->text(QAccessible::Name), legende);
    if (!qobject_cast<QComboBox*>(champ)) {
        EXPECT_EQ(lu->text(QAccessible::Name), legende) << champ->objectName().toStdString();
    }
}

} // namespace lecture_accessible
