#include "startup/startup.h"

#include <cstdint>

#include "platform/text.h"
#include "web/web_options.h"

namespace vorsa {
namespace {

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
    const std::array<std::string, 5> righe = {
        stelle,
        "* In caso di necessit\xE0 o di comportamenti non previsti / anomali   *",
        "* \xE8 possibile cancellare una o pi\xF9 parti oppure l'intero file.     *",
        "* Tutte le sue parti vengono rigenerate automaticamente al riavvio *",
        stelle,
    };
    for (int n = 1; n <= 5; ++n)
        till.settings.Write(keys::Nota, righe[static_cast<std::size_t>(n - 1)], n);
}

void LeggiMonete(Till& till) {
    till.settings.LoadAll(keys::Moneta);
}

void LeggiSeparatore(Till& till) {
    till.settings.Load(keys::Separatore);
}

std::uint64_t Fnv1a(std::string_view testo) {
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : testo) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

std::string ImprontaOrigine(std::string_view testo) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::uint64_t h = Fnv1a(testo);
    std::string out;
    for (int i = 15; i >= 0; --i) out += kHex[(h >> (4 * i)) & 0xF];
    return out;
}

// Five characters, as the suffix always had, scattered over 34^5 values by the computer, the
// folder and the moment: two tills started in the same second no longer share one, as the
// last five characters of the time made them.
std::string NuovoSuffisso(std::string_view origine, std::string_view adesso) {
    static constexpr std::string_view kCifre = "0123456789ABCDEFGHJKLMNPQRSTUVWXYZ";
    std::uint64_t h = Fnv1a(std::string(origine) + "|" + std::string(adesso));
    std::string s;
    for (int i = 0; i < 5; ++i, h /= kCifre.size()) s += kCifre[h % kCifre.size()];
    return s;
}

void LeggiIdentita(Till& till) {
    Options& o = till.opt;
    SettingsGateway& g = till.settings;
    const std::string utente = till.svc.user.NetworkUserName();
    o.gNomeStazione = utente;
    const std::string nome = g.Read(keys::NomeStazione);
    if (!nome.empty()) o.gNomeStazione = nome;
    o.lockSuffix = g.Read(keys::LockSuffisso);
    // The suffix belongs to one folder on one computer. A prepared folder copied to another
    // laptop (or beside itself) would share its identity, and with it every lock entry and the
    // held pieces it records: a copy takes a new identity and forgets those pieces.
    const std::string origine =
        ImprontaOrigine(till.svc.user.MachineId() + "|" + till.paths.programFolder);
    const std::string salvata = g.Read(keys::LockOrigine);
    if (o.lockSuffix.empty() || (!salvata.empty() && salvata != origine)) {
        till.identitaRinnovata = !o.lockSuffix.empty();
        o.lockSuffix = NuovoSuffisso(origine, FormatDateTime(till.svc.clock.Now()));
        g.Write(keys::LockSuffisso, o.lockSuffix);
        if (till.identitaRinnovata) g.Delete(keys::PezziTenuti, Idx(std::string_view()));
    }
    if (salvata != origine) g.Write(keys::LockOrigine, origine);
    o.gIdentitaLock = Left(utente, 20) + o.lockSuffix;
}

std::string FileCopiaPrincipale(const Till& till) {
    return till.paths.programFolder + "/" + kFileCopiaPrincipale;
}

constexpr const char* kSezioneCopia = "COPIA-VORSA-PRINCIPALE";

/// Reads the copy of the main till's file kept by earlier runs into the cache of `remoto`:
/// false when there is none of that main till.
bool SeminaCopiaPrincipale(Till& till, const std::string& remoto) {
    const ReadResult r = till.svc.files.ReadAll(FileCopiaPrincipale(till));
    if (r.status != ReadStatus::Ok) return false;
    IniDocument doc = IniDocument::Parse(r.bytes);
    if (doc.Get(kSezioneCopia, "ORIGINE").value_or("") != remoto) return false;
    doc.DeleteSection(kSezioneCopia);
    till.copiaPrincipale = r.bytes;
    till.store.profiles().Semina(remoto, std::move(doc));
    return true;
}

}  // namespace

