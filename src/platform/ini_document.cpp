#include "platform/ini_document.h"

#include <initializer_list>
#include <unordered_map>

#include "platform/text.h"

namespace vorsa {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char FirstNonBlank(std::string_view line) {
    for (char c : line) {
        if (!IsBlank(c)) return c;
    }
    return '\0';
}

std::string Unquote(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string ValueOf(std::string_view keyLine) {
    return Unquote(Trim(keyLine.substr(keyLine.find('=') + 1)));
}

std::string KeySpelling(std::string_view keyLine) {
    return Trim(keyLine.substr(0, keyLine.find('=')));
}

// Built by appending: g++ 12 at -O3 warns falsely (-Wrestrict) on "literal" + std::string.
std::string Concat(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (auto part : parts) size += part.size();
    std::string out;
    out.reserve(size);
    for (auto part : parts) out.append(part);
    return out;
}

struct Line {
    std::string raw;
    std::string key;  // upper-cased name; meaningful only for key lines
    bool isKey = false;
};

Line MakeLine(std::string_view raw) {
    Line line{std::string(raw), {}, false};
    const char first = FirstNonBlank(raw);
    if (first != ';' && first != '[') {
        const std::size_t eq = raw.find('=');
        if (eq != std::string_view::npos) {
            line.isKey = true;
            line.key = ToUpper(Trim(raw.substr(0, eq)));
        }
    }
    return line;
}

// One header and the lines up to the next header. The key index is rebuilt lazily after a
// deletion shifts positions; appends never shift a key line, so they keep it valid.
struct Section {
    bool hasHeader = false;
    std::string header;  // raw header line
    std::string name;    // upper-cased name
    std::vector<Line> lines;
    mutable std::unordered_map<std::string, std::size_t> index;
    mutable std::size_t lastKey = kNone;
    mutable bool indexValid = false;

    void EnsureIndex() const {
        if (indexValid) return;
        index.clear();
        lastKey = kNone;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (!lines[i].isKey) continue;
            index.emplace(lines[i].key, i);  // first of duplicates wins
            lastKey = i;
        }
        indexValid = true;
    }

    std::size_t Find(const std::string& upperKey) const {
        EnsureIndex();
        auto it = index.find(upperKey);
        return it == index.end() ? kNone : it->second;
    }
};

}  // namespace

struct IniDocument::Impl {
    // sections[0] holds the lines before the first header and is never looked up.
    std::vector<Section> sections{Section{}};
    mutable std::unordered_map<std::string, std::size_t> sectionIndex;
    mutable bool sectionIndexValid = false;

    std::size_t FindSection(std::string_view name) const {
        if (!sectionIndexValid) {
            sectionIndex.clear();
            for (std::size_t i = 1; i < sections.size(); ++i) {
                sectionIndex.emplace(sections[i].name, i);
            }
            sectionIndexValid = true;
        }
        auto it = sectionIndex.find(ToUpper(Trim(name)));
        return it == sectionIndex.end() ? kNone : it->second;
    }
};

