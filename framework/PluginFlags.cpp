#include "framework/PluginFlags.h"

namespace zelk {

namespace {
// Members past the VST 1 six skip bits 6 and 7.
constexpr int kFirstVst2Member = pfFlagsIsSynth;
constexpr int kVst2BitGap = 2;
constexpr int kMemberCount = pfFlagsExtHasBuffer + 1;

constexpr int BitOf(int member) { return member < kFirstVst2Member ? member : member + kVst2BitGap; }
}  // namespace

int32_t PluginFlagsToBits(TVst2PluginFlags flags) {
  uint32_t bits = 0;
  for (int member = 0; member < kMemberCount; ++member) {
    if (flags.Contains(static_cast<TVst2PluginFlag>(member))) bits |= uint32_t{1} << BitOf(member);
  }
  return static_cast<int32_t>(bits);
}

TVst2PluginFlags PluginFlagsFromBits(int32_t bits) {
  TVst2PluginFlags flags;
  for (int member = 0; member < kMemberCount; ++member) {
    if ((static_cast<uint32_t>(bits) >> BitOf(member)) & 1u) flags.Include(static_cast<TVst2PluginFlag>(member));
  }
  return flags;
}

}  // namespace zelk