void SalvaCopiaPrincipale(Till& till) {
    const std::string& remoto = till.paths.gFileDati;
    if (till.opt.gPrincipale || !IsNetworkPath(remoto)) return;
    const IniDocument* letto = till.store.profiles().LastGood(remoto);
    if (!letto || !till.store.profiles().Readable(remoto)) return;
    // Everything but the receipt archive, the bulk of the file, which selling does not need.
    IniDocument copia;
    copia.Set(kSezioneCopia, "ORIGINE", remoto);
    for (const std::string& s : letto->Sections()) {
        if (ToUpper(s) == "SCONTRINI") continue;
        for (const auto& [k, v] : letto->Entries(s)) copia.Set(s, k, v);
    }
    std::string bytes = copia.Serialize();
    if (bytes == till.copiaPrincipale) return;
    if (till.svc.files.ReplaceAll(FileCopiaPrincipale(till), bytes))
        till.copiaPrincipale = std::move(bytes);
}

bool DopoAggiornamento(Till& till, bool aggiornato) {
    if (!aggiornato) return false;
    SalvaCopiaPrincipale(till);
    if (till.statoMultiVorsa != MultiTillState::SecondariaInAttesa) return false;
    till.statoMultiVorsa = MultiTillState::SecondariaOk;
    return true;
}

namespace {

void LeggiRuolo(Till& till, const StartupHooks& hooks) {
    Options& o = till.opt;
    Paths& p = till.paths;
    for (const KeyDef* k : {&keys::MultiVorsa, &keys::Principale, &keys::SistemaRemoto,
                            &keys::LockAttesaMs, &keys::LockCicli})
        till.settings.Load(*k);
    till.statoMultiVorsa = MultiTillState::Singola;
    const std::string password = till.settings.Read(keys::PasswordMulti);
    o.multiTillPassword =
        password.empty() ? std::string() : DecodificaPassword(kChiavePassword, password);
    if (o.gMultiVorsa && hooks.share) hooks.share->UsaPassword(o.multiTillPassword);
    CaricaOpzioniWeb(till.settings);
    if (o.gMultiVorsa) {
        till.settings.Write(keys::Stazione, o.gNomeStazione, Idx(o.gIdentitaLock));
        if (!o.gPrincipale) {
            std::string remoto;
            if (!o.gSistemaRemoto.empty())
                remoto = hooks.share ? hooks.share->FileRemoto(o.gSistemaRemoto)
                                     : "//" + o.gSistemaRemoto + "/vorsa$/Vorsa.ini";
            if (o.gSistemaRemoto.empty()) {
                o.gMultiVorsa = false;
                till.statoMultiVorsa = MultiTillState::SecondariaSenzaNome;
            } else if (!till.store.EsisteFile(remoto)) {
                till.passwordRifiutata = hooks.share && hooks.share->PasswordRifiutata();
                if (!till.passwordRifiutata && SeminaCopiaPrincipale(till, remoto)) {
                    p.gFileDati = remoto;
                    p.gFileLock = remoto + ".lck";
                    till.statoMultiVorsa = MultiTillState::SecondariaInAttesa;
                } else {
                    o.gMultiVorsa = false;
                    till.statoMultiVorsa = MultiTillState::SecondariaIrraggiungibile;
                }
            } else {
                p.gFileDati = remoto;
                p.gFileLock = remoto + ".lck";
                till.statoMultiVorsa = MultiTillState::SecondariaOk;
            }
        } else {
            const bool ok = hooks.share && hooks.share->CondividiCartella(p.programFolder);
            till.statoMultiVorsa =
                ok ? MultiTillState::PrincipaleOk : MultiTillState::PrincipaleSenzaCondivisione;
        }
    }
    // The evening's data must never restart from a few keys written into a file that went.
    till.store.profiles().Proteggi(p.gFileDati);
    LockSettings& l = till.store.lock;
    l.gMultiVorsa = o.gMultiVorsa;
    l.gIdentitaLock = o.gIdentitaLock;
    l.gLockAttesaMs = o.gLockAttesaMs;
    l.gLockCicli = o.gLockCicli;
    l.gFileLock = p.gFileLock;
}

void LeggiComande(Till& till) {
    Options& o = till.opt;
    SettingsGateway& g = till.settings;
    g.Load(keys::NumeroComande);
    o.gComande.assign(static_cast<std::size_t>(o.gNumeroComande), KitchenOrderConfig{});
    for (const KeyDef* k :
         {&keys::ComandaNome, &keys::ComandaAbilitata, &keys::ComandaProdotti,
          &keys::ComandaStampante, &keys::ComandaFormato, &keys::ComandaCalcolaCarta,
          &keys::ComandaMargine, &keys::ComandaOpzione})
        g.LoadAll(*k, o.gNumeroComande);
}

void LeggiImmagini(Till& till) {
    SettingsGateway& g = till.settings;
    for (int n = 0; n < 2; ++n) {
        HeaderImage& im = till.opt.headerImages[static_cast<std::size_t>(n)];
        im = HeaderImage{};
        const std::string path = g.Read(keys::Immagine, n);
        if (path.empty() || !till.store.EsisteFile(path)) continue;
        im.path = path;
        im.height = static_cast<int>(Val(g.Read(keys::ImmagineAltezza, n)));
        im.width = static_cast<int>(Val(g.Read(keys::ImmagineLarghezza, n)));
        im.percent = static_cast<int>(
            Val(Correct(keys::ImmaginePercento, g.Read(keys::ImmaginePercento, n))));
    }
}

/// Options that their own start-up step reads, at the point where the order matters.
bool LettaAParte(const KeyDef* k) {
    using namespace keys;
    for (const KeyDef* p :
         {&Separatore, &Moneta, &MultiVorsa, &Principale, &SistemaRemoto, &LockAttesaMs, &LockCicli,
          &NumeroComande, &BordiMagnetici, &Sensibilita, &Aggiornamenti})
        if (k == p) return true;
    return false;
}

/// Every other option of the key table, in the table's order: a new option is read as soon as
/// it is declared.
void LeggiAltreOpzioni(Till& till) {
    SettingsGateway& g = till.settings;
    for (const KeyDef* k : AllKeys()) {
        // Per kitchen order (LeggiComande) or without a place in Options (records, pictures).
        if (!k->apply || k->section.find('#') != std::string_view::npos || LettaAParte(k)) continue;
        if (k->key.find('#') == std::string_view::npos) g.Load(*k);
    }
    for (const KeyDef* k : AllKeys())
        if (k->apply && k->key.find('#') != std::string_view::npos &&
            k->section.find('#') == std::string_view::npos && !LettaAParte(k))
            g.LoadAll(*k);
}

void LeggiStatistiche(Till& till) {
    Catalogue& c = till.cat;
    for (int n = 1; n <= c.gNumeroArticoli; ++n) {
        Article& a = c.gArticoli[n];
        a.soldQuantity = 0;
        a.soldAmount = Currency{};
        const auto r = LeggiStatistica(till.settings.Read(keys::StatArticolo, a.code, true),
                                       till.opt.gSeparatore);
        if (!r) continue;
        a.soldQuantity = r->quantity;
        a.soldAmount = r->amount;
    }
}

}  // namespace

