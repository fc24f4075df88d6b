#pragma once
// The message window frmMessaggi and the object that owns it. The owner keeps the parameters
// and the answer (MessagesState), so there is one message window at a time: a new message
// unloads the open one first.
#include <QDialog>
#include <QPointer>
#include <array>
#include <cstdint>

#include "layout/messages_state.h"
#include "ui/notices/messages.h"

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace vorsa {

class FrmMessaggi final : public QDialog {
    Q_OBJECT
  public:
    FrmMessaggi(MessagesState& stato, QWidget* parent = nullptr);

    /// The load step: texts from the owner's parameters, then what `aspetto` shows.
    void Carica(const MessageLook& aspetto);
    /// The text in red: a danger to the evening's data.
    void TestoInRosso();
    /// Closes without an answer.
    void Scarica();

    QPushButton* Bottone(int i) const { return btnMessaggi_[static_cast<std::size_t>(i & 1)]; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    /// Escape does not dismiss the window: only its buttons, its timer or a key do.
    void reject() override {}

  private:
    void Premuto(int i);
    void TimerScaduto();
    /// Frames and texts for a window `larghezza` twips wide.
    void Disponi(int larghezza);
    void Chiudi();

    MessagesState& stato_;
    bool chiusura_ = false;
    QTimer* tmrMessaggi_ = nullptr;
    std::array<QPushButton*, 2> btnMessaggi_{};
    QLabel* lblSuggerimento_ = nullptr;
    QLabel* lblTesto_ = nullptr;
    QLabel* lblTitolo_ = nullptr;
    QFrame* bordo_ = nullptr;
    QFrame* riquadro_ = nullptr;
};

class QtMessages final : public Messages {
  public:
    /// Windows open over `parent` (centred on the screen without one).
    explicit QtMessages(QWidget* parent = nullptr);
    ~QtMessages() override;
    QtMessages(const QtMessages&) = delete;
    QtMessages& operator=(const QtMessages&) = delete;

    std::int16_t MostraMessaggio(const QString& title, const QString& text, const QString& hint,
                                 bool showButtons, const QString& caption0, const QString& caption1,
                                 bool modal, int intervalMs) override;
    void ProssimoInRosso() override { rosso_ = true; }

    /// From the load until a button (or the timer, or a key) closes it.
    bool IsOpen() const { return stato_.Aperto(); }
    std::int16_t Result() const { return stato_.Risposta(); }
    /// The window on screen, or null.
    FrmMessaggi* Finestra() const { return frm_.data(); }

  private:
    QPointer<QWidget> parent_;
    MessagesState stato_;
    QPointer<FrmMessaggi> frm_;
    unsigned generazione_ = 0;  // tells a modal call its window was replaced
    bool rosso_ = false;
};

}  // namespace vorsa
