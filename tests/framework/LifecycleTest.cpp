// A module is built from its resource and taken apart again in a fixed
// order that module code relies on: settings before OnInitialize, programs
// initialised before program 0 is applied, OnCreate and OnDestroy placed by
// OldCreateOrder, everything owned released before the owned components go.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ParameterProperty.h"
#include "framework/Program.h"
#include "resources/ComponentResources.h"
#include "resources/TextFormCompiler.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Exceptions.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace zelk::tests {
namespace {

// ---- Construction and destruction order of a module built in code ----

// Builds a TVST2Module the way New<> does, with handlers bound in between.
struct TOrderFixture {
  TEventLog Log;
  TVST2Module* Module = new TVST2Module(nullptr);

  explicit TOrderFixture(bool oldCreateOrder, int programs = 2) {
    Module->OldCreateOrder = oldCreateOrder;
    Module->ParameterProperties()->Add();
    for (int index = 0; index < programs; ++index) {
      auto* program = static_cast<TCustomVstProgram*>(Module->Programs()->Add());
      program->SetParameter(0, 5.0f + index);
      program->OnInitialize = TNotifyEvent::Bind<&TEventLog::ProgramInitialize>(&Log);
    }
    Module->OnCreate = TNotifyEvent::Bind<&TEventLog::Create>(&Log);
    Module->OnDestroy = TNotifyEvent::Bind<&TEventLog::Destroy>(&Log);
    Module->OnInitialize = TNotifyEvent::Bind<&TEventLog::Initialize>(&Log);
    Module->OnProgramChange = TNotifyEvent::Bind<&TEventLog::ProgramChange>(&Log);
    Module->OnParameterChange = TParameterChangeEvent::Bind<&TEventLog::ParameterChange>(&Log);
    Module->AfterConstruction();
  }
  ~TOrderFixture() { TObject::Free(Module); }
};

TEST(ModuleLifecycle, OnCreateComesLastByDefault) {
  TOrderFixture fixture(false);
  EXPECT_EQ(fixture.Log.Entries,
            (std::vector<std::string>{"OnInitialize", "Program.OnInitialize", "Program.OnInitialize",
                                      "OnParameterChange 0 5.000000", "OnProgramChange", "OnCreate"}));
  EXPECT_EQ(fixture.Module->CurrentProgram(), 0);
  EXPECT_EQ(fixture.Module->GetParameter(0), 5.0f);  // program 0 applied
}

TEST(ModuleLifecycle, OldCreateOrderFiresOnCreateBeforeInitializing) {
  TOrderFixture fixture(true, 0);
  EXPECT_EQ(fixture.Log.Entries, (std::vector<std::string>{"OnCreate", "OnInitialize"}));
}

// Without OldCreateOrder OnDestroy still sees everything the module owns;
// with it, OnDestroy comes after the module released its contents but
// before the owned components go.
struct TDestroyProbe : TObject {
  TVST2Module* Module = nullptr;
  TComponent* Child = nullptr;
  bool SawParameters = false;
  bool SawChild = false;
  void Destroyed(TObject*) {
    SawParameters = Module->ParameterProperties() != nullptr;
    SawChild = Module->ComponentCount() == 1 && Module->Component(0) == Child;
  }
};

void ExpectDestruction(bool oldCreateOrder, bool parametersVisible) {
  TDestroyProbe probe;
  TVST2Module* module = New<TVST2Module>(nullptr);
  module->OldCreateOrder = oldCreateOrder;
  probe.Module = module;
  probe.Child = new TComponent(module);
  module->OnDestroy = TNotifyEvent::Bind<&TDestroyProbe::Destroyed>(&probe);
  TObject::Free(module);
  EXPECT_EQ(probe.SawParameters, parametersVisible);
  EXPECT_TRUE(probe.SawChild);
}

TEST(ModuleLifecycle, OnDestroyFirstByDefault) { ExpectDestruction(false, true); }

TEST(ModuleLifecycle, OldCreateOrderFiresOnDestroyAfterTheContentsAreReleased) { ExpectDestruction(true, false); }

// A handler that fails in OnCreate is reported, not fatal.
TEST(ModuleLifecycle, AFailingOnCreateDoesNotStopConstruction) {
  struct TFailing : TObject {
    void Create(TObject*) { throw Exception("create failed"); }
  } failing;
  TVST2Module* module = new TVST2Module(nullptr);
  module->OnCreate = TNotifyEvent::Bind<&TFailing::Create>(&failing);
  EXPECT_NO_THROW(module->AfterConstruction());
  TObject::Free(module);
}

// ---- Modules built from their own resources ----

// A module class with handlers that its resource binds by name.
class TResourceModule : public TVST2Module {
  ZELK_CLASS(TResourceModule, TVST2Module)
  explicit TResourceModule(TComponent* owner) : TVST2Module(owner) {}
  std::vector<std::string> Calls;
  void ModuleInitialize(TObject*) { Calls.push_back("OnInitialize " + std::to_string(numParams())); }
  void ModuleCreate(TObject*) { Calls.push_back("OnCreate"); }
  void ModuleOpen(TObject*) { Calls.push_back("OnOpen"); }
};

const TClassInfo& TResourceModule::StaticClass() {
  static const TClassInfo info = TClassBuilder<TResourceModule>("TResourceModule")
                                     .Method<&TResourceModule::ModuleInitialize>("ModuleInitialize")
                                     .Method<&TResourceModule::ModuleCreate>("ModuleCreate")
                                     .Method<&TResourceModule::ModuleOpen>("ModuleOpen")
                                     .Build();
  return info;
}

class TOldOrderModule : public TResourceModule {
  ZELK_CLASS(TOldOrderModule, TResourceModule)
  explicit TOldOrderModule(TComponent* owner) : TResourceModule(owner) {}
};

const TClassInfo& TOldOrderModule::StaticClass() {
  static const TClassInfo info = TClassBuilder<TOldOrderModule>("TOldOrderModule").Build();
  return info;
}

class TUnresourcedModule : public TVST2Module {
  ZELK_CLASS(TUnresourcedModule, TVST2Module)
  explicit TUnresourcedModule(TComponent* owner) : TVST2Module(owner) {}
};

const TClassInfo& TUnresourcedModule::StaticClass() {
  static const TClassInfo info = TClassBuilder<TUnresourcedModule>("TUnresourcedModule").Build();
  return info;
}

void RegisterTextResource(std::string_view name, std::string_view text) {
  // The registry keeps a view of the bytes: they live as long as the test binary.
  static std::vector<std::vector<uint8_t>> kept;
  kept.push_back(CompileComponentText(text));
  RegisterComponentResource(name, kept.back());
}

class ModuleResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterTextResource("TResourceModule", R"(
object ResourceModule: TResourceModule
  Flags = [pfHasEditor, pfFlagsIsSynth]
  EffectName = 'Test Effect'
  PlugCategory = cgSynth
  CanDos = [receiveVstMidiEvent, bypass]
  numInputs = 0
  UniqueID = 'Tst1'
  ParameterProperties = <
    item
      DisplayName = 'Gain'
      VSTModule = Owner
    end
    item
      DisplayName = 'Pan'
      VSTModule = Owner
    end>
  OnInitialize = ModuleInitialize
  OnCreate = ModuleCreate
  OnOpen = ModuleOpen
end
)");
    RegisterTextResource("TOldOrderModule", R"(
object OldOrderModule: TOldOrderModule
  OldCreateOrder = True
  OnInitialize = ModuleInitialize
  OnCreate = ModuleCreate
end
)");
  }
};

