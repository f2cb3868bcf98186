#include "framework/Capabilities.h"

#include "runtime/Text.h"

namespace zelk {

namespace {

constexpr int32_t kCanDoCount = static_cast<int32_t>(TVstCanDo::bypass) + 1;
constexpr size_t kPinLabelCharacters = 63;
constexpr size_t kPinShortLabelCharacters = 7;

int32_t PinFlagBits(TChannelPropertyFlags flags) {
  int32_t bits = 0;
  if (flags.Contains(cpfIsActive)) bits |= kVstPinIsActive;
  if (flags.Contains(cpfIsStereo)) bits |= kVstPinIsStereo;
  if (flags.Contains(cpfUseSpeaker)) bits |= kVstPinUseSpeaker;
  return bits;
}

}  // namespace

std::string_view CanDoText(TVstCanDo member) {
  std::string_view name = EnumTypeOf(member).NameOf(static_cast<int64_t>(member));
  if (!name.empty() && name.front() == '_') name.remove_prefix(1);
  return name;
}

std::optional<TVstCanDo> FindCanDo(std::string_view text) {
  for (int32_t ordinal = 0; ordinal < kCanDoCount; ++ordinal) {
    const auto member = static_cast<TVstCanDo>(ordinal);
    if (CanDoText(member) == text) return member;
  }
  return std::nullopt;
}

int32_t CanDoAnswer(TVstCanDos claimed, const char* text) {
  if (text == nullptr) return 0;
  const std::optional<TVstCanDo> member = FindCanDo(text);
  if (!member) return 0;
  return claimed.Contains(*member) ? 1 : -1;
}

TPinDescription DefaultPinDescription(TPinDirection direction, int32_t index) {
  const bool input = direction == TPinDirection::pdInput;
  const std::string number = IntToStr(static_cast<long long>(index) + 1);
  TPinDescription description;
  description.Label = (input ? "Input #" : "Output #") + number;
  description.ShortLabel = (input ? "In" : "Out") + number;
  description.Arrangement = satStereo;
  description.Flags = {cpfIsActive, cpfIsStereo};
  LimitPinTexts(description);
  return description;
}

void LimitPinTexts(TPinDescription& description) {
  description.Label = std::string(FirstCharacters(description.Label, kPinLabelCharacters));
  description.ShortLabel = std::string(FirstCharacters(description.ShortLabel, kPinShortLabelCharacters));
}

void WritePinProperties(const TPinDescription& description, VstPinProperties& record) {
  CopyToBuffer(record.label, sizeof record.label, description.Label);
  CopyToBuffer(record.shortLabel, sizeof record.shortLabel, description.ShortLabel);
  record.flags = PinFlagBits(description.Flags);
}

}  // namespace zelk