std::optional<DataFileNotice> AvvisoPerFile(DataFileState stato, std::string_view file) {
    const std::string nome(file);
    switch (stato) {
        case DataFileState::Ok:
            return std::nullopt;
        case DataFileState::NonLeggibile:
            return DataFileNotice{
                "FILE DEI DATI NON LEGGIBILE",
                ConACapo({"Il file dei dati non si pu\xF2 leggere:", nome, "",
                          "La cassa funziona con le impostazioni predefinite, ma le vendite NON "
                          "verranno salvate e il file non verr\xE0 toccato.",
                          "Controllare che sia un file e non una cartella e che l'utente abbia il "
                          "permesso di leggerlo, poi riavviare il programma."})};
        case DataFileState::NonScrivibile:
            return DataFileNotice{
                "FILE DEI DATI NON SCRIVIBILE",
                ConACapo({"Il file dei dati non si pu\xF2 scrivere:", nome, "",
                          "Le vendite NON verranno salvate.",
                          "Controllare che la cartella del programma sia scrivibile e che il "
                          "disco non sia pieno, poi riavviare il programma."})};
    }
    return std::nullopt;
}

std::optional<MultiTillNotice> AvvisoPerStato(MultiTillState stato,
                                              const std::string& programFolder) {
    using S = MultiTillState;
    switch (stato) {
        case S::PrincipaleOk:
            return MultiTillNotice{"\r\nVorsa principale riabilitata senza problemi", "", 4000};
        case S::PrincipaleSenzaCondivisione:
            return MultiTillNotice{
                "Vorsa principale riabilitata, MA ci sono problemi nella condivisione di rete",
                "SUGGERIMENTO: Verificare se la cartella " + programFolder +
                    " \xE8 condivisa con nome [ vorsa$ ]",
                0};
        case S::SecondariaSenzaNome:
        case S::SecondariaIrraggiungibile:
            return MultiTillNotice{
                "Vorsa secondaria DISABILITATA, la vorsa principale NON \xE8 raggiungibile.\r\n"
                "Il programma \xE8 in modalit\xE0 vorsa SINGOLA",
                "SUGGERIMENTO: Verificare che la vorsa principale sia attiva e che tutti i "
                "paramentri della vorsa secondaria siano corretti",
                0};
        case S::SecondariaOk:
            return MultiTillNotice{"\r\nVorsa secondaria riabilitata senza problemi", "", 4000};
        case S::SecondariaInAttesa:
            return MultiTillNotice{
                "La vorsa principale NON \xE8 raggiungibile.\r\nSi vende con il catalogo "
                "ricevuto l'ultima volta: le vendite restano in attesa e saranno inviate "
                "appena la vorsa principale risponde.",
                "SUGGERIMENTO: Verificare che la vorsa principale sia accesa e collegata alla "
                "rete; non serve riavviare questa vorsa",
                0};
        case S::Singola:
            break;
    }
    return std::nullopt;
}

