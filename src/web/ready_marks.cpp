#include "web/ready_marks.h"

#include "data/records.h"
#include "platform/text.h"

namespace vorsa {

namespace {

ReadyResult Controlla(SettingsGateway& settings, std::int32_t numero) {
    if (numero < 1 || settings.Read(keys::Scontrino, numero, true).empty())
        return ReadyResult::Sconosciuto;
    for (const Storno& s :
         LeggiStorni(settings.Read(keys::Storni, {}, true), settings.options().gSeparatore))
        if (s.numero == numero) return ReadyResult::Stornato;
    if (!settings.Read(keys::Pronto, numero, true).empty()) return ReadyResult::GiaPronto;
    return ReadyResult::Segnato;
}

}  // namespace

ReadyResult SegnaPronto(SettingsGateway& settings, std::int32_t numero, const DateTime& quando) {
    SettingsStore& st = settings.store();
    const long fallite = st.scrittureFallite();
    if (st.IniziaTransazione(settings.paths().gFileDati) != SettingsStore::TransactionResult::Ok)
        return ReadyResult::NonSalvato;
    const ReadyResult esito = Controlla(settings, numero);
    if (esito != ReadyResult::Segnato) {
        st.AnnullaTransazione();
        return esito;
    }
    settings.Write(keys::Pronto, FormatDateTime(quando), numero);
    st.ChiudiTransazione();
    return st.scrittureFallite() == fallite ? ReadyResult::Segnato : ReadyResult::NonSalvato;
}

std::optional<std::int32_t> NumeroScansionato(std::string_view codice) {
    // A scanner ends what it read with Enter; Code 39 starts and ends with '*'.
    const auto trim = [](std::string_view s) {
        const auto a = s.find_first_not_of(" \t\r\n");
        return a == s.npos ? std::string()
                           : std::string(s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1));
    };
    std::string t = trim(codice);
    if (t.size() >= 2 && t.front() == '*' && t.back() == '*') t = trim(t.substr(1, t.size() - 2));
    if (t.empty() || t.size() > 9 || !IsInteger(t) || t.find_first_not_of("0123456789") != t.npos)
        return std::nullopt;
    const long long n = Val(t);
    if (n < 1) return std::nullopt;
    return static_cast<std::int32_t>(n);
}

}  // namespace vorsa
