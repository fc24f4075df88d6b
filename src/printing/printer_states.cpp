#include "printing/printer_states.h"

#include <array>
#include <string_view>
#include <utility>

namespace vorsa {
namespace {

constexpr std::string_view kTitolo = "Stampante";

std::string Tra(const std::string& s) {
    return "\"" + s + "\"";
}

/// "media-empty-error" -> "media-empty": the severity suffix says nothing to the operator.
std::string Radice(const std::string& motivo) {
    for (const std::string_view suffix : {"-error", "-warning", "-report"}) {
        if (motivo.size() > suffix.size() &&
            motivo.compare(motivo.size() - suffix.size(), suffix.size(), suffix) == 0)
            return motivo.substr(0, motivo.size() - suffix.size());
    }
    return motivo;
}

std::string NonStampato(const std::string& foglio) {
    return " Foglio non stampato: " + foglio + ".";
}

std::string InAttesa(const std::string& chi, const std::string& perche, const std::string& foglio) {
    return chi + " ferma" + perche + ". In attesa: " + foglio +
           ", uscir\xE0 quando la stampante riparte.";
}

}  // namespace

std::string MotiviLeggibili(const std::vector<std::string>& motivi) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kNoti = {{
        {"media-empty", "carta esaurita"},
        {"media-needed", "carta esaurita"},
        {"media-jam", "carta inceppata"},
        {"offline", "non in linea"},
        {"door-open", "sportello aperto"},
        {"cover-open", "coperchio aperto"},
        {"toner-empty", "toner esaurito"},
        {"marker-supply-empty", "inchiostro esaurito"},
        {"paused", "messa in pausa"},
    }};
    std::string out;
    for (const std::string& m : motivi) {
        const std::string r = Radice(m);
        if (r.empty() || r == "none") continue;
        std::string testo = r;
        for (const auto& [chiave, italiano] : kNoti)
            if (r == chiave) testo = std::string(italiano);
        if (out.find(testo) != std::string::npos) continue;
        if (!out.empty()) out += ", ";
        out += testo;
    }
    return out;
}

std::string NomeFoglio(int comanda, const std::string& nomeComanda) {
    if (comanda <= 0) return "Scontrino";
    return "Comanda " + nomeComanda;
}

std::optional<PrintNotice> RegolaAvviso(const std::string& stampante, const std::string& foglio,
                                        const PrinterState& stato, JobResult esito) {
    // A job the spooler completed came out: never offered again, whatever the queue says now.
    if (esito == JobResult::Completato) return std::nullopt;
    PrintNotice a;
    a.titolo = std::string(kTitolo) + " " + stampante;
    const std::string chi = "Stampante " + Tra(stampante);
    const std::string motivi = MotiviLeggibili(stato.motivi);
    const std::string perche = motivi.empty() ? "" : " (" + motivi + ")";
    switch (esito) {
        case JobResult::Annullato:
            a.testo = chi + ": stampa annullata." + NonStampato(foglio);
            a.offriRistampa = true;
            return a;
        case JobResult::Interrotto:
            a.testo = chi + ": stampa interrotta da un errore" + perche + "." + NonStampato(foglio);
            a.offriRistampa = true;
            return a;
        case JobResult::Fermato:
            // The job stays queued and comes out when the queue restarts: printing it again
            // would print it twice.
            a.testo = InAttesa(chi, perche, foglio);
            return a;
        case JobResult::NonInviato:
        case JobResult::InCorso:
        case JobResult::Completato:
            break;
    }
    if (stato.stato == QueueState::Sconosciuta) {
        // Whether the job reached the printer cannot be known: printing it again blindly could
        // print it twice, so the operator is asked to look.
        a.testo = chi + ": il servizio di stampa non risponde. Da controllare: " + foglio + ".";
        return a;
    }
    if (stato.stato == QueueState::Assente) {
        a.testo = chi + " non trovata." + NonStampato(foglio);
        a.offriRistampa = esito == JobResult::NonInviato;
        return a;
    }
    if (!stato.accetta) {
        a.testo = chi + " non accetta lavori" + perche + "." + NonStampato(foglio);
        a.offriRistampa = esito == JobResult::NonInviato;
        return a;
    }
    if (stato.stato == QueueState::Ferma) {
        a.testo = InAttesa(chi, perche, foglio);
        return a;
    }
    return std::nullopt;
}

Light SpiaDi(const PrinterState& stato) {
    if (stato.stato == QueueState::Sconosciuta) return Light::Grigia;
    if (stato.stato == QueueState::Assente || stato.stato == QueueState::Ferma || !stato.accetta)
        return Light::Rossa;
    return stato.stato == QueueState::InStampa ? Light::Ambra : Light::Verde;
}

}  // namespace vorsa
