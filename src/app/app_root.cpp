#include "app/app_root.h"

#include <QMessageBox>
#include <QObject>

#include "app/web_pages.h"
#include "platform/text.h"
#include "printing/receipt_printer.h"
#include "printing/stampa_statistiche.h"
#include "sale/till.h"
#include "ui/editor_panel.h"
#include "ui/frm_vorsa.h"
#include "ui/notices/printer_lights.h"
#include "ui/print_panel.h"
#include "ui/right_panel.h"
#include "ui/sale_presenter.h"
#include "ui/settings/frm_opzioni_avanzate.h"
#include "ui/statistics_panel.h"
#include "ui/widgets/c_magnetic_wnd.h"

namespace vorsa {

namespace {

QString Utf8(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

/// A multi-till session works with other tills' files: a main till, or a secondary on the main
/// till's file.
bool SessioneCondivisa(MultiTillState s) {
    return s == MultiTillState::PrincipaleOk || s == MultiTillState::PrincipaleSenzaCondivisione ||
           s == MultiTillState::SecondariaOk || s == MultiTillState::SecondariaInAttesa;
}

/// A receipt printer whose page set-up tells its warnings in a message box.
std::unique_ptr<ReceiptPrinter> NuovaStampante(Till& till, PrintBackend& backend) {
    return std::make_unique<ReceiptPrinter>(
        till.PartiStampa(), backend, [](const std::string& title, const std::string& text) {
            QMessageBox::warning(nullptr, Utf8(title), Utf8(text));
        });
}

}  // namespace

// Members in construction order; they are destroyed in reverse, the window's users first.
struct AppRoot::Parts {
    Parts(Till& owner, AppServices s)
        : till(owner),
          printer(NuovaStampante(till, s.printBackend)),
          // Printer trouble is told in the message window; the sale stays saved whatever
          // happens.
          avvisi(frm.messaggi(), s.printerStateReader,
                 {[this](int k) { return printer->RistampaComanda(k); },
                  [this] { return printer->NumeroConto(); }}),
          spie(s.printerStateReader),
          vendita(frm, till, &domande, printer.get()),
          stampa(frm.Gestione(kPannelloImpostazioni), till.settings, printer.get(), till.cat,
                 domande,
                 [this](const std::string& p) {
                     vendita.vendita().PasswordSaver(kAzioneRistampa, p);
                 }),
          stampaStatistiche(printer->Layout()),
          statistiche(
              frm.Gestione(kPannelloStatistica), till,
              {[this] { return vendita.vendita().ChiediPassword(kAzioneStatistica); },
               [this](const StatisticsTexts& t) { stampaStatistiche.Stampa(t); },
               [this] { vendita.vendita().EseguiAzione(kAzioneStatistica); },
               [this](const std::string& p) {
                   vendita.vendita().PasswordSaver(kAzioneStatistica, p);
               },
               [this](int f, bool mod) { vendita.vendita().TastoGiu(Sale::KeyKind::F, f, mod); }},
              domande),
          rete{s.share, frm.messaggi(), SessioneCondivisa(till.statoMultiVorsa)},
          editor(frm, till, vendita.vendita(), domande, &rete) {
        printer->Sorveglia(&avvisi);
        spie.Segui([this] { return printer->StampantiInUso(); });
        spie.Affianca(&frm.Destro().PrintSwitch());
        // A kitchen order offered again and closed is asked for again by clicking the lights.
        QObject::connect(&spie, &PrinterLights::Cliccate, &avvisi, &PrintNotices::Riproponi);
        QObject::connect(&stampa, &PrintPanel::Fatto, &frm, [this] { frm.FocusCodeBox(); });
        QObject::connect(&statistiche, &StatisticsPanel::InfoPremuta, &frm, &FrmVorsa::MostraInfo);
        QObject::connect(&statistiche, &StatisticsPanel::Fatto, &frm, [this] {
            // A void gives pieces back: the buttons show the stock as it is now.
            Till& t = till;
            t.store.profiles().BeginSnapshot();
            for (int n = 1; n <= t.cat.gNumeroArticoli; ++n)
                t.cat.AggiornaArticolo(n, t.store, t.opt, t.paths, &frm);
            t.store.profiles().EndSnapshot();
            frm.FocusCodeBox();
        });
    }
    ~Parts() {
        printer->Sorveglia(nullptr);
        printer->Chiudi();  // the paper forms this run created
    }

    Till& till;
    std::unique_ptr<ReceiptPrinter> printer;
    FrmVorsa frm{till};
    PrompterQt domande{frm};
    WebPages web{till, frm.messaggi()};
    PrintNotices avvisi;
    PrinterLights spie;
    SalePresenter vendita;
    PrintPanel stampa;
    StampaStatistiche stampaStatistiche;
    StatisticsPanel statistiche;
    const NetworkOptions rete;
    EditorPanel editor;
    std::unique_ptr<cMagneticWnd> bordi;
};

AppRoot::AppRoot(Till& till, AppServices services)
    : parts_(std::make_unique<Parts>(till, std::move(services))) {}

AppRoot::~AppRoot() = default;

void AppRoot::Show() {
    Parts& p = *parts_;
    p.frm.Load();
    p.bordi = AttivaBordiMagnetici(p.frm, p.till.opt);
    p.vendita.Avvia();
    p.frm.show();
}

FrmVorsa& AppRoot::Window() const {
    return parts_->frm;
}

ReceiptPrinter& AppRoot::Printer() const {
    return *parts_->printer;
}

SalePresenter& AppRoot::Sale() const {
    return parts_->vendita;
}

WebPages& AppRoot::Web() const {
    return parts_->web;
}

}  // namespace vorsa
