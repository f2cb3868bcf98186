// Attached-control lists: each control at most once, never nil, items named
// after their controls, items freed when their control goes, and lists read
// from a component stream with their references resolved.
#include <gtest/gtest.h>

#include <memory>

#include "controls/ControlErrors.h"
#include "controls/ControlList.h"
#include "resources/ComponentResources.h"
#include "resources/Reader.h"
#include "resources/TextFormCompiler.h"
#include "runtime/ClassBuilder.h"
#include "runtime/ClassRegistry.h"
#include "runtime/DataModule.h"
#include "toolkit/Panel.h"
#include "toolkit/Toolkit.h"

namespace zelk::tests {
namespace {

// Owns an attached-control list and answers free notifications the way an
// image-drawn control does.
class TAttachHost : public TComponent {
  ZELK_CLASS(TAttachHost, TComponent)

  explicit TAttachHost(TComponent* owner) : TComponent(owner), attached_(New<TControlList>(this)) {}
  TControlList* Attached() const { return attached_.get(); }
  void SetAttached(TControlList* source) { attached_->Assign(source); }
  void FreeList() { attached_.reset(); }
  // The components whose removal the host heard of.
  std::vector<TComponent*> Removed;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove || component == this) return;
    Removed.push_back(component);
    if (attached_) attached_->RemoveControl(component);
  }

 private:
  std::unique_ptr<TControlList, TFreeObject> attached_;
};

const TClassInfo& TAttachHost::StaticClass() {
  static const TClassInfo info = TClassBuilder<TAttachHost>("TAttachHost")
                                     .Property("Attached", &TAttachHost::Attached, &TAttachHost::SetAttached)
                                     .Build();
  return info;
}

template <class T>
using TPtr = std::unique_ptr<T, TFreeObject>;

class ControlListTest : public ::testing::Test {
 protected:
  void SetUp() override { InitializeToolkit(); }
  TControl* NewControl(const char* name = "") {
    auto* control = New<TControl>(owner.get());
    control->SetName(name);
    return control;
  }
  TPtr<TComponent> owner{New<TComponent>(nullptr)};
  TPtr<TAttachHost> host{New<TAttachHost>(nullptr)};
};

TEST_F(ControlListTest, AControlAppearsOnceAndNeverAsNil) {
  TControl* knob = NewControl("Knob");
  TControlList& list = *host->Attached();
  list.Add()->SetControl(knob);
  TControlItem* second = list.Add();
  try {
    second->SetControl(knob);
    FAIL() << "the same control twice";
  } catch (const EFeatureError& error) {
    EXPECT_STREQ(error.what(), "Control already exists in list.");
  }
  EXPECT_EQ(second->Control(), nullptr);
  EXPECT_EQ(list.Find(knob), list.Item(0));
  try {
    second->SetControl(nullptr);
    FAIL() << "nil";
  } catch (const EFeatureError& error) {
    EXPECT_STREQ(error.what(), "You cannot set Control to nil");
  }
  // An item may be given its own control again.
  list.Item(0)->SetControl(knob);
  EXPECT_EQ(list.Item(0)->Control(), knob);
}

TEST_F(ControlListTest, ItemsAreNamedAfterTheirControls) {
  TControlList& list = *host->Attached();
  TControlItem* item = list.Add();
  EXPECT_EQ(item->DisplayName(), "TControlItem");
  item->SetControl(NewControl());
  EXPECT_EQ(item->DisplayName(), "TControl");
  item->Control()->SetName("Knob");
  EXPECT_EQ(item->DisplayName(), "Knob");
}

TEST_F(ControlListTest, AnItemGoesWithItsControl) {
  TControl* first = NewControl("First");
  TControl* second = NewControl("Second");
  host->Attached()->Add()->SetControl(first);
  host->Attached()->Add()->SetControl(second);
  TObject::Free(first);
  ASSERT_EQ(host->Attached()->Count(), 1);
  EXPECT_EQ(host->Attached()->Item(0)->Control(), second);
}

// Freeing the list first leaves no notification behind in the control: its
// owner no longer hears of it.
TEST_F(ControlListTest, AControlOutlivesTheListThatHeldIt) {
  TControl* knob = NewControl("Knob");
  host->Attached()->Add()->SetControl(knob);
  host->FreeList();
  TObject::Free(knob);
  EXPECT_TRUE(host->Removed.empty());
}

// Copying checks like writing: a second list of the same controls is fine,
// a copy of an item into a list that holds its control is not.
TEST_F(ControlListTest, CopiesGoThroughTheSameChecks) {
  TControl* knob = NewControl("Knob");
  host->Attached()->Add()->SetControl(knob);
  TPtr<TAttachHost> other(New<TAttachHost>(nullptr));
  other->Attached()->Assign(host->Attached());
  ASSERT_EQ(other->Attached()->Count(), 1);
  EXPECT_EQ(other->Attached()->Item(0)->Control(), knob);
  EXPECT_THROW(other->Attached()->Add()->Assign(host->Attached()->Item(0)), EFeatureError);
  other.reset();
  TObject::Free(knob);
  EXPECT_EQ(host->Attached()->Count(), 0);
}

class TAttachForm : public TDataModule {
  ZELK_CLASS(TAttachForm, TDataModule)
  explicit TAttachForm(TComponent* owner) : TDataModule(owner) {}
  void InitializeComponent() override {
    ReadRootResources(*this, TDataModule::StaticClass(), messages::kFormResourceNotFound);
  }
  TAttachHost* Host = nullptr;
};

const TClassInfo& TAttachForm::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TAttachForm>("TAttachForm").Field("Host", &TAttachForm::Host).Build();
  return info;
}

TEST_F(ControlListTest, AListIsReadWithItsControlReferences) {
  RegisterClasses({&TAttachHost::StaticClass()});
  const std::vector<uint8_t> resource = CompileComponentText(R"(
object AttachForm: TAttachForm
  object Host: TAttachHost
    Attached = <
      item
        Control = Label
      end>
  end
  object Label: TPanel
  end
end
)");
  RegisterComponentResource("TAttachForm", resource);
  TPtr<TAttachForm> form(New<TAttachForm>(nullptr));
  UnregisterComponentResource("TAttachForm");
  ASSERT_EQ(form->Host->Attached()->Count(), 1);
  EXPECT_EQ(form->Host->Attached()->Item(0)->DisplayName(), "Label");
}

}  // namespace
}  // namespace zelk::tests
