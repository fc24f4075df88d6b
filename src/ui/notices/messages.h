#pragma once
// Notices to the operator behind an interface, so the window layer can be tested without
// real message windows. QtMessages (frm_messaggi.h) is the real one.
#include <QString>
#include <cstdint>

namespace vorsa {

class Messages {
  public:
    virtual ~Messages() = default;
    /// Shows the message window: `title`, `text`, `hint` below (hidden when empty), buttons
    /// btnMessaggi(0) = `caption0` (none when blank) and btnMessaggi(1) = `caption1` when
    /// `showButtons`; it closes by itself after `intervalMs` when that is >= 1. A modal call
    /// returns once the window closed: 6 for button 1, 7 for button 0; -1 while no button
    /// answered (a window that is not modal, or one replaced by the next message).
    virtual std::int16_t MostraMessaggio(const QString& title, const QString& text,
                                         const QString& hint, bool showButtons,
                                         const QString& caption0, const QString& caption1,
                                         bool modal, int intervalMs) = 0;
    /// The next message's text shows in red (a danger to the evening's data); one message only.
    virtual void ProssimoInRosso() {}
};

}  // namespace vorsa
