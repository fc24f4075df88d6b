#include "printing/qt/cups_stato_stampanti.h"

#include <cups/cups.h>

#include <algorithm>

namespace vorsa {
namespace {

/// A request answered by the spooler; null when it could not be reached or said no.
ipp_t* Chiedi(ipp_t* richiesta, const char* risorsa) {
    ipp_t* risposta = cupsDoRequest(CUPS_HTTP_DEFAULT, richiesta, risorsa);
    if (risposta && ippGetStatusCode(risposta) > IPP_STATUS_OK_EVENTS_COMPLETE) {
        ippDelete(risposta);
        return nullptr;
    }
    return risposta;
}

std::vector<int> Lavori(const std::string& stampante) {
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, stampante.c_str(), 0, CUPS_WHICHJOBS_ALL);
    std::vector<int> ids;
    for (int i = 0; i < n; ++i) ids.push_back(jobs[i].id);
    cupsFreeJobs(n, jobs);
    std::sort(ids.begin(), ids.end());
    return ids;
}

}  // namespace

StatoStampante CupsStatoStampanti::Stato(const std::string& stampante) {
    StatoStampante s;
    ipp_t* req = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/printers/%s", stampante.c_str());
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const kAttributi[] = {"printer-state", "printer-state-reasons",
                                             "printer-is-accepting-jobs"};
    ippAddStrings(req, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr,
                  kAttributi);
    ipp_t* r = Chiedi(req, "/");
    if (!r) return s;  // not found, or no spooler: missing either way
    if (ipp_attribute_t* a = ippFindAttribute(r, "printer-state", IPP_TAG_ENUM)) {
        switch (ippGetInteger(a, 0)) {
            case IPP_PSTATE_PROCESSING:
                s.stato = StatoCoda::InStampa;
                break;
            case IPP_PSTATE_STOPPED:
                s.stato = StatoCoda::Ferma;
                break;
            default:
                s.stato = StatoCoda::Pronta;
        }
    }
    if (ipp_attribute_t* a = ippFindAttribute(r, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
        s.accetta = ippGetBoolean(a, 0) != 0;
    if (ipp_attribute_t* a = ippFindAttribute(r, "printer-state-reasons", IPP_TAG_KEYWORD))
        for (int i = 0; i < ippGetCount(a); ++i)
            if (const char* m = ippGetString(a, i, nullptr)) s.motivi.emplace_back(m);
    ippDelete(r);
    return s;
}

int CupsStatoStampanti::UltimoLavoro(const std::string& stampante) {
    const std::vector<int> ids = Lavori(stampante);
    return ids.empty() ? 0 : ids.back();
}

std::vector<int> CupsStatoStampanti::LavoriDopo(const std::string& stampante, int dopo) {
    std::vector<int> ids = Lavori(stampante);
    ids.erase(ids.begin(), std::upper_bound(ids.begin(), ids.end(), dopo));
    return ids;
}

EsitoLavoro CupsStatoStampanti::Esito(int lavoro) {
    ipp_t* req = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/jobs/%d", lavoro);
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "job-state");
    ipp_t* r = Chiedi(req, "/");
    // A job the spooler no longer knows is past: never offered again.
    if (!r) return EsitoLavoro::Completato;
    EsitoLavoro e = EsitoLavoro::Completato;
    if (ipp_attribute_t* a = ippFindAttribute(r, "job-state", IPP_TAG_ENUM)) {
        switch (ippGetInteger(a, 0)) {
            case IPP_JSTATE_PENDING:
            case IPP_JSTATE_HELD:
            case IPP_JSTATE_PROCESSING:
                e = EsitoLavoro::InCorso;
                break;
            case IPP_JSTATE_STOPPED:
                e = EsitoLavoro::Fermato;
                break;
            case IPP_JSTATE_CANCELED:
                e = EsitoLavoro::Annullato;
                break;
            case IPP_JSTATE_ABORTED:
                e = EsitoLavoro::Interrotto;
                break;
            default:
                e = EsitoLavoro::Completato;
        }
    }
    ippDelete(r);
    return e;
}

}  // namespace vorsa
