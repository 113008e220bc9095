#include "apropos.h"

#include "ressources.h"

namespace {
// The about picture once it has been read.
QImage _permapic;
} // namespace

QImage apropos() {
    if (_permapic.isNull())
        _permapic = ressources::image(168);
    return _permapic;
}

QDateTime BuildDate() {
    return QDateTime::fromString(QStringLiteral(VALDORIN_DATE_COMPILATION), Qt::ISODate);
}