TEST_F(ModuleResources, SettingsAndBindingsComeFromTheResource) {
  std::unique_ptr<TResourceModule, TFreeObject> module(New<TResourceModule>(nullptr));
  EXPECT_EQ(module->Effect.flags, 0x101);
  EXPECT_EQ(module->Flags(), (TVst2PluginFlags{pfHasEditor, pfFlagsIsSynth}));
  EXPECT_EQ(module->EffectName, "Test Effect");
  EXPECT_EQ(module->PlugCategory, cgSynth);
  EXPECT_EQ(module->CanDos, (TVstCanDos{TVstCanDo::receiveVstMidiEvent, TVstCanDo::bypass}));
  EXPECT_EQ(module->Effect.numInputs, 0);
  EXPECT_EQ(module->Effect.uniqueID, 0x54737431);
  EXPECT_EQ(module->Effect.numParams, 2);
  EXPECT_EQ(module->ParameterProperties()->Item(1)->DisplayName(), "Pan");
  EXPECT_EQ(module->ParameterProperties()->Item(1)->VSTModule(), module.get());
  module->Effect.dispatcher(&module->Effect, effOpen, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(module->Calls, (std::vector<std::string>{"OnInitialize 2", "OnCreate", "OnOpen"}));
}

// The derived class's resource is read after its parent's, so the module
// has the parent's two parameters and the derived OldCreateOrder.
TEST_F(ModuleResources, OldCreateOrderFromTheResourcePutsOnCreateFirst) {
  std::unique_ptr<TOldOrderModule, TFreeObject> module(New<TOldOrderModule>(nullptr));
  EXPECT_EQ(module->Calls, (std::vector<std::string>{"OnCreate", "OnInitialize 2"}));
}

TEST_F(ModuleResources, AClassWithoutAResourceCannotBeBuilt) {
  try {
    TObject::Free(New<TUnresourcedModule>(nullptr));
    FAIL() << "construction succeeded";
  } catch (const EResNotFound& error) {
    EXPECT_STREQ(error.what(), "Resource TUnresourcedModule not found");
  }
}

// TVST2Module itself and a module being designed keep their defaults.
TEST_F(ModuleResources, TheBaseClassAndDesignedModulesLoadNothing) {
  std::unique_ptr<TVST2Module, TFreeObject> bare(New<TVST2Module>(nullptr));
  EXPECT_EQ(bare->Effect.uniqueID, 0x4E6F4566);
  auto* designed = new TUnresourcedModule(nullptr);
  designed->SetState(csDesigning);
  EXPECT_NO_THROW(designed->AfterConstruction());
  TObject::Free(designed);
}

// effClose through the record's dispatcher answers 1 and frees the module:
// it leaves its owner and its OnDestroy runs.
TEST(ModuleClose, EffCloseThroughTheRecordFreesTheModule) {
  TComponent owner(nullptr);
  TEventLog log;
  TVST2Module* module = New<TVST2Module>(&owner);
  module->OnClose = TNotifyEvent::Bind<&TEventLog::Notify>(&log);
  module->OnDestroy = TNotifyEvent::Bind<&TEventLog::Destroy>(&log);
  AEffect* effect = &module->Effect;
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(log.Entries, (std::vector<std::string>{"Notify", "OnDestroy"}));
}

TEST(ModuleClose, AFailingOnCloseStillClosesAndAnswersOne) {
  TComponent owner(nullptr);
  struct TFailing : TObject {
    void Close(TObject*) { throw Exception("close failed"); }
  } failing;
  TVST2Module* module = New<TVST2Module>(&owner);
  module->OnClose = TNotifyEvent::Bind<&TFailing::Close>(&failing);
  EXPECT_EQ(module->Effect.dispatcher(&module->Effect, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(owner.ComponentCount(), 0);
}

}  // namespace
}  // namespace zelk::tests
