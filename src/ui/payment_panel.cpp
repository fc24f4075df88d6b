#include "ui/payment_panel.h"

#include <QLabel>
#include <QPushButton>

#include "data/catalogue.h"
#include "platform/text.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {

namespace {

// Design measures inside the frame, in twips.
constexpr int kMargine = 120;
constexpr int kPasso = 720;
constexpr int kAltezza = 615;
constexpr int kColonnaMonete = 2400;
constexpr int kCodiceWidth = 420;
constexpr int kMonetaLeft = 600;
constexpr int kMonetaWidth = 1680;
constexpr int kTastierinoLeft = 4920;
constexpr int kTastoPasso = 890;
constexpr int kTastoWidth = 800;

// Keypad rows as on a calculator: 7 8 9 / 4 5 6 / 1 2 3 / 0 , Cancella.
constexpr std::array<std::array<int, 3>, 4> kTastierino{
    {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, 10, 11}}};

QPushButton* Bottone(QWidget* parent, const QString& name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

}  // namespace

PaymentPanel::PaymentPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(Indicizzato("frm_gestione", 2));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);

    for (int n = 0; n < 10; ++n) {
        const int left = kMargine + (n % 2) * kColonnaMonete;
        const int top = kMargine + (n / 2) * kPasso;
        auto* l = new QLabel(this);
        l->setObjectName(Indicizzato("lblSoldi", n));
        l->setAlignment(Qt::AlignCenter);
        Colloca(*l, left, top, kCodiceWidth, kAltezza);
        lblSoldi_[static_cast<std::size_t>(n)] = l;
        auto* b = Bottone(this, Indicizzato("cmdSoldi", n));
        Colloca(*b, left + kMonetaLeft - kMargine, top, kMonetaWidth, kAltezza);
        connect(b, &QPushButton::clicked, this, [this, n] { emit MonetaPremuta(n); });
        cmdSoldi_[static_cast<std::size_t>(n)] = b;
    }

    for (std::size_t row = 0; row < kTastierino.size(); ++row) {
        for (std::size_t col = 0; col < 3; ++col) {
            const int n = kTastierino[row][col];
            auto* b = Bottone(this, Indicizzato("cmdCalc", n));
            b->setText(n < 10    ? QString::number(n)
                       : n == 10 ? QStringLiteral(",")
                                 : QStringLiteral("Cancella"));
            Colloca(*b, kTastierinoLeft + static_cast<int>(col) * kTastoPasso,
                    kMargine + static_cast<int>(row) * kPasso, kTastoWidth, kAltezza);
            connect(b, &QPushButton::clicked, this, [this, n] { emit TastoPremuto(n); });
            cmdCalc_[static_cast<std::size_t>(n)] = b;
        }
    }
}

void PaymentPanel::Carica(const Options& o) {
    for (std::size_t n = 0; n < cmdSoldi_.size(); ++n) {
        cmdSoldi_[n]->setText(Testo(FormatCurrencyShort(o.gMonete[n]) + "  " + std::string(kEuro)));
        lblSoldi_[n]->setText(QStringLiteral("S%1").arg(n));
    }
}

QList<QPushButton*> PaymentPanel::Bottoni() const {
    QList<QPushButton*> all(cmdSoldi_.begin(), cmdSoldi_.end());
    for (QPushButton* b : cmdCalc_) all.append(b);
    return all;
}

}  // namespace vorsa
