#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vinylo::testing {

// A plain TCP peer on 127.0.0.1 for tests of the unframed protocol. A thread
// reads the socket as a client does (whatever is pending is one block) and
// records each block with the kernel's arrival time of its data, so gaps
// between messages are measured where they arise and not where the test
// thread happens to be scheduled.
class WireClient {
public:
    struct Options {
        bool read = true;            // false: a peer that never reads
        int receiveBufferBytes = 0;  // 0: the system's default
    };

    struct Block {
        std::string bytes;
        std::chrono::nanoseconds arrival;  // CLOCK_REALTIME, from the kernel
    };

    explicit WireClient(uint16_t port);
    WireClient(uint16_t port, Options options);
    ~WireClient();
    WireClient(const WireClient&) = delete;
    WireClient& operator=(const WireClient&) = delete;

    bool IsConnected() const { return fd_ >= 0; }
    // Our end as the server sees it: "127.0.0.1:<port>".
    std::string Address() const;

    // One send call with exactly these bytes.
    bool Send(std::string_view bytes);
    // Closes the connection (the server sees the client leave).
    void Close();

    std::vector<Block> Blocks() const;
    size_t BlockCount() const;
    std::vector<std::string> BlockTexts() const;
    // Every byte received so far, in order.
    std::string Received() const;
    bool PeerClosed() const { return peerClosed_; }

private:
    void ReadLoop();

    int fd_ = -1;
    uint16_t localPort_ = 0;
    std::atomic<bool> peerClosed_{false};
    mutable std::mutex mutex_;
    std::vector<Block> blocks_;
    std::thread reader_;
};

}  // namespace vinylo::testing
