// Random GUIDs from the kernel's random source: getrandom, or /dev/urandom
// where the kernel has no such call.

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

#include "platform/Guid.h"

namespace zelk::platform {

namespace {

// getrandom answers requests of up to 256 bytes whole once the kernel's
// pool is ready; a signal may still interrupt the wait for it at boot.
bool ReadFromGetRandom(TGuidBytes& bytes, bool& unsupported) {
  for (;;) {
    const ssize_t read = getrandom(bytes.data(), bytes.size(), 0);
    if (read == static_cast<ssize_t>(bytes.size())) return true;
    if (read < 0 && errno == EINTR) continue;
    unsupported = read < 0 && errno == ENOSYS;
    return false;
  }
}

bool ReadFromDevice(TGuidBytes& bytes) {
  const int device = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (device < 0) return false;
  size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t read = ::read(device, bytes.data() + filled, bytes.size() - filled);
    if (read > 0) {
      filled += static_cast<size_t>(read);
    } else if (read == 0 || errno != EINTR) {
      break;
    }
  }
  close(device);
  return filled == bytes.size();
}

}  // namespace

std::optional<TGuidBytes> CreateGuid() {
  TGuidBytes random{};
  bool unsupported = false;
  if (ReadFromGetRandom(random, unsupported) || (unsupported && ReadFromDevice(random))) {
    return RandomGuidFromBytes(random);
  }
  return std::nullopt;
}

}  // namespace zelk::platform
