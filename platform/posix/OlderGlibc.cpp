// What lets the Linux plug-in load on systems with a C library as old as
// glibc 2.31, although it is built against a newer one and carries its C++
// runtime inside.
//
// The static C++ runtime and our own code refer to a few functions and one
// variable that newer C libraries added or moved:
// - pthread_* and dl* moved from libpthread and libdl into libc in 2.34 and
//   got new symbol versions there. The plug-in binds to their first
//   versions, which every glibc has (in libpthread.so.0 and libdl.so.2 before
//   2.34, as compatibility symbols in libc after it). The link redirects
//   every reference through --wrap to the __wrap_ functions below.
// - arc4random (2.36), used by std::random_device, and
//   __libc_single_threaded (2.32), read by the runtime's reference counts,
//   are defined here, hidden, so the plug-in never asks the system for them.
// Only this object is linked into the plug-in (effect/CMakeLists.txt), never
// into programs, which use the system's C library as it is.
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/random.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <ctime>

#define ZELK_HIDDEN __attribute__((visibility("hidden")))

// The first version of every symbol below on x86-64.
#define ZELK_FIRST_GLIBC_VERSION "GLIBC_2.2.5"

// Declares zelk_glibc_<name>, bound to <name> at its first version, and
// __wrap_<name>, which every reference to <name> in the plug-in reaches.
#define ZELK_FIRST_VERSION_OF(result, name, parameters, arguments)                     \
  extern "C" result zelk_glibc_##name parameters;                                      \
  __asm__(".symver zelk_glibc_" #name "," #name "@" ZELK_FIRST_GLIBC_VERSION);         \
  extern "C" ZELK_HIDDEN result __wrap_##name parameters { return zelk_glibc_##name arguments; }

ZELK_FIRST_VERSION_OF(int, pthread_once, (pthread_once_t * once, void (*init)()), (once, init))
ZELK_FIRST_VERSION_OF(int, pthread_key_create, (pthread_key_t * key, void (*destroy)(void*)), (key, destroy))
ZELK_FIRST_VERSION_OF(int, pthread_key_delete, (pthread_key_t key), (key))
ZELK_FIRST_VERSION_OF(void*, pthread_getspecific, (pthread_key_t key), (key))
ZELK_FIRST_VERSION_OF(int, pthread_setspecific, (pthread_key_t key, const void* value), (key, value))
ZELK_FIRST_VERSION_OF(int, pthread_rwlock_rdlock, (pthread_rwlock_t * lock), (lock))
ZELK_FIRST_VERSION_OF(int, pthread_rwlock_wrlock, (pthread_rwlock_t * lock), (lock))
ZELK_FIRST_VERSION_OF(int, pthread_rwlock_unlock, (pthread_rwlock_t * lock), (lock))
ZELK_FIRST_VERSION_OF(void*, dlopen, (const char* file, int mode), (file, mode))
ZELK_FIRST_VERSION_OF(void*, dlsym, (void* handle, const char* name), (handle, name))
ZELK_FIRST_VERSION_OF(int, dlclose, (void* handle), (handle))
ZELK_FIRST_VERSION_OF(char*, dlerror, (), ())

// The runtime treats the process as possibly threaded; hosts always are.
extern "C" {
ZELK_HIDDEN char __libc_single_threaded = 0;
}

namespace {

bool ReadUrandom(void* buffer, size_t size) {
  const int file = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  const bool complete = read(file, buffer, size) == static_cast<ssize_t>(size);
  close(file);
  return complete;
}

// The last resort when the kernel hands out no random bytes at all: the
// clock, an address and a counter, mixed. Good enough to seed a generator.
uint32_t MixedClockValue() {
  static uint64_t counter = 0;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  uint64_t value = static_cast<uint64_t>(now.tv_nsec) ^ static_cast<uint64_t>(now.tv_sec) << 30 ^
                   reinterpret_cast<uintptr_t>(&counter) ^ ++counter * 0x9E3779B97F4A7C15ull;
  value ^= value >> 31;
  value *= 0xBF58476D1CE4E5B9ull;
  value ^= value >> 27;
  return static_cast<uint32_t>(value >> 16);
}

}  // namespace

// 32 random bits from the kernel (getrandom since glibc 2.25, /dev/urandom
// on kernels without it); like the C library's, it never fails.
extern "C" ZELK_HIDDEN uint32_t arc4random() {
  uint32_t value = 0;
  ssize_t got = -1;
  do {
    got = getrandom(&value, sizeof value, 0);
  } while (got < 0 && errno == EINTR);
  if (got == static_cast<ssize_t>(sizeof value)) return value;
  if (ReadUrandom(&value, sizeof value)) return value;
  return MixedClockValue();
}
