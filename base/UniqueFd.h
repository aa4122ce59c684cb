#pragma once
// TUniqueFd: an open file descriptor, closed with the object.

#include <unistd.h>

namespace velmora {

class TUniqueFd {
public:
    explicit TUniqueFd(int fd = -1) noexcept : FFd(fd) {}
    ~TUniqueFd() { Reset(); }
    TUniqueFd(const TUniqueFd&) = delete;
    TUniqueFd& operator=(const TUniqueFd&) = delete;
    TUniqueFd(TUniqueFd&& other) noexcept : FFd(other.Release()) {}
    TUniqueFd& operator=(TUniqueFd&& other) noexcept {
        if (this != &other) {
            Reset();
            FFd = other.Release();
        }
        return *this;
    }

    int Get() const noexcept { return FFd; }
    /// Gives up ownership without closing.
    int Release() noexcept {
        const int fd = FFd;
        FFd = -1;
        return fd;
    }
    void Reset() noexcept {
        if (FFd >= 0) ::close(FFd);
        FFd = -1;
    }

private:
    int FFd;
};

}  // namespace velmora
