// The delta between two versions of a settings file: what a replace must send and what the
// server can copy itself.
#include <algorithm>
#include <cstring>

#include "platform/smb_file_access.h"

namespace vorsa {
namespace {

constexpr std::size_t kLookAhead = 16;  // lines searched ahead to get back in step

std::size_t LineEnd(std::string_view s, std::size_t at) {
    const std::size_t nl = s.find('\n', at);
    return nl == std::string_view::npos ? s.size() : nl + 1;
}

class Builder {
  public:
    Builder(Delta& d, std::uint64_t minCopy) : d_(d), minCopy_(minCopy) {}
    void Literal(std::string_view bytes) {
        if (bytes.empty()) return;
        pending_.append(bytes);
    }
    void Copy(std::string_view oldBytes, std::uint64_t from, std::uint64_t length) {
        if (length == 0) return;
        if (runLength_ > 0 && runFrom_ + runLength_ == from) {
            runLength_ += length;
            return;
        }
        EndRun(oldBytes);
        runFrom_ = from;
        runLength_ = length;
    }
    void EndRun(std::string_view oldBytes) {
        if (runLength_ == 0) return;
        if (runLength_ < minCopy_) {
            pending_.append(oldBytes.substr(runFrom_, runLength_));
        } else {
            FlushLiteral();
            d_.ops.push_back(DeltaOp{true, runFrom_, runLength_, {}});
        }
        runLength_ = 0;
    }
    void Finish(std::string_view oldBytes) {
        EndRun(oldBytes);
        FlushLiteral();
    }

  private:
    void FlushLiteral() {
        if (pending_.empty()) return;
        d_.literalBytes += pending_.size();
        d_.ops.push_back(DeltaOp{false, 0, pending_.size(), std::move(pending_)});
        pending_.clear();
    }

    Delta& d_;
    std::uint64_t minCopy_;
    std::string pending_;
    std::uint64_t runFrom_ = 0;
    std::uint64_t runLength_ = 0;
};

}  // namespace

Delta ComputeDelta(std::string_view oldBytes, std::string_view newBytes, std::uint64_t minCopy) {
    Delta d;
    const std::size_t common = std::min(oldBytes.size(), newBytes.size());
    std::size_t first = static_cast<std::size_t>(
        std::mismatch(oldBytes.begin(), oldBytes.begin() + static_cast<std::ptrdiff_t>(common),
                      newBytes.begin())
            .first -
        oldBytes.begin());
    d.first = first;
    if (first == newBytes.size() && first == oldBytes.size()) return d;
    // Work on whole lines, so unchanged lines after a changed one line up again.
    while (first > 0 && newBytes[first - 1] != '\n') --first;
    std::size_t suffix = 0;
    const std::size_t room = std::min(oldBytes.size(), newBytes.size()) - first;
    while (suffix < room &&
           oldBytes[oldBytes.size() - 1 - suffix] == newBytes[newBytes.size() - 1 - suffix])
        ++suffix;
    // The copied tail also starts at a line, unless the files end without one.
    while (suffix > 0 && newBytes[newBytes.size() - suffix - 1] != '\n') --suffix;
    const std::size_t oldEnd = oldBytes.size() - suffix;
    const std::size_t newEnd = newBytes.size() - suffix;

    Builder b(d, minCopy);
    // Bytes between the line start and the first change are resent: a few at most.
    std::size_t o = first;
    std::size_t n = first;
    while (n < newEnd) {
        const std::size_t ne = std::min(LineEnd(newBytes, n), newEnd);
        const std::string_view line = newBytes.substr(n, ne - n);
        // The line where the old file stands, or one a few lines ahead of it.
        std::size_t found = std::string_view::npos;
        std::size_t probe = o;
        for (std::size_t k = 0; k < kLookAhead && probe < oldEnd; ++k) {
            const std::size_t oe = std::min(LineEnd(oldBytes, probe), oldEnd);
            if (oldBytes.substr(probe, oe - probe) == line) {
                found = probe;
                break;
            }
            probe = oe;
        }
        if (found != std::string_view::npos) {
            b.Copy(oldBytes, found, line.size());
            o = found + line.size();
        } else {
            b.EndRun(oldBytes);
            b.Literal(line);
        }
        n = ne;
    }
    b.Copy(oldBytes, oldEnd, suffix);
    b.Finish(oldBytes);
    d.first = first;
    return d;
}

namespace {

constexpr char kLogMagic[8] = {'V', 'O', 'R', 'S', 'A', 'L', '1', '\n'};
// Magic, length, sequence, sizes and hashes before and after, write time, flags, first changed
// byte, number of pieces; then the pieces; then the checksum of all that.
constexpr std::size_t kLogHeader = 8 + 8 * 10;
constexpr std::uint64_t kWhole = 1;

void Put(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

class Reader {
  public:
    explicit Reader(std::string_view s) : s_(s) {}
    bool Get(std::uint64_t& v) {
        if (s_.size() - at_ < 8) return false;
        v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s_[at_ + i]);
        at_ += 8;
        return true;
    }
    bool Take(std::uint64_t n, std::string& out) {
        if (s_.size() - at_ < n) return false;
        out.assign(s_.substr(at_, n));
        at_ += n;
        return true;
    }
    std::size_t at() const { return at_; }

  private:
    std::string_view s_;
    std::size_t at_ = 0;
};

// One entry from the start of `s`; nullopt unless it is whole and its checksum agrees.
std::optional<LogEntry> ParseEntry(std::string_view s) {
    if (s.size() < kLogHeader + 8 || std::memcmp(s.data(), kLogMagic, sizeof kLogMagic) != 0)
        return std::nullopt;
    Reader length(s.substr(8));
    std::uint64_t total = 0;
    if (!length.Get(total) || total < kLogHeader + 8 || total > s.size()) return std::nullopt;
    const std::string_view body = s.substr(0, total - 8);
    Reader sum(s.substr(total - 8));
    std::uint64_t check = 0;
    if (!sum.Get(check) || check != ContentHash(body)) return std::nullopt;
    Reader r(body.substr(16));
    LogEntry e;
    std::uint64_t mtime = 0, flags = 0, count = 0;
    for (std::uint64_t* v : {&e.seq, &e.preSize, &e.preHash, &e.postSize, &e.postHash, &mtime,
                             &flags, &e.delta.first, &count})
        if (!r.Get(*v)) return std::nullopt;
    e.postMtimeNs = static_cast<std::int64_t>(mtime);
    e.whole = (flags & kWhole) != 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        DeltaOp op;
        std::uint64_t tag = 0;
        if (!r.Get(tag)) return std::nullopt;
        op.copy = (tag & 1) != 0;
        op.length = tag >> 1;
        if (op.copy ? !r.Get(op.from) : !r.Take(op.length, op.literal)) return std::nullopt;
        if (!op.copy) e.delta.literalBytes += op.length;
        e.delta.ops.push_back(std::move(op));
    }
    if (r.at() + 16 != body.size()) return std::nullopt;
    e.end = total;
    return e;
}

}  // namespace

