#include "ui/widgets/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vorsa {

bool InstallaTraduzioniQt(QCoreApplication& app) {
    // Dates, numbers and month names in Qt's own dialogs too, whatever the machine's locale.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    auto* t = new QTranslator(&app);
    if (!t->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                 QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(t)) {
        delete t;
        return false;
    }
    return true;
}

}  // namespace vorsa
