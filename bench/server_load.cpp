// Load program for vinylo_server: connects N loopback clients, waits until
// they are all greeted, then measures how long one client's chat line takes
// to reach every client, with the server's CPU time per relayed line and its
// memory. `ncat --broker` (a plain relay with no pacing) runs the same load
// in the same run as the baseline.
//
//   vinylo_server_load [--clients 10,100,500] [--repeats 15] [--server PATH] [--ncat PATH]
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "protocol/client_messages.h"
#include "protocol/gbk.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "vinylo_server_load: %s\n", why.c_str());
    std::exit(1);
}

uint16_t FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

int ConnectBlocking(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// CPU time of every thread of a process, in nanoseconds.
double CpuNs(pid_t pid) {
    double total = 0;
    bool any = false;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = ::opendir(tasks.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream in(tasks + "/" + entry->d_name + "/schedstat");
            double ns = 0;
            if (in >> ns) {
                total += ns;
                any = true;
            }
        }
        ::closedir(dir);
    }
    if (any)
        return total;
    // No scheduler statistics: utime + stime from /proc/<pid>/stat, in ticks.
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::string field;
    double utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14)
            utime = std::stod(field);
        if (i == 15)
            stime = std::stod(field);
    }
    return (utime + stime) * 1e9 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// A field of /proc/<pid>/status in kB (VmRSS, VmHWM).
long StatusKb(pid_t pid, const std::string& key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key + ":", 0) == 0)
            return std::atol(line.c_str() + key.size() + 1);
    }
    return 0;
}

size_t Count(const std::string& text, const std::string& needle, size_t from = 0) {
    size_t n = 0;
    for (size_t at = text.find(needle, from); at != std::string::npos;
         at = text.find(needle, at + needle.size())) {
        ++n;
    }
    return n;
}

struct Client {
    int fd = -1;
    std::string received;
    Clock::time_point lastRead;
};

struct Figures {
    double greetingMs = 0;
    double medianMs = 0;
    double maxMs = 0;
    double cpuUsPerLine = 0;
    double rssMb = 0;
    double peakRssMb = 0;
};

class LoadRun {
public:
    LoadRun(std::vector<std::string> argv, bool vinylo, int clients)
        : vinylo_(vinylo), clients_(static_cast<size_t>(clients)) {
        port_ = FreePort();
        for (std::string& arg : argv) {
            if (arg == "PORT")
                arg = std::to_string(port_);
        }
        Spawn(argv);
        epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    }
    ~LoadRun() {
        for (Client& c : clients_) {
            if (c.fd >= 0)
                ::close(c.fd);
        }
        ::close(epoll_);
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }

