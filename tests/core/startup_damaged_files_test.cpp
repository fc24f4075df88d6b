// A till started on a damaged, strange or inaccessible data file starts, says what the operator
// must do when sales cannot be kept, and never loses a line of what the file held.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

#include "platform/text.h"
#include "startup/startup.h"
#include "support/fakes.h"

namespace vorsa {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCatalogo =
    "[MANGIARE]\r\nDIMENSIONE=2\r\n1=Panino;3,5;1;0;-1;1;-1;0\r\n2=\r\n"
    "[BERE]\r\nDIMENSIONE=1\r\n1=Acqua;1;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=1\r\n1=\r\n";

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

struct Avvio {
    StatoFileDati stato = StatoFileDati::Ok;
    std::string nomePrimo;  // name of article 101 as loaded
    std::string file;       // the data file's bytes afterwards ("" for a folder)
};

/// Starts a till in `folder` on real files.
Avvio Avvia(const std::string& folder) {
    auto files = MakeLocalFileAccess(false);
    test::FakeClock clock;
    test::FakeSleeper sleeper{&clock};
    test::FakeUser user;
    test::FakeShell shell;
    Till till(Services{*files, clock, sleeper, user, shell}, folder, {1, 4, 7});
    AvviaTill(till);
    Avvio a;
    a.stato = till.statoFileDati;
    a.nomePrimo = till.cat.gArticoli[till.cat.IndiceArticolo(101)].name;
    if (fs::is_regular_file(folder + "/Vorsa.ini")) a.file = Slurp(folder + "/Vorsa.ini");
    return a;
}

/// Runs `body` as an unprivileged user when the suite runs as root, who may read anything.
void SenzaPrivilegi(const std::function<void()>& body) {
    if (::geteuid() != 0) {
        body();
        return;
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        if (dropped) body();
        ::_exit(!dropped || ::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "see the child's failures";
}

class DamagedFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vorsa_damaged_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        ::chmod(dir_.c_str(), 0777);  // the unprivileged cases work in it too
    }
    void TearDown() override {
        ::chmod(dir_.c_str(), 0755);
        if (fs::exists(Ini())) ::chmod(Ini().c_str(), 0644);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Ini() const { return dir_ + "/Vorsa.ini"; }
    void Write(const std::string& bytes) const { std::ofstream(Ini(), std::ios::binary) << bytes; }

    std::string dir_;
};

// Whatever the bytes, the till starts, keeps every line it does not understand and still
// reads the catalogue that follows them.
TEST_F(DamagedFilesTest, StrangeContentIsKeptLineByLine) {
    std::mt19937 rng(15);
    std::string random(64 * 1024, '\0');
    for (char& c : random) c = static_cast<char>(rng());
    std::string cut = kCatalogo;
    cut.resize(cut.find("Acqua") + 3);  // a write cut short in the middle of a line

    struct Case {
        const char* name;
        std::string before;  // what precedes the catalogue
        std::string after;
        const char* primo;
    };
    const Case cases[] = {
        {"random bytes", random + "\r\n", kCatalogo, "Panino"},
        {"NUL bytes", std::string(4096, '\0') + "\r\n", kCatalogo, "Panino"},
        {"1 MB line", "[APPUNTI]\r\n" + std::string(1 << 20, 'x') + "\r\n", kCatalogo, "Panino"},
        {"truncated", "", cut, "Panino"},
        {"empty", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string original = c.before + c.after;
        Write(original);
        const Avvio a = Avvia(dir_);
        EXPECT_EQ(a.stato, StatoFileDati::Ok);
        EXPECT_EQ(a.nomePrimo, c.primo);
        // The lines before the catalogue are not the till's: each one is still there, in order.
        const std::vector<std::string> dopo = Lines(a.file);
        auto at = dopo.begin();
        for (const std::string& line : Lines(c.before)) {
            if (line.empty()) continue;
            at = std::find(at, dopo.end(), line);
            ASSERT_NE(at, dopo.end()) << "lost a line of " << line.size() << " bytes";
        }
        EXPECT_EQ(Avvia(dir_).file, a.file) << "a second start changes nothing";
        fs::remove(Ini());
    }
}

TEST_F(DamagedFilesTest, AFiftyMegabyteFileStartsAndKeepsItsArchive) {
    std::string archivio = "[SCONTRINI]\r\n";
    const std::string record =
        "-1-3,5;06/12/2026 19:45:03-3,5-" + std::string(900, 'T') + "-CASSA-0-0-0\r\n";
    int n = 0;
    while (archivio.size() < (50u << 20)) archivio += std::to_string(++n) + "=101" + record;
    Write(std::string(kCatalogo) + archivio);
    const Avvio a = Avvia(dir_);
    EXPECT_EQ(a.stato, StatoFileDati::Ok);
    EXPECT_EQ(a.nomePrimo, "Panino");
    EXPECT_NE(a.file.find("\r\n1=101" + record), std::string::npos);
    EXPECT_NE(a.file.find("\r\n" + std::to_string(n) + "=101" + record), std::string::npos);
}

// Where nothing sold could be saved the operator is told, and the file is left as it was.
TEST_F(DamagedFilesTest, AnInaccessibleDataFileIsToldAndLeftAlone) {
    struct Case {
        const char* name;
        std::function<void(const std::string& dir)> prepare;
        StatoFileDati stato;
    };
    const Case cases[] = {
        {"a folder", [](const std::string& d) { fs::create_directory(d + "/Vorsa.ini"); },
         StatoFileDati::NonLeggibile},
        {"mode 000",
         [this](const std::string& d) {
             Write(kCatalogo);
             ::chmod((d + "/Vorsa.ini").c_str(), 0);
         },
         StatoFileDati::NonLeggibile},
        {"read-only folder",
         [this](const std::string& d) {
             Write(kCatalogo);
             ::chmod(d.c_str(), 0555);
         },
         StatoFileDati::NonScrivibile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare(dir_);
        SenzaPrivilegi([&] {
            const Avvio a = Avvia(dir_);
            EXPECT_EQ(a.stato, c.stato);
            const auto avviso = AvvisoPerFile(a.stato, Ini());
            ASSERT_TRUE(avviso.has_value());
            EXPECT_NE(avviso->text.find(Ini()), std::string::npos) << "names the file";
            EXPECT_NE(avviso->text.find("NON verranno salvate"), std::string::npos);
        });
        ::chmod(dir_.c_str(), 0777);
        if (fs::is_directory(Ini())) {
            EXPECT_TRUE(fs::is_empty(Ini()));
            fs::remove(Ini());
        } else {
            ::chmod(Ini().c_str(), 0644);
            EXPECT_EQ(Slurp(Ini()), kCatalogo) << "untouched";
            fs::remove(Ini());
        }
        for (const auto& e : fs::directory_iterator(dir_))
            EXPECT_NE(e.path().filename().string().rfind(".Vorsa.ini.tmp", 0), 0u)
                << "left behind: " << e.path();
    }
    EXPECT_FALSE(AvvisoPerFile(StatoFileDati::Ok, Ini()).has_value());
}

}  // namespace
}  // namespace vorsa
