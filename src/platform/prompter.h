#pragma once
// The operator's modal boxes as the rules see them: the main window implements it, tests
// script it. It sits at the bottom so every layer's rules can ask the same way.
#include <optional>
#include <string>

namespace vorsa {

class Prompter {
  public:
    virtual ~Prompter() = default;
    /// Input box; nullopt on Cancel.
    virtual std::optional<std::string> InputBox(const std::string& title,
                                                const std::string& prompt) = 0;
    /// Yes/No box with the warning icon and No as default; true for Yes.
    virtual bool ConfermaSiNo(const std::string& title, const std::string& text) = 0;
    /// The message window; returns 6 (button 1), 7 (button 0) or -1.
    virtual int MostraMessaggio(const std::string& title, const std::string& text,
                                const std::string& hint, bool showButtons,
                                const std::string& caption0, const std::string& caption1,
                                bool modal, int intervalMs) = 0;
    /// A warning box with a single OK button.
    virtual void Avviso(const std::string& title, const std::string& text) = 0;
};

}  // namespace vorsa