IniDocument::IniDocument() : impl_(new Impl) {}
IniDocument::~IniDocument() {
    delete impl_;
}
IniDocument::IniDocument(const IniDocument& o) : impl_(new Impl(*o.impl_)) {}
IniDocument& IniDocument::operator=(const IniDocument& o) {
    if (this != &o) *impl_ = *o.impl_;
    return *this;
}
// The source gets a fresh empty document so it stays usable after the move.
IniDocument::IniDocument(IniDocument&& o) noexcept : impl_(o.impl_) {
    o.impl_ = new Impl;
}
IniDocument& IniDocument::operator=(IniDocument&& o) noexcept {
    std::swap(impl_, o.impl_);
    return *this;
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    // A file saved as UTF-8 by an editor starts with a byte-order mark (or several, saved
    // again), which would hide the first section's header; the file is Windows-1252 and is
    // written back without them.
    while (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    IniDocument doc;
    auto& sections = doc.impl_->sections;
    auto addLine = [&sections](std::string_view raw) {
        if (FirstNonBlank(raw) == '[') {
            Section s;
            s.hasHeader = true;
            s.header = std::string(raw);
            const std::size_t open = raw.find('[');
            std::string_view name = raw.substr(open + 1);
            name = name.substr(0, name.find(']'));
            s.name = ToUpper(Trim(name));
            sections.push_back(std::move(s));
        } else {
            sections.back().lines.push_back(MakeLine(raw));
        }
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        addLine(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) addLine(bytes.substr(start));
    return doc;
}

std::string IniDocument::Serialize() const {
    std::size_t total = 0;
    for (const auto& s : impl_->sections) {
        total += s.header.size() + 2;
        for (const auto& l : s.lines) total += l.raw.size() + 2;
    }
    std::string out;
    out.reserve(total);
    for (const auto& s : impl_->sections) {
        if (s.hasHeader) {
            out += s.header;
            out += "\r\n";
        }
        for (const auto& l : s.lines) {
            out += l.raw;
            out += "\r\n";
        }
    }
    return out;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const std::size_t s = impl_->FindSection(section);
    if (s == kNone) return std::nullopt;
    const Section& sec = impl_->sections[s];
    const std::size_t at = sec.Find(ToUpper(Trim(key)));
    if (at == kNone) return std::nullopt;
    return ValueOf(sec.lines[at].raw);
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string spelling = Trim(key);
    std::string upperKey = ToUpper(spelling);
    const std::size_t s = impl_->FindSection(section);
    if (s == kNone) {
        Section sec;
        sec.hasHeader = true;
        sec.header = Concat({"[", Trim(section), "]"});
        sec.name = ToUpper(Trim(section));
        sec.lines.push_back(Line{Concat({spelling, "=", value}), upperKey, true});
        impl_->sections.push_back(std::move(sec));
        impl_->sectionIndex.emplace(impl_->sections.back().name, impl_->sections.size() - 1);
        return true;
    }
    Section& sec = impl_->sections[s];
    const std::size_t at = sec.Find(upperKey);
    if (at != kNone) {
        Line& line = sec.lines[at];
        // Same value as read back: leave the line alone so the caller can skip the write.
        if (ValueOf(line.raw) == Unquote(Trim(value))) return false;
        line.raw = Concat({KeySpelling(line.raw), "=", value});
        return true;
    }
    // Every line after the last key line is a non-key line, so inserting there moves no
    // indexed position.
    const std::size_t pos = sec.lastKey == kNone ? 0 : sec.lastKey + 1;
    sec.lines.insert(sec.lines.begin() + static_cast<std::ptrdiff_t>(pos),
                     Line{Concat({spelling, "=", value}), upperKey, true});
    sec.index.emplace(std::move(upperKey), pos);
    sec.lastKey = pos;
    return true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    const std::size_t s = impl_->FindSection(section);
    if (s == kNone) return false;
    Section& sec = impl_->sections[s];
    const std::size_t at = sec.Find(ToUpper(Trim(key)));
    if (at == kNone) return false;
    sec.lines.erase(sec.lines.begin() + static_cast<std::ptrdiff_t>(at));
    sec.indexValid = false;
    return true;
}

bool IniDocument::DeleteSection(std::string_view section) {
    const std::size_t s = impl_->FindSection(section);
    if (s == kNone) return false;
    auto& sections = impl_->sections;
    // Comments and other lines stay in place: they join the block before, after its last
    // key line, so that block's index stays valid.
    auto& previous = sections[s - 1].lines;
    for (auto& line : sections[s].lines) {
        if (!line.isKey) previous.push_back(std::move(line));
    }
    sections.erase(sections.begin() + static_cast<std::ptrdiff_t>(s));
    impl_->sectionIndexValid = false;
    return true;
}

bool IniDocument::HasSection(std::string_view section) const {
    return impl_->FindSection(section) != kNone;
}

std::vector<std::string> IniDocument::Sections() const {
    std::vector<std::string> out;
    for (const Section& sec : impl_->sections) {
        if (!sec.hasHeader) continue;
        const std::size_t open = sec.header.find('[');
        const std::size_t close = sec.header.find(']', open + 1);
        out.push_back(Trim(sec.header.substr(
            open + 1, close == std::string::npos ? std::string::npos : close - open - 1)));
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> IniDocument::Entries(
    std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> out;
    const std::size_t s = impl_->FindSection(section);
    if (s == kNone) return out;
    const Section& sec = impl_->sections[s];
    sec.EnsureIndex();
    for (std::size_t i = 0; i < sec.lines.size(); ++i) {
        const Line& line = sec.lines[i];
        if (line.isKey && sec.index.at(line.key) == i) {
            out.emplace_back(KeySpelling(line.raw), ValueOf(line.raw));
        }
    }
    return out;
}

}  // namespace vorsa
