#pragma once
// The festival's network for the web benchmarks: screens that follow /numeri live and a phone
// that reloads a page every second, as plain sockets on 127.0.0.1 served by a thread of their
// own, so that none of their work is done by the till's thread.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace vorsa::bench {

inline int Connetti(int porta) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(porta));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

inline void Invia(int fd, const std::string& s) {
    for (std::size_t n = 0; n < s.size();) {
        const ssize_t w = write(fd, s.data() + n, s.size() - n);
        if (w <= 0) return;
        n += static_cast<std::size_t>(w);
    }
}

/// `schermi` screens: each has a number once an event of its stream starts with it. With a
/// `telefono` request, that request is also sent every second on a new connection.
class Schermi {
  public:
    explicit Schermi(int porta, int schermi, std::string telefono = {})
        : porta_(porta), telefono_(std::move(telefono)) {
        for (int i = 0; i < schermi; ++i) {
            const int fd = Connetti(porta);
            if (fd < 0) continue;
            Invia(fd, "GET /eventi/numeri HTTP/1.1\r\nHost: x\r\n\r\n");
            fds_.push_back(fd);
        }
        lettore_ = std::thread([this] { Leggi(); });
    }
    ~Schermi() {
        fine_ = true;
        lettore_.join();
        for (int fd : fds_) close(fd);
    }
    int Collegati() const { return static_cast<int>(fds_.size()); }
    void Attendi(int numero) {
        arrivati_ = 0;
        atteso_ = "{\"numeri\":[{\"numero\":" + std::to_string(numero) + ",";
        generazione_++;
    }
    int Arrivati() const { return arrivati_; }

  private:
    void Leggi() {
        auto prossima = std::chrono::steady_clock::now();
        std::vector<pollfd> p;
        for (int fd : fds_) p.push_back({fd, POLLIN, 0});
        std::vector<std::string> buf(fds_.size());
        std::vector<int> visto(fds_.size(), -1);
        char b[8192];
        while (!fine_) {
            if (!telefono_.empty() && std::chrono::steady_clock::now() >= prossima) {
                prossima += std::chrono::seconds(1);
                const int t = Connetti(porta_);
                if (t >= 0) {
                    Invia(t, telefono_);
                    pollfd q{t, POLLIN, 0};
                    if (poll(&q, 1, 1000) > 0) (void)read(t, b, sizeof b);
                    close(t);
                }
            }
            if (poll(p.data(), p.size(), 50) <= 0) continue;
            const int gen = generazione_;
            const std::string atteso = gen ? atteso_ : std::string("\x01");
            for (std::size_t i = 0; i < p.size(); ++i) {
                if (!(p[i].revents & POLLIN)) continue;
                const ssize_t r = read(p[i].fd, b, sizeof b);
                if (r <= 0) continue;
                buf[i].append(b, static_cast<std::size_t>(r));
                if (visto[i] != gen && buf[i].find(atteso) != std::string::npos) {
                    visto[i] = gen;
                    buf[i].clear();
                    ++arrivati_;
                }
                if (buf[i].size() > 65536) buf[i].erase(0, buf[i].size() - 4096);
            }
        }
    }
    int porta_;
    std::string telefono_;
    std::vector<int> fds_;
    std::thread lettore_;
    std::atomic<bool> fine_{false};
    std::atomic<int> arrivati_{0};
    std::atomic<int> generazione_{0};
    std::string atteso_;
};

}  // namespace vorsa::bench
