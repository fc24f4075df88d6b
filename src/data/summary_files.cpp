#include "data/summary_files.h"

#include <cstdio>

#include "platform/text.h"

namespace vorsa {
namespace {

constexpr std::string_view kFineRiga = "\r\n";
constexpr std::string_view kEstensione = ".txt";
constexpr std::size_t kLunghezzaNome = 26;

std::string Due(int n) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", n % 100);
    return b;
}

std::string Giorno(int weekday) {
    static constexpr const char* kNomi[] = {"domenica",     "luned\xEC",  "marted\xEC",
                                            "mercoled\xEC", "gioved\xEC", "venerd\xEC",
                                            "sabato"};
    return kNomi[(weekday % 7 + 7) % 7];
}

}  // namespace

std::string DataOraEstrazione(const DateTime& t) {
    return Giorno(t.weekday) + " " + Due(t.day) + "/" + Due(t.month) + "/" +
           std::to_string(t.year) + " ore " + Due(t.hour) + ":" + Due(t.minute);
}

std::string TestoRiepilogo(const SummaryData& d, const DateTime& adesso) {
    std::string t;
    auto riga = [&t](std::string_view s) {
        t += s;
        t += kFineRiga;
    };
    riga("***********************");
    riga("*    INIZIO REPORT    *");
    riga("***********************");
    riga("");
    if (!d.titolo.empty()) {
        riga("Titolo: " + d.titolo);
        riga("");
    }
    riga("Data e ora estrazione: " + DataOraEstrazione(adesso));
    riga("");
    riga("Data ultima transazione: " + d.ultimaData);
    riga("Totale incasso: " + d.totale + " \x80");
    riga("Numero scontrini battuti:  " + d.scontrini);
    riga("Numero scontrini stornati: " + d.stornati);
    riga("");
    riga("Lista articoli venduti:");
    riga("");
    for (const auto& r : d.righe) riga(r);
    if (d.casse.size() > 1) {
        riga("");
        riga("Totali per cassa:");
        riga("");
        for (const auto& r : d.casse) riga(r);
    }
    riga("");
    riga("***********************");
    riga("*     FINE REPORT     *");
    riga("***********************");
    return t;
}

bool NomeRiepilogoValido(std::string_view nome) {
    if (Trim(nome).empty()) return false;
    if (nome.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos) return false;
    return nome.find("..") == std::string_view::npos;
}

std::string SummaryFiles::Percorso(std::string_view nome) const {
    return cartella_ + "/" + std::string(nome) + std::string(kEstensione);
}

std::vector<std::string> SummaryFiles::Elenco() {
    std::vector<std::string> nomi;
    for (const std::string& f : files_.ListFiles(cartella_, kEstensione)) {
        // Only names the other commands can rebuild with ".txt".
        if (f.size() <= kEstensione.size() ||
            f.compare(f.size() - kEstensione.size(), kEstensione.size(), kEstensione) != 0)
            continue;
        nomi.push_back(f.substr(0, f.size() - kEstensione.size()));
    }
    return nomi;
}

bool SummaryFiles::Salva(const SummaryData& d, Prompter& domande) {
    if (d.righe.empty()) return false;
    files_.CreateFolder(cartella_);
    const DateTime adesso = clock_.Now();
    const std::string file = Percorso("Riepilogo_del_" + Due(adesso.day) + "-" + Due(adesso.month) +
                                      "-" + std::to_string(adesso.year));
    if (files_.Exists(file) &&
        !domande.ConfermaSiNo(
            "Sostituzione file statistiche",
            "Esiste gi\xE0 un'estrazione con lo stesso nome, SOSTITUIRLA ?\r\n\r\n"
            "Se si preme SI, i dati gi\xE0 presenti verranno sostituti da quelli che sono "
            "visibili nel riquadro delle statistiche."))
        return false;
    return files_.ReplaceAll(file, TestoRiepilogo(d, adesso));
}

bool SummaryFiles::Rinomina(const std::string& nome, Prompter& domande) {
    if (nome.empty()) return false;
    const auto risposta = domande.InputBox("Rinomina file statistiche",
                                           "Inserire il nuovo nome da dare alla statistica "
                                           "[26 car.]:");
    if (!risposta || risposta->empty()) return false;
    const std::string nuovo = Left(*risposta, kLunghezzaNome);
    if (!NomeRiepilogoValido(nuovo)) {
        domande.Avviso("Errore rinomina",
                       "Nome non valido: non pu\xF2 contenere / \\ o .., il file NON \xE8 stato "
                       "rinominato.");
        return false;
    }
    if (files_.Exists(Percorso(nuovo))) {
        domande.Avviso("Errore rinomina",
                       "Nome gi\xE0 esistente, il file NON \xE8 stato rinominato.");
        return false;
    }
    if (files_.Rename(Percorso(nome), Percorso(nuovo))) return true;
    domande.Avviso("Errore rinomina", "Il file NON \xE8 stato rinominato.");
    return false;
}

bool SummaryFiles::Cancella(const std::string& nome, Prompter& domande) {
    if (nome.empty()) return false;
    if (!domande.ConfermaSiNo("Cancella file statistiche",
                              "Vuoi cancellare il file con nome: " + nome + " ?"))
        return false;
    return files_.Remove(Percorso(nome));
}

std::string SummaryFiles::SalvaEApri(std::string_view prefisso, std::string_view estensione,
                                     std::string_view bytes) {
    files_.CreateFolder(cartella_);
    const DateTime oggi = clock_.Now();
    // Named to the second, and never over an earlier export: the evening's CSV must not
    // become the one of a single sale made after the statistics were emptied.
    const std::string base = cartella_ + "/" + std::string(prefisso) + "_del_" + Due(oggi.day) +
                             "-" + Due(oggi.month) + "-" + std::to_string(oggi.year) + "_ore_" +
                             Due(oggi.hour) + "-" + Due(oggi.minute) + "-" + Due(oggi.second);
    std::string file = base + std::string(estensione);
    for (int n = 2; files_.Exists(file) && n < 1000; ++n)
        file = base + "_" + std::to_string(n) + std::string(estensione);
    if (files_.Exists(file) || !files_.ReplaceAll(file, bytes)) return {};
    shell_.Open(file);
    return file;
}

void SummaryFiles::Apri(const std::string& nome) {
    if (nome.empty()) return;
    shell_.Open(Percorso(nome));
}

}  // namespace vorsa
