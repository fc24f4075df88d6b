#include "printing/receipt_preview.h"

#include <algorithm>
#include <array>

#include "printing/receipt_printer.h"
#include "settings/settings_gateway.h"

namespace vorsa {
namespace {

struct Sample {
    int section;
    const char* name;
    int cents;
    std::int16_t quantity;
};

// Positions follow one another within a section; the bill takes the first lines in this order,
// so a short sample still shows every section.
constexpr Sample kCampione[ReceiptPreview::kArticoli] = {
    {0, "Panino con salamella", 350, 2},
    {1, "Acqua naturale", 100, 2},
    {2, "Caff\xE8", 100, 1},
    {0, "Patatine fritte", 250, 1},
    {1, "Birra media", 400, 3},
    {0, "Costine alla griglia", 800, 1},
    {1, "Vino rosso della casa", 500, 1},
    {0, "Polenta e funghi", 600, 1},
    {1, "Bibita in lattina", 250, 2},
    {2, "Gadget della sagra", 500, 1},
};

class FixedTime final : public Clock {
  public:
    explicit FixedTime(const DateTime& t) : t_(t) {}
    DateTime Now() override { return t_; }
    long long Millis() override { return 0; }

  private:
    DateTime t_;
};

// The reprint path never waits; a preview must not either.
class NoWait final : public Sleeper {
  public:
    void Sleep(int) override {}
};

}  // namespace

ReceiptPreview::ReceiptPreview(SettingsGateway& settings) : settings_(settings) {
    std::array<std::int16_t, 3> sizes{};
    for (const Sample& c : kCampione) ++sizes[static_cast<std::size_t>(c.section)];
    cat_.gArticoli.assign(1, Article{});
    cat_.gGruppi.assign(1, PrintGroup{});
    for (std::size_t s = 0; s < 3; ++s) {
        cat_.sezioni[s].size = cat_.sezioni[s].pendingSize = sizes[s];
        cat_.gGruppi.push_back({static_cast<std::int16_t>(s + 1), cat_.sezioni[s].name});
        std::int16_t position = 0;
        for (const Sample& c : kCampione) {
            if (c.section != static_cast<int>(s)) continue;
            Article a;
            a.position = ++position;
            a.code = static_cast<std::int16_t>(cat_.sezioni[s].codeBase + position);
            a.section = static_cast<std::int16_t>(s);
            a.name = c.name;
            a.price = Currency::FromRaw(std::int64_t{c.cents} * Currency::kScale / 100);
            a.active = true;
            a.printGroup = static_cast<std::int16_t>(s + 1);
            cat_.gArticoli.push_back(a);
        }
    }
    cat_.gNumeroArticoli = kArticoli;
    cat_.gNumeroGruppi = 3;
    cat_.catalogueLoaded = true;
}

void ReceiptPreview::Stampa(PrintBackend& backend, const Options& opt, int righe,
                            const DateTime& quando) {
    righe = std::clamp(righe, 1, kArticoli);
    Options o = opt;
    LastBill conto;
    for (int r = 0; r < righe; ++r) {
        const Sample& c = kCampione[static_cast<std::size_t>(r)];
        int position = 0;
        for (int k = 0; k <= r; ++k)
            if (kCampione[static_cast<std::size_t>(k)].section == c.section) ++position;
        const int index = cat_.IndiceArticolo(
            cat_.sezioni[static_cast<std::size_t>(c.section)].codeBase + position);
        const Article& a = cat_.gArticoli[static_cast<std::size_t>(index)];
        conto.righe.push_back({index, c.quantity, a.price * c.quantity});
        conto.totale = conto.totale + a.price * c.quantity;
    }
    // A committed bill lists its lines in catalogue order.
    std::sort(conto.righe.begin(), conto.righe.end(),
              [](const LastBill::Line& a, const LastBill::Line& b) { return a.index < b.index; });
    conto.numero = 42;
    conto.data = quando;
    conto.tavolo = "5";
    const std::int32_t numero = conto.numero;
    FixedTime ora(quando);
    NoWait attesa;
    // The preview's page is drawn, not printed: no printer to refuse a form, nothing to tell.
    ReceiptPrinter printer(PrintInputs{o, cat_, settings_, ora, attesa, conto, numero}, backend,
                           [](const std::string&, const std::string&) {});
    // The bill once, as the reprint key prints it, but not marked as a copy.
    printer.StampaUltimoConto(true);
}

}  // namespace vorsa
