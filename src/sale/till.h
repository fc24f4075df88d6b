#pragma once
// One till: the settings access, the options, the catalogue and the run-time state. Every
// piece of state lives here, so two tills can run in one process against one data file.
#include <cstdint>
#include <string>
#include <vector>

#include "data/catalogue.h"
#include "platform/file_access.h"
#include "platform/system.h"
#include "printing/print_seam.h"
#include "printing/receipt_layout.h"
#include "sale/actions.h"
#include "sale/bill.h"
#include "sale/sale.h"
#include "settings/options.h"
#include "settings/settings_gateway.h"
#include "settings/settings_store.h"

namespace vorsa {

/// The outside world as the till reaches it.
struct Services {
    FileAccess& files;
    Clock& clock;
    Sleeper& sleeper;
    UserInfo& user;
    Shell& shell;
};

struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

/// Whether the data file can be kept: a till that cannot read or write it sells, but saves
/// nothing, and must say so.
enum class DataFileState : int { Ok, NonLeggibile, NonScrivibile };

/// Multi-till outcome of start-up: 0 single till, 1/2 main till shared / not shared,
/// 3/4 secondary till fallen back to single (no remote name / remote file missing),
/// 5 secondary till on the main till's file, 6 secondary till waiting for it.
enum class MultiTillState : int {
    Singola = 0,
    PrincipaleOk = 1,
    PrincipaleSenzaCondivisione = 2,
    SecondariaSenzaNome = 3,
    SecondariaIrraggiungibile = 4,
    SecondariaOk = 5,
    /// A secondary till whose main till was away at start-up, selling from the catalogue it
    /// kept of it; its sales wait, and it joins the main till as soon as that answers.
    SecondariaInAttesa = 6
};

class Till {
  public:
    Till(Services services, std::string programFolder, Version version);
    Till(const Till&) = delete;
    Till& operator=(const Till&) = delete;

    Services svc;
    Paths paths;
    SettingsStore store;
    Options opt;
    /// The typed access to every key; reads and writes go through it.
    SettingsGateway settings;
    Catalogue cat;
    Azioni gAzioni;

    Version version;
    std::string gVersione;         // "1.4.7"
    std::int16_t gNumeroVersione;  // 147
    std::string gTitolo;           // caption of the main window

    MultiTillState statoMultiVorsa = MultiTillState::Singola;
    DataFileState statoFileDati = DataFileState::Ok;
    /// A main till whose share serves its folder but cannot write into it.
    bool condivisioneNonScrivibile = false;
    /// A secondary till whose password the main till refused.
    bool passwordRifiutata = false;
    /// Start-up found this folder copied from another till's and gave it a new lock identity.
    bool identitaRinnovata = false;

    Bill conto;
    /// Sales made while the shared data file could not be had, in this till's own folder.
    PendingSales attesa;
    /// A secondary till's copy of the main till's catalogue, as last written to its folder.
    std::string copiaPrincipale;

    /// The pieces the sale and the printouts work on.
    SaleParts PartiVendita() {
        return {cat, opt, settings, gAzioni, conto, svc.clock, svc.sleeper, gTitolo, attesa};
    }
    PrintInputs PartiStampa() {
        return {
            opt, cat, settings, svc.clock, svc.sleeper, conto.ultimoConto, conto.gNumeroScontrino};
    }

    bool RestituisciPezzi(const std::vector<std::pair<int, long long>>& pezzi) {
        return vorsa::RestituisciPezzi(settings, pezzi);
    }
};

}  // namespace vorsa
