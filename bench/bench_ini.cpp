// INI layer costs on a receipt archive sized like a busy till's (25 000 keys in one section).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/file_access.h"
#include "platform/ini_document.h"
#include "platform/profile_store.h"

namespace {

namespace fs = std::filesystem;
using vorsa::IniDocument;

constexpr int kReceipts = 25000;

std::string ReceiptKey(int i) {
    char key[16];
    std::snprintf(key, sizeof key, "R%06d", i);
    return key;
}

// One archive line: date, till, operator, lines, total, payment; `padding` widens the
// article list to reach a given file size.
std::string ReceiptValue(int i, std::size_t padding) {
    char head[96];
    std::snprintf(head, sizeof head, "%02d/%02d/2026 %02d:%02d:%02d;Till%d;Op%d;%d;%d,%02d;Cash;",
                  1 + i % 28, 1 + i % 12, i % 24, i % 60, (i * 7) % 60, 1 + i % 4, i % 9,
                  1 + i % 17, 1 + i % 300, i % 100);
    std::string value = head;
    while (value.size() < padding)
        value.append("ART").append(std::to_string(i % 977)).append("x1|");
    return value;
}

std::string ArchiveText(std::size_t padding) {
    std::string text =
        "; Vorsa receipt archive\r\n[Header]\r\nVersion=1\r\nTill=1\r\n\r\n[Archive]\r\n";
    for (int i = 0; i < kReceipts; ++i) {
        text.append(ReceiptKey(i)).append("=").append(ReceiptValue(i, padding)).append("\r\n");
    }
    text += "\r\n[Totals]\r\nCount=25000\r\n";
    return text;
}

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "vorsa_bench_XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

void BM_StoreGetCached(benchmark::State& state) {
    TempFolder dir;
    auto files = vorsa::MakeLocalFileAccess(false);
    const std::string path = dir.path() + "/Archive.ini";
    files->ReplaceAll(path, ArchiveText(60));
    vorsa::ProfileStore store(*files);
    store.Get(path, "Archive", ReceiptKey(0));  // first read parses
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.Get(path, "archive", ReceiptKey(i)));
        i = (i + 7919) % kReceipts;
    }
    state.counters["parses"] = static_cast<double>(store.counters().parses);
}
BENCHMARK(BM_StoreGetCached);

void BM_DocumentGet(benchmark::State& state) {
    const IniDocument doc = IniDocument::Parse(ArchiveText(60));
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.Get("Archive", ReceiptKey(i)));
        i = (i + 7919) % kReceipts;
    }
}
BENCHMARK(BM_DocumentGet);

void BM_DocumentSetNewKey(benchmark::State& state) {
    IniDocument doc = IniDocument::Parse(ArchiveText(60));
    int i = kReceipts;
    for (auto _ : state) benchmark::DoNotOptimize(doc.Set("Archive", ReceiptKey(i++), "new"));
}
BENCHMARK(BM_DocumentSetNewKey);

// One new receipt per commit; the file is rewritten each time, durable or not.
void BM_StoreSetNewKeyCommit(benchmark::State& state) {
    TempFolder dir;
    auto files = vorsa::MakeLocalFileAccess(state.range(0) != 0);
    const std::string path = dir.path() + "/Archive.ini";
    const std::string text = ArchiveText(60);
    files->ReplaceAll(path, text);
    vorsa::ProfileStore store(*files);
    store.Get(path, "Archive", ReceiptKey(0));
    int i = kReceipts;
    for (auto _ : state) {
        store.BeginBatch();
        store.Set(path, "Archive", ReceiptKey(i), ReceiptValue(i, 60));
        store.Set(path, "Totals", "Count", std::to_string(i + 1));
        benchmark::DoNotOptimize(store.CommitBatch());
        ++i;
    }
    state.counters["parses"] = static_cast<double>(store.counters().parses);
    state.counters["writes"] = static_cast<double>(store.counters().writes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_StoreSetNewKeyCommit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Padding 30 gives about 1.1 MB, 150 about 4 MB.
void BM_Parse(benchmark::State& state) {
    const std::string text = ArchiveText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(IniDocument::Parse(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_Parse)->Arg(30)->Arg(150)->Unit(benchmark::kMillisecond);

void BM_Serialize(benchmark::State& state) {
    const std::string text = ArchiveText(static_cast<std::size_t>(state.range(0)));
    const IniDocument doc = IniDocument::Parse(text);
    for (auto _ : state) benchmark::DoNotOptimize(doc.Serialize());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_Serialize)->Arg(30)->Arg(150)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