    Figures Run(int repeats) {
        WaitUntilListening();
        const auto start = Clock::now();
        ConnectAll();
        if (vinylo_) {
            // Client i hears its name, its address and one entry per user.
            WaitFor(
                [&] {
                    return std::all_of(clients_.begin(), clients_.end(), [&](const Client& c) {
                        return Count(c.received, "|||") >= clients_.size() + 2;
                    });
                },
                600s, "greetings");
        } else {
            WaitUntilBrokerRelaysToEveryone();
        }
        Figures f;
        f.greetingMs = Ms(Clock::now() - start);
        Drain(200ms);
        f.rssMb = static_cast<double>(StatusKb(pid_, "VmRSS")) / 1024.0;

        std::vector<double> latencies;
        const double cpuBefore = CpuNs(pid_);
        for (int r = 0; r < repeats; ++r)
            latencies.push_back(Probe(r));
        const double cpuAfter = CpuNs(pid_);
        std::sort(latencies.begin(), latencies.end());
        f.medianMs = latencies[latencies.size() / 2];
        f.maxMs = latencies.back();
        f.cpuUsPerLine = (cpuAfter - cpuBefore) / 1000.0 / repeats;
        f.peakRssMb = static_cast<double>(StatusKb(pid_, "VmHWM")) / 1024.0;
        return f;
    }

private:
    void Spawn(const std::vector<std::string>& argv) {
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen"};
        for (char** e = environ; *e != nullptr; ++e) {
            if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
                env.emplace_back(*e);
        }
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) {
            Fail("cannot start " + argv[0]);
        }
        posix_spawn_file_actions_destroy(&actions);
    }

    void WaitUntilListening() {
        const auto deadline = Clock::now() + 30s;
        for (;;) {
            const int fd = ConnectBlocking(port_);
            if (fd >= 0) {
                if (vinylo_) {
                    // Take the greeting so the server forgets this peer cleanly.
                    std::string got;
                    char buffer[512];
                    while (Count(got, "|||") < 3) {
                        const ssize_t n = ::read(fd, buffer, sizeof buffer);
                        if (n <= 0)
                            break;
                        got.append(buffer, static_cast<size_t>(n));
                    }
                }
                ::close(fd);
                std::this_thread::sleep_for(300ms);
                return;
            }
            if (Clock::now() > deadline)
                Fail("the server did not start listening");
            std::this_thread::sleep_for(50ms);
        }
    }

    void ConnectAll() {
        for (size_t i = 0; i < clients_.size(); ++i) {
            const int fd = ConnectBlocking(port_);
            if (fd < 0)
                Fail("cannot connect client " + std::to_string(i));
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            clients_[i].fd = fd;
            epoll_event event{};
            event.events = EPOLLIN;
            event.data.u64 = i;
            ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
            // Keep reading while the others connect, as real clients do.
            Poll(0ms);
        }
    }

    // Reads whatever is pending on every ready client, for up to `wait`.
    void Poll(std::chrono::milliseconds wait) {
        epoll_event events[256];
        const int n = ::epoll_wait(epoll_, events, 256, static_cast<int>(wait.count()));
        const auto now = Clock::now();
        char buffer[65536];
        for (int i = 0; i < n; ++i) {
            Client& c = clients_[events[i].data.u64];
            for (;;) {
                const ssize_t got = ::read(c.fd, buffer, sizeof buffer);
                if (got > 0) {
                    c.received.append(buffer, static_cast<size_t>(got));
                    c.lastRead = now;
                    continue;
                }
                if (got == 0)
                    Fail("the server closed a connection");
                break;
            }
        }
    }

    template <typename Done>
    void WaitFor(Done done, std::chrono::seconds limit, const char* what) {
        const auto deadline = Clock::now() + limit;
        while (!done()) {
            if (Clock::now() > deadline)
                Fail(std::string("timed out waiting for ") + what);
            Poll(20ms);
        }
    }

    void Drain(std::chrono::milliseconds span) {
        const auto until = Clock::now() + span;
        while (Clock::now() < until)
            Poll(10ms);
    }

    // The broker says nothing to newcomers; a line that reaches everyone
    // shows that every connection has been accepted.
    void WaitUntilBrokerRelaysToEveryone() {
        for (int attempt = 0;; ++attempt) {
            Send(clients_[0], "warmup|||1");
            const auto until = Clock::now() + 500ms;
            while (Clock::now() < until)
                Poll(10ms);
            const bool all = std::all_of(clients_.begin() + 1, clients_.end(), [](const Client& c) {
                return c.received.find("warmup") != std::string::npos;
            });
            if (all)
                return;
            if (attempt > 120)
                Fail("the broker did not relay to every client");
        }
    }

    void Send(Client& c, const std::string& bytes) {
        if (::send(c.fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) !=
            static_cast<ssize_t>(bytes.size())) {
            Fail("send failed");
        }
    }

    // One chat line from client 0; the time until the last receiver has it.
    // The server relays to every client including the sender; the broker to
    // every client but the sender.
    double Probe(int r) {
        const std::string text = "#probe-" + std::to_string(r) + "#";
        const std::string needle = text + "|||";
        std::vector<size_t> from;
        for (const Client& c : clients_)
            from.push_back(c.received.size());
        const std::string line = vinylo::protocol::BuildChatText(
            {"http://127.0.0.1/a.png", vinylo::protocol::Utf8ToGbk("压测"), "127.0.0.1", text});
        const size_t first = vinylo_ ? 0 : 1;
        const auto sent = Clock::now();
        Send(clients_[0], line);
        std::vector<bool> got(clients_.size(), false);
        Clock::time_point last = sent;
        WaitFor(
            [&] {
                bool all = true;
                for (size_t i = first; i < clients_.size(); ++i) {
                    if (!got[i]) {
                        const size_t start = from[i] > needle.size() ? from[i] - needle.size() : 0;
                        if (clients_[i].received.find(needle, start) != std::string::npos) {
                            got[i] = true;
                            last = std::max(last, clients_[i].lastRead);
                        }
                    }
                    all = all && got[i];
                }
                return all;
            },
            120s, "a relayed line");
        // Let the rest of the relay (the rename notice) pass before the next.
        Drain(150ms);
        return Ms(last - sent);
    }

    bool vinylo_;
    std::vector<Client> clients_;
    uint16_t port_ = 0;
    pid_t pid_ = -1;
    int epoll_ = -1;
};

