#include "tools/artwork/EditorPreview.h"

#include <memory>

#include "dib/DIBAngles.h"
#include "dib/DIBTransform.h"
#include "dib/MemoryDIB.h"
#include "tools/artwork/Artwork.h"

namespace zelk::artwork {

namespace {

using TMemoryDIBPtr = std::unique_ptr<TMemoryDIB, TFreeObject>;

TMemoryDIBPtr ToDIB(const TLoadedPicture& picture) {
  TMemoryDIBPtr dib(New<TMemoryDIB>());
  dib->ImportPicture(picture, "in memory");
  return dib;
}

TLoadedPicture FromDIB(const TMemoryDIB& dib) {
  TLoadedPicture picture;
  picture.width = dib.Width();
  picture.height = dib.Height();
  for (int y = 0; y < dib.Height(); ++y) {
    for (int x = 0; x < dib.Width(); ++x) picture.pixels.push_back(dib.Pixel(x, y) | 0xFF000000u);
  }
  return picture;
}

}  // namespace

TLoadedPicture ComposeEditor(const TLoadedPicture& background, const TLoadedPicture& cap, int angle,
                             uint8_t capOpacity) {
  TMemoryDIBPtr editor(TMemoryDIB::CreateSize<TMemoryDIB>(kEditorWidth, kEditorHeight));
  TMemoryDIBPtr main = ToDIB(background);
  main->Draw(kEditorWidth / 2 - main->Width() / 2, kEditorHeight / 2 - main->Height() / 2, main->Width(),
             main->Height(), *editor, 0, 0);

  const auto pointerAngle = static_cast<TAngle>(NormalizeAngle(angle));
  TMemoryDIBPtr pointer = ToDIB(cap);
  pointer->SetTransparentColor(clBlack);
  pointer->SetTransparentMode(TTransparentMode::tmFixed);
  pointer->SetTransparent(true);
  pointer->SetAngle(pointerAngle);
  pointer->SetAutoSize(true);
  pointer->SetOpacity(capOpacity);
  const TPoint knob = PointOnCircle(kEditorWidth / 2, kEditorHeight / 2, kPointerRadius, pointerAngle);
  const TBoxSize box = RotatedSize(pointer->Width(), pointer->Height(), pointerAngle, 100.0L, 100.0L);
  pointer->DrawGlyph(knob.X - box.Width / 2, knob.Y - box.Height / 2, 1, *editor, 0, 359, pointerAngle, true);
  return FromDIB(*editor);
}

}  // namespace zelk::artwork
