// The host session the renderer, the benchmarks and the stress test share:
// it must route the plug-in's calls back to the session that owns the effect
// (automation reports arrive), and a failed open must say why and leave
// nothing loaded.

#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "tools/common/HostSession.h"

namespace zelk::tests {
namespace {

using host::THostSession;

TEST(HostSession, OpensTheProductAndReceivesItsAutomationReports) {
  std::string plugin;
  ASSERT_TRUE(FindPluginUnderTest(plugin));
  THostSession session;
  ASSERT_TRUE(session.Open(plugin, {48000.0f, 256})) << session.ErrorText();
  EXPECT_EQ(session.Effect()->magic, kEffectMagic);
  session.Resume();
  session.SetParameter(0, 0.25f);
  EXPECT_FLOAT_EQ(session.GetParameter(0), 0.25f);
  const std::vector<host::TAutomationReport> reports = session.AutomationReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].Index, 0);
  EXPECT_FLOAT_EQ(reports[0].Value, 0.25f);
  session.Close();
  EXPECT_EQ(session.Effect(), nullptr);
}

TEST(HostSession, TwoSessionsKeepTheirReportsApart) {
  std::string plugin;
  ASSERT_TRUE(FindPluginUnderTest(plugin));
  THostSession first, second;
  ASSERT_TRUE(first.Open(plugin, {}));
  ASSERT_TRUE(second.Open(plugin, {}));
  first.SetParameter(0, 0.5f);
  second.SetParameter(0, 0.75f);
  second.SetParameter(0, 1.0f);
  EXPECT_EQ(first.AutomationReportCount(), 1u);
  EXPECT_EQ(second.AutomationReportCount(), 2u);
}

TEST(HostSession, AnEntryPointAnsweringNullFailsTheOpen) {
  THostSession session;
  EXPECT_FALSE(session.Open(ZELK_NULL_ENTRY_PLUGIN, {}));
  EXPECT_NE(session.ErrorText().find("answered no effect"), std::string::npos) << session.ErrorText();
  EXPECT_EQ(session.Effect(), nullptr);
}

TEST(HostSession, AMissingLibraryFailsWithItsName) {
  THostSession session;
  EXPECT_FALSE(session.Open("/nonexistent/NoSuchPlugin.so", {}));
  EXPECT_NE(session.ErrorText().find("NoSuchPlugin.so"), std::string::npos) << session.ErrorText();
}

}  // namespace
}  // namespace zelk::tests
