#pragma once
// The current bill and the receipt counter. The bill's lines live in the articles
// (listIndex, quantity, lineTotal); these are the rest of it.
#include <cstdint>
#include <string>

#include "platform/currency.h"
#include "platform/system.h"
#include "printing/print_seam.h"

namespace vorsa {

struct Bill {
    Currency gTotaleConto;
    std::string gTavolo;
    std::string gCommento;
    DateTime gDataScontrino;
    std::int32_t gNumeroScontrino = 0;  // last committed receipt
    LastBill ultimoConto;               // with its copy flag gRistampaFatta
};

}  // namespace vorsa
