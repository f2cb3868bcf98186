// What the plug-in takes from the Windows system it runs on: texts in the
// system's ANSI code page, numbers with the decimal separator of the
// regional settings. scripts/test-windows runs these under more than one
// system locale and regional setting.
#include <clocale>
#include <cstdlib>
#include <string>

#include "tests/host/PluginUnderTest.h"

namespace zelk::tests {
namespace {

// The degree sign as the C runtime writes it in the ANSI code page: one
// byte on Western systems (1252), two on Japanese ones (932).
std::string DegreeSignInTheAnsiCodePage() {
  const std::string previous = std::setlocale(LC_CTYPE, nullptr);
  std::setlocale(LC_CTYPE, ".ACP");
  char bytes[8] = {};
  const size_t length = std::wcstombs(bytes, L"\u00B0", sizeof bytes);
  std::setlocale(LC_CTYPE, previous.c_str());
  return length == static_cast<size_t>(-1) ? "?" : std::string(bytes, length);
}

TEST_F(PluginTest, TheUnitsTextIsInTheAnsiCodePage) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(AskText(effect, effGetParamLabel, 0), DegreeSignInTheAnsiCodePage());
}

// ZELK_EXPECTED_DECIMAL_SEPARATOR tells what the test run set the regional
// settings to.
TEST_F(PluginTest, ValuesUseTheRegionalDecimalSeparator) {
  const char* separator = std::getenv("ZELK_EXPECTED_DECIMAL_SEPARATOR");
  if (separator == nullptr) GTEST_SKIP() << "ZELK_EXPECTED_DECIMAL_SEPARATOR is not set";
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  effect->setParameter(effect, 0, 0.0625f);  // 22.5 degrees
  EXPECT_EQ(AskText(effect, effGetParamDisplay, 0), "22" + std::string(separator) + "5");
  std::string typed = "45" + std::string(separator) + "0";
  EXPECT_EQ(Dispatch(effect, effString2Parameter, 0, 0, typed.data()), 1);
  EXPECT_EQ(effect->getParameter(effect, 0), 0.125f);
}

}  // namespace
}  // namespace zelk::tests
