#include "Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

void RegisterBundledFonts() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    Q_INIT_RESOURCE(tavik);
    const QString face = QStringLiteral("Free 3 of 9");
    if (QFontDatabase::families().contains(face, Qt::CaseInsensitive)) {
        return; // an installed font of that face wins
    }
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LibreBarcode39.woff"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (!families.isEmpty()) {
        QFont::insertSubstitution(face, families.first());
    }
}
