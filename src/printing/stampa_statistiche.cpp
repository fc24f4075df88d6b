#include "printing/stampa_statistiche.h"

#include <algorithm>

#include "printing/print_format.h"
#include "settings/settings_gateway.h"

namespace vorsa {

std::string Destra7(const std::string& text) {
    return text.size() >= 7 ? text : std::string(7 - text.size(), ' ') + text;
}

namespace {

struct Block {
    std::string prezzo, quantita, incasso;
};

Block Righe(const Article& a) {
    return {"  Prezzo unitario: " + Destra7(FormatImporto(a.price)) + " \x80",
            "  Quantit\xE0 totale: " + Destra7(std::to_string(a.soldQuantity)) + " pz",
            "  Incasso totale:  " + Destra7(FormatImporto(a.soldAmount)) + " \x80"};
}

}  // namespace

int StampaStatistiche::Altezza(const StatisticsTexts&) {
    PrintCursor& c = layout_.Cursor();
    const PrintProfile& p = layout_.Setup().profile;
    const int gap = p.gapUnit;
    const int riga = c.HeightX(p.textSize);
    int h = 3 * gap + 2 * c.HeightX(p.titleSize) + 3 * gap + riga + 3 * gap + 3 * (gap + riga);
    h += 3 * gap + riga;  // title
    for (int n = 1; n <= layout_.In().cat.gNumeroArticoli; ++n)
        if (layout_.In().cat.gArticoli[n].soldQuantity > 0)
            h += 4 * gap + 2 * c.HeightX(p.nameSize) + gap + 3 * riga;
    return h + 3 * gap + riga;
}

void StampaStatistiche::Stampa(const StatisticsTexts& t) {
    PageSetup& setup = layout_.Setup();
    if (!setup.printerAvailable) return;
    PrintInputs& in = layout_.In();
    PrintCursor& c = layout_.Cursor();
    const int gap = setup.profile.gapUnit;
    c.Backend().SetCurrentPrinter(setup.printerName);
    PageContent contenuto;
    contenuto.kind = LayoutKind::Statistics;
    contenuto.bodyHeight = [this, &t] { return Altezza(t); };
    layout_.StartReceiptPage(contenuto);
    const PrintProfile& p = setup.profile;

    c.SetBold(true);
    c.SetSize(p.titleSize);
    c.Y += 3 * gap;
    layout_.PrintCentered("STATISTICHE VENDUTO", 0);
    layout_.PrintCentered(FormatDataOraComanda(in.clock.Now()), 0);
    c.SetBold(false);
    c.SetSize(p.textSize);
    const std::string commento = in.settings.Read(keys::StatCommento);
    if (!commento.empty()) layout_.PrintLeft(commento, 3 * gap);
    layout_.PrintLeft("Ultimo: " + t.ultimaData + " ore " + t.ultimaOra, 3 * gap);
    layout_.PrintLeft("Incasso totale:    " + Destra7(t.totale) + " \x80", gap);
    layout_.PrintLeft("Scontrini battuti: " + Destra7(t.scontrini), gap);
    layout_.PrintLeft("  di cui stornati: " + Destra7(t.stornati), gap);

    const Catalogue& cat = in.cat;
    for (int n = 1; n <= cat.gNumeroArticoli; ++n) {
        const Article& a = cat.gArticoli[static_cast<std::size_t>(n)];
        if (a.soldQuantity <= 0) continue;
        StampaArticoloStatistica(n);
        const Block b = Righe(a);
        layout_.PrintLeft(b.prezzo, gap);
        layout_.PrintLeft(b.quantita, 0);
        layout_.PrintLeft(b.incasso, 0);
    }
    c.Y += 3 * gap;
    layout_.PrintCentered("*** FINE REPORT ***", 0);
    c.Backend().EndDoc();
}

void StampaStatistiche::StampaArticoloStatistica(int index) {
    PrintCursor& c = layout_.Cursor();
    const PrintProfile& p = layout_.Setup().profile;
    const int gap = p.gapUnit;
    c.Y += 2 * gap;
    c.Line(0, c.Y, layout_.W(), c.Y);
    c.X = 0;
    c.Y += 2 * gap;

    const std::string& nome = layout_.In().cat.gArticoli[static_cast<std::size_t>(index)].name;
    const int chars = std::max<int>(1, p.textChars);
    const auto n = static_cast<std::size_t>(chars);
    std::string riga = nome;
    if (nome.size() > n) {
        const std::size_t blank = nome.substr(0, n + 1).rfind(' ');
        const std::size_t pos = blank == std::string::npos ? 0 : blank + 1;  // 1-based
        const std::size_t resto = nome.size() - pos;
        const long margine = chars - static_cast<long>(pos);
        if (pos == 0 || (resto > n && (margine < 0 || margine >= 5))) {
            layout_.PrintLeft(nome.substr(0, n - 1) + "_", 0);
            riga = "_" + nome.substr(n - 1);
        } else {
            layout_.PrintLeft(nome.substr(0, pos - 1), 0);
            riga = " " + nome.substr(pos);
        }
    }
    // A second row still too long gets a smaller size, for this row only: the figures below
    // keep the size of the text.
    const int keep = c.Font().size;
    if (riga.size() > n) {
        const int larghezza = c.Width(std::string(n, 'X'));
        int size = p.nameSize - 1;
        for (; size > kMinFontSize; --size)
            if (c.WidthAt(size, riga) < larghezza) break;
        c.SetSize(std::max(size, kMinFontSize));
    }
    layout_.PrintLeft(riga, 0);
    if (c.Font().size != keep) c.SetSize(keep);
}

}  // namespace vorsa
