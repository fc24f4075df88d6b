#pragma once
// Notices to the operator behind an interface, so the window layer can be tested without
// real message windows and the final message window can replace the interim one.
#include <QString>

namespace vorsa {

class Messaggi {
public:
    virtual ~Messaggi() = default;
    /// Shows `text` (and `hint` below it when not empty) with a single "OK" button, without
    /// blocking; closes by itself after `closeAfterMs` when that is > 0.
    virtual void MostraMessaggio(const QString& title, const QString& text, const QString& hint,
                                 int closeAfterMs) = 0;
};

/// Interim implementation on a non-modal QMessageBox.
class MessaggiBox final : public Messaggi {
public:
    void MostraMessaggio(const QString& title, const QString& text, const QString& hint,
                         int closeAfterMs) override;
};

/// What the operator is told about the multi-till outcome of start-up.
struct AvvisoMultiVorsa {
    QString text;
    QString hint;
    int closeAfterMs = 0;  // 0: stays until confirmed
};

/// The notice for a multi-till status 1..5; false for 0 (single till: nothing to say).
/// `programFolder` is Windows-1252.
bool AvvisoPerStato(int stato, const std::string& programFolder, AvvisoMultiVorsa& out);

inline const QString kTitoloMultiVorsa = QStringLiteral("MULTI - VORSA");

}  // namespace vorsa
