#include <gtest/gtest.h>

#include "TestClasses.h"
#include "runtime/Exceptions.h"

namespace zelk::tests {
namespace {

struct TOwnerFixture : ::testing::Test {
  std::unique_ptr<TComponent, TFreeObject> owner{New<TComponent>(nullptr)};
};

// Names are identifiers, unique within their owner, compared without case.
TEST_F(TOwnerFixture, NamesAreValidatedWithTheSystemsMessages) {
  auto* gadget = New<TGadget>(owner.get());
  try {
    gadget->SetName("1st");
    FAIL();
  } catch (const EComponentError& error) {
    EXPECT_STREQ(error.what(), "''1st'' ist kein gültiger Komponentenname");
  }
  gadget->SetName("Knob");
  auto* other = New<TGadget>(owner.get());
  try {
    other->SetName("KNOB");
    FAIL();
  } catch (const EComponentError& error) {
    EXPECT_STREQ(error.what(), "Komponente mit der Bezeichnung KNOB existiert bereits");
  }
  EXPECT_EQ(other->Name(), "");
  EXPECT_EQ(owner->FindComponent("knob"), gadget);
  gadget->SetName("knob");  // a change of case is no clash with itself
  EXPECT_EQ(gadget->Name(), "knob");
}

TEST_F(TOwnerFixture, AnOwnerFreesWhatItOwns) {
  auto* gadget = New<TGadget>(owner.get());
  auto* nested = New<TGadget>(gadget);
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(nested->Owner(), gadget);
  TObject::Free(gadget);  // frees nested too and leaves the owner
  EXPECT_EQ(owner->ComponentCount(), 0);
}

class TReferenceKeeper : public TComponent {
 public:
  explicit TReferenceKeeper(TComponent* owner) : TComponent(owner) {}
  void Keep(TComponent* component) {
    kept = component;
    if (component) component->FreeNotification(this);
  }
  TComponent* kept = nullptr;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == kept) kept = nullptr;
  }
};

TEST(FreeNotification, ClearsReferencesToComponentsOwnedElsewhere) {
  auto* keeper = New<TReferenceKeeper>(nullptr);
  auto* target = New<TGadget>(nullptr);
  keeper->Keep(target);
  TObject::Free(target);
  EXPECT_EQ(keeper->kept, nullptr);
  TObject::Free(keeper);
}

// Counts, outside itself, the removals it hears of.
class TCountingKeeper : public TReferenceKeeper {
 public:
  TCountingKeeper(TComponent* owner, int* heard) : TReferenceKeeper(owner), heard_(heard) {}

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TReferenceKeeper::Notification(component, operation);
    if (operation == TOperation::opRemove) ++*heard_;
  }

 private:
  int* heard_;
};

TEST(FreeNotification, AKeeperThatGoesFirstIsForgotten) {
  int goneHeard = 0;
  int stayingHeard = 0;
  auto* gone = New<TCountingKeeper>(nullptr, &goneHeard);
  auto* staying = New<TCountingKeeper>(nullptr, &stayingHeard);
  auto* target = New<TGadget>(nullptr);
  gone->Keep(target);
  staying->Keep(target);
  TObject::Free(gone);
  EXPECT_EQ(goneHeard, 0);  // the target's departure is not told to a freed keeper...
  TObject::Free(target);
  EXPECT_EQ(goneHeard, 0);
  EXPECT_EQ(stayingHeard, 1);  // ...while the keeper that stays hears it once
  EXPECT_EQ(staying->kept, nullptr);
  TObject::Free(staying);
}

TEST(PublishedFields, BindToTheOwnedComponentOfTheSameName) {
  auto* panel = New<TPanelOwner>(nullptr);
  auto* gadget = New<TGadget>(panel);
  gadget->SetName("First");
  EXPECT_EQ(panel->First, gadget);
  gadget->SetName("Second");
  EXPECT_EQ(panel->First, nullptr);
  gadget->SetName("First");
  TObject::Free(gadget);
  EXPECT_EQ(panel->First, nullptr);
  TObject::Free(panel);
}

TEST(States, MarksAreIndependentFlags) {
  TGadget gadget(nullptr);
  gadget.SetState(csLoading | csReading);
  gadget.ClearState(csReading);
  EXPECT_TRUE(gadget.HasState(csLoading));
  EXPECT_FALSE(gadget.HasState(csReading));
  gadget.LoadingFinished();
  EXPECT_FALSE(gadget.HasState(csLoading));
}

}  // namespace
}  // namespace zelk::tests
