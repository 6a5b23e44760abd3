#include "transform/files/TemporaryFiles.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

// A signal handler may not allocate or lock: the paths live in fixed slots, each claimed and
// released by an atomic flag, so the handler only reads finished strings and calls unlink.
constexpr std::size_t kSlots = 32;
constexpr std::size_t kPathRoom = 4096;

struct Slot {
    std::atomic<bool> claimed{false};
    std::atomic<bool> ready{false};
    char path[kPathRoom] = {};
};

std::array<Slot, kSlots> slots;

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace

void listTemporaryFile(const std::string& path)
{
    if (path.size() >= kPathRoom) return;
    for (Slot& slot : slots) {
        bool expected = false;
        if (!slot.claimed.compare_exchange_strong(expected, true)) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.ready.store(true);
        return;
    }
}

void unlistTemporaryFile(const std::string& path)
{
    for (Slot& slot : slots) {
        if (!slot.ready.load() || path != slot.path) continue;
        slot.ready.store(false);
        slot.claimed.store(false);
        return;
    }
}

extern "C" void removeTemporaryFilesAndDie(int signal)
{
    for (Slot& slot : slots)
        if (slot.ready.load()) ::unlink(slot.path);
    struct sigaction standard = {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    sigaction(signal, &standard, nullptr);
    ::raise(signal);
}

void removeTemporaryFilesOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = removeTemporaryFilesAndDie;
    // One handler at a time: a second signal waits until the first has removed the files.
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) sigaddset(&action.sa_mask, signal);
    for (const int signal : kSignals) sigaction(signal, &action, nullptr);
}
