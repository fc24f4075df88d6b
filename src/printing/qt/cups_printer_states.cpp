#include "printing/qt/cups_printer_states.h"

#include <cups/cups.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace vorsa {
namespace {

/// How a request went: answered, refused as asking for what is not there, or not answered.
enum class Reply { Data, NonEsiste, Muto };

/// A request to the spooler; the answer is null unless it was Data.
std::pair<Reply, ipp_t*> Chiedi(ipp_t* richiesta, const char* risorsa) {
    ipp_t* risposta = cupsDoRequest(CUPS_HTTP_DEFAULT, richiesta, risorsa);
    const ipp_status_t stato = risposta ? ippGetStatusCode(risposta) : cupsLastError();
    if (risposta && stato <= IPP_STATUS_OK_EVENTS_COMPLETE) return {Reply::Data, risposta};
    ippDelete(risposta);
    // A client error (not found, bad name) is the spooler's answer; a server error or no
    // connection says nothing about the printer.
    if (stato >= IPP_STATUS_ERROR_BAD_REQUEST && stato < IPP_STATUS_ERROR_INTERNAL)
        return {Reply::NonEsiste, nullptr};
    return {Reply::Muto, nullptr};
}

/// The printer's jobs, id and creation time, by id.
std::vector<std::pair<int, std::int64_t>> Lavori(const std::string& stampante) {
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, stampante.c_str(), 0, CUPS_WHICHJOBS_ALL);
    std::vector<std::pair<int, std::int64_t>> v;
    for (int i = 0; i < n; ++i) v.emplace_back(jobs[i].id, jobs[i].creation_time);
    cupsFreeJobs(n, jobs);
    std::sort(v.begin(), v.end());
    return v;
}

}  // namespace

PrinterState CupsPrinterStates::Stato(const std::string& stampante) {
    PrinterState s;
    ipp_t* req = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/printers/%s", stampante.c_str());
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const kAttributi[] = {"printer-state", "printer-state-reasons",
                                             "printer-is-accepting-jobs"};
    ippAddStrings(req, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr,
                  kAttributi);
    const auto [come, r] = Chiedi(req, "/");
    if (come == Reply::Muto) s.stato = QueueState::Sconosciuta;
    if (!r) return s;
    if (ipp_attribute_t* a = ippFindAttribute(r, "printer-state", IPP_TAG_ENUM)) {
        switch (ippGetInteger(a, 0)) {
            case IPP_PSTATE_PROCESSING:
                s.stato = QueueState::InStampa;
                break;
            case IPP_PSTATE_STOPPED:
                s.stato = QueueState::Ferma;
                break;
            default:
                s.stato = QueueState::Pronta;
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

int CupsPrinterStates::UltimoLavoro(const std::string& stampante, std::int64_t primaDi) {
    int u = 0;
    for (const auto& [id, creato] : Lavori(stampante))
        if (creato < primaDi) u = id;
    return u;
}

std::vector<int> CupsPrinterStates::LavoriDopo(const std::string& stampante, int dopo) {
    std::vector<int> ids;
    for (const auto& [id, creato] : Lavori(stampante))
        if (id > dopo) ids.push_back(id);
    return ids;
}

JobResult CupsPrinterStates::Esito(int lavoro) {
    ipp_t* req = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/jobs/%d", lavoro);
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "job-state");
    const auto [come, r] = Chiedi(req, "/");
    // A spooler that does not answer tells nothing yet; a job it no longer knows is past and
    // never offered again.
    if (come == Reply::Muto) return JobResult::InCorso;
    if (!r) return JobResult::Completato;
    JobResult e = JobResult::Completato;
    if (ipp_attribute_t* a = ippFindAttribute(r, "job-state", IPP_TAG_ENUM)) {
        switch (ippGetInteger(a, 0)) {
            case IPP_JSTATE_PENDING:
            case IPP_JSTATE_HELD:
            case IPP_JSTATE_PROCESSING:
                e = JobResult::InCorso;
                break;
            case IPP_JSTATE_STOPPED:
                e = JobResult::Fermato;
                break;
            case IPP_JSTATE_CANCELED:
                e = JobResult::Annullato;
                break;
            case IPP_JSTATE_ABORTED:
                e = JobResult::Interrotto;
                break;
            default:
                e = JobResult::Completato;
        }
    }
    ippDelete(r);
    return e;
}

}  // namespace vorsa
