#pragma once
// The in-memory catalogue: three fixed sections of numbered positions, one Article each.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"
#include "settings/options.h"

namespace vorsa {

class SettingsStore;

/// Colours as 0xRRGGBB; kColoreBottone is the platform's button-face colour.
inline constexpr int kColoreBottone = -1;
inline constexpr int kGiallo = 0xFFFF00;
inline constexpr int kAzzurro = 0x80FFFF;
inline constexpr int kNero = 0x000000;
inline constexpr int kRossoScuro = 0x800000;
inline constexpr int kBlu = 0x0000FF;

/// Stock states. They share their numbers with the feedback labels lbl_conf_code(0..4), so a
/// state shows its own label.
inline constexpr int kStatoNormale = 1;
inline constexpr int kStatoFinito = 3;
inline constexpr int kStatoSottoScorta = 4;

/// The feedback labels lbl_conf_code(0..4) that are not stock states.
inline constexpr int kRiscontroErrore = 0;  // "ERRORE"
inline constexpr int kRiscontroOk = kStatoNormale;
inline constexpr int kRiscontroCodice = 2;  // "Codice:", the resting prompt

struct Sezione {
    std::string name;
    std::int16_t codeBase = 0;
    std::int16_t size = 0;
    std::int16_t pendingSize = 0;
    std::int16_t defaultSize = 0;
};

struct Article {
    std::int16_t code = 0;
    std::int16_t listIndex = -1;
    std::int16_t position = 0;
    std::string name;
    Currency price;
    bool variablePrice = false;
    std::int16_t quantity = 0;
    std::int16_t sharedCount = 0;
    Currency lineTotal;
    std::int32_t soldQuantity = 0;
    Currency soldAmount;
    bool active = false;
    bool separatePrint = false;
    std::int16_t pieces = -1;
    std::int16_t referencePieces = -1;
    std::int16_t threshold = 0;
    std::int16_t section = 0;
    std::int16_t printGroup = 0;
    std::uint8_t kitchenOrder = 0;
};

struct PrintGroup {
    std::int16_t number = 0;
    std::string name;
};

/// A label text with its colour.
struct PriceLabel {
    std::string text;
    int colour = kNero;
};

/// What the catalogue paints; the main window implements it. Sections 0..2, positions 1-based.
class CatalogueView {
  public:
    virtual ~CatalogueView() = default;
    virtual int ButtonColour(int section, int position) = 0;
    virtual void SetButtonColour(int section, int position, int colour) = 0;
    virtual bool ButtonEnabled(int section, int position) = 0;
    virtual void SetButtonEnabled(int section, int position, bool enabled) = 0;
    virtual void SetLabelsVisible(int section, int position, bool visible) = 0;
    virtual void SetCodeLabel(int section, int position, const std::string& text) = 0;
    virtual void SetPriceLabel(int section, int position, const PriceLabel& label) = 0;
    /// Makes lbl_conf_code(state) visible.
    virtual void ShowFeedback(int state) = 0;
};

class Catalogue {
  public:
    /// Section records with names, code bases and default sizes (sizes not yet read).
    Catalogue();

    std::array<Sezione, 3> sezioni;
    /// Indices 0..gNumeroArticoli; index 0 is the reserved sample article.
    std::vector<Article> gArticoli;
    int gNumeroArticoli = 0;
    std::vector<PrintGroup> gGruppi;  // index 0 unused; 1..gNumeroGruppi
    int gNumeroGruppi = 0;
    bool catalogueLoaded = false;

    /// Reads DIMENSIONE of each section from `file` (1..80, else the default, written back)
    /// and sizes the table, with the sample article at index 0.
    void CaricaDimensioni(SettingsStore& store, const std::string& file);

    /// Article index of a code, or -1 when it lies in no section: 101 -> 1, 201 -> size0 + 1.
    int IndiceArticolo(int code) const;
    /// First article index of a section.
    int PrimoIndice(int section) const;

    void CaricaProdotti(SettingsStore& store, const Options& o, const Paths& paths);
    void AggiornaArticolo(int index, SettingsStore& store, const Options& o, const Paths& paths,
                          CatalogueView* view);
    /// Stock state of an article with `used` pieces taken: 1, 3 or 4.
    int StatoArticolo(int index, int used, const Options& o) const;
    /// True when `remaining` pieces (or their percentage of the reference pieces) are at or
    /// below the article's threshold.
    bool SottoSoglia(int index, long long remaining, const Options& o) const;
    void ColoraArticolo(int state, int section, int position, bool show, CatalogueView& view) const;
    void AbilitaArticoli(bool lock, CatalogueView& view) const;
    void AssegnaComande(const Options& o);
    void CaricaGruppi(SettingsStore& store, const Options& o, const Paths& paths);

    /// The article line as stored in the data file, fields joined by the separator.
    std::string RigaArticolo(int index, char separatore) const;
    void ScriviArticolo(int index, int position, const std::string& file, bool unlock,
                        SettingsStore& store, const Options& o) const;
    bool BloccaArticolo(int index, SettingsStore& store) const;

    /// Pieces taken from stock: the bill's quantity on a single till, the shared counter
    /// in multi-till mode.
    int Usati(int index, const Options& o) const;
    /// Code label: "Cod. 101", or "Pz: 7" when the remaining pieces are shown.
    std::string EtichettaCodice(int index, int used, const Options& o) const;
    /// Price label: "€ 2,30" in dark red, "€   ?" in blue for a variable price.
    PriceLabel EtichettaPrezzo(int index) const;

    /// Paints every active article in its stock state (the main window's load step).
    void ColoraTutti(const Options& o, CatalogueView& view) const;
};

/// The euro sign in Windows-1252.
inline constexpr std::string_view kEuro = "\x80";

}  // namespace vorsa
