// The non-visual container component: a root that owns components, loads
// its settings from a component resource and fires OnCreate and OnDestroy.
//
// Construction order: the C++ constructors, then AfterConstruction, which
// calls InitializeComponent (where descendants load their resource) and then
// fires OnCreate unless OldCreateOrder asked for it earlier. Destruction
// order (Free): OnDestroy unless OldCreateOrder, ReleaseContents,
// OnDestroy when OldCreateOrder, then the owned components are freed.
#pragma once

#include "runtime/Component.h"
#include "runtime/Event.h"

namespace zelk {

class TDataModule : public TComponent {
  ZELK_CLASS(TDataModule, TComponent)

  explicit TDataModule(TComponent* owner);
  ~TDataModule() override;

  bool OldCreateOrder = false;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

  // Under the roots lock: other threads read root names to make theirs
  // unique.
  void SetName(std::string_view newName) override;
  void AfterConstruction() override;
  void BeforeDestruction() override;
  void DefineProperties(TFiler& filer) override;

  int32_t DesignHeight() const { return designHeight_; }
  int32_t DesignWidth() const { return designWidth_; }

 protected:
  // Loads settings; runs inside AfterConstruction before OnCreate.
  virtual void InitializeComponent() {}
  // Frees what the descendant owns outside the component tree, before the
  // owned components go.
  virtual void ReleaseContents() {}
  // Fire the events; an exception of a handler is passed to the
  // application's exception handler and the work goes on.
  void DoCreate();
  void DoDestroy();

 private:
  int32_t designHeight_ = 0;
  int32_t designWidth_ = 0;
};

}  // namespace zelk
