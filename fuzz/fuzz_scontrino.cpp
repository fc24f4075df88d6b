// Any archive record reads without harm; a record the till writes reads back field by field.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/records.h"
#include "fuzz_check.h"

using vorsa::ArchivedReceipt;
using vorsa::Currency;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const char sep = in.PickValueInArray({';', '|', '#', '!'});
    if (in.ConsumeBool()) {
        const std::string record = in.ConsumeRemainingBytesAsString();
        const ArchivedReceipt s = vorsa::LeggiScontrino(record, sep);
        FUZZ_CHECK(s.voci.size() <= record.size());
        return 0;
    }
    // What a commit writes: lines of sold articles, the date, the total, the table text typed
    // by the operator and the till's identity (a name without dashes or separators).
    std::vector<ArchivedReceipt::Item> voci(in.ConsumeIntegralInRange<std::size_t>(0, 40));
    for (auto& v : voci) {
        v.code = in.ConsumeIntegralInRange(101, 380);
        v.quantity = in.ConsumeIntegralInRange(1, 32767);
        v.amount = Currency::FromRaw(in.ConsumeIntegralInRange<std::int64_t>(0, 1'000'000'000'000));
    }
    const vorsa::DateTime when{in.ConsumeIntegralInRange(2000, 2099),
                               in.ConsumeIntegralInRange(1, 12),
                               in.ConsumeIntegralInRange(1, 28),
                               in.ConsumeIntegralInRange(0, 23),
                               in.ConsumeIntegralInRange(0, 59),
                               in.ConsumeIntegralInRange(0, 59),
                               0};
    const Currency totale =
        Currency::FromRaw(in.ConsumeIntegralInRange<std::int64_t>(0, 1'000'000'000'000));
    std::string identita = in.ConsumeRandomLengthString(30);
    for (char& c : identita)
        if (c == '-' || c == sep) c = '_';
    const std::string tavolo = in.ConsumeRemainingBytesAsString();

    const std::string record = vorsa::TestoScontrino(voci, when, totale, tavolo, identita, sep);
    const ArchivedReceipt s = vorsa::LeggiScontrino(record, sep);
    FUZZ_CHECK(s.valido);
    FUZZ_CHECK(s.voci.size() == voci.size());
    for (std::size_t i = 0; i < voci.size(); ++i) {
        FUZZ_CHECK(s.voci[i].code == voci[i].code && s.voci[i].quantity == voci[i].quantity);
        FUZZ_CHECK(s.voci[i].amount == voci[i].amount);
    }
    FUZZ_CHECK(s.data == vorsa::FormatDateTime(when));
    FUZZ_CHECK(s.totale == totale);
    FUZZ_CHECK(s.identita == identita);
    std::string atteso = tavolo;
    for (char& c : atteso)
        if (c == sep) c = ' ';
    FUZZ_CHECK(s.tavolo == atteso);
    return 0;
}
