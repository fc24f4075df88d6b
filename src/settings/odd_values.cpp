#include "settings/odd_values.h"

#include "platform/text.h"

namespace vorsa {
namespace {

// Twips: a button lower than a line of its text; spacing that leaves no room for buttons.
constexpr long long kAltezzaMinima = 250;
constexpr long long kSpaziaturaMassima = 1000;
constexpr long long kMargineMassimo = 20;  // mm, on a roll of 57 or 80 mm
constexpr long long kLarghezzaMinima = 3;  // cm

std::string Consigliato(const KeyDef& key) {
    return " (valore consigliato: " + DefaultOf(key) + ")";
}

}  // namespace

std::string AvvisoValore(const KeyDef& key, const std::string& value) {
    const long long n = Val(Trim(value));
    const std::string v = Trim(value);
    if (&key == &keys::BottoniAltezza && n < kAltezzaMinima)
        return "Con un'altezza di " + v +
               " i pulsanti dei prodotti sono troppo bassi per leggerne il nome" +
               Consigliato(key) + ".";
    if (&key == &keys::BottoniBordo && n > kSpaziaturaMassima)
        return "Con una spaziatura di " + v +
               " i pulsanti dei prodotti diventano stretti o stanno in una sola colonna" +
               Consigliato(key) + ".";
    if (&key == &keys::BottoniInterlinea && n > kSpaziaturaMassima)
        return "Con una spaziatura di " + v +
               " pochi pulsanti entrano nella finestra e gli altri restano nascosti" +
               Consigliato(key) + ".";
    if (&key == &keys::Margine && n > kMargineMassimo)
        return "Con un margine di " + v + " mm resta poco spazio per il testo dello scontrino.";
    if (&key == &keys::LarghezzaPos && n < kLarghezzaMinima)
        return "Con una larghezza di " + v + " cm il testo dello scontrino non ci sta.";
    return {};
}

}  // namespace vorsa
