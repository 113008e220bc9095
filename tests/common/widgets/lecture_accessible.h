#pragma once

#include <QAccessible>
#include <QWidget>
#include <gtest/gtest.h>

namespace lecture_accessible {

// Assistive technology announces `champ` by its caption `legende`: its label
// relation leads to it.
inline void annonce_par(QWidget* champ, const QString& legende) {
    const auto relations =
        QAccessible::queryAccessibleInterface(champ)->relations(QAccessible::Label);
    ASSERT_EQ(relations.size(), 1) << legende.toStdString();
    EXPECT_EQ(relations.first().first->text(QAccessible::Name), legende);
}

} // namespace lecture_accessible
