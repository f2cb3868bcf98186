#include "resources/Reader.h"

#include <gtest/gtest.h>

#include "TestComponents.h"
#include "resources/ReferenceFixups.h"
#include "runtime/Application.h"
#include "runtime/Exceptions.h"
#include "runtime/Stream.h"
#include "runtime/SystemCodePage.h"

namespace zelk::tests {
namespace {

std::vector<uint8_t> RootWith(std::string_view body) {
  return Compiled("object Root: TTestRoot\n" + std::string(body) + "\nend\n");
}

class Reader : public ::testing::Test {
 protected:
  void SetUp() override { LoadingLog().clear(); }
  std::string Read(std::string_view body) { return ReadInto(*root, RootWith(body)); }
  TRootPointer root = NewRoot();
};

TEST_F(Reader, PropertiesOfEveryKindTakeTheirStoredValues) {
  ASSERT_EQ(Read(R"(
    Count = -11
    Color = clBtnFace
    Letter = 'x'
    Shade = shBlue
    Enabled = True
    Ratio = 1.5
    Precise = 0.1
    Caption = 'Zelk Vorlan'
    WideCaption = '°C'
    Shades = [shRed, shBlue]
    Big = 5000000000
    Font.Height = 12
    Font.Pen.Width = 3
    Items = <item Caption = 'one' Value = 1 end item Caption = 'two' end>
    Target = Gadget
    OnChange = HandleChange
    OnCount = handlecount
    Extra = 'hooked'
    Blob = { 0102FF }
    Left = 248
    Top = 106)"),
            "");
  EXPECT_EQ(root->Count, -11);
  EXPECT_EQ(root->Color, -16777201);
  EXPECT_EQ(root->Letter, 'x');
  EXPECT_EQ(root->Shade, TShade::shBlue);
  EXPECT_TRUE(root->Enabled);
  EXPECT_EQ(root->Ratio, 1.5f);
  EXPECT_EQ(root->Precise, 0.1);
  EXPECT_EQ(root->Caption, "Zelk Vorlan");
  EXPECT_EQ(root->WideCaption, u"°C");
  EXPECT_EQ(root->Shades, (TSet<TShade>{TShade::shRed, TShade::shBlue}));
  EXPECT_EQ(root->Big, 5000000000);
  EXPECT_EQ(root->Font()->Height, 12);
  EXPECT_EQ(root->Font()->Pen()->Width, 3);
  ASSERT_EQ(root->Items()->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(root->Items()->Item(0))->Caption, "one");
  EXPECT_EQ(static_cast<TTestItem*>(root->Items()->Item(1))->Caption, "two");
  EXPECT_EQ(root->Target, root->Gadget());
  EXPECT_EQ(root->Extra, "hooked");
  EXPECT_EQ(root->Blob, (std::vector<uint8_t>{1, 2, 0xFF}));
  EXPECT_EQ(root->DesignLeft(), 248);
  EXPECT_EQ(root->DesignTop(), 106);
  EXPECT_EQ(root->Name(), "Root");
  // Events call the root's methods.
  root->OnChange(root.get());
  root->OnCount(root.get(), 42);
  EXPECT_EQ(root->ChangeCalls, 1);
  EXPECT_EQ(root->LastCount, 42);
  EXPECT_EQ(root->OnChange.Target(), root.get());
}

TEST_F(Reader, TheStreamedNamesAreLookedUpWithoutRegardToCase) {
  ASSERT_EQ(Read("count = 3 SHADE = SHGREEN font.height = 4 onchange = HANDLECHANGE target = gadget"), "");
  EXPECT_EQ(root->Count, 3);
  EXPECT_EQ(root->Shade, TShade::shGreen);
  EXPECT_EQ(root->Font()->Height, 4);
  EXPECT_TRUE(root->OnChange);
  EXPECT_EQ(root->Target, root->Gadget());
}

struct TErrorCase {
  const char* Body;
  const char* Message;
};

class ReaderErrors : public Reader, public ::testing::WithParamInterface<TErrorCase> {};

TEST_P(ReaderErrors, NameTheObjectAndPropertyAndGiveTheCause) { EXPECT_EQ(Read(GetParam().Body), GetParam().Message); }

INSTANTIATE_TEST_SUITE_P(
    EveryMismatch, ReaderErrors,
    ::testing::Values(
        TErrorCase{"Nope = 1", "Fehler beim Lesen von Root.Nope: Eigenschaft Nope existiert nicht."},
        TErrorCase{"Nope.Height = 1", "Fehler beim Lesen von Root.Nope.Height: Eigenschaft Nope existiert nicht."},
        TErrorCase{"Font.Nope = 1", "Fehler beim Lesen von Root.Font.Nope: Eigenschaft Nope existiert nicht."},
        TErrorCase{"Count.Height = 1", "Fehler beim Lesen von Root.Count.Height: Ungültiger Pfad für Eigenschaft"},
        TErrorCase{"Buddy.Position = 1", "Fehler beim Lesen von Root.Buddy.Position: Ungültiger Pfad für Eigenschaft"},
        TErrorCase{"Version = 1", "Fehler beim Lesen von Root.Version: Eigenschaft kann nur gelesen werden"},
        TErrorCase{"FixedItems = <>", "Fehler beim Lesen von Root.FixedItems: Eigenschaft kann nur gelesen werden"},
        TErrorCase{"Count = 'x'", "Fehler beim Lesen von Root.Count: Ungültiger Eigenschaftswert"},
        TErrorCase{"Count = 1.0", "Fehler beim Lesen von Root.Count: Ungültiger Eigenschaftswert"},
        TErrorCase{"Count = 5000000000", "Fehler beim Lesen von Root.Count: Ungültiger Eigenschaftswert"},
        TErrorCase{"Count = clBlack", "Fehler beim Lesen von Root.Count: Ungültiger Eigenschaftswert"},
        TErrorCase{"Color = clNoSuchColour", "Fehler beim Lesen von Root.Color: Ungültiger Eigenschaftswert"},
        TErrorCase{"Letter = 'ab'", "Fehler beim Lesen von Root.Letter: Ungültiger Eigenschaftswert"},
        TErrorCase{"Letter = x", "Fehler beim Lesen von Root.Letter: Ungültiger Eigenschaftswert"},
        TErrorCase{"Shade = shPurple", "Fehler beim Lesen von Root.Shade: Ungültiger Eigenschaftswert"},
        TErrorCase{"Shade = 1", "Fehler beim Lesen von Root.Shade: Ungültiger Eigenschaftswert"},
        TErrorCase{"Enabled = Null", "Fehler beim Lesen von Root.Enabled: Ungültiger Eigenschaftswert"},
        TErrorCase{"Ratio = 'x'", "Fehler beim Lesen von Root.Ratio: Ungültiger Eigenschaftswert"},
        TErrorCase{"Caption = 5", "Fehler beim Lesen von Root.Caption: Ungültiger Eigenschaftswert"},
        TErrorCase{"Caption = Ident", "Fehler beim Lesen von Root.Caption: Ungültiger Eigenschaftswert"},
        TErrorCase{"Shades = [shRed, shPurple, shBlue]", "Fehler beim Lesen von Root.Shades: Ungültiger Eigenschaftswert"},
        TErrorCase{"Shades = shRed", "Fehler beim Lesen von Root.Shades: Ungültiger Eigenschaftswert"},
        TErrorCase{"Big = 1.0", "Fehler beim Lesen von Root.Big: Ungültiger Eigenschaftswert"},
        TErrorCase{"Font = <>", "Fehler beim Lesen von Root.Font: Ungültiger Eigenschaftswert"},
        TErrorCase{"Font = Gadget", "Fehler beim Lesen von Root.Font: Ungültiger Eigenschaftswert"},
        TErrorCase{"Buddy = 5", "Fehler beim Lesen von Root.Buddy: Ungültiger Eigenschaftswert"},
        TErrorCase{"Buddy = Owner", "Fehler beim Lesen von Root.Buddy: Ungültiger Eigenschaftswert"},
        TErrorCase{"OnChange = NoSuchMethod", "Fehler beim Lesen von Root.OnChange: Ungültiger Eigenschaftswert"},
        TErrorCase{"OnChange = HandleCount", "Fehler beim Lesen von Root.OnChange: Ungültiger Eigenschaftswert"},
        TErrorCase{"OnChange = 'HandleChange'", "Fehler beim Lesen von Root.OnChange: Ungültiger Eigenschaftswert"},
        TErrorCase{"Blob = 'data'", "Fehler beim Lesen von Root.Blob: Ungültiger Eigenschaftswert"},
        TErrorCase{"Left = 'x'", "Fehler beim Lesen von Root.Left: Ungültiger Eigenschaftswert"},
        TErrorCase{"Items = <item Value = 'x' end>",
                   "Fehler beim Lesen von Root.Items: Fehler beim Lesen von TTestItem.Value: Ungültiger Eigenschaftswert"},
        TErrorCase{"Items = <item Nope = 1 end>",
                   "Fehler beim Lesen von Root.Items: Fehler beim Lesen von TTestItem.Nope: Eigenschaft Nope existiert nicht."},
        TErrorCase{"object Child1: TTestChild Position = 'x' end",
                   "Fehler beim Lesen von Child1.Position: Ungültiger Eigenschaftswert"},
        TErrorCase{"object TTestChild Position = 'x' end",
                   "Fehler beim Lesen von TTestChild.Position: Ungültiger Eigenschaftswert"},
        TErrorCase{"object A: TNope end", "Klasse TNope nicht gefunden"},
        TErrorCase{"object A: TTestFont end", "Klasse TTestFont nicht gefunden"},
        TErrorCase{"object A: TTestItem end", "Klasse TTestItem nicht gefunden"},
        TErrorCase{"object `1A`: TTestChild end", "''1A'' ist kein gültiger Komponentenname"},
        TErrorCase{"object A: TTestChild end object a: TTestGadget end",
                   "Komponente mit der Bezeichnung a existiert bereits"}));

TEST_F(Reader, AnUnnamedObjectIsNamedByItsClassInErrors) {
  EXPECT_EQ(ReadInto(*root, Compiled("object TTestRoot Count = 'x' end")),
            "Fehler beim Lesen von TTestRoot.Count: Ungültiger Eigenschaftswert");
}

TEST_F(Reader, ABadSignatureFailsBeforeAnyObjectIsCreated) {
  const int64_t createdBefore = TTestGadget::Created;
  std::vector<uint8_t> bytes = TBytes().Root("TTestGadget", "G").Raw({0, 0}).Bytes();
  bytes[3] = '1';
  TReadOnlyMemoryStream stream(bytes);
  EXPECT_THROW(
      {
        try {
          TReader(stream).ReadNewRootComponent(nullptr);
        } catch (const EReadError& error) {
          EXPECT_STREQ(error.what(), "Ungültiges Stream-Format");
          throw;
        }
      },
      EReadError);
  EXPECT_EQ(TTestGadget::Created, createdBefore);
  EXPECT_EQ(ReadInto(*root, TBytes().Text("TPF").Bytes()), "Ungültiges Stream-Format");
  EXPECT_EQ(root->Name(), "");
}

TEST_F(Reader, ARootThatTheReaderCreatedIsDestroyedWhenReadingFails) {
  const size_t rootsBefore = Roots().size();
  const std::vector<uint8_t> bytes = Compiled("object R: TTestRoot Target = Other.Thing Buddy = Owner end");
  TReadOnlyMemoryStream stream(bytes);
  EXPECT_THROW(TReader(stream).ReadNewRootComponent(nullptr), EReadError);
  EXPECT_EQ(Roots().size(), rootsBefore);
  EXPECT_EQ(PendingGlobalReferenceCount(), 0u);
}

TEST_F(Reader, ARootCanBeCreatedFromTheClassThatTheStreamNames) {
  const std::vector<uint8_t> bytes = Compiled("object G: TTestGadget Level = 2.5 end");
  TReadOnlyMemoryStream stream(bytes);
  std::unique_ptr<TComponent, TFreeObject> created(TReader(stream).ReadNewRootComponent(nullptr));
  ASSERT_TRUE(created->Is<TTestGadget>());
  EXPECT_EQ(static_cast<TTestGadget*>(created.get())->Level, 2.5);
  EXPECT_EQ(created->Name(), "G");
}

TEST_F(Reader, ReadingPastTheEndIsAStreamReadError) {
  const std::vector<uint8_t> whole = RootWith("Count = 1000 Caption = 'abc'");
  for (size_t length = 4; length < whole.size(); ++length) {
    auto fresh = NewRoot();
    const std::string message = ReadInto(*fresh, {whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)});
    EXPECT_TRUE(message.ends_with("Stream-Lesefehler")) << length << ": " << message;
  }
  EXPECT_EQ(ReadInto(*root, TBytes().Root("TTestRoot", "Root").Str("Count").Raw({3, 0xE8}).Bytes()),
            "Fehler beim Lesen von Root.Count: Stream-Lesefehler");
}

TEST_F(Reader, LengthsBeyondTheRemainingBytesFailWithoutAllocating) {
  for (uint8_t tag : {10, 12, 18, 20}) {
    auto fresh = NewRoot();
    const auto bytes = TBytes().Root("TTestRoot", "Root").Str("Gadget").Raw({tag}).Int32(0x7FFFFFFF).Raw({0, 0}).Bytes();
    EXPECT_EQ(ReadInto(*fresh, bytes), "Fehler beim Lesen von Root.Gadget: Stream-Lesefehler") << int{tag};
  }
  const auto negative = TBytes().Root("TTestRoot", "Root").Str("Blob").Raw({10}).Int32(-1).Bytes();
  EXPECT_EQ(ReadInto(*root, negative), "Fehler beim Lesen von Root.Blob: Stream-Lesefehler");
}

TEST_F(Reader, DeepNestingIsRefusedInsteadOfExhaustingTheStack) {
  TBytes lists;
  lists.Root("TTestRoot", "Root").Str("Gadget");
  for (int i = 0; i < 100000; ++i) lists.Raw({1});
  EXPECT_EQ(ReadInto(*root, lists.Bytes()), "Fehler beim Lesen von Root.Gadget: Ungültiges Stream-Format");

  TBytes objects;
  objects.Root("TTestRoot", "Root").Raw({0});
  for (int i = 0; i < 100000; ++i) objects.Str("TTestGadget").Str("").Raw({0});
  auto fresh = NewRoot();
  EXPECT_EQ(ReadInto(*fresh, objects.Bytes()), "Ungültiges Stream-Format");
}

TEST_F(Reader, UnknownTagsAreAFormatError) {
  EXPECT_EQ(ReadInto(*root, TBytes().Root("TTestRoot", "Root").Str("Gadget").Raw({21, 0, 0}).Bytes()),
            "Fehler beim Lesen von Root.Gadget: Ungültiges Stream-Format");
}

TEST_F(Reader, ASubComponentHeldByAReadOnlyPropertyCanBeReachedAndIsNotReplaced) {
  ASSERT_EQ(Read("Gadget.Position = 5 Gadget = nil Gadget = Child1"), "");
  EXPECT_EQ(root->Gadget()->Position, 5);
}

// Sets.
TEST_F(Reader, SetElementsBeyondOrdinal31AreIgnoredAndTheOthersKept) {
  ASSERT_EQ(Read("Letters = [l00, l33, l31, l39, l05]"), "");
  EXPECT_EQ(root->Letters.Mask(), (1u << 0) | (1u << 31) | (1u << 5));
}

// Floats.
TEST_F(Reader, AFloatPropertyAcceptsEveryIntegerTag) {
  const std::pair<const char*, double> cases[] = {{"3", 3.0}, {"-300", -300.0}, {"100000", 100000.0},
                                                  {"5000000000", 5e9}};
  for (const auto& [literal, expected] : cases) {
    auto fresh = NewRoot();
    ASSERT_EQ(ReadInto(*fresh, RootWith(std::string("Precise = ") + literal)), "");
    EXPECT_EQ(fresh->Precise, expected);
  }
}

TEST_F(Reader, SingleCurrencyAndDateFloatsAreReadToo) {
  auto bytes = TBytes().Root("TTestRoot", "Root");
  bytes.Str("Ratio").Raw({15, 0x00, 0x00, 0xC0, 0x3F});                 // 1.5f
  bytes.Str("Precise").Raw({16, 0x88, 0x13, 0, 0, 0, 0, 0, 0}).Raw({0, 0});  // 5000 / 10000
  ASSERT_EQ(ReadInto(*root, bytes.Bytes()), "");
  EXPECT_EQ(root->Ratio, 1.5f);
  EXPECT_EQ(root->Precise, 0.5);
  auto date = TBytes().Root("TTestRoot", "Root").Str("Precise").Raw({17, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0});
  ASSERT_EQ(ReadInto(*root, date.Bytes()), "");
  EXPECT_EQ(root->Precise, 1.0);
}

// Text.
TEST_F(Reader, LongAndUtf8TextIsAcceptedForEveryStringKind) {
  const std::string longText(300, 'z');
  auto bytes = TBytes().Root("TTestRoot", "Root");
  bytes.Str("Caption").Raw({12}).Int32(300).Text(longText);
  bytes.Str("WideCaption").Raw({20}).Int32(2).Text("\xC2\xB0");
  bytes.Str("Extra").Raw({18}).Int32(1).Raw({0xB0, 0x00}).Raw({0, 0});
  ASSERT_EQ(ReadInto(*root, bytes.Bytes()), "");
  EXPECT_EQ(root->Caption, longText);
  EXPECT_EQ(root->WideCaption, u"°");
  EXPECT_EQ(root->Extra, "\xC2\xB0");
}

// A single-byte code page, as the plug-in has on Windows.
class TLatin1 final : public TCodePage {
 public:
  std::u16string ToWide(std::string_view text) const override {
    std::u16string wide;
    for (char c : text) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    return wide;
  }
  std::string FromWide(std::u16string_view text) const override {
    std::string bytes;
    for (char16_t unit : text) bytes += static_cast<char>(unit < 256 ? unit : '?');
    return bytes;
  }
  size_t CharacterLength(std::string_view text) const override { return text.empty() ? 0 : 1; }
};

TEST_F(Reader, WideTextBecomesOneByteCharactersOfTheSystemCodePage) {
  TLatin1 latin1;
  SetSystemCodePage(&latin1);
  const std::string message = Read("Caption = '°' Letter = '°'");
  SetSystemCodePage(nullptr);
  ASSERT_EQ(message, "");
  EXPECT_EQ(root->Caption, "\xB0");
  EXPECT_EQ(root->Letter, '\xB0');
  // In UTF-8 the degree sign takes two bytes and no longer fits a character.
  EXPECT_EQ(Read("Letter = '°'"), "Fehler beim Lesen von Root.Letter: Ungültiger Eigenschaftswert");
}

TEST_F(Reader, ACharacterMayBeStoredAsAStringHoldingZero) {
  root->Letter = 'q';
  ASSERT_EQ(Read("Letter = #0"), "");
  EXPECT_EQ(root->Letter, '\0');
}

// Collections.
TEST_F(Reader, AnEmptyCollectionLeavesTheItemsAndANonEmptyOneReplacesThem) {
  static_cast<TTestItem*>(root->Items()->Add())->Caption = "kept";
  ASSERT_EQ(Read("Items = <>"), "");
  ASSERT_EQ(root->Items()->Count(), 1);
  EXPECT_EQ(static_cast<TTestItem*>(root->Items()->Item(0))->Caption, "kept");
  ASSERT_EQ(Read("Items = <item Caption = 'new' end>"), "");
  ASSERT_EQ(root->Items()->Count(), 1);
  EXPECT_EQ(static_cast<TTestItem*>(root->Items()->Item(0))->Caption, "new");
}

TEST_F(Reader, ACollectionAnnouncesOneChangeForTheWholeRead) {
  const int before = root->Items()->ChangeCount;
  ASSERT_EQ(Read("Items = <item end item end item end>"), "");
  EXPECT_EQ(root->Items()->ChangeCount, before + 1);
  EXPECT_EQ(root->Items()->UpdateCount(), 0);
}

TEST_F(Reader, AnIntegerBeforeACollectionItemIsSkipped) {
  ASSERT_EQ(Read("Items = <item 7 Value = 1 end item -300 Value = 2 end item 100000 end>"), "");
  ASSERT_EQ(root->Items()->Count(), 3);
  EXPECT_EQ(static_cast<TTestItem*>(root->Items()->Item(1))->Value, 2);
}

TEST_F(Reader, ReferencesOfItemsThatAReReadOfTheCollectionFreedAreDropped) {
  ASSERT_EQ(Read("Items = <item Link = Child1 end> Items = <item Caption = 'second' end>"
                 " object Child1: TTestChild end"),
            "");
  ASSERT_EQ(root->Items()->Count(), 1);
  EXPECT_EQ(static_cast<TTestItem*>(root->Items()->Item(0))->Link, nullptr);
}

// References.
TEST_F(Reader, AReferenceToAComponentDeclaredLaterIsResolved) {
  ASSERT_EQ(Read("Buddy = Child1 Items = <item Link = child1 end> object Child1: TTestChild Partner = Child1 end"), "");
  ASSERT_NE(root->Child1, nullptr);
  EXPECT_EQ(root->Buddy, root->Child1);
  EXPECT_EQ(static_cast<TTestItem*>(root->Items()->Item(0))->Link, root->Child1);
  EXPECT_EQ(root->Child1->Partner, root->Child1);
}

TEST_F(Reader, OwnerInAnyCaseStandsForTheRootWhenNoComponentHasThatName) {
  ASSERT_EQ(Read("Target = Owner"), "");
  EXPECT_EQ(root->Target, root.get());
  root->Target = nullptr;
  ASSERT_EQ(Read("Target = owner"), "");
  EXPECT_EQ(root->Target, root.get());
  auto named = NewRoot();
  ASSERT_EQ(ReadInto(*named, RootWith("Target = Owner object Owner: TTestGadget end")), "");
  EXPECT_EQ(named->Target, named->FindComponent("Owner"));
}

TEST_F(Reader, AnUnknownNameLeavesThePropertyAsItIs) {
  root->Target = root->Gadget();
  ASSERT_EQ(Read("Target = Nobody"), "");
  EXPECT_EQ(root->Target, root->Gadget());
}

TEST(ReferencePaths, PartsAreSplitAtDotsAndArrowsAndComparedWithoutCase) {
  TComponent root(nullptr);
  auto* outer = new TComponent(&root);
  outer->SetName("Outer");
  auto* inner = new TComponent(outer);
  inner->SetName("Inner");
  EXPECT_EQ(FindNestedComponent(root, "Outer.Inner"), inner);
  EXPECT_EQ(FindNestedComponent(root, "outer->INNER"), inner);
  EXPECT_EQ(FindNestedComponent(root, "Outer-Inner"), inner);
  EXPECT_EQ(FindNestedComponent(root, "Owner.Outer.Owner"), outer);
  EXPECT_EQ(FindNestedComponent(root, "Outer.Nobody"), nullptr);
  EXPECT_EQ(FindNestedComponent(root, "Outer..Inner"), nullptr);
}

TEST_F(Reader, ADottedNameOfAnotherRootWaitsUntilThatRootHasLoaded) {
  ASSERT_EQ(Read("Target = Other.Thing"), "");
  EXPECT_EQ(root->Target, nullptr);
  EXPECT_EQ(PendingGlobalReferenceCount(), 1u);
  auto other = NewRoot();
  ASSERT_EQ(ReadInto(*other, Compiled("object Other: TTestRoot object Thing: TTestGadget end end")), "");
  EXPECT_EQ(root->Target, other->FindComponent("Thing"));
  EXPECT_EQ(PendingGlobalReferenceCount(), 0u);
}

TEST_F(Reader, AWaitingReferenceGoesAwayWithItsRoot) {
  ASSERT_EQ(Read("Target = Elsewhere.Thing"), "");
  EXPECT_EQ(PendingGlobalReferenceCount(), 1u);
  root.reset();
  EXPECT_EQ(PendingGlobalReferenceCount(), 0u);
  auto other = NewRoot();
  EXPECT_EQ(ReadInto(*other, Compiled("object Elsewhere: TTestRoot object Thing: TTestGadget end end")), "");
}

// Children.
TEST_F(Reader, ChildrenAreFoundByFieldClassOrRegistryAndBindThePublishedField) {
  ASSERT_EQ(Read("object Child1: TTestChild Position = 4 end object G: TTestGadget Level = 1.5 end"), "");
  ASSERT_NE(root->Child1, nullptr);
  EXPECT_EQ(root->Child1->Owner(), root.get());
  EXPECT_EQ(root->Child1->Position, 4);
  auto* gadget = dynamic_cast<TTestGadget*>(root->FindComponent("G"));
  ASSERT_NE(gadget, nullptr);
  EXPECT_EQ(gadget->Level, 1.5);
}

TEST_F(Reader, AChildGetsItsParentWhileLoadingAndBeforeItsName) {
  ASSERT_EQ(Read("object Outer: TTestChild object Inner: TTestChild end end"), "");
  auto* outer = static_cast<TTestChild*>(root->FindComponent("Outer"));
  auto* inner = static_cast<TTestChild*>(root->FindComponent("Inner"));
  ASSERT_TRUE(outer && inner);
  EXPECT_EQ(inner->Parent, outer);
  EXPECT_EQ(inner->Owner(), root.get());
  EXPECT_TRUE(inner->StateWhenParented & csLoading);
  EXPECT_FALSE(inner->NamedWhenParented);
}

TEST_F(Reader, AChildThatCannotBeNamedIsDestroyed) {
  const int countBefore = root->ComponentCount();
  EXPECT_NE(Read("object `bad name`: TTestGadget end"), "");
  EXPECT_EQ(root->ComponentCount(), countBefore);
}

TEST_F(Reader, AnInheritedChildIsLookedUpInsteadOfCreated) {
  const int countBefore = root->ComponentCount();
  ASSERT_EQ(Read("inherited Gadget: TTestChild [3] Position = 9 end"), "");
  EXPECT_EQ(root->ComponentCount(), countBefore);
  EXPECT_EQ(root->Gadget()->Position, 9);
}

TEST_F(Reader, LoadingEndsRootFirstThenEachComponentWhenItsReadingEnded) {
  ASSERT_EQ(Read("object A: TTestChild object B: TTestChild end object C: TTestChild end end"
                 " object D: TTestGadget end"),
            "");
  EXPECT_EQ(LoadingLog(), (std::vector<std::string>{"Root", "B", "C", "A", "D"}));
  for (TComponent* component : root->Components()) EXPECT_FALSE(component->HasState(csLoading | csReading));
  EXPECT_FALSE(root->HasState(csLoading | csReading));
}

TEST_F(Reader, ReferencesAreResolvedBeforeLoadingEnds) {
  // The child's LoadingFinished may rely on its references.
  ASSERT_EQ(Read("Target = Late object Late: TTestGadget end"), "");
  EXPECT_EQ(root->Target, root->FindComponent("Late"));
  EXPECT_EQ(LoadingLog().front(), "Root");
}

// Root names.
TEST_F(Reader, ASecondRootOfTheSameNameIsNumbered) {
  auto first = NewRoot();
  auto second = NewRoot();
  auto third = NewRoot();
  const auto bytes = Compiled("object FmX: TTestRoot end");
  ASSERT_EQ(ReadInto(*first, bytes), "");
  ASSERT_EQ(ReadInto(*second, bytes), "");
  ASSERT_EQ(ReadInto(*third, bytes), "");
  EXPECT_EQ(first->Name(), "FmX");
  EXPECT_EQ(second->Name(), "FmX_1");
  EXPECT_EQ(third->Name(), "FmX_2");
  // Reading the same root again keeps its own name.
  ASSERT_EQ(ReadInto(*second, bytes), "");
  EXPECT_EQ(second->Name(), "FmX_1");
}

TEST_F(Reader, ARootBeingDesignedKeepsTheStoredName) {
  auto first = NewRoot();
  ASSERT_EQ(ReadInto(*first, Compiled("object FmY: TTestRoot end")), "");
  root->SetState(csDesigning);
  ASSERT_EQ(ReadInto(*root, Compiled("object FmY: TTestRoot end")), "");
  EXPECT_EQ(root->Name(), "FmY");
}

}  // namespace
}  // namespace zelk::tests
