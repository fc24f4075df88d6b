#include "sale/pending_sales.h"

#include <algorithm>
#include <utility>

#include "platform/text.h"

namespace vorsa {
namespace {

constexpr const char* kSezione = "ATTESA";
constexpr const char* kUltimo = "ULTIMO";

/// The id of a section "P<digits>", or 0 for any other section.
long long IdSezione(const std::string& name) {
    if (name.size() < 2 || (name[0] != 'P' && name[0] != 'p') || name.size() > 19) return 0;
    long long id = 0;
    for (std::size_t i = 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        id = id * 10 + (name[i] - '0');
    }
    return id;
}

void Metti(IniDocument& doc, const PendingSale& v) {
    const std::string sezione = v.Provvisorio();
    doc.Set(sezione, "SCONTRINO", v.record);
    doc.Set(sezione, "DATA", v.data);
    if (!v.commento.empty()) doc.Set(sezione, "COMMENTO", v.commento);
}

}  // namespace

PendingSales::PendingSales(FileAccess& files, std::string path)
    : files_(files), path_(std::move(path)) {}

IniDocument& PendingSales::Doc() {
    // Read again only when the file changed behind this till's back (a hand edit, a copy).
    const std::optional<FileStamp> stamp = files_.Stamp(path_);
    if (letto_ && stamp == stamp_) return doc_;
    const ReadResult r = files_.ReadAll(path_);
    // An unreadable list keeps what this till last knew: nothing waiting is dropped by a
    // passing read error.
    if (r.status == ReadStatus::Error && letto_) return doc_;
    doc_ = r.status == ReadStatus::Ok ? IniDocument::Parse(r.bytes) : IniDocument();
    stamp_ = stamp;
    letto_ = true;
    return doc_;
}

bool PendingSales::Scrivi(const IniDocument& doc) {
    if (!files_.ReplaceAll(path_, doc.Serialize())) {
        letto_ = false;  // read it again: the file holds what it held
        return false;
    }
    doc_ = doc;
    stamp_ = files_.Stamp(path_);
    letto_ = true;
    return true;
}

long long PendingSales::Ultimo() {
    IniDocument& doc = Doc();
    long long ultimo = std::max(0LL, Val(doc.Get(kSezione, kUltimo).value_or("")));
    // Ids in the list count too: a counter edited down must not give one twice.
    for (const std::string& s : doc.Sections()) ultimo = std::max(ultimo, IdSezione(s));
    return ultimo;
}

std::optional<PendingSale> PendingSales::Accoda(const std::string& record,
                                                const std::string& commento,
                                                const std::string& data) {
    PendingSale v{Ultimo() + 1, record, commento, data};
    IniDocument doc = Doc();
    doc.Set(kSezione, kUltimo, std::to_string(v.id));
    Metti(doc, v);
    if (!Scrivi(doc)) return std::nullopt;
    return v;
}

std::vector<PendingSale> PendingSales::Elenco() {
    const IniDocument& doc = Doc();
    std::vector<PendingSale> v;
    for (const std::string& s : doc.Sections()) {
        const long long id = IdSezione(s);
        const auto record = doc.Get(s, "SCONTRINO");
        if (id <= 0 || !record || record->empty()) continue;
        v.push_back(
            {id, *record, doc.Get(s, "COMMENTO").value_or(""), doc.Get(s, "DATA").value_or("")});
    }
    std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
    return v;
}

bool PendingSales::Togli(long long id) {
    IniDocument doc = Doc();
    bool tolto = false;
    for (const std::string& s : doc.Sections()) {
        const long long n = IdSezione(s);
        if (n > 0 && n <= id) tolto = doc.DeleteSection(s) || tolto;
    }
    // The counter stays: an id is never given twice, even once the list is empty.
    doc.Set(kSezione, kUltimo, std::to_string(std::max(Ultimo(), id)));
    return !tolto || Scrivi(doc);
}

bool PendingSales::Rinumera(long long minimo) {
    const std::vector<PendingSale> elenco = Elenco();
    long long id = std::max(Ultimo(), minimo);
    IniDocument doc;
    doc.Set(kSezione, kUltimo, std::to_string(id + static_cast<long long>(elenco.size())));
    for (PendingSale v : elenco) {
        v.id = ++id;
        Metti(doc, v);
    }
    return Scrivi(doc);
}

}  // namespace vorsa