std::optional<MultiTillNotice> AvvisoPerStato(const Till& till) {
    auto avviso = AvvisoPerStato(till.statoMultiVorsa, till.paths.programFolder);
    if (avviso && till.passwordRifiutata)
        avviso->hint =
            "SUGGERIMENTO: La vorsa principale ha rifiutato la password: inserire la stessa "
            "password "
            "della vorsa principale in ALTRE OPZIONI PROGRAMMA (F7), riquadro Multi-vorsa";
    const bool aperta =
        till.statoMultiVorsa == MultiTillState::PrincipaleOk && till.opt.multiTillPassword.empty();
    if (avviso && aperta) {
        // Said every evening until it is set: a guest on the festival's Wi-Fi can change
        // every sale, the stock and the numbering.
        avviso->text +=
            "\r\n\r\nATTENZIONE: la condivisione non ha una password, chiunque sia "
            "collegato alla rete pu\xF2 modificare i dati della cassa.";
        avviso->hint =
            "SUGGERIMENTO: Impostare una password in ALTRE OPZIONI PROGRAMMA (F7), riquadro "
            "Multi-vorsa, e la stessa password nelle vorse secondarie";
        avviso->closeAfterMs = 0;
        avviso->allarme = true;
    }
    if (avviso && till.condivisioneNonScrivibile)
        avviso->hint =
            "SUGGERIMENTO: La condivisione [ vorsa$ ] non pu\xF2 scrivere nella cartella " +
            till.paths.programFolder +
            ". Come amministratore eseguire: VORSA_UTENTE=" + till.svc.user.NetworkUserName() +
            " bash scripts/setup.sh (la condivisione agisce come l'utente della vorsa)";
    return avviso;
}

std::optional<MultiTillNotice> AvvisoIdentita(const Till& till) {
    if (!till.identitaRinnovata || !till.opt.gMultiVorsa) return std::nullopt;
    return MultiTillNotice{
        "\r\nLa cartella del programma \xE8 la copia di quella di un'altra vorsa.\r\n"
        "Questa vorsa ha preso una nuova identit\xE0 (" +
            till.opt.gIdentitaLock + ") e pu\xF2 vendere insieme all'altra.",
        "", 0};
}

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

namespace {

/// The program's files and folders, and the password file taken over from where an earlier
/// version kept it.
void SetPaths(Till& till) {
    Paths& p = till.paths;
    auto& st = till.store;
    p.gFileIni = p.programFolder + "/Vorsa.ini";
    p.gFileDati = p.gFileIni;
    p.gFileLock = p.gFileDati + ".lck";
    p.gCartellaStatistiche = p.programFolder + "/Statistiche";
    p.gCartellaDati = p.programFolder + "/Dati";
    const std::string temp = st.CartellaTemp();
    p.gFileTmp = temp + "VorsaTmp.txt";
    // Hidden beside Vorsa.ini: the temporary folder is emptied at every boot, and with it the
    // passwords went. A file an earlier version left there is taken over once.
    const std::string nome = NomeFilePassword(till.svc.user.NetworkUserName());
    p.gFilePassword = p.programFolder + "/." + nome;
    if (!till.svc.files.Exists(p.gFilePassword)) {
        const ReadResult vecchio = till.svc.files.ReadAll(temp + nome);
        if (vecchio.status == ReadStatus::Ok &&
            till.svc.files.ReplaceAll(p.gFilePassword, vecchio.bytes))
            till.svc.files.Remove(temp + nome);
    }
}

}  // namespace

