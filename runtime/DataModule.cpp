#include "runtime/DataModule.h"

#include "runtime/Application.h"
#include "runtime/ClassBuilder.h"
#include "runtime/Filer.h"
#include "runtime/RootsLock.h"

namespace zelk {

const TClassInfo& TDataModule::StaticClass() {
  static const TClassInfo info = TClassBuilder<TDataModule>("TDataModule")
                                     .Property("OldCreateOrder", &TDataModule::OldCreateOrder)
                                     .Default(false)
                                     .Property("OnCreate", &TDataModule::OnCreate)
                                     .Property("OnDestroy", &TDataModule::OnDestroy)
                                     .Build();
  return info;
}

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) { AddRoot(this); }

TDataModule::~TDataModule() { RemoveRoot(this); }

void TDataModule::SetName(std::string_view newName) {
  TRootsLock lock;
  TComponent::SetName(newName);
}

void TDataModule::AfterConstruction() {
  InitializeComponent();
  if (!OldCreateOrder) DoCreate();
}

void TDataModule::BeforeDestruction() {
  if (HasState(csDestroying)) return;
  Destroying();
  if (!OldCreateOrder) DoDestroy();
  ReleaseContents();
  if (OldCreateOrder) DoDestroy();
  RemoveRoot(this);
  FinishDestruction();
}

void TDataModule::DoCreate() {
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (...) {
    Application().HandleException();
  }
}

void TDataModule::DoDestroy() {
  if (!OnDestroy) return;
  try {
    OnDestroy(this);
  } catch (...) {
    Application().HandleException();
  }
}

void TDataModule::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  // The design-time size of the container; kept without effect at run time.
  const bool hasSize = designHeight_ != 0 || designWidth_ != 0;
  filer.DefineProperty(
      "Height", [this](TValueReader& reader) { designHeight_ = static_cast<int32_t>(reader.ReadInteger()); },
      [this](TValueWriter& writer) { writer.WriteInteger(designHeight_); }, hasSize);
  filer.DefineProperty(
      "Width", [this](TValueReader& reader) { designWidth_ = static_cast<int32_t>(reader.ReadInteger()); },
      [this](TValueWriter& writer) { writer.WriteInteger(designWidth_); }, hasSize);
}

}  // namespace zelk
