#pragma once
// An INI profile file held in memory with the Windows profile semantics:
// - section and key names match without regard to case; values keep their case;
// - spaces and tabs around names and values are trimmed on read, and one matching pair of
//   outer quotes ('...' or "...") is stripped from a value;
// - a line whose first non-blank character is ';' is a comment; '#' is not ("# Note 1:" is a key);
// - with duplicates, the first key (and the first section) wins on read and on write;
// - a section name ends at the first ']'; other lines are kept byte for byte;
// - writing an existing key replaces its line in place, keeping the key's spelling; a new key
//   goes right after the last key line of its section; a new section is appended at the end;
// - LF-only and CR-only files are read; Serialize() ends every line with CR LF.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorsa {

class IniDocument {
  public:
    IniDocument();
    ~IniDocument();
    IniDocument(const IniDocument&);
    IniDocument& operator=(const IniDocument&);
    IniDocument(IniDocument&&) noexcept;
    IniDocument& operator=(IniDocument&&) noexcept;

    static IniDocument Parse(std::string_view bytes);
    std::string Serialize() const;

    /// Value of the first matching key of the first matching section; nullopt when missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    /// Creates or replaces; returns false when the file content did not change.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    /// Returns false when there was no such key.
    bool DeleteKey(std::string_view section, std::string_view key);
    /// Removes the header and the key lines of the first matching section.
    bool DeleteSection(std::string_view section);
    bool HasSection(std::string_view section) const;
    /// Names of the sections with a header, in file order (as spelt in the file).
    std::vector<std::string> Sections() const;
    /// Key/value pairs of the first matching section in file order (first of duplicates only).
    std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

  private:
    struct Impl;
    Impl* impl_;
};

}  // namespace vorsa
