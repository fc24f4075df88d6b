#pragma once
// Running the poppler tools on the PDFs the Qt back end writes.
#include <array>
#include <cstdio>
#include <memory>
#include <regex>
#include <string>

namespace vorsa::test {

/// Output of a shell command; empty when it cannot run.
inline std::string Run(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return out;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe.get())) > 0) out.append(buf.data(), n);
    return out;
}

inline bool HaveTool(const std::string& tool) {
    return !Run("command -v " + tool + " 2>/dev/null").empty();
}

/// pdftotext -layout of a file, as UTF-8 text.
inline std::string PdfText(const std::string& path) {
    return Run("pdftotext -layout '" + path + "' - 2>/dev/null");
}

/// Page width and height in points of the first page, from pdfinfo.
inline std::pair<double, double> PdfPageSize(const std::string& path) {
    const std::string info = Run("pdfinfo '" + path + "' 2>/dev/null");
    std::smatch m;
    static const std::regex re(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)");
    if (!std::regex_search(info, m, re)) return {0, 0};
    return {std::stod(m[1]), std::stod(m[2])};
}

/// Position of `needle` in `text` at or after `from`; npos when absent.
inline std::size_t After(const std::string& text, const std::string& needle, std::size_t from) {
    return from == std::string::npos ? std::string::npos : text.find(needle, from);
}

}  // namespace vorsa::test