StartupResult AvviaTill(Till& till, const StartupHooks& hooks) {
    StartupResult r;
    Paths& p = till.paths;
    Options& o = till.opt;
    auto& st = till.store;
    SetPaths(till);
    st.lock.gFileLock = p.gFileLock;

    till.svc.files.RemoveStaleTemps(p.gFileIni);
    ScriviLeggimi(till);
    // One write per file for the whole sequence instead of one per healed key.
    st.IniziaBlocco();
    ScriviNota(till);
    till.cat.CaricaDimensioni(st, p.gFileDati);
    LeggiMonete(till);
    LeggiSeparatore(till);
    CaricaAzioni(till.settings, till.gAzioni);
    LeggiIdentita(till);
    LeggiRuolo(till, hooks);
    LeggiComande(till);
    CaricaPassword(till.settings, till.gAzioni);
    LeggiImmagini(till);
    LeggiAltreOpzioni(till);

    // Read directly: a dead till's lock entry must not hold up the start (commits read the
    // counter again under the data file's lock anyway).
    const long long scontrini = Val(till.settings.Read(keys::StatScontrini, {}, true));
    till.conto.gNumeroScontrino = static_cast<std::int32_t>(
        scontrini < 0 ? 0 : (scontrini > INT32_MAX ? INT32_MAX : scontrini));

    till.cat.CaricaProdotti(st, o, p);
    till.cat.AssegnaComande(o);
    till.cat.CaricaGruppi(st, o, p);
    till.cat.catalogueLoaded = true;
    LeggiStatistiche(till);

    till.settings.Write(keys::VersioneIni, "1");
    for (const KeyDef* k : {&keys::BordiMagnetici, &keys::Sensibilita, &keys::Aggiornamenti})
        till.settings.Load(*k);
    const bool scritto = st.ChiudiBlocco();

    // Checked last, so the 30 s of a slow share are not waited twice.
    auto& files = till.svc.files;
    if (till.statoMultiVorsa == MultiTillState::SecondariaInAttesa) {
        // Away by design of this state: its sales wait in this till's folder.
    } else if (!st.profiles().Readable(p.gFileDati)) {
        till.statoFileDati = DataFileState::NonLeggibile;
    } else if (!scritto || !files.CanReplace(p.gFileDati)) {
        till.statoFileDati = DataFileState::NonScrivibile;
    }

    r.controllaVersione = o.gAggiornamenti;
    return r;
}

namespace {

int Posizione(Till& till, const KeyDef& k, int max) {
    return IntoRange(till.settings.Read(k), k.def, k.min, max);
}

}  // namespace

LoadResult CaricaFinestra(Till& till, ScreenTwips screen) {
    LoadResult r;
    auto& st = till.store;
    const Paths& p = till.paths;

    SettingsGateway& g = till.settings;
    const KeyDef& t = keys::TimerCodiciMs;
    const long long ms = Val(g.Read(t));
    r.timerCodiciMs = (ms < t.min || ms > t.max) ? t.def : static_cast<int>(ms);
    g.Write(t, std::to_string(r.timerCodiciMs));

    const std::string versione = std::to_string(till.gNumeroVersione);
    if (g.Read(keys::Eula) != versione) {
        g.Write(keys::Eula, versione);
        const std::string leggimi = p.programFolder + "/Leggimi.txt";
        if (st.EsisteFile(leggimi)) {
            st.ApriConShell(leggimi);
            r.apriLeggimi = true;
        }
    }

    r.placement.top = Posizione(till, keys::FinestraTop, screen.height - 1000);
    r.placement.left = Posizione(till, keys::FinestraLeft, screen.width - 500);
    r.placement.width = Posizione(till, keys::FinestraWidth, screen.width - 500);
    r.placement.mode = Posizione(till, keys::FinestraMode, keys::FinestraMode.max);

    if (till.opt.gMultiVorsa) {
        // Lock entries a killed run of this till left behind, and the pieces it held then, go
        // back to the other tills.
        st.SbloccaChiaviProprie();
        till.RestituisciPezzi(PezziTenutiQui(g));
    }
    return r;
}

void ChiudiFinestra(Till& till, const WindowPlacement& placement) {
    auto& st = till.store;
    const Paths& p = till.paths;
    if (till.opt.gMultiVorsa) till.RestituisciPezzi(PezziTenutiQui(till.settings));
    st.IniziaBlocco();
    SettingsGateway& g = till.settings;
    g.Write(keys::FinestraTop, std::to_string(placement.top));
    g.Write(keys::FinestraLeft, std::to_string(placement.left));
    g.Write(keys::FinestraMode, std::to_string(placement.mode));
    g.Write(keys::FinestraWidth, std::to_string(placement.width));
    st.ChiudiBlocco();
    if (st.EsisteFile(p.gFileTmp)) st.CancellaFile(p.gFileTmp);
}

}  // namespace vorsa
