#include "printing/page_setup.h"

#include <algorithm>
#include <cmath>

#include "platform/text.h"

namespace vorsa {

const std::array<FormatItem, 7> kFormati = {{{"A4", 1},
                                             {"A5", 5},
                                             {"A6", 0},
                                             {"A7", 6},
                                             {"POS 57mm", 3},
                                             {"POS 80mm", 2},
                                             {"POS pers.", 4}}};

std::int32_t LarghezzaRotolo(std::string_view larghezza) {
    // The leading number as far as it is digits and at most one dot; a comma ends it.
    std::size_t i = 0;
    while (i < larghezza.size() && (larghezza[i] == ' ' || larghezza[i] == '\t')) ++i;
    std::string numero;
    bool punto = false;
    for (; i < larghezza.size(); ++i) {
        const char c = larghezza[i];
        if (c >= '0' && c <= '9') {
            numero += c;
        } else if (c == '.' && !punto) {
            punto = true;
            numero += c;
        } else {
            break;
        }
    }
    if (numero.empty() || numero == ".") return 0;
    const double cm = std::nearbyint(std::strtod(numero.c_str(), nullptr));  // half to even
    if (cm > 100000.0) return 100000 * 10000;
    return static_cast<std::int32_t>(cm) * 10000;
}

FormatRow RigaFormato(int code, std::string_view larghezza) {
    FormatRow r;
    switch (code) {
        case 1:
            r = {210000, 297000, false, 13, 12, 9, 11, 800};
            break;
        case 5:
            r = {148000, 210000, false, 13, 12, 9, 11, 800};
            break;
        case 6:
            r = {73000, 105000, false, 11, 10, 8, 9, 700};
            break;
        case 3:
            r = {57000, 500000, true, 8, 9, 6, 7, 500};
            break;
        case 2:
            r = {80000, 500000, true, 12, 11, 8, 10, 750};
            break;
        case 4: {
            // Below 8 cm the sizes of the 57 mm roll, below 10 cm those of the 80 mm roll: the
            // 13 pt names meant for 10 cm left eight letters a row on a 4 cm roll.
            const std::int32_t w = LarghezzaRotolo(larghezza);
            if (w < 80000)
                r = {w, 500000, true, 8, 9, 6, 7, 500};
            else if (w < 100000)
                r = {w, 500000, true, 12, 11, 8, 10, 750};
            else
                r = {w, 500000, true, 13, 12, 9, 11, 800};
            break;
        }
        default:
            break;  // A6
    }
    return r;
}

Margins MarginiStampante(const DeviceCaps& caps, const std::array<int, 4>& mm) {
    const auto twips = [](int millimetres) {
        return static_cast<std::int32_t>(std::lround(millimetres * 1440.0 / 25.4));
    };
    const int top = caps.offsetY;
    const int bottom = caps.physicalHeight - caps.offsetY - caps.vertRes;
    const int left = caps.offsetX;
    const int right = caps.physicalWidth - caps.offsetX - caps.horzRes;
    Margins m;
    m.top = std::max(0, twips(mm[0]) - PixelsToTwips(top, caps.dpiY));
    m.bottom = std::max(0, twips(mm[1]) - PixelsToTwips(bottom, caps.dpiY));
    m.left = std::max(0, twips(mm[2]) - PixelsToTwips(left, caps.dpiX));
    m.right = std::max(0, twips(mm[3]) - PixelsToTwips(right, caps.dpiX));
    return m;
}

std::int32_t LunghezzaCarta(int heightTwips, int mode, const DeviceCaps& caps) {
    const double decimi = std::floor(heightTwips * 254.0 / 1440.0 + 0.5);
    const double twips = std::floor(decimi * 567.0 / 100.0 + 0.5);
    const double mm = twips * 25.4 / 1440.0;
    const double p = 1440.0 / (caps.dpiY > 0 ? caps.dpiY : 600);
    double valore = 0;
    switch (mode) {
        case 1:
            valore = std::nearbyint(std::floor(mm * 567.0 / p) * 1.78 * p);
            break;
        case 2:
            valore = std::nearbyint(std::floor(mm * 567.0 / p) * 2.0 * p);
            break;
        default:
            valore = std::nearbyint(std::floor(mm * 1440.0 / p) * p);
            break;
    }
    return (static_cast<std::int32_t>(valore / 1000.0) + 2) * 1000;
}

PageSetup::PageSetup(PrintCursor& cursor, Options& options, PrinterMessage message)
    : cursor_(cursor), opt_(options), message_(std::move(message)) {
    profile.formatCode = static_cast<std::int16_t>(options.gFormato);
}

void PageSetup::ResetCapacities() {
    profile.nameChars = 0;
    profile.textChars = 0;
    profile.totalSize = 0;
}

void PageSetup::LoadPrinterList() {
    PrintBackend& b = cursor_.Backend();
    printerList = b.Printers();
    printerAvailable = !printerList.empty();
    const auto indexOf = [&](const std::string& name) -> int {
        for (std::size_t i = 0; i < printerList.size(); ++i)
            if (printerList[i] == name) return static_cast<int>(i);
        return -1;
    };
    int chosen = indexOf(opt_.receiptPrinterName);
    if (chosen < 0) chosen = std::max(0, indexOf(b.DefaultPrinter()));
    profile.printerIndex = static_cast<std::int16_t>(chosen);
    printerName = printerAvailable ? printerList[static_cast<std::size_t>(chosen)] : "";

    orders.resize(opt_.gComande.size());
    for (std::size_t k = 0; k < orders.size(); ++k) {
        const int i = indexOf(opt_.gComande[k].stampante);
        if (i >= 0) orders[k].printerIndex = static_cast<std::int16_t>(i);
    }
    SelezionaFormato(opt_.gFormato);
}

void PageSetup::SelezionaFormato(int code) {
    profile.formatCode = static_cast<std::int16_t>(code);
    opt_.gFormato = code;
    ResetCapacities();
    if (printerAvailable) {
        StampaInizializzaCancellaForm();
        ComputeMargins();
    }
}

bool PageSetup::SelezionaStampante(const std::string& name) {
    for (std::size_t i = 0; i < printerList.size(); ++i) {
        if (printerList[i] != name) continue;
        profile.printerIndex = static_cast<std::int16_t>(i);
        printerName = name;
        opt_.receiptPrinterName = name;
        ResetCapacities();
        StampaInizializzaCancellaForm();
        ComputeMargins();
        return true;
    }
    return false;
}

std::string PageSetup::StampanteComanda(int k) const {
    if (printerList.empty()) return "";
    std::size_t i = 0;
    if (k >= 1 && static_cast<std::size_t>(k) <= orders.size())
        i = static_cast<std::size_t>(orders[static_cast<std::size_t>(k - 1)].printerIndex);
    return i < printerList.size() ? printerList[i] : printerList.front();
}

void PageSetup::PreparePrinter(const std::function<std::int32_t()>& paperLength) {
    PrintBackend& b = cursor_.Backend();
    const FormatRow def;
    const auto apply = [this](const FormatRow& r) {
        profile.formWidth = r.width;
        profile.formLength = r.length;
        profile.roll = r.roll;
        profile.nameSize = r.nameSize;
        profile.titleSize = r.titleSize;
        profile.priceSize = r.priceSize;
        profile.textSize = r.textSize;
        profile.qtyColumnWidth = r.qtyColumnWidth;
    };
    apply(def);
    profile.gapUnit = 50;
    b.SetCurrentPrinter(printerName);
    cursor_.SetFontName(std::string(kFontName));
    b.SetResolution(kRisoluzione);

    std::string larghezza = Trim(opt_.posWidth);
    if (larghezza.empty()) larghezza = "10";
    apply(RigaFormato(profile.formatCode, larghezza));

    const std::string dummy(kFormDummy);
    if (profile.nameChars == 0 || profile.textChars == 0 || profile.totalSize == 0) {
        EnsureForm(printerName, profile.formWidth, profile.formLength, dummy);
        SelectForm(printerName, dummy);
        profile.totalSize = static_cast<std::int16_t>(FitFontForCharacters(34, profile.nameSize));
        ComputeLineCapacities();
        DeleteForm(printerName, dummy);
    }

    const bool computed = profile.roll && opt_.gCalcolaCarta >= 1 && opt_.gCalcolaCarta <= 3;
    if (computed && paperLength) {
        // Texts wrap by the width, so the length is measured on a page of this width, not on
        // the one the printer last had (a kitchen sheet, another format).
        EnsureForm(printerName, profile.formWidth, profile.formLength, dummy);
        SelectForm(printerName, dummy);
        profile.formLength = paperLength();
        DeleteForm(printerName, dummy);
    }

    if (profile.formCounter == 0 || computed) {
        const bool same = profile.lastFormLength == profile.formLength && profile.formCounter != 0;
        if (!same) {
            profile.lastFormLength = profile.formLength;
            profile.lastFormName = StampaInizializzaCreaNomeForm();
            EnsureForm(printerName, profile.formWidth, profile.formLength, profile.lastFormName);
        }
    }
    SelectForm(printerName, profile.lastFormName);
}

void PageSetup::MarginChanged(int i) {
    if (i >= 2) profile.nameChars = profile.textChars = profile.totalSize = 0;
    if (printerAvailable) ComputeMargins();
}

void PageSetup::ComputeMargins() {
    PrintBackend& b = cursor_.Backend();
    b.SetCurrentPrinter(printerName);
    const Margins m = MarginiStampante(b.Caps(), opt_.gMargini);
    profile.topMargin = m.top;
    profile.bottomMargin = m.bottom;
    profile.leftMargin = m.left;
    profile.rightMargin = m.right;
}

void PageSetup::ComputeLineCapacities() {
    const int w = PrintableWidth();
    const int nameX = cursor_.WidthAt(profile.nameSize, "X");
    const int textX = cursor_.WidthAt(profile.textSize, "X");
    const int between = w - profile.rightMargin - profile.leftMargin;
    profile.nameChars = static_cast<std::int16_t>(
        nameX > 0 ? std::max(0, between - profile.qtyColumnWidth) / nameX : 0);
    profile.textChars = static_cast<std::int16_t>(textX > 0 ? std::max(0, between) / textX : 0);
}

int PageSetup::FitFontForCharacters(int n, int startSize) {
    const int avail = PrintableWidth() - profile.rightMargin - profile.leftMargin;
    const std::string xs(static_cast<std::size_t>(std::max(0, n)), 'X');
    for (int s = startSize; s > 0; --s)
        if (cursor_.WidthAt(s, xs) < avail) return s;
    return 0;
}

int PageSetup::PrintableWidth() {
    const DeviceCaps c = cursor_.Backend().Caps();
    return PixelsToTwips(c.horzRes, c.dpiX);
}

int PageSetup::PrintableHeight() {
    const DeviceCaps c = cursor_.Backend().Caps();
    return PixelsToTwips(c.vertRes, c.dpiY);
}

double PageSetup::PixelTwipsY() {
    const DeviceCaps c = cursor_.Backend().Caps();
    return 1440.0 / (c.dpiY > 0 ? c.dpiY : 600);
}

}  // namespace vorsa
