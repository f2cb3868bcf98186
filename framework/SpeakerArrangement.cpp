#include "framework/SpeakerArrangement.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

#include "runtime/Text.h"

namespace zelk {

namespace {

constexpr size_t kHeaderBytes = offsetof(VstSpeakerArrangement, speakers);
constexpr size_t kSpeakerBytes = sizeof(VstSpeakerProperties);
constexpr size_t kMaxChannels = (std::numeric_limits<size_t>::max() - kHeaderBytes) / kSpeakerBytes;

}  // namespace

VstSpeakerProperties* SpeakerAt(VstSpeakerArrangement* arrangement, int32_t index) {
  auto* base = reinterpret_cast<std::byte*>(arrangement);
  return reinterpret_cast<VstSpeakerProperties*>(base + kHeaderBytes + static_cast<size_t>(index) * kSpeakerBytes);
}

const VstSpeakerProperties* SpeakerAt(const VstSpeakerArrangement* arrangement, int32_t index) {
  return SpeakerAt(const_cast<VstSpeakerArrangement*>(arrangement), index);
}

bool AllocateArrangement(VstSpeakerArrangement*& arrangement, int32_t channels) {
  FreeArrangement(arrangement);
  if (channels < 0 || static_cast<size_t>(channels) > kMaxChannels) return false;
  void* memory = std::calloc(1, kHeaderBytes + static_cast<size_t>(channels) * kSpeakerBytes);
  if (memory == nullptr) return false;
  arrangement = static_cast<VstSpeakerArrangement*>(memory);
  arrangement->numChannels = channels;
  return true;
}

bool FreeArrangement(VstSpeakerArrangement*& arrangement) {
  std::free(arrangement);
  arrangement = nullptr;
  return true;
}

bool CopySpeaker(VstSpeakerProperties* target, const VstSpeakerProperties* source) {
  if (target == nullptr || source == nullptr) return false;
  if (target == source) return true;
  // The source's name may lack its terminator; it is read within its field.
  const void* terminator = std::memchr(source->name, 0, sizeof source->name);
  const size_t length = terminator ? static_cast<size_t>(static_cast<const char*>(terminator) - source->name)
                                   : sizeof source->name;
  const std::string_view name(source->name, length);
  std::memset(target->name, 0, sizeof target->name);
  CopyToBuffer(target->name, sizeof target->name, name);
  target->type = source->type;
  target->azimuth = source->azimuth;
  target->elevation = source->elevation;
  target->radius = source->radius;
  target->reserved = source->reserved;
  std::memcpy(target->future, source->future, sizeof target->future);
  return true;
}

bool CopyArrangement(VstSpeakerArrangement*& target, const VstSpeakerArrangement* source) {
  if (source == nullptr) return false;
  if (target == source) return true;
  if (!AllocateArrangement(target, source->numChannels)) return false;
  target->type = source->type;
  for (int32_t channel = 0; channel < source->numChannels; ++channel) {
    if (!CopySpeaker(SpeakerAt(target, channel), SpeakerAt(source, channel))) return false;
  }
  return true;
}

}  // namespace zelk