std::uint64_t ContentHash(std::string_view bytes) {
    constexpr std::uint64_t kPrime = 1099511628211ull;
    std::uint64_t h = 14695981039346656037ull ^ bytes.size();
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t w = 0;
        std::memcpy(&w, bytes.data() + i, 8);
        h = (h ^ w) * kPrime;
        h ^= h >> 32;  // the high bytes of a word reach the low bits too
    }
    for (; i < bytes.size(); ++i) h = (h ^ static_cast<unsigned char>(bytes[i])) * kPrime;
    return h;
}

std::string EncodeLogEntry(const LogEntry& e) {
    std::string out(kLogMagic, sizeof kLogMagic);
    Put(out, 0);  // the length, set below
    for (std::uint64_t v : {e.seq, e.preSize, e.preHash, e.postSize, e.postHash,
                            static_cast<std::uint64_t>(e.postMtimeNs), e.whole ? kWhole : 0,
                            e.delta.first, e.whole ? 0 : e.delta.ops.size()})
        Put(out, v);
    if (!e.whole) {
        for (const DeltaOp& op : e.delta.ops) {
            Put(out, (op.length << 1) | (op.copy ? 1 : 0));
            if (op.copy)
                Put(out, op.from);
            else
                out += op.literal;
        }
    }
    const std::uint64_t total = out.size() + 8;
    for (int i = 0; i < 8; ++i) out[8 + i] = static_cast<char>((total >> (8 * i)) & 0xFF);
    Put(out, ContentHash(out));
    return out;
}

std::vector<LogEntry> ParseLog(std::string_view log) {
    std::vector<LogEntry> out;
    std::uint64_t at = 0;
    while (auto e = ParseEntry(log.substr(at))) {
        at += e->end;
        e->end = at;
        out.push_back(std::move(*e));
    }
    return out;
}

std::optional<std::string> ApplyLogEntry(std::string_view oldBytes, const LogEntry& e,
                                         bool oldHashChecked) {
    if (e.whole || oldBytes.size() != e.preSize || e.delta.first > oldBytes.size() ||
        (!oldHashChecked && ContentHash(oldBytes) != e.preHash))
        return std::nullopt;
    std::string out(oldBytes.substr(0, e.delta.first));
    for (const DeltaOp& op : e.delta.ops) {
        if (!op.copy) {
            out += op.literal;
        } else if (op.from <= oldBytes.size() && op.length <= oldBytes.size() - op.from) {
            out.append(oldBytes.substr(op.from, op.length));
        } else {
            return std::nullopt;
        }
    }
    if (out.size() != e.postSize || ContentHash(out) != e.postHash) return std::nullopt;
    return out;
}

}  // namespace vorsa
