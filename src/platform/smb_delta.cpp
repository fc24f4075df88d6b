// The delta between two versions of a settings file: what a replace must send and what the
// server can copy itself.
#include <algorithm>

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

}  // namespace vorsa
