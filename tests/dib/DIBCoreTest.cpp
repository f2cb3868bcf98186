// The bitmap object: settings and their setter rules, sizing and sharing,
// copying, the change notification and filling.
#include <gtest/gtest.h>

#include "dib/AbstractSuperDIB.h"
#include "platform/Backend.h"
#include "runtime/ClassBuilder.h"
#include "tests/dib/TestDIB.h"
#include "tests/support/ChangeCounter.h"

namespace zelk::tests {
namespace {

TEST(DIBCreation, StartsEmptyWithDefaults) {
  TTestDIBPtr dib(New<TTestDIB>());
  EXPECT_EQ(dib->Width(), 0);
  EXPECT_EQ(dib->Height(), 0);
  EXPECT_EQ(dib->Bits(), nullptr);
  EXPECT_EQ(dib->Opacity(), 255);
  EXPECT_EQ(dib->Scale(), 100.0L);
  EXPECT_TRUE(dib->OwnsBits());
  EXPECT_EQ(dib->TransparentMode(), TTransparentMode::tmAuto);
  EXPECT_EQ(dib->TransparentColor(), clBlack);
  EXPECT_EQ(dib->DrawProc(), (TDrawProc{TRowRoutine::rrCopyRow, dib.get()}));
}

TEST(DIBCreation, CreateSizeClipsToThePicture) {
  TTestDIBPtr dib = MakeDIB(10, 7);
  EXPECT_EQ(dib->ClipRect(), (TRect{0, 0, 9, 6}));
  EXPECT_NE(dib->Bits(), nullptr);
}

// The angle is reduced by whole turns and an unchanged value fires nothing.
TEST(DIBSettings, AngleIsReducedModuloOneTurn) {
  TTestDIBPtr dib = MakeDIB(2, 2);
  TChangeCounter counter;
  dib->OnChange = counter.Event();
  dib->SetAngle(360);
  EXPECT_EQ(dib->Angle(), 0);
  EXPECT_EQ(counter.Count, 0);
  dib->SetAngle(725);
  EXPECT_EQ(dib->Angle(), 5);
  EXPECT_EQ(counter.Count, 1);
  EXPECT_EQ(counter.LastSender, dib.get());
}

// A zero side becomes 1 on a bitmap that has a size; on an empty one
// nothing changes.
TEST(DIBSettings, ZeroSideBecomesOne) {
  TTestDIBPtr dib = MakeDIB(10, 10);
  dib->SetWidth(0);
  EXPECT_EQ(dib->Width(), 1);
  EXPECT_EQ(dib->Height(), 10);
  TTestDIBPtr empty(New<TTestDIB>());
  empty->SetWidth(0);
  EXPECT_EQ(empty->Width(), 0);
  EXPECT_EQ(empty->Bits(), nullptr);
}

TEST(DIBSettings, MaskedAndTransparentExcludeEachOther) {
  TTestDIBPtr dib = MakeDIB(1, 1);
  dib->SetTransparent(true);
  dib->SetMasked(true);
  EXPECT_FALSE(dib->Transparent());
  dib->SetTransparent(true);
  EXPECT_FALSE(dib->Masked());
}

TEST(DIBSettings, ScaleSetsBothAxesUnlessBothAlreadyMatch) {
  TTestDIBPtr dib = MakeDIB(1, 1);
  TChangeCounter counter;
  dib->OnChange = counter.Event();
  dib->SetScaleY(50);
  dib->SetScale(100);
  EXPECT_EQ(dib->ScaleX(), 100.0L);
  EXPECT_EQ(dib->ScaleY(), 100.0L);
  EXPECT_EQ(counter.Count, 2);
  dib->SetScale(100);
  EXPECT_EQ(counter.Count, 2);
}

// tmAuto reports the bottom-left pixel but drawing keys on the stored value.
TEST(DIBSettings, AutoTransparentColorReportsBottomLeftPixel) {
  TTestDIBPtr dib = MakeDIB(3, 3);
  dib->Fill(0x0000FF);                       // red everywhere
  dib->SetPixel(0, 2, 0x00FF00u);            // bottom-left: green (pixel order)
  dib->SetTransparentColor(0x00FF0000);      // stored key: blue
  EXPECT_EQ(dib->TransparentColor(), 0x0000FF00);
  EXPECT_EQ(dib->TransparentColorValue(), 0x0000FFu);
  dib->SetTransparentMode(TTransparentMode::tmFixed);
  EXPECT_EQ(dib->TransparentColor(), 0x00FF0000);
}

TEST(DIBSettings, RowRoutineFollowsTheSettings) {
  TTestDIBPtr dib = MakeDIB(1, 1);
  const auto routine = [&] { return dib->DrawProc().Routine; };
  EXPECT_EQ(routine(), TRowRoutine::rrCopyRow);
  dib->SetTransparent(true);
  EXPECT_EQ(routine(), TRowRoutine::rrKeyRow);
  dib->SetOpacity(10);
  EXPECT_EQ(routine(), TRowRoutine::rrKeyRowOpacity);
  dib->SetMasked(true);
  EXPECT_EQ(routine(), TRowRoutine::rrBlendRowAlphaOpacity);
  dib->SetOpacity(255);
  EXPECT_EQ(routine(), TRowRoutine::rrBlendRowAlpha);
  dib->SetMasked(false);
  dib->SetOpacity(0);
  EXPECT_EQ(routine(), TRowRoutine::rrBlendRowOpacity);
}

// Changes inside a bracket reselect the routine at once but OnChange waits
// for the last EndUpdate; an unmatched EndUpdate raises and changes nothing.
TEST(DIBUpdates, BracketHoldsOnChangeUntilTheLastEndUpdate) {
  TTestDIBPtr dib = MakeDIB(1, 1);
  TChangeCounter counter;
  dib->OnChange = counter.Event();
  dib->BeginUpdate();
  dib->BeginUpdate();
  dib->SetOpacity(3);
  EXPECT_EQ(dib->DrawProc().Routine, TRowRoutine::rrBlendRowOpacity);
  dib->SetAngle(4);
  dib->EndUpdate();
  EXPECT_EQ(counter.Count, 0);
  dib->EndUpdate();
  EXPECT_EQ(counter.Count, 1);
  try {
    dib->EndUpdate();
    FAIL();
  } catch (const EDIBError& error) {
    EXPECT_STREQ(error.what(), "EndUpdate without BeginUpdate");
  }
  EXPECT_EQ(dib->UpdateCount(), 0);
  EXPECT_EQ(counter.Count, 1);
}

TEST(DIBCopying, AssignCopiesPixelsAndSettingsAcrossSizes) {
  TTestDIBPtr source = MakeDIB(3, 2);
  source->Fill(0x102030);
  source->SetPixel(2, 1, 0xAABBCCDDu);
  source->SetOpacity(77);
  source->SetTransparent(true);
  source->SetAngle(12);
  TTestDIBPtr dest = MakeDIB(9, 9);
  TChangeCounter counter;
  dest->OnChange = counter.Event();
  dest->Assign(source.get());
  EXPECT_EQ(dest->Width(), 3);
  EXPECT_EQ(dest->Height(), 2);
  EXPECT_EQ(tests::PixelsOf(*dest), tests::PixelsOf(*source));
  EXPECT_EQ(dest->Opacity(), 77);
  EXPECT_TRUE(dest->Transparent());
  EXPECT_EQ(dest->Angle(), 12);
  // The last Changed makes dest the owner of its routine again.
  EXPECT_EQ(dest->DrawProc(), (TDrawProc{TRowRoutine::rrKeyRowOpacity, dest.get()}));
  EXPECT_GE(counter.Count, 1);
}

TEST(DIBCopying, AssignPropertiesToAnotherKindNamesIt) {
  TTestDIBPtr source = MakeDIB(1, 1);
  TPersistent other;
  try {
    source->AssignPropertiesTo(&other);
    FAIL();
  } catch (const EDIBError& error) {
    EXPECT_STREQ(error.what(), "Cannot assign a TAbstractDIB to a TPersistent");
  }
  EXPECT_THROW(other.Assign(source.get()), EConvertError);
}

// A view shows the owner's pixels without freeing them; resizing a view
// drops the shared pixels instead of writing past them.
TEST(DIBSharing, ViewShowsOwnersPixelsAndDropsThemWhenResized) {
  TTestDIBPtr owner = MakeDIB(4, 4);
  owner->Fill(0x112233);
  owner->SetOpacity(9);
  TTestDIBPtr view(TAbstractSuperDIB::CreateShared<TTestDIB>(*owner));
  EXPECT_FALSE(view->OwnsBits());
  EXPECT_EQ(view->Bits(), owner->Bits());
  EXPECT_EQ(view->Width(), 4);
  EXPECT_EQ(view->Opacity(), 9);
  EXPECT_EQ(view->allocations, 0);
  TTestDIBPtr bigger = MakeDIB(8, 8);
  view->CopyPixelsFrom(*bigger);
  EXPECT_EQ(view->Width(), 8);
  EXPECT_EQ(view->Bits(), nullptr);
  EXPECT_TRUE(owner->GuardsIntact());
  view.reset();
  EXPECT_EQ(owner->Pixel(3, 3), 0x332211u);
}

TEST(DIBFilling, FillWritesColourWithAlphaZero) {
  TTestDIBPtr dib = MakeDIB(2, 2);
  dib->Fill(0x00332211);
  EXPECT_EQ(dib->Pixel(1, 1), 0x00112233u);
  dib->SetAlpha(200);
  EXPECT_EQ(dib->Pixel(0, 0), 0xC8112233u);
}

// FillRect cuts negative origins and overlong sizes to the picture and
// ignores ClipRect.
TEST(DIBFilling, FillRectIsCutToThePicture) {
  TTestDIBPtr dib = MakeDIB(5, 4);
  dib->Fill(clBlack);
  dib->SetClipRect({2, 2, 2, 2});
  dib->FillRect(0xFFFFFF, -2, -1, 4, 3);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 5; ++x) {
      EXPECT_EQ(dib->Pixel(x, y), (x < 2 && y < 2) ? 0x00FFFFFFu : 0u) << x << "," << y;
    }
  }
  dib->FillRect(0xFFFFFF, 3, 3, INT32_MAX, INT32_MAX);
  EXPECT_EQ(dib->Pixel(4, 3), 0x00FFFFFFu);
  dib->FillRect(0xFFFFFF, INT32_MIN, 0, INT32_MAX, 1);  // ends left of the picture
  EXPECT_EQ(dib->Pixel(2, 0), 0u);
  EXPECT_TRUE(dib->GuardsIntact());
}

