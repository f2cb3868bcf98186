#include "DIBStoreTestSupport.h"

#include <atomic>
#include <fstream>

#include <gtest/gtest.h>

#include "dib/DIBLibrary.h"

namespace zelk::tests {

TTemporaryFolder::TTemporaryFolder() {
  static std::atomic<int> counter{0};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name = std::string("zelk-dibstore-") + (info ? info->name() : "test") + "-" +
                           std::to_string(counter++) + "-" + std::to_string(std::random_device{}());
  path_ = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(path_);
}

TTemporaryFolder::~TTemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TTemporaryFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  const std::filesystem::path file = path_ / name;
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return file.string();
}

namespace {
// The library starts once for the whole test program, as the plug-in does.
class TDIBLibraryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { InitializeDIBLibrary(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TDIBLibraryEnvironment);
}  // namespace

}  // namespace zelk::tests
