#include "app/core/startup.h"

#include "platform/text.h"

namespace vorsa {
namespace {

constexpr std::string_view P = "PROGRAMMA";
constexpr std::string_view M = "MULTIVORSA";
constexpr std::string_view S = "STAMPA";

std::string ConACapo(std::initializer_list<std::string_view> righe) {
    std::string t;
    for (auto r : righe) {
        t += r;
        t += "\r\n";
    }
    return t;
}

void ScriviLeggimi(Till& till) {
    till.svc.files.ReplaceAll(till.paths.programFolder + "/Leggimi.txt", TestoLeggimi(till));
}

void ScriviNota(Till& till) {
    const std::string stelle(68, '*');
    const std::string& f = till.paths.gFileDati;
    auto& st = till.store;
    st.ScriviIni("NOTA", "# Note 1:", stelle, f);
    st.ScriviIni("NOTA", "# Note 2:",
                 "* In caso di necessit\xE0 o di comportamenti non previsti / anomali   *", f);
    st.ScriviIni("NOTA", "# Note 3:",
                 "* \xE8 possibile cancellare una o pi\xF9 parti oppure l'intero file.     *", f);
    st.ScriviIni("NOTA", "# Note 4:",
                 "* Tutte le sue parti vengono rigenerate automaticamente al riavvio *", f);
    st.ScriviIni("NOTA", "# Note 5:", stelle, f);
}

void LeggiMonete(Till& till) {
    for (int n = 0; n < 10; ++n) {
        const std::string chiave = "S" + std::to_string(n);
        std::string v = till.store.LeggiIni("MONETE", chiave, till.paths.gFileIni);
        if (v.empty()) {
            v = kMoneteDefault[n];
            till.store.ScriviIni("MONETE", chiave, v, till.paths.gFileIni);
        }
        // A hand-edited value that is no amount keeps the key's default in force.
        till.opt.gMonete[n] =
            ParseCurrency(v).value_or(*ParseCurrency(kMoneteDefault[n]));
    }
}

void LeggiSeparatore(Till& till) {
    till.opt.gSeparatore = ';';
    const std::string v = till.store.LeggiIni(P, "SEPARATORE", till.paths.gFileDati);
    if (v.size() == 1) till.opt.gSeparatore = v[0];
    else till.store.ScriviIni(P, "SEPARATORE", ";", till.paths.gFileDati);
}

void LeggiIdentita(Till& till) {
    Options& o = till.opt;
    const std::string utente = till.svc.user.NetworkUserName();
    o.gNomeStazione = utente;
    const std::string nome = till.store.LeggiIni(M, "NOME", till.paths.gFileIni);
    if (!nome.empty()) o.gNomeStazione = nome;
    o.gLockSuffisso = till.store.LeggiIni(M, "LOCKSUFF", till.paths.gFileIni);
    if (o.gLockSuffisso.empty()) {
        o.gLockSuffisso = Right(FormatDateTime(till.svc.clock.Now()), 5);
        till.store.ScriviIni(M, "LOCKSUFF", o.gLockSuffisso, till.paths.gFileIni);
    }
    o.gIdentitaLock = Left(utente, 20) + o.gLockSuffisso;
}

const OptionDef& Definizione(std::string_view section, std::string_view key) {
    for (const auto& d : OptionTable())
        if (d.section == section && d.key == key) return d;
    static const OptionDef nessuna{};
    return nessuna;
}

void LeggiRuolo(Till& till, const StartupHooks& hooks) {
    Options& o = till.opt;
    Paths& p = till.paths;
    o.gMultiVorsa = till.store.LeggiIni(M, "ABILITATO", p.gFileIni) == "1";
    for (auto key : {"MASTER", "SISTEMA_REMOTO", "TIMER_INTERVALLO", "TIMER_CICLI"})
        LeggiOpzione(till.store, p, Definizione(M, key), o);
    till.statoMultiVorsa = StatoMultiVorsa::Singola;
    if (o.gMultiVorsa) {
        till.store.ScriviIni(M, o.gIdentitaLock, o.gNomeStazione, p.gFileLock);
        if (!o.gPrincipale) {
            std::string remoto;
            if (!o.gSistemaRemoto.empty())
                remoto = hooks.share ? hooks.share->FileRemoto(o.gSistemaRemoto)
                                     : "//" + o.gSistemaRemoto + "/vorsa$/vorsa.ini";
            if (o.gSistemaRemoto.empty()) {
                o.gMultiVorsa = false;
                till.statoMultiVorsa = StatoMultiVorsa::SecondariaSenzaNome;
            } else if (!till.store.EsisteFile(remoto)) {
                o.gMultiVorsa = false;
                till.statoMultiVorsa = StatoMultiVorsa::SecondariaIrraggiungibile;
            } else {
                p.gFileDati = remoto;
                p.gFileLock = remoto + ".lck";
                till.statoMultiVorsa = StatoMultiVorsa::SecondariaOk;
            }
        } else {
            const bool ok = hooks.share && hooks.share->CondividiCartella(p.programFolder);
            till.statoMultiVorsa = ok ? StatoMultiVorsa::PrincipaleOk
                                      : StatoMultiVorsa::PrincipaleSenzaCondivisione;
        }
    }
    LockSettings& l = till.store.lock;
    l.gMultiVorsa = o.gMultiVorsa;
    l.gIdentitaLock = o.gIdentitaLock;
    l.gLockAttesaMs = o.gLockAttesaMs;
    l.gLockCicli = o.gLockCicli;
    l.gFileLock = p.gFileLock;
}

void LeggiComande(Till& till) {
    Options& o = till.opt;
    auto& st = till.store;
    const std::string& f = till.paths.gFileIni;
    o.gNumeroComande = IntoRange(st.LeggiIni("COMANDA", "NUMERO", f), 2, 1, 20);
    o.gComande.assign(o.gNumeroComande, KitchenOrderConfig{});
    for (int k = 1; k <= o.gNumeroComande; ++k) {
        KitchenOrderConfig& c = o.gComande[k - 1];
        const std::string sez = "COMANDA" + std::to_string(k);
        c.nome = Left(st.LeggiIni(sez, "NOME", f), 14);
        if (c.nome.empty()) c.nome = "Comanda " + std::to_string(k);
        c.abilitato = st.LeggiIni(sez, "ABILITATO", f) == "1";
        c.prodotti = st.LeggiIni(sez, "PRODOTTI", f);
        c.stampante = st.LeggiIni(sez, "STAMPANTE", f);
        c.formato = IntoRange(st.LeggiIni(sez, "FORMATO", f), 0, 0, 6);
        c.calcolaCarta = IntoRange(st.LeggiIni(sez, "SCONTRINI_CALCOLACARTA", f), 0, 0, 3);
        for (int m = 0; m < 4; ++m)
            c.margini[m] =
                IntoRange(st.LeggiIni(sez, "MARGINE" + std::to_string(m), f), 0, 0, 99);
        for (int m = 0; m < 3; ++m)
            c.opz[m] = IntoRange(st.LeggiIni(sez, "OPZ" + std::to_string(m + 1), f), 0, 0, 1) == 1;
    }
}

void LeggiImmagini(Till& till) {
    auto& st = till.store;
    const std::string& f = till.paths.gFileIni;
    for (int n = 0; n < 2; ++n) {
        HeaderImage& im = till.opt.gImmagini[n];
        im = HeaderImage{};
        const std::string d = std::to_string(n);
        const std::string path = st.LeggiIni(S, "IMMAGINE" + d, f);
        if (path.empty() || !st.EsisteFile(path)) continue;
        im.path = path;
        im.height = static_cast<int>(Val(st.LeggiIni(S, "IMMAGINE_H" + d, f)));
        im.width = static_cast<int>(Val(st.LeggiIni(S, "IMMAGINE_W" + d, f)));
        im.percent = IntoRange(st.LeggiIni(S, "IMMAGINE_PERC" + d, f), 100, 1, 255);
    }
}

void LeggiAltreOpzioni(Till& till) {
    Options& o = till.opt;
    auto& st = till.store;
    const std::string& f = till.paths.gFileIni;
    for (const auto& d : OptionTable())
        if (d.section != M) LeggiOpzione(st, till.paths, d, o);
    o.gPrefisso = Left(ToUpper(st.LeggiIni(P, "NOME_VORSA", f)), 2);
    for (int n = 0; n < 2; ++n)
        o.gCopie[n] = IntoRange(st.LeggiIni(S, "COPIE" + std::to_string(n), f), 1, 1, 99);
    for (int n = 0; n < 3; ++n)
        o.gTitoloSottolineato[n] =
            IntoRange(st.LeggiIni(S, "TITOLO_UND" + std::to_string(n), f), 1, 0, 1) == 1;
    for (int n = 0; n < 4; ++n) {
        const long long m = Val(st.LeggiIni(S, "MARGINE" + std::to_string(n), f));
        o.gMargini[n] = m <= 0 ? 0 : static_cast<int>(m > 1000 ? 1000 : m);
    }
    for (int n = 0; n < 2; ++n)
        o.gRiepilogo[n] =
            IntoRange(st.LeggiIni(S, "RIEPILOGO" + std::to_string(n), f), 1, 0, 1) == 1;
    o.gStampaAvanzata = !o.gGruppiAvanzati.empty();
}

void LeggiStatistiche(Till& till) {
    Catalogue& c = till.cat;
    for (int n = 1; n <= c.gNumeroArticoli; ++n) {
        Article& a = c.gArticoli[n];
        a.soldQuantity = 0;
        a.soldAmount = Currency{};
        const std::string v =
            till.store.LeggiIni("STATISTICHE", std::to_string(a.code), till.paths.gFileDati);
        const auto campi = Split(v, till.opt.gSeparatore);
        if (campi.size() != 2 || !IsInteger(campi[0])) continue;
        const auto importo = ParseCurrency(campi[1]);
        if (!importo) continue;
        const long long q = Val(campi[0]);
        if (q < INT32_MIN || q > INT32_MAX) continue;
        a.soldQuantity = static_cast<std::int32_t>(q);
        a.soldAmount = *importo;
    }
}

/// "Si" written when empty; on exactly when the value, lower-cased, is "si".
bool LeggiSi(Till& till, std::string_view key) {
    const std::string v = till.store.LeggiIni(P, key, till.paths.gFileIni);
    if (v.empty()) {
        till.store.ScriviIni(P, key, "Si", till.paths.gFileIni);
        return true;
    }
    return ToLower(v) == "si";
}

}  // namespace

std::string NomeFilePassword(std::string_view userName) {
    std::string u = ToUpper(userName);
    if (u.size() < 12) u = Left(u + "-PRENDOLIVASKO", 12);
    std::string nome = "~x";
    for (std::size_t i = 1; i <= 12; ++i) {
        const unsigned c = (static_cast<unsigned char>(u[i - 1]) + i + 10) % 256;
        // Path separators and NUL cannot be part of a file name.
        if (c == '\\' || c == '/' || c == 0) continue;
        nome += static_cast<char>(c);
    }
    return nome;
}

std::string TestoLeggimi(const Till& till) {
    return ConACapo({
        "VORSA - Programma di gestione cassa per feste e sagre (NON FISCALE)",
        "",
        "Versione: " + till.gVersione,
        "",
        "Scopo del programma",
        "  Vendere gli articoli di un catalogo di tre sezioni (MANGIARE, BERE, VARIE),",
        "  incassare, stampare scontrini, ticket di ritiro e comande per la cucina,",
        "  e tenere le statistiche di vendita con l'archivio degli scontrini.",
        "",
        "Uso in breve",
        "  * Digitare, leggere con il lettore di codici a barre o cliccare il codice",
        "    di tre cifre di un articolo: 1xx MANGIARE, 2xx BERE, 3xx VARIE.",
        "  * F1 paga o riapre il conto, F2 cancella, F3 storna un pezzo,",
        "    F4 registra il conto, F5 ristampa l'ultimo scontrino,",
        "    F6 statistiche, F7 impostazioni.",
        "  * Tutte le impostazioni sono nel file Vorsa.ini nella cartella del programma;",
        "    se lo si cancella viene ricreato completo al riavvio.",
    });
}

StartupResult AvviaTill(Till& till, const StartupHooks& hooks) {
    StartupResult r;
    Paths& p = till.paths;
    Options& o = till.opt;
    auto& st = till.store;

    p.gFileIni = p.programFolder + "/Vorsa.ini";
    p.gFileDati = p.gFileIni;
    p.gFileLock = p.gFileDati + ".lck";
    p.gCartellaStatistiche = p.programFolder + "/Statistiche";
    p.gCartellaDati = p.programFolder + "/Dati";
    const std::string temp = st.CartellaTemp();
    p.gFileTmp = temp + "VorsaTmp.txt";
    p.gFilePassword = temp + NomeFilePassword(till.svc.user.NetworkUserName());
    st.lock.gFileLock = p.gFileLock;

    ScriviLeggimi(till);
    // One write per file for the whole sequence instead of one per healed key.
    st.IniziaBlocco();
    ScriviNota(till);
    till.cat.CaricaDimensioni(st, p.gFileDati);
    LeggiMonete(till);
    LeggiSeparatore(till);
    CaricaAzioni(st, o, p, till.gAzioni);
    LeggiIdentita(till);
    LeggiRuolo(till, hooks);
    LeggiComande(till);
    CaricaPassword(st, p, till.gAzioni);
    LeggiImmagini(till);
    LeggiAltreOpzioni(till);

    const long long scontrini = Val(st.LeggiIni("STATISTICHE", "SCONTRINI", p.gFileDati));
    till.gNumeroScontrino =
        static_cast<std::int32_t>(scontrini < 0 ? 0 : (scontrini > INT32_MAX ? INT32_MAX : scontrini));

    till.cat.CaricaProdotti(st, o, p);
    till.cat.AssegnaComande(o);
    till.cat.CaricaGruppi(st, o, p);
    till.cat.gCatalogoCaricato = true;
    LeggiStatistiche(till);

    st.ScriviIni(P, "VERSIONE_INI", "1", p.gFileIni);
    o.gBordiMagnetici = LeggiSi(till, "BORDI MAGNETICI");
    const std::string sens = st.LeggiIni(P, "BORDI MAGNETICI SENSIBILITA", p.gFileIni);
    o.gSensibilita = IntoRange(sens, 20, 10, 60);
    if (sens != std::to_string(o.gSensibilita))
        st.ScriviIni(P, "BORDI MAGNETICI SENSIBILITA", std::to_string(o.gSensibilita), p.gFileIni);
    o.gAggiornamenti = LeggiSi(till, "AGGIORNAMENTI");
    st.ChiudiBlocco();

    if (o.gAggiornamenti && hooks.versionCheck) r.nuovaVersione = hooks.versionCheck->NuovaVersione();
    return r;
}

namespace {

int Posizione(Till& till, std::string_view key, int def, int min, int max) {
    return IntoRange(till.store.LeggiIni(P, key, till.paths.gFileIni), def, min, max);
}

}  // namespace

LoadResult CaricaFinestra(Till& till, ScreenTwips screen) {
    LoadResult r;
    auto& st = till.store;
    const Paths& p = till.paths;

    const long long ms = Val(st.LeggiIni(P, "TIMER_CODICI_MS", p.gFileIni));
    r.timerCodiciMs = (ms < 150 || ms > 60000) ? 300 : static_cast<int>(ms);
    st.ScriviIni(P, "TIMER_CODICI_MS", std::to_string(r.timerCodiciMs), p.gFileIni);

    const std::string versione = std::to_string(till.gNumeroVersione);
    if (st.LeggiIni(P, "EULA", p.gFileIni) != versione) {
        st.ScriviIni(P, "EULA", versione, p.gFileIni);
        const std::string leggimi = p.programFolder + "/Leggimi.txt";
        if (st.EsisteFile(leggimi)) {
            st.ApriConShell(leggimi);
            r.apriLeggimi = true;
        }
    }

    r.placement.top = Posizione(till, "TOP", 0, 0, screen.height - 1000);
    r.placement.left = Posizione(till, "LEFT", 0, 0, screen.width - 500);
    r.placement.width = Posizione(till, "WIDTH", kLarghezzaMinima, kLarghezzaMinima,
                                  screen.width - 500);
    r.placement.mode = Posizione(till, "MODE", 2, 0, 2);

    if (till.opt.gMultiVorsa) {
        // Pieces this station held when it last stopped go back to the shared counters.
        for (int n = 1; n <= till.cat.gNumeroArticoli; ++n) {
            const std::string v = st.LeggiIni("MULTIVORSA-TMP", std::to_string(n), p.gFileIni);
            if (!v.empty()) till.RestituisciPezzi(n, Val(v));
        }
    }
    return r;
}

void ChiudiFinestra(Till& till, const WindowPlacement& placement) {
    auto& st = till.store;
    const Paths& p = till.paths;
    if (till.opt.gMultiVorsa) {
        for (int n = 1; n <= till.cat.gNumeroArticoli; ++n) {
            const Article& a = till.cat.gArticoli[n];
            if (a.pieces >= 0 && a.quantity >= 1) till.RestituisciPezzi(n, a.quantity);
        }
    }
    st.IniziaBlocco();
    st.ScriviIni(P, "TOP", std::to_string(placement.top), p.gFileIni);
    st.ScriviIni(P, "LEFT", std::to_string(placement.left), p.gFileIni);
    st.ScriviIni(P, "MODE", std::to_string(placement.mode), p.gFileIni);
    st.ScriviIni(P, "WIDTH", std::to_string(placement.width), p.gFileIni);
    st.ChiudiBlocco();
    if (st.EsisteFile(p.gFileTmp)) st.CancellaFile(p.gFileTmp);
}

}  // namespace vorsa