TEST(DIBClipRect, CornersAreOrderedThenClamped) {
  TTestDIBPtr dib = MakeDIB(10, 8);
  dib->SetClipRect({7, 9, -3, 2});
  EXPECT_EQ(dib->ClipRect(), (TRect{0, 2, 7, 7}));
}

TEST(DIBPublishing, PublishesTheDrawingSettings) {
  const TClassInfo& info = TTestDIB::StaticClass();
  for (const char* name : {"Angle", "AutoSize", "Height", "Masked", "Opacity", "Scale", "Transparent",
                           "TransparentColor", "TransparentMode", "Width"}) {
    EXPECT_NE(info.FindProperty(name), nullptr) << name;
  }
  TTestDIBPtr dib = MakeDIB(1, 1);
  info.FindProperty("Angle")->Set(*dib, int64_t{370});
  EXPECT_EQ(dib->Angle(), 10);
  info.FindProperty("Scale")->Set(*dib, 50.0);
  EXPECT_EQ(dib->ScaleY(), 50.0L);
}

}  // namespace
}  // namespace zelk::tests

namespace zelk::tests {
namespace {

// System colours resolve through the platform backend; the pixel drops the
// alpha.
TEST(DIBColors, SystemColorsResolveBeforeConversion) {
  EXPECT_EQ(ColorToPixel(static_cast<TColor>(0xFF000005u)), 0x00FFFFFFu);  // window: white
  {
    platform::TBackendScope services;
    services->SystemColor = [](int index) -> int32_t { return index == 5 ? 0x00010203 : 0; };
    EXPECT_EQ(ColorToPixel(static_cast<TColor>(0xFF000005u)), 0x00030201u);
  }
  EXPECT_EQ(ColorToPixel(0x7F332211), 0x00112233u);
  EXPECT_EQ(PixelToColor(0xFF112233u), 0x00332211);
}

}  // namespace
}  // namespace zelk::tests
