#include "app/web_pages.h"

#include "sale/till.h"
#include "ui/notices/messages.h"
#include "web/ready_marks.h"

namespace vorsa {

WebPages::WebPages(Till& till, Messages& messaggi)
    : till_(till),
      messaggi_(messaggi),
      serata_(till.settings, till.cat),
      server_([this](std::int32_t n) { return Segna(n); }) {
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &WebPages::Tick);
    Applica();
    timer_.start();
}

WebPages::~WebPages() = default;

bool WebPages::ServeLePagine(const Till& till) {
    return till.opt.webEnabled && (!till.opt.gMultiVorsa || till.opt.gPrincipale);
}

std::tuple<bool, int, std::string, std::string> WebPages::Voluto() const {
    const Options& o = till_.opt;
    return {ServeLePagine(till_), o.webPort, o.kitchenPin, o.takingsPin};
}

void WebPages::Tick() {
    if (Voluto() != applicato_) Applica();
    Aggiorna();
}

void WebPages::Applica() {
    const Options& o = till_.opt;
    applicato_ = Voluto();
    if (!ServeLePagine(till_)) {
        server_.Ferma();
        return;
    }
    if (server_.Porta() != o.webPort) {
        QString errore;
        if (!server_.Avvia(static_cast<quint16>(o.webPort), &errore)) {
            messaggi_.MostraMessaggio(
                QStringLiteral("Pagine web"),
                QStringLiteral("Le pagine web non sono attive: la porta %1 non si apre (%2).")
                    .arg(o.webPort)
                    .arg(errore),
                QStringLiteral("Scegli un'altra porta nelle opzioni avanzate."), false, {}, {},
                false, 0);
            return;
        }
    }
    server_.ImpostaPin(o.kitchenPin, o.takingsPin);
    // A server just started has no figures yet: it gets all of them.
    serata_.Aggiorna();
    server_.Pubblica({serata_.JsonNumeri(), serata_.JsonCucina(), serata_.JsonIncassi()});
}

void WebPages::Aggiorna() {
    if (!server_.Attivo()) return;
    if (serata_.Aggiorna())
        server_.Pubblica({serata_.JsonNumeri(), serata_.JsonCucina(), serata_.JsonIncassi()});
}

ReadyResult WebPages::Segna(std::int32_t numero) {
    const ReadyResult e = SegnaPronto(till_.settings, numero, till_.svc.clock.Now());
    Aggiorna();
    return e;
}

}  // namespace vorsa