std::vector<int> ParseCounts(const std::string& text) {
    std::vector<int> counts;
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        counts.push_back(std::stoi(item));
    return counts;
}

void RaiseFileLimit(size_t needed) {
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    if (limit.rlim_cur < needed) {
        limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, needed);
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts = {10, 100, 500};
    int repeats = 15;
    std::string server = VINYLO_SERVER_BINARY;
    std::string ncat = "/usr/bin/ncat";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--clients")
            counts = ParseCounts(argv[i + 1]);
        else if (option == "--repeats")
            repeats = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--server")
            server = argv[i + 1];
        else if (option == "--ncat")
            ncat = argv[i + 1];
        else
            Fail("unknown option " + option);
    }
    ::signal(SIGPIPE, SIG_IGN);
    RaiseFileLimit(static_cast<size_t>(*std::max_element(counts.begin(), counts.end())) * 2 + 64);

    std::printf("One chat line from one client to every client, %d repeats per size.\n", repeats);
    std::printf(
        "vinylo: relayed to all N (sender included), then a rename notice; paced 50 ms per "
        "peer.\n");
    std::printf("ncat --broker: raw relay to the N-1 others, no pacing, no parsing.\n\n");
    std::printf("%7s  %-8s %10s %10s %10s %12s %9s %9s\n", "clients", "server", "greet ms",
                "median ms", "max ms", "cpu us/line", "rss MB", "peak MB");
    for (int n : counts) {
        Figures v, b;
        {
            LoadRun run({server, "--port", "PORT"}, true, n);
            v = run.Run(repeats);
        }
        {
            LoadRun run({ncat, "--broker", "--listen", "--max-conns", std::to_string(n + 16),
                         "127.0.0.1", "PORT"},
                        false, n);
            b = run.Run(repeats);
        }
        auto row = [n](const char* name, const Figures& f) {
            std::printf("%7d  %-8s %10.0f %10.2f %10.2f %12.1f %9.1f %9.1f\n", n, name,
                        f.greetingMs, f.medianMs, f.maxMs, f.cpuUsPerLine, f.rssMb, f.peakRssMb);
        };
        row("vinylo", v);
        row("ncat", b);
        auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
        std::printf("%7s  %-8s %10s %9.1fx %9.1fx %11.1fx %8.1fx %8.1fx\n\n", "", "ratio", "",
                    ratio(v.medianMs, b.medianMs), ratio(v.maxMs, b.maxMs),
                    ratio(v.cpuUsPerLine, b.cpuUsPerLine), ratio(v.rssMb, b.rssMb),
                    ratio(v.peakRssMb, b.peakRssMb));
        std::fflush(stdout);
    }
    return 0;
}
