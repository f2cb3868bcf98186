#include <gtest/gtest.h>

#include "TestClasses.h"
#include "runtime/ClassRegistry.h"
#include "runtime/Exceptions.h"

namespace zelk::tests {
namespace {

const TPropInfo& Prop(const char* name) {
  const TPropInfo* property = TGadget::StaticClass().FindProperty(name);
  EXPECT_NE(property, nullptr) << name;
  return *property;
}

// The kind of each published property follows from its C++ type, and
// inherited properties are found through the class chain.
TEST(PublishedProperties, KindsFollowTheDeclaredTypes) {
  EXPECT_EQ(Prop("count").Kind, TTypeKind::tkInteger);
  EXPECT_EQ(Prop("Enabled").Kind, TTypeKind::tkEnumeration);
  EXPECT_EQ(Prop("Enabled").EnumType, &BooleanType());
  EXPECT_EQ(Prop("Shade").EnumType->IndexOf("SHDARK"), 2);
  EXPECT_EQ(Prop("Shades").Kind, TTypeKind::tkSet);
  EXPECT_EQ(Prop("Level").Kind, TTypeKind::tkFloat);
  EXPECT_EQ(Prop("Caption").Kind, TTypeKind::tkString);
  EXPECT_EQ(Prop("Partner").Kind, TTypeKind::tkClass);
  EXPECT_EQ(&Prop("Partner").ClassType(), &TGadget::StaticClass());
  EXPECT_EQ(Prop("OnClick").Kind, TTypeKind::tkMethod);
  EXPECT_EQ(Prop("Tag").Kind, TTypeKind::tkInteger);  // from TComponent
  EXPECT_TRUE(Prop("Name").IsStored(*std::make_unique<TGadget>(nullptr)) == false);
}

TEST(PublishedProperties, ValuesGoThroughTheDeclaredAccessors) {
  TGadget gadget(nullptr);
  Prop("Count").Set(gadget, int64_t{7});
  EXPECT_EQ(gadget.countWrites, 1);
  EXPECT_EQ(std::get<int64_t>(Prop("Count").Get(gadget)), 7);
  Prop("Shades").Set(gadget, int64_t{0b101});
  EXPECT_TRUE(gadget.Shades.Contains(TShade::shLight));
  EXPECT_TRUE(gadget.Shades.Contains(TShade::shDark));
  Prop("Level").Set(gadget, 0.25);
  EXPECT_EQ(gadget.Level, 0.25f);
  Prop("Caption").Set(gadget, std::string("Angle"));
  EXPECT_EQ(gadget.Caption, "Angle");
}

TEST(PublishedProperties, ObjectPropertiesRefuseObjectsOfAnotherClass) {
  TGadget gadget(nullptr);
  TComponent stranger(nullptr);
  EXPECT_THROW(Prop("Partner").Set(gadget, static_cast<TObject*>(&stranger)), EPropertyError);
  EXPECT_EQ(gadget.Partner, nullptr);
}

// Events fire only when assigned; a published method binds only to an event
// of the same signature.
TEST(Events, BindingByNameChecksTheSignature) {
  TGadget gadget(nullptr);
  const TMethodInfo* click = TGadget::StaticClass().FindMethod("gadgetclick");
  const TMethodInfo* count = TGadget::StaticClass().FindMethod("GadgetCount");
  ASSERT_NE(click, nullptr);
  ASSERT_NE(count, nullptr);
  EXPECT_FALSE(gadget.OnClick);

  TMethodRef wrong{count->Code, &gadget, count->Signature};
  EXPECT_THROW(Prop("OnClick").Set(gadget, wrong), EPropertyError);
  EXPECT_FALSE(gadget.OnClick);

  Prop("OnClick").Set(gadget, TMethodRef{click->Code, &gadget, click->Signature});
  Prop("OnCount").Set(gadget, TMethodRef{count->Code, &gadget, count->Signature});
  gadget.OnClick(&gadget);
  gadget.OnCount(&gadget, 3);
  EXPECT_EQ(gadget.calls, "click;count3;");
  // The published method is found again from the bound event, for writers.
  EXPECT_EQ(TGadget::StaticClass().FindMethodByCode(std::get<TMethodRef>(Prop("OnClick").Get(gadget)).Code), click);
}

TEST(ClassRegistry, FindsRegisteredClassesByNameWithoutCase) {
  RegisterClass(TGadget::StaticClass());
  EXPECT_EQ(GetClass("tgadget"), &TGadget::StaticClass());
  EXPECT_EQ(GetClass("TNoSuchThing"), nullptr);
  auto* created = static_cast<TGadget*>(GetClass("TGadget")->Create(nullptr));
  EXPECT_EQ(created->Shade, TShade::shMedium);
  TObject::Free(created);
  UnregisterClass(TGadget::StaticClass());
}

// Assigning between unrelated kinds is refused with the runtime's message.
TEST(Persistent, AssignmentBetweenUnrelatedKindsIsRefused) {
  TGadget gadget(nullptr);
  TCountingCollection collection;
  try {
    collection.Assign(&gadget);
    FAIL();
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "TGadget kann nicht zu TCountingCollection zugewiesen werden");
  }
}

TEST(Collections, AnUpdateBracketAnnouncesOneChangeAtItsEnd) {
  TCountingCollection collection;
  collection.BeginUpdate();
  collection.Add();
  collection.Add();
  collection.BeginUpdate();
  collection.Delete(0);
  collection.EndUpdate();
  EXPECT_EQ(collection.updates, 0);
  collection.EndUpdate();
  EXPECT_EQ(collection.updates, 1);
  EXPECT_EQ(collection.Count(), 1);
  EXPECT_THROW(collection.Item(5), EListError);
}

TEST(Collections, AssignCopiesTheItemsOfTheSameKind) {
  TCountingCollection source, copy;
  static_cast<TNamedItem*>(source.Add())->Label = "a";
  copy.Add();
  copy.Add();
  // TNamedItem has no Assign of its own, so copying items is refused, and the
  // failed copy leaves the update bracket closed.
  EXPECT_THROW(copy.Assign(&source), EConvertError);
  EXPECT_EQ(copy.UpdateCount(), 0);
}

TEST(Collections, ItemsCanMoveAndKnowTheirIndex) {
  TCountingCollection collection;
  TCollectionItem* first = collection.Add();
  TCollectionItem* second = collection.Add();
  second->SetIndex(0);
  EXPECT_EQ(collection.Item(0), second);
  EXPECT_EQ(first->Index(), 1);
  EXPECT_EQ(collection.FindItemID(first->ID()), first);
}

}  // namespace
}  // namespace zelk::tests
