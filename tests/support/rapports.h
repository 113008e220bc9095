#pragma once

#include "bibliotheque_v1.h"

#include <QStringList>

namespace test_support {

// Collects the silent debug reports while it lives.
class rapports {
public:
    rapports() {
        bibliotheque_v1::msgdebug_hook = [this](const QString& texte) { textes.append(texte); };
    }
    ~rapports() { bibliotheque_v1::msgdebug_hook = nullptr; }
    QStringList textes;
};

} // namespace test_support
