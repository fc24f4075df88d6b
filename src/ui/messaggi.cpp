#include "ui/messaggi.h"

#include <string>

#include "platform/text.h"

namespace vorsa {

bool AvvisoPerStato(int stato, const std::string& programFolder, AvvisoMultiVorsa& out) {
    const std::string folder = Cp1252ToUtf8(programFolder);
    switch (stato) {
        case 1:
            out = {QStringLiteral("\r\nVorsa principale riabilitata senza problemi"), QString(),
                   4000};
            return true;
        case 2:
            out = {QStringLiteral("Vorsa principale riabilitata, MA ci sono problemi nella "
                                  "condivisione di rete"),
                   QStringLiteral("SUGGERIMENTO: Verificare se la cartella ") +
                       QString::fromUtf8(folder.data(), static_cast<qsizetype>(folder.size())) +
                       QString::fromUtf8(" \u00e8 condivisa con nome [ vorsa$ ]"),
                   0};
            return true;
        case 3:
        case 4:
            out = {QString::fromUtf8("Vorsa secondaria DISABILITATA, la vorsa principale NON "
                                     "\u00e8 raggiungibile.\r\nIl programma \u00e8 in modalit"
                                     "\u00e0 vorsa SINGOLA"),
                   QStringLiteral("SUGGERIMENTO: Verificare che la vorsa principale sia attiva "
                                  "e che tutti i paramentri della vorsa secondaria siano "
                                  "corretti"),
                   0};
            return true;
        case 5:
            out = {QStringLiteral("\r\nVorsa secondaria riabilitata senza problemi"), QString(),
                   4000};
            return true;
        default:
            return false;
    }
}

}  // namespace vorsa
