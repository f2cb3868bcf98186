#include "resources/Writer.h"

#include <gtest/gtest.h>

#include "TestComponents.h"
#include "resources/TextFormPrinter.h"

namespace zelk::tests {
namespace {

TTestChild* AddChild(TTestRoot& root, const char* name, TTestChild* parent = nullptr) {
  auto* child = New<TTestChild>(&root);
  child->SetName(name);
  child->Parent = parent;
  return child;
}

void Populate(TTestRoot& root) {
  root.SetName("W");
  root.Count = 245;
  root.Color = -16777201;
  root.Letter = 'z';
  root.Shade = TShade::shGreen;
  root.Enabled = true;
  root.Ratio = 0.1f;
  root.Precise = -1.0 / 3.0;
  root.Caption = "°C and more";
  root.WideCaption = u"wide \u263A";
  root.Shades = {TShade::shBlue};
  root.Letters = TSet<TLetter>::FromMask(0x80000001u);
  root.Big = -5000000000;
  root.Font()->Height = -13;
  root.Font()->Name = "Tahoma";
  root.Font()->Pen()->Width = 4;
  root.Gadget()->Position = 17;
  root.Blob = {0, 1, 2, 255};
  root.Extra = "hook";
  TTestChild* outer = AddChild(root, "Child1");
  TTestChild* inner = AddChild(root, "Inner", outer);
  inner->Partner = outer;
  root.Buddy = inner;
  root.Target = &root;
  auto* item = static_cast<TTestItem*>(root.Items()->Add());
  item->Caption = "first";
  item->Link = outer;
  static_cast<TTestItem*>(root.Items()->Add())->Value = 100000;
  root.OnChange = TNotifyEvent::Bind<&TTestRoot::HandleChange>(&root);
  root.OnCount = TCountEvent::Bind<&TTestRoot::HandleCount>(&root);
}

TEST(Writer, ARootWithEveryKindOfValueReadsBackToTheSameValues) {
  std::vector<uint8_t> bytes;
  {
    auto original = NewRoot();
    Populate(*original);
    bytes = Written(*original);
  }
  auto copy = NewRoot();
  ASSERT_EQ(ReadInto(*copy, bytes), "");
  EXPECT_EQ(copy->Name(), "W");
  EXPECT_EQ(copy->Count, 245);
  EXPECT_EQ(copy->Color, -16777201);
  EXPECT_EQ(copy->Letter, 'z');
  EXPECT_EQ(copy->Shade, TShade::shGreen);
  EXPECT_TRUE(copy->Enabled);
  EXPECT_EQ(copy->Ratio, 0.1f);
  EXPECT_EQ(copy->Precise, -1.0 / 3.0);
  EXPECT_EQ(copy->Caption, "°C and more");
  EXPECT_EQ(copy->WideCaption, u"wide \u263A");
  EXPECT_EQ(copy->Shades, TSet<TShade>{TShade::shBlue});
  EXPECT_EQ(copy->Letters.Mask(), 0x80000001u);
  EXPECT_EQ(copy->Big, -5000000000);
  EXPECT_EQ(copy->Font()->Height, -13);
  EXPECT_EQ(copy->Font()->Name, "Tahoma");
  EXPECT_EQ(copy->Font()->Pen()->Width, 4);
  EXPECT_EQ(copy->Gadget()->Position, 17);
  EXPECT_EQ(copy->Blob, (std::vector<uint8_t>{0, 1, 2, 255}));
  EXPECT_EQ(copy->Extra, "hook");
  ASSERT_NE(copy->Child1, nullptr);
  auto* inner = dynamic_cast<TTestChild*>(copy->FindComponent("Inner"));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Parent, copy->Child1);
  EXPECT_EQ(inner->Partner, copy->Child1);
  EXPECT_EQ(copy->Buddy, inner);
  EXPECT_EQ(copy->Target, copy.get());
  ASSERT_EQ(copy->Items()->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(copy->Items()->Item(0))->Link, copy->Child1);
  EXPECT_EQ(static_cast<TTestItem*>(copy->Items()->Item(1))->Value, 100000);
  EXPECT_EQ(copy->OnChange, TNotifyEvent::Bind<&TTestRoot::HandleChange>(copy.get()));
  EXPECT_EQ(copy->OnCount, TCountEvent::Bind<&TTestRoot::HandleCount>(copy.get()));
  // Writing the copy gives the same stream.
  EXPECT_EQ(Written(*copy), bytes);
}

TEST(Writer, OnlyStoredValuesThatDifferFromTheDefaultsAreWritten) {
  auto root = NewRoot();
  EXPECT_EQ(PrintComponentStream(Written(*root)), "object TTestRoot\n  Items = <>\nend\n");
}

TEST(Writer, PropertiesAreWrittenBaseClassFirstThenHooksThenChildrenInTextForm) {
  auto root = NewRoot();
  root->SetName("R");
  root->SetTag(3);
  root->Count = -11;
  root->Caption = "°";
  root->Precise = 44100.0;
  root->Extra = "x";
  AddChild(*root, "Child1");
  EXPECT_EQ(PrintComponentStream(Written(*root)),
            "object R: TTestRoot\n"
            "  Tag = 3\n"
            "  Count = -11\n"
            "  Precise = 44100.0\n"
            "  Caption = '°'\n"
            "  Items = <>\n"
            "  Extra = 'x'\n"
            "  object Child1: TTestChild\n"
            "  end\n"
            "end\n");
}

TEST(Writer, EventsBoundElsewhereAndUnnamedReferencesAreLeftOut) {
  auto root = NewRoot();
  auto other = NewRoot();
  root->OnChange = TNotifyEvent::Bind<&TTestRoot::HandleChange>(other.get());
  root->Buddy = New<TTestChild>(root.get());  // owned but unnamed
  EXPECT_EQ(PrintComponentStream(Written(*root)),
            "object TTestRoot\n  Items = <>\n  object TTestChild\n  end\nend\n");
}

TEST(Writer, AComponentOfAnotherRootIsNamedThroughThatRoot) {
  auto other = NewRoot();
  other->SetName("Other");
  auto* thing = New<TTestGadget>(other.get());
  thing->SetName("Thing");
  auto root = NewRoot();
  root->Target = thing;
  const std::vector<uint8_t> bytes = Written(*root);
  EXPECT_NE(PrintComponentStream(bytes).find("Target = Other.Thing\n"), std::string::npos);
  auto copy = NewRoot();
  ASSERT_EQ(ReadInto(*copy, bytes), "");
  EXPECT_EQ(copy->Target, thing);
}

}  // namespace
}  // namespace zelk::tests
