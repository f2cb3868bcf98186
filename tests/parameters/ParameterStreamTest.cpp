#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "tests/support/TestModule.h"

namespace zelk::tests {
namespace {

// A module whose resource holds one parameter item, as products store them.
class TStreamedParameterModule : public TVST2Module {
  ZELK_CLASS(TStreamedParameterModule, TVST2Module)

  explicit TStreamedParameterModule(TComponent* owner) : TVST2Module(owner) {}
};

const TClassInfo& TStreamedParameterModule::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStreamedParameterModule>("TStreamedParameterModule").Build();
  return info;
}

class TStreamBuilder {
 public:
  TStreamBuilder& Bytes(std::initializer_list<uint8_t> bytes) {
    data_.insert(data_.end(), bytes);
    return *this;
  }
  TStreamBuilder& Short(std::string_view text) {
    data_.push_back(static_cast<uint8_t>(text.size()));
    data_.insert(data_.end(), text.begin(), text.end());
    return *this;
  }
  TStreamBuilder& Name(std::string_view property) { return Short(property); }
  TStreamBuilder& Ident(std::string_view ident) { return Bytes({7}).Short(ident); }
  TStreamBuilder& Text(std::string_view text) { return Bytes({6}).Short(text); }
  TStreamBuilder& Int8(int8_t value) { return Bytes({2, static_cast<uint8_t>(value)}); }
  TStreamBuilder& Int16(int16_t value) {
    return Bytes({3, static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF)});
  }
  const std::vector<uint8_t>& Data() const { return data_; }

 private:
  std::vector<uint8_t> data_;
};

std::vector<uint8_t> ModuleStreamWithOneParameter() {
  TStreamBuilder stream;
  stream.Bytes({'T', 'P', 'F', '0'}).Short("TStreamedParameterModule").Short("StreamedParameterModule");
  stream.Name("ParameterProperties").Bytes({14, 1});
  stream.Name("Max").Int16(360);
  stream.Name("Curve").Ident("ctLogarithmic");
  stream.Name("CurveFactor").Int8(9);
  stream.Name("DisplayName").Text("Angle");
  stream.Name("Units").Bytes({18, 1, 0, 0, 0, 0xB0, 0x00});  // "°" as one UTF-16 code unit
  stream.Name("CanBeAutomated").Bytes({8});
  stream.Name("VSTModule").Ident("Owner");
  stream.Bytes({0, 0});  // end of the item, end of the collection
  stream.Bytes({0, 0});  // end of the module's properties, no children
  return stream.Data();
}

// Products describe their parameters only in their settings resource.
TEST(ParameterStream, AnItemLoadsWithEverySettingFromTheModulesResource) {
  static const std::vector<uint8_t> resource = ModuleStreamWithOneParameter();
  RegisterComponentResource("TStreamedParameterModule", resource);
  std::unique_ptr<TStreamedParameterModule, TFreeObject> module(New<TStreamedParameterModule>(nullptr));

  ASSERT_EQ(module->Effect.numParams, 1);
  const TCustomVstParameterProperty* item = module->ParameterProperties()->Item(0);
  EXPECT_EQ(item->Min, 0.0f);
  EXPECT_EQ(item->Max, 360.0f);
  EXPECT_EQ(item->Curve, ctLogarithmic);
  EXPECT_EQ(item->CurveFactor, 9.0f);
  EXPECT_EQ(item->DisplayName(), "Angle");
  EXPECT_EQ(item->Units(), "°");
  EXPECT_FALSE(item->CanBeAutomated);
  EXPECT_EQ(item->VSTModule(), module.get());
  EXPECT_EQ(module->GetParameterLabel(0), "°");
  UnregisterComponentResource("TStreamedParameterModule");
}

}  // namespace
}  // namespace zelk::tests
