// What a host reads right after the entry point returns: the record must
// carry the product's identity and counts, and closing must free it.
#include <algorithm>
#include <cstring>

#include "platform/DynamicLibrary.h"
#include "tests/host/PluginUnderTest.h"

namespace zelk::tests {
namespace {

TEST_F(PluginTest, FreshRecordCarriesTheProductsIdentity) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->magic, 0x56737450);
  EXPECT_EQ(effect->numPrograms, 0);
  EXPECT_EQ(effect->numParams, 1);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->flags, 0x11);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(effect->realQualities, 0);
  EXPECT_EQ(effect->offQualities, 0);
  EXPECT_EQ(effect->resvd1, 0);
  EXPECT_EQ(effect->resvd2, 0);
  int32_t ioRatio = 0;
  std::memcpy(&ioRatio, &effect->ioRatio, sizeof ioRatio);
  EXPECT_EQ(ioRatio, 1);  // the integer 1, not 1.0f
  EXPECT_NE(effect->object, nullptr);
  EXPECT_EQ(effect->object, effect->user);
  EXPECT_EQ(effect->uniqueID, ('Z' << 24) + ('e' << 16) + ('l' << 8) + 'k');
  EXPECT_EQ(effect->version, 1);
  EXPECT_TRUE(std::all_of(std::begin(effect->future), std::end(effect->future), [](char byte) { return byte == 0; }));
  EXPECT_NE(effect->dispatcher, nullptr);
  EXPECT_NE(effect->process, nullptr);
  EXPECT_NE(effect->processReplacing, nullptr);
  EXPECT_NE(effect->setParameter, nullptr);
  EXPECT_NE(effect->getParameter, nullptr);
}

TEST_F(PluginTest, IdentityAnswersMatchTheSettings) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(AskText(effect, effGetEffectName), "Zelk Vorlan");
  EXPECT_EQ(AskText(effect, effGetVendorString), "Kelmora");
  EXPECT_EQ(AskText(effect, effGetProductString), "Zelk Vorlan");
  EXPECT_EQ(Dispatch(effect, effGetPlugCategory), 1);
  EXPECT_EQ(Dispatch(effect, effGetVendorVersion), 0);
  EXPECT_EQ(Dispatch(effect, effGetTailSize), 0);
  EXPECT_EQ(Dispatch(effect, effGetVstVersion), 2300);
  EXPECT_EQ(Dispatch(effect, effIdentify), 0x4E764566);
  EXPECT_EQ(AskText(effect, effGetParamName, 0), "Angle");
#if !defined(_WIN32)  // Windows uses its ANSI code page: tests/windows
  EXPECT_EQ(AskText(effect, effGetParamLabel, 0), "\xC2\xB0");  // '°'
#endif
  EXPECT_EQ(AskText(effect, effGetParamName, 1), "undefin");
  char canDo[] = "plugAsSend";
  EXPECT_EQ(Dispatch(effect, effCanDo, 0, 0, canDo), 1);
}

TEST_F(PluginTest, EffCloseAnswersOne) {
  AEffect* effect = Create();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(Dispatch(effect, effOpen), 0);
  EXPECT_EQ(Close(effect), 1);
}

// Scanning hosts create plug-ins without a callback.
TEST_F(PluginTest, WorksWithoutAHostCallback) {
  AEffect* effect = Create(nullptr);
  ASSERT_NE(effect, nullptr);
  effect->setParameter(effect, 0, 0.5f);
  EXPECT_EQ(effect->getParameter(effect, 0), 0.5f);
  EXPECT_EQ(Dispatch(effect, effMainsChanged, 0, 1), 0);
}

#if !defined(_WIN32)  // the 32-bit Windows library exports `main` alone: scripts/test-windows
// Older hosts know the entry point only as `main`.
TEST_F(PluginTest, BothEntryPointNamesCreateEffects) {
  platform::TDynamicLibrary library;
  ASSERT_TRUE(library.Open(Path())) << library.ErrorText();
  for (const char* name : {"main", "VSTPluginMain"}) {
    auto entry = reinterpret_cast<VstPluginMainProc>(library.FindSymbol(name));
    ASSERT_NE(entry, nullptr) << library.ErrorText();
    AEffect* effect = entry(zelk::tests::TRecordingHost::Callback());
    ASSERT_NE(effect, nullptr) << name;
    EXPECT_EQ(effect->uniqueID, 0x5A656C6B);
    EXPECT_EQ(Dispatch(effect, effClose), 1);
  }
}
#endif

// The library shows the host its entry points and nothing of its insides
// (classes, the C++ runtime), which could clash with the host's own.
TEST_F(PluginTest, InternalSymbolsAreNotVisible) {
  platform::TDynamicLibrary library;
  ASSERT_TRUE(library.Open(Path())) << library.ErrorText();
  EXPECT_EQ(library.FindSymbol("_ZN4zelk11ApplicationEv"), nullptr);  // zelk::Application()
  EXPECT_EQ(library.FindSymbol("_ZN4zelk17TCustomVST1Module11StaticClassEv"), nullptr);
  EXPECT_NE(library.ErrorText().find("_ZN4zelk17TCustomVST1Module11StaticClassEv"), std::string::npos);
}

}  // namespace
}  // namespace zelk::tests
