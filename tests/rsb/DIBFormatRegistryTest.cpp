// The format list: the library start registers the RSB format and the stop
// frees it; the list owns and orders its formats; lookup by extension ignores
// case and the leading dot.
#include <gtest/gtest.h>

#include <stdexcept>

#include "dib/DIBFormatRegistry.h"
#include "dib/DIBLibrary.h"
#include "dib/DIBRSBFormat.h"
#include "runtime/ClassInfo.h"

namespace zelk::tests {
namespace {

// A second RSB reader that tells when it is freed.
class TTrackedRSBFormat : public TDIBRSBFormat {
 public:
  explicit TTrackedRSBFormat(bool* freed) : freed_(freed) {}
  ~TTrackedRSBFormat() override { *freed_ = true; }

 private:
  bool* freed_;
};

// Every test starts and ends with an empty list.
class DIBFormatList : public ::testing::Test {
 protected:
  void SetUp() override { ClearDIBFormats(); }
  void TearDown() override { ClearDIBFormats(); }
};

TEST_F(DIBFormatList, LibraryStartRegistersRSBAndStopFreesIt) {
  InitializeDIBLibrary();
  ASSERT_EQ(DIBFormatCount(), 1);
  EXPECT_TRUE(DIBFormatAt(0)->Is<TDIBRSBFormat>());
  EXPECT_EQ(DIBFormatAt(0)->GetDisplayName(), "Rogue spear bitmap");
  FinalizeDIBLibrary();
  EXPECT_EQ(DIBFormatCount(), 0);
}

TEST_F(DIBFormatList, LookupIgnoresCaseAndTheDot) {
  RegisterDIBFormat(New<TDIBRSBFormat>());
  TAbstractDIBFormat* rsb = DIBFormatAt(0);
  for (const char* extension : {"rsb", ".rsb", "RSB", ".RsB"}) EXPECT_EQ(FindDIBFormat(extension), rsb) << extension;
  for (const char* extension : {"", ".", "bmp", ".rs", "rsbx", "..rsb"}) {
    EXPECT_EQ(FindDIBFormat(extension), nullptr) << extension;
  }
}

TEST_F(DIBFormatList, TheListOwnsItsFormatsInOrder) {
  bool firstFreed = false;
  bool secondFreed = false;
  auto* first = New<TTrackedRSBFormat>(&firstFreed);
  auto* second = New<TTrackedRSBFormat>(&secondFreed);
  RegisterDIBFormat(first);
  RegisterDIBFormat(second);
  RegisterDIBFormat(second);  // must not be freed twice later
  ASSERT_EQ(DIBFormatCount(), 2);
  EXPECT_EQ(FindDIBFormat("rsb"), first);

  UnregisterDIBFormat(first);
  EXPECT_TRUE(firstFreed);
  EXPECT_EQ(FindDIBFormat("rsb"), second);
  ClearDIBFormats();
  EXPECT_TRUE(secondFreed);
  EXPECT_THROW(DIBFormatAt(0), std::out_of_range);
}

}  // namespace
}  // namespace zelk::tests
