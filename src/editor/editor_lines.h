#pragma once
// The texts of the catalogue editor that depend on nothing but their inputs: the lines of
// lst_Prodotti_Elenco, the coin view, the form fields and the saved-file lines.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/catalogue.h"
#include "settings/options.h"

namespace vorsa {

/// "!@@@@" formats: text left-aligned and padded with blanks to `width` (longer text stays).
std::string PadDestra(std::string_view s, std::size_t width);
/// "@@@@" formats: text right-aligned in `width` characters (longer text stays).
std::string PadSinistra(std::string_view s, std::size_t width);

/// One line of lst_Prodotti_Elenco for an article with `used` pieces taken:
/// " [A-] Panino<padded to 50> - €:  2,30 - Pz:   50 (avv.  10)".
std::string RigaElenco(const Article& a, int used);

/// The read-only lines of the "MONETE" view.
std::vector<std::string> RigheMonete(const Options& o);

/// Caption of lbl_NewDim(s): " 14", "* 15" while a change is pending.
std::string CaptionDimensione(int pending, int size);

/// The article form: txt_Prodotto_New(0..3) (name, price, pieces, threshold).
using ArticleFieldValues = std::array<std::string, 4>;

/// What leaving field `i` makes of the form (the field itself and maybe the threshold).
/// Returns true when a separator had to leave the name.
bool NormalizzaCampo(int i, ArticleFieldValues& campi, const Options& o);

/// A pieces value the till cannot keep as typed (not a whole number, or beyond 32767): the value
/// it becomes. Nullopt when it is fine, empty included.
std::optional<std::string> PezziCorretti(std::string_view testo);

/// A name as an article line can hold it: the separator becomes a blank, at most 50
/// characters, trimmed.
std::string NomeSicuro(std::string_view name, char separatore);

/// An article line read from a file another till or a hand edit wrote: when the line holds
/// more than eight fields, the name held the separator; its pieces are joined with blanks.
/// "Pane;e;salame;2;1;0;-1;1;-1;0" -> "Pane e salame;2;1;0;-1;1;-1;0".
std::string RigaRiparata(std::string_view line, char separatore);

/// Italian weekday name of a date, as "dddd" shows it: "domenica".
std::string_view NomeGiorno(int weekday);

/// A saved catalogue name an operator may give: at most 19 characters, none of "/", "\",
/// "..", NUL; empty when the answer is refused.
struct RenameAnswer {
    std::string nome;
    bool rifiutato = false;
};
RenameAnswer ControllaNome(std::string_view answer);

}  // namespace vorsa
