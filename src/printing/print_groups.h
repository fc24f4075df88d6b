#pragma once
// The advanced print groups as the print options dialog edits them: the groups of the
// catalogue, the articles of each, and the changes that land in the data file (the group list
// STAMPA AVANZATA/GRUPPI and the group number on each article line), each in one write.
#include <string>
#include <string_view>
#include <vector>

#include "data/catalogue.h"

namespace vorsa {

class SettingsGateway;

/// The stored group list: "name-number" entries joined by the separator.
/// {{1, "Cucina"}, {4, "Bar"}}, ';' -> "Cucina-1;Bar-4".
std::string FormatoGruppi(const std::vector<PrintGroup>& gruppi, char separatore);

class PrintGroups {
  public:
    PrintGroups(Catalogue& cat, SettingsGateway& settings);

    /// The groups in list order (lstGruppi).
    std::vector<PrintGroup> Gruppi() const;
    /// Indices of the named articles in no existing group (lstProdotti), in catalogue order.
    std::vector<int> SenzaGruppo() const;
    /// Indices of the named articles of group `number` (lstGruppiProdotti).
    std::vector<int> ArticoliDi(int number) const;

    /// The group at list position `pos` (0-based) takes the name; false when ignored.
    bool Rinomina(int pos, std::string_view nome);
    /// Deletes the group at `pos` when `conferma` (the name shown in txtGruppoDel) is not empty
    /// and another group remains; its articles go to no group.
    bool Elimina(int pos, std::string_view conferma);
    /// A new group numbered with the smallest free number from 1 to 32000; false when the name
    /// is empty or every number is taken.
    bool Aggiungi(std::string_view nome);
    /// Discards every group: each article in no group, the stored list empty.
    void Annulla();
    /// Articles (indices) into group `number` (0: no group), in one write; false when none of
    /// them changes.
    bool Sposta(const std::vector<int>& articoli, int number);

    const Catalogue& Cat() const { return cat_; }

  private:
    /// A name that reads back as itself from the stored list.
    std::string Pulisci(std::string_view nome) const;
    bool Esiste(int number) const;
    /// Writes the group list and the article lines `articoli` in one write, as user-defined.
    void Scrivi(const std::vector<int>& articoli);

    Catalogue& cat_;
    SettingsGateway& settings_;
};

}  // namespace vorsa
