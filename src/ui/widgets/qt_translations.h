#pragma once
// Qt's own Italian texts for its standard boxes ("Sì", "No", "Annulla"), from the translations
// that come with Qt.
class QCoreApplication;

namespace vorsa {

/// Installs Qt's Italian translation (qtbase_it.qm from Qt's translations folder) into `app`,
/// whatever the system's language: the till speaks Italian. False when the file is missing;
/// the standard boxes then stay in English.
bool InstallaTraduzioniQt(QCoreApplication& app);

}  // namespace vorsa
