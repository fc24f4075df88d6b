#include "printing/print_list.h"

#include "printing/print_format.h"

namespace vorsa {

PrintList BuildPrintList(const LastBill& conto, const Catalogue& cat) {
    PrintList l;
    l.numero = conto.numero;
    l.provvisorio = conto.provvisorio;
    l.data = conto.data;
    l.tavolo = conto.tavolo;
    l.commento = conto.commento;
    for (const LastBill::Line& r : conto.righe) {
        if (r.quantity <= 0 || r.index < 1 || r.index > cat.gNumeroArticoli) continue;
        const Article& a = cat.gArticoli[static_cast<std::size_t>(r.index)];
        PrintEntry e;
        e.articleIndex = static_cast<std::int16_t>(r.index);
        e.section = a.section;
        e.quantity = r.quantity;
        e.lineAmount = r.lineTotal;
        e.separate = a.separatePrint;
        e.group = a.printGroup;
        e.name = a.name;
        if (a.variablePrice || a.price < Currency{}) {
            const std::int64_t q = r.quantity;
            const std::int64_t raw = r.lineTotal.raw;
            e.unitPrice = Currency::FromRaw((raw >= 0 ? raw + q / 2 : raw - q / 2) / q);
        } else {
            e.unitPrice = a.price;
        }
        l.entries.push_back(std::move(e));
    }
    return l;
}

std::string NumeroTesto(std::int32_t numero, const std::string& provvisorio) {
    return provvisorio.empty() ? FormatIntero(numero) : provvisorio;
}

std::string NumeroCodice(std::int32_t numero, const std::string& provvisorio) {
    return provvisorio.empty() ? std::to_string(numero) : provvisorio;
}

std::string PrintList::NumeroTesto() const {
    return vorsa::NumeroTesto(numero, provvisorio);
}

std::string PrintList::NumeroCodice() const {
    return vorsa::NumeroCodice(numero, provvisorio);
}

std::string NomeGruppo(const Catalogue& cat, int group) {
    for (std::size_t g = 1; g < cat.gGruppi.size(); ++g)
        if (cat.gGruppi[g].number == group) return cat.gGruppi[g].name;
    return "";
}

bool EsisteGruppo(const Catalogue& cat, int group) {
    if (group == 0) return false;
    for (std::size_t g = 1; g < cat.gGruppi.size(); ++g)
        if (cat.gGruppi[g].number == group) return true;
    return false;
}

}  // namespace vorsa
