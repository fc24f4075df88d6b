#pragma once
// The operator's side of the prompter and of the statistics' questions, answering from scripts
// and recording what it was asked, for the rules' tests.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace vorsa::test {

class ScriptedPrompter : public Prompter {
  public:
    std::deque<std::optional<std::string>> answers;  // input boxes, in order
    std::deque<bool> confirmations;
    std::vector<std::string> asked;      // titles of the input boxes
    std::vector<std::string> questions;  // titles of the Yes/No boxes
    std::vector<std::string> messages;   // texts of the message window
    std::vector<std::string> hints;      // and their hints
    std::vector<std::string> avvisi;     // "title: text" of the OK boxes
    std::optional<std::string> InputBox(const std::string& title,
                                        const std::string& prompt) override {
        asked.push_back(title);
        lastPrompt = prompt;
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    bool ConfermaSiNo(const std::string& title, const std::string&) override {
        questions.push_back(title);
        if (confirmations.empty()) return false;
        const bool a = confirmations.front();
        confirmations.pop_front();
        return a;
    }
    int MostraMessaggio(const std::string&, const std::string& text, const std::string& hint, bool,
                        const std::string&, const std::string&, bool, int) override {
        messages.push_back(text);
        hints.push_back(hint);
        return 6;
    }
    void Avviso(const std::string& title, const std::string& text) override {
        avvisi.push_back(title + ": " + text);
    }
    std::string lastPrompt;
};

}  // namespace vorsa::test
