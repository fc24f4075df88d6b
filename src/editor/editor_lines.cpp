#include "editor/editor_lines.h"

#include <algorithm>

#include "platform/text.h"

namespace vorsa {
namespace {

constexpr std::size_t kLarghezzaNome = 50;
constexpr std::size_t kCampiRiga = 8;

}  // namespace

std::string PadDestra(std::string_view s, std::size_t width) {
    std::string r(s);
    if (r.size() < width) r.append(width - r.size(), ' ');
    return r;
}

std::string PadSinistra(std::string_view s, std::size_t width) {
    std::string r;
    if (s.size() < width) r.assign(width - s.size(), ' ');
    r += s;
    return r;
}

std::string RigaElenco(const Article& a, int used) {
    const bool nome = !a.name.empty();
    std::string r = " [";
    r += a.active ? 'A' : (nome ? '-' : ' ');
    r += a.separatePrint ? 's' : (nome ? '-' : ' ');
    r += "] ";
    r += PadDestra(nome ? a.name : "* Nessun prodotto in questa posizione *", kLarghezzaNome);
    r += " - ";
    r += kEuro;
    r += ":";
    const Currency dieci = Currency::FromUnits(10);
    const Currency cento = Currency::FromUnits(100);
    if (a.variablePrice) {
        r += "     ?";
    } else if (a.price >= Currency{} && a.price < dieci) {
        r += "  " + FormatCurrency(a.price);
    } else if (a.price >= dieci && a.price < cento) {
        r += " " + FormatCurrency(a.price);
    }
    const long long liberi = a.pieces == -1 ? -1 : static_cast<long long>(a.pieces) - used;
    r += " - Pz: " + PadSinistra(std::to_string(liberi), 4);
    if (a.threshold > 0) r += " (avv. " + PadSinistra(std::to_string(a.threshold), 3) + ")";
    return r;
}

std::vector<std::string> RigheMonete(const Options& o) {
    std::vector<std::string> r;
    for (std::size_t k = 0; k < o.gMonete.size(); ++k) {
        std::string riga = "S" + std::to_string(k) + " = ";
        if (o.gMonete[k] < Currency::FromUnits(10)) riga += ' ';
        riga += FormatCurrency(o.gMonete[k]);
        riga += " ";
        riga += kEuro;
        riga += "   [Dato in sola lettura presente in Vorsa.ini]";
        r.push_back(riga);
    }
    r.insert(r.end(), {"", "Questi sono i codici che possono essere usati durante il pagamento",
                       "utilizzando i codici a barre o la tastiera.", "",
                       "Digitando questi codici nel box del pagamento, il valore indicato",
                       "viene sommato al valore gi\xE0 presente nel box."});
    return r;
}

std::string CaptionDimensione(int pending, int size) {
    const std::string c = PadSinistra(std::to_string(pending), 3);
    return pending == size ? c : "*" + c;
}

bool NormalizzaCampo(int i, ArticleFieldValues& campi, const Options& o) {
    std::string s = Trim(campi[static_cast<std::size_t>(i)]);
    bool separatore = false;
    const std::string soglia = std::to_string(o.gSogliaProdotti);
    switch (i) {
        case 0: {
            const std::string sicuro = NomeSicuro(s, o.gSeparatore);
            separatore = s.find(o.gSeparatore) != std::string::npos;
            s = sicuro;
            break;
        }
        case 1:
            if (s.empty()) s = "0";
            break;
        case 2: {
            if (s.empty() || Val(s) < -1) s = "-1";
            const long long pezzi = Val(s);
            if (pezzi >= 1 && Val(campi[3]) < 1) campi[3] = soglia;
            if (pezzi < 1) campi[3] = "0";
            break;
        }
        case 3:
            if (s.empty() && Val(campi[2]) >= 1) s = soglia;
            if (Val(campi[2]) < 1) s = "0";
            break;
        default:
            return false;
    }
    campi[static_cast<std::size_t>(i)] = s;
    return separatore;
}

std::optional<std::string> PezziCorretti(std::string_view testo) {
    const std::string t = Trim(testo);
    if (t.empty()) return std::nullopt;
    const std::size_t segno = t[0] == '-' ? 1 : 0;
    if (t.size() == segno || t.find_first_not_of("0123456789", segno) != std::string::npos)
        return std::string("0");
    if (!segno && (t.size() > 5 || Val(t) > 32767)) return std::string("32767");
    return std::nullopt;  // below -1 becomes -1 as it always did
}

std::string NomeSicuro(std::string_view name, char separatore) {
    std::string s(name);
    std::replace(s.begin(), s.end(), separatore, ' ');
    return Trim(Left(Trim(s), kLarghezzaNome));
}

std::string RigaRiparata(std::string_view line, char separatore) {
    std::vector<std::string> f = Split(line, separatore);
    if (f.size() <= kCampiRiga) return std::string(line);
    // A closing separator (as hand-written lines often have) is no part of the name.
    while (f.size() > kCampiRiga && Trim(f.back()).empty()) f.pop_back();
    if (f.size() <= kCampiRiga) return std::string(line);
    const std::size_t pezziNome = f.size() - (kCampiRiga - 1);
    std::string nome;
    for (std::size_t j = 0; j < pezziNome; ++j) nome += (j ? " " : "") + Trim(f[j]);
    std::string r = nome;
    for (std::size_t j = pezziNome; j < f.size(); ++j) r += separatore + f[j];
    return r;
}

std::string_view NomeGiorno(int weekday) {
    static constexpr std::array<std::string_view, 7> kGiorni = {
        "domenica",   "luned\xEC",  "marted\xEC", "mercoled\xEC",
        "gioved\xEC", "venerd\xEC", "sabato"};
    return kGiorni[static_cast<std::size_t>(std::clamp(weekday, 0, 6))];
}

RenameAnswer ControllaNome(std::string_view answer) {
    const std::string nome = Trim(Left(answer, 19));
    // The name becomes a path inside Dati: nothing in it may lead out of the folder.
    const bool fuori =
        answer.find('/') != std::string_view::npos || answer.find('\\') != std::string_view::npos ||
        answer.find("..") != std::string_view::npos || answer.find('\0') != std::string_view::npos;
    if (fuori) return {{}, true};
    return {nome, false};
}

}  // namespace vorsa
