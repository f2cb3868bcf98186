#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestComponents.h"
#include "resources/ComponentResources.h"
#include "resources/TextFormPrinter.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

namespace zelk::tests {
namespace {

class TTestDerivedRoot : public TTestRoot {
  ZELK_CLASS(TTestDerivedRoot, TTestRoot)
  using TTestRoot::TTestRoot;
};

}  // namespace

const TClassInfo& TTestDerivedRoot::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestDerivedRoot>("TTestDerivedRoot").Build();
  return info;
}

namespace {

std::string SourceWithoutComments(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::string text;
  for (std::string line; std::getline(file, line);) {
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos || line.compare(first, 2, "//") == 0) continue;
    text += line + "\n";
  }
  return text;
}

TEST(ResourceTable, TheModuleResourceIsBuiltInAndFoundWithoutRegardToCase) {
  for (const char* name : {"TZELKVSTMODULE", "tzelkvstmodule", "TZelkVSTModule"}) {
    EXPECT_TRUE(FindComponentResource(name).has_value()) << name;
  }
  EXPECT_FALSE(FindComponentResource("TNOSUCHFORM").has_value());
}

TEST(ResourceTable, TheBuiltInModuleResourcePrintsAsItsSourceReads) {
  const auto source = std::filesystem::path(ZELK_SOURCE_DIR) / "resources" /
                      "ZelkVSTModule.zres";
  ASSERT_TRUE(std::filesystem::exists(source)) << source;
  EXPECT_EQ(PrintComponentStream(*FindComponentResource("TZELKVSTMODULE")), SourceWithoutComments(source));
}

TEST(ResourceTable, TheUnitsTextIsOneUtf16DegreeSign) {
  const std::span<const uint8_t> bytes = *FindComponentResource("TZELKVSTMODULE");
  const std::vector<uint8_t> units = TBytes().Str("Units").Raw({18}).Int32(1).Raw({0xB0, 0x00}).Bytes();
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), units.begin(), units.end()), bytes.end());
}

TEST(ResourceTable, RegisteredResourcesComeFirstUntilUnregistered) {
  const std::vector<uint8_t> replacement = Compiled("object X: TTestRoot end");
  const std::span<const uint8_t> builtIn = *FindComponentResource("TZELKVSTMODULE");
  RegisterComponentResource("tzelkvstmodule", replacement);
  EXPECT_EQ(FindComponentResource("TZELKVSTMODULE")->data(), replacement.data());
  UnregisterComponentResource("TZelkVstModule");
  EXPECT_EQ(FindComponentResource("TZELKVSTMODULE")->data(), builtIn.data());
}

class RootResources : public ::testing::Test {
 protected:
  void TearDown() override {
    UnregisterComponentResource("TTestRoot");
    UnregisterComponentResource("TTestDerivedRoot");
  }
  std::unique_ptr<TTestDerivedRoot, TFreeObject> root{New<TTestDerivedRoot>(nullptr)};
  std::vector<uint8_t> base = Compiled("object R: TTestRoot Count = 1 Caption = 'base' end");
  std::vector<uint8_t> derived = Compiled("object R: TTestDerivedRoot Count = 2 end");
};

TEST_F(RootResources, EachClassOfTheChainIsReadBaseMostFirst) {
  RegisterComponentResource("TTestRoot", base);
  RegisterComponentResource("TTestDerivedRoot", derived);
  ReadRootResources(*root, TComponent::StaticClass(), messages::kModuleResourceNotFound);
  EXPECT_EQ(root->Count, 2);
  EXPECT_EQ(root->Caption, "base");
  EXPECT_EQ(root->Name(), "R");
}

TEST_F(RootResources, ClassesFromTheBaseClassUpAreNotRead) {
  RegisterComponentResource("TTestRoot", base);
  RegisterComponentResource("TTestDerivedRoot", derived);
  ReadRootResources(*root, TTestRoot::StaticClass(), messages::kModuleResourceNotFound);
  EXPECT_EQ(root->Caption, "");
}

TEST_F(RootResources, OneResourceAnywhereInTheChainSuffices) {
  RegisterComponentResource("TTestRoot", base);
  ReadRootResources(*root, TComponent::StaticClass(), messages::kModuleResourceNotFound);
  EXPECT_EQ(root->Count, 1);
}

TEST_F(RootResources, WithoutAnyResourceConstructionFailsWithTheGivenMessage) {
  const auto messageOf = [this](const char* pattern) {
    try {
      ReadRootResources(*root, TComponent::StaticClass(), pattern);
    } catch (const EResNotFound& error) {
      return error.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(messageOf(messages::kModuleResourceNotFound), "Resource TTestDerivedRoot not found");
  EXPECT_EQ(messageOf(messages::kFormResourceNotFound), "Ressource TTestDerivedRoot wurde nicht gefunden");
}

}  // namespace
}  // namespace zelk::tests
