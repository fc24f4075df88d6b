#include "printing/print_groups.h"

#include <algorithm>

#include "platform/text.h"
#include "settings/settings_gateway.h"

namespace vorsa {
namespace {

constexpr int kNumeroMassimo = 32000;

}  // namespace

std::string FormatoGruppi(const std::vector<PrintGroup>& gruppi, char separatore) {
    std::string s;
    for (const PrintGroup& g : gruppi) {
        if (!s.empty()) s += separatore;
        s += g.name + "-" + std::to_string(g.number);
    }
    return s;
}

PrintGroups::PrintGroups(Catalogue& cat, SettingsGateway& settings)
    : cat_(cat), settings_(settings) {}

std::vector<PrintGroup> PrintGroups::Gruppi() const {
    if (cat_.gGruppi.size() < 2) return {};
    return {cat_.gGruppi.begin() + 1, cat_.gGruppi.end()};
}

bool PrintGroups::Esiste(int number) const {
    for (std::size_t g = 1; g < cat_.gGruppi.size(); ++g)
        if (cat_.gGruppi[g].number == number) return true;
    return false;
}

std::vector<int> PrintGroups::SenzaGruppo() const {
    std::vector<int> v;
    for (int n = 1; n <= cat_.gNumeroArticoli; ++n) {
        const Article& a = cat_.gArticoli[static_cast<std::size_t>(n)];
        // A number no group carries prints as no group: show it there, where it can be moved.
        if (!a.name.empty() && (a.printGroup == 0 || !Esiste(a.printGroup))) v.push_back(n);
    }
    return v;
}

std::vector<int> PrintGroups::ArticoliDi(int number) const {
    std::vector<int> v;
    if (number == 0) return v;
    for (int n = 1; n <= cat_.gNumeroArticoli; ++n) {
        const Article& a = cat_.gArticoli[static_cast<std::size_t>(n)];
        if (!a.name.empty() && a.printGroup == number) v.push_back(n);
    }
    return v;
}

std::string PrintGroups::Pulisci(std::string_view nome) const {
    // The dash ends the name and the separator ends the entry when the list is read back.
    std::string s(nome);
    for (char& c : s)
        if (c == '-' || c == settings_.options().gSeparatore) c = ' ';
    return Trim(s);
}

bool PrintGroups::Rinomina(int pos, std::string_view nome) {
    const std::string n = Pulisci(nome);
    if (n.empty() || pos < 0 || pos + 1 >= static_cast<int>(cat_.gGruppi.size())) return false;
    cat_.gGruppi[static_cast<std::size_t>(pos) + 1].name = n;
    Scrivi({});
    return true;
}

bool PrintGroups::Elimina(int pos, std::string_view conferma) {
    if (Trim(conferma).empty() || cat_.gNumeroGruppi < 2 || pos < 0 ||
        pos + 1 >= static_cast<int>(cat_.gGruppi.size()))
        return false;
    const int number = cat_.gGruppi[static_cast<std::size_t>(pos) + 1].number;
    const std::vector<int> articoli = ArticoliDi(number);
    cat_.gGruppi.erase(cat_.gGruppi.begin() + pos + 1);
    cat_.gNumeroGruppi = static_cast<int>(cat_.gGruppi.size()) - 1;
    // Another group may carry the same number (a hand-edited list): its articles stay.
    if (!Esiste(number))
        for (int n : articoli) cat_.gArticoli[static_cast<std::size_t>(n)].printGroup = 0;
    Scrivi(articoli);
    return true;
}

bool PrintGroups::Aggiungi(std::string_view nome) {
    const std::string n = Pulisci(nome);
    if (n.empty()) return false;
    int numero = 1;
    while (numero <= kNumeroMassimo && Esiste(numero)) ++numero;
    if (numero > kNumeroMassimo) return false;
    if (cat_.gGruppi.empty()) cat_.gGruppi.push_back(PrintGroup{});
    cat_.gGruppi.push_back({static_cast<std::int16_t>(numero), n});
    cat_.gNumeroGruppi = static_cast<int>(cat_.gGruppi.size()) - 1;
    Scrivi({});
    return true;
}

void PrintGroups::Annulla() {
    cat_.gGruppi.assign(1, PrintGroup{});
    cat_.gNumeroGruppi = 0;
    std::vector<int> articoli;
    for (int n = 1; n <= cat_.gNumeroArticoli; ++n) {
        Article& a = cat_.gArticoli[static_cast<std::size_t>(n)];
        if (a.name.empty() || a.printGroup == 0) continue;
        a.printGroup = 0;
        articoli.push_back(n);
    }
    SettingsStore& store = settings_.store();
    store.IniziaBlocco();
    // Empty: the next start builds one group per section again.
    settings_.Set(keys::GruppiAvanzati, "");
    for (int n : articoli) {
        const Article& a = cat_.gArticoli[static_cast<std::size_t>(n)];
        cat_.ScriviArticolo(n, a.position, settings_.paths().gFileDati, false, store,
                            settings_.options());
    }
    store.ChiudiBlocco();
}

bool PrintGroups::Sposta(const std::vector<int>& articoli, int number) {
    if (number != 0 && !Esiste(number)) return false;
    std::vector<int> mossi;
    for (int n : articoli) {
        if (n < 1 || n > cat_.gNumeroArticoli) continue;
        Article& a = cat_.gArticoli[static_cast<std::size_t>(n)];
        if (a.name.empty() || a.printGroup == number) continue;
        a.printGroup = static_cast<std::int16_t>(number);
        mossi.push_back(n);
    }
    if (mossi.empty()) return false;
    Scrivi(mossi);
    return true;
}

void PrintGroups::Scrivi(const std::vector<int>& articoli) {
    SettingsStore& store = settings_.store();
    const Options& o = settings_.options();
    store.IniziaBlocco();
    settings_.Set(keys::GruppiAvanzati, FormatoGruppi(Gruppi(), o.gSeparatore));
    for (int n : articoli) {
        const Article& a = cat_.gArticoli[static_cast<std::size_t>(n)];
        cat_.ScriviArticolo(n, a.position, settings_.paths().gFileDati, false, store, o);
    }
    store.ChiudiBlocco();
}

}  // namespace vorsa
