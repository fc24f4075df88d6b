#pragma once
// A Code 39 reader for the tests, built from the standard's element patterns and nothing of
// the program's encoder: it reads a row of black and white cells (pixels or twips) the way a
// scanner crosses a printed barcode.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace vorsa::test {

struct Code39Read {
    bool ok = false;
    std::string text;       // between the start and stop characters
    std::string why;        // what went wrong, for the failure message
    double quietLeft = 0;   // white before the first bar, in narrow-bar widths
    double quietRight = 0;  // white after the last bar, in narrow-bar widths
};

/// Reads the barcode whose bars lie in cells [from, to) of `row` (true = black). The quiet
/// zones are measured outwards from the first and last bar up to the next black cell or the
/// end of the row (the edge of the paper).
inline Code39Read ReadCode39(const std::vector<bool>& row, int from, int to) {
    // Bars B and spaces S in the order B S B S B S B S B; "w" wide, "n" narrow.
    static const std::map<std::string, char> kStandard = {
        {"nnnwwnwnn", '0'}, {"wnnwnnnnw", '1'}, {"nnwwnnnnw", '2'}, {"wnwwnnnnn", '3'},
        {"nnnwwnnnw", '4'}, {"wnnwwnnnn", '5'}, {"nnwwwnnnn", '6'}, {"nnnwnnwnw", '7'},
        {"wnnwnnwnn", '8'}, {"nnwwnnwnn", '9'}, {"nwnnwnwnn", '*'}, {"nwnnnnwnw", '-'},
    };
    Code39Read r;
    const int n = static_cast<int>(row.size());
    from = std::clamp(from, 0, n);
    to = std::clamp(to, 0, n);
    const auto black = [&row](int i) {
        return static_cast<bool>(row[static_cast<std::size_t>(i)]);
    };
    int first = from, last = to - 1;
    while (first < to && !black(first)) ++first;
    while (last >= first && !black(last)) --last;
    if (first >= to || last < first) {
        r.why = "no bars";
        return r;
    }
    // Lengths of the alternating black and white runs, black first.
    std::vector<int> runs;
    for (int i = first; i <= last; ++i) {
        if (i == first || black(i) != black(i - 1)) runs.push_back(0);
        ++runs.back();
    }
    const int narrow = *std::min_element(runs.begin(), runs.end());
    int left = 0, right = 0;
    for (int i = first - 1; i >= 0 && !black(i); --i) ++left;
    for (int i = last + 1; i < n && !black(i); ++i) ++right;
    r.quietLeft = static_cast<double>(left) / narrow;
    r.quietRight = static_cast<double>(right) / narrow;

    // Nine elements per character, then one inter-character space.
    std::string decoded;
    for (std::size_t i = 0; i < runs.size(); i += 10) {
        if (i + 9 > runs.size()) {
            r.why = "a character is incomplete";
            return r;
        }
        std::string key;
        for (std::size_t k = i; k < i + 9; ++k) key += runs[k] * 2 > narrow * 3 ? 'w' : 'n';
        const auto it = kStandard.find(key);
        if (it == kStandard.end()) {
            r.why = "unknown pattern " + key;
            return r;
        }
        decoded += it->second;
    }
    if (decoded.size() < 2 || decoded.front() != '*' || decoded.back() != '*') {
        r.why = "no start or stop character in " + decoded;
        return r;
    }
    r.text = decoded.substr(1, decoded.size() - 2);
    r.ok = r.text.find('*') == std::string::npos;
    if (!r.ok) r.why = "a start character inside " + decoded;
    return r;
}

}  // namespace vorsa::test
