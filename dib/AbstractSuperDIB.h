// TAbstractSuperDIB: the 32-bit bitmap every picture of the image library is.
//
// Pixels: Width x Height pixels of 4 bytes (B, G, R, A, straight alpha), rows
// without padding, the bottom row first in memory. The pixel in column x of
// row y counted from the top lies at byte ((Height - 1 - y) * Width + x) * 4.
//
// Drawing settings (Angle, Scale, Opacity, Masked, Transparent and the colour
// key) apply whenever this bitmap is drawn onto another. Every setter that
// changes one of them calls Changed, which reselects the row routine at once
// and fires OnChange unless a BeginUpdate/EndUpdate bracket holds it back.
//
// Where the pixels live is left to the concrete classes: they implement
// AllocateBits (Width * Height * 4 bytes, see PixelBufferSize) and FreeBits,
// and call ReleaseBits from their destructor. A bitmap that does not own its
// pixels (a view made by ShareFrom/CreateShared) never frees them; the owner
// must outlive it, and so must the bitmap named as owner of DrawProc.
//
// All operations run on the window thread; nothing here is synchronised.
//
// Where the bodies are (one file per group of members, named after the
// group): AbstractSuperDIB.cpp (construction, size, settings, pixels, fill,
// update brackets, assignment), AbstractSuperDIBDraw.cpp (Draw, DrawRaw,
// DrawWith, DrawMask, DrawMaskAsImage, TransformInto),
// AbstractSuperDIBData.cpp (the streamed Data block: DefineProperties,
// ReadData, WriteData), DIBImport.cpp (ImportImage, ImportMask,
// ImportPicture), DIBFilter.cpp (ApplyFilter), DIBGlyph.cpp (DrawGlyph),
// DIBRegions.cpp (AlphaRegion, ColorRegion), DIBRender8.cpp (Render8Bit),
// DIBStretch.cpp (StretchFrom).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "dib/DIBRowRoutines.h"
#include "dib/DIBTypes.h"
#include "runtime/Event.h"
#include "runtime/Persistent.h"

namespace zelk {

class TStream;
class TFiler;
class TAbstractSuperDIB;
class TRenderPalette;
struct TLoadedPicture;

namespace platform {
class TRegion;
class TSurface8;
using TSurfaceHandle = uintptr_t;
}  // namespace platform

// The routine Draw uses and the bitmap whose Opacity and key it reads.
struct TDrawProc {
  TRowRoutine Routine = TRowRoutine::rrCopyRow;
  const TAbstractSuperDIB* Owner = nullptr;

  bool operator==(const TDrawProc&) const = default;
};

// A 3 x 3 convolution for ApplyFilter. Weights run over the neighbourhood's
// top row first, each row left to right. A divisor of 0 or less means the sum
// of the weights.
struct TDIBFilter {
  int16_t RedOffset = 0;
  int16_t GreenOffset = 0;
  int16_t BlueOffset = 0;
  uint8_t Opacity = 255;
  int32_t Divisor = 0;
  int16_t Weights[9] = {};
};

class TAbstractSuperDIB : public TPersistent {
  ZELK_CLASS(TAbstractSuperDIB, TPersistent)

  // Create: no pixels, 0 x 0, OwnsBits, DrawProc (CopyRow, this), defaults.
  TAbstractSuperDIB();
  ~TAbstractSuperDIB() override;

  // CreateSize: a new T of the given size whose ClipRect is the whole picture.
  template <class T>
  static T* CreateSize(uint16_t width, uint16_t height);
  // CreateShared: a new T that shows the pixels of source (see ShareFrom).
  template <class T>
  static T* CreateShared(TAbstractSuperDIB& source);

  // --- settings (published: Angle, AutoSize, Height, Masked, Opacity, Scale,
  // Transparent, TransparentColor, TransparentMode, Width) ---

  TAngle Angle() const { return angle_; }
  // Reduced modulo 360.
  virtual void SetAngle(TAngle value);
  bool AutoSize() const { return autoSize_; }
  virtual void SetAutoSize(bool value);
  // Inclusive bounds of what other bitmaps may draw onto this one.
  const TRect& ClipRect() const { return clipRect_; }
  // Orders the corners, then clamps to the picture.
  void SetClipRect(const TRect& rect);
  uint16_t Height() const { return height_; }
  virtual void SetHeight(uint16_t value);
  bool Masked() const { return masked_; }
  // True also clears Transparent.
  virtual void SetMasked(bool value);
  uint8_t Opacity() const { return opacity_; }
  virtual void SetOpacity(uint8_t value);
  bool OwnsBits() const { return ownsBits_; }
  // Percent. Scale reads ScaleX; setting it sets both.
  long double Scale() const { return scaleX_; }
  virtual void SetScale(long double value);
  long double ScaleX() const { return scaleX_; }
  virtual void SetScaleX(long double value);
  long double ScaleY() const { return scaleY_; }
  virtual void SetScaleY(long double value);
  bool Transparent() const { return transparent_; }
  // True also clears Masked.
  void SetTransparent(bool value);
  // The key drawing uses: pixel byte order, alpha byte 0.
  TPixel TransparentColorValue() const { return transparentColorValue_; }
  // tmFixed: the stored key; tmAuto: the colour of the bottom-left pixel (the
  // stored key while there are no pixels).
  TColor TransparentColor() const;
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode value);
  int32_t UpdateCount() const { return updateCount_; }
  uint16_t Width() const { return width_; }
  virtual void SetWidth(uint16_t value);
  const TDrawProc& DrawProc() const { return drawProc_; }
  void SetDrawProc(const TDrawProc& drawProc) { drawProc_ = drawProc; }

  // Called after every change, with this bitmap as Sender.
  TNotifyEvent OnChange;
  // Called by SetSize when the size changed, right after the pixel memory
  // was replaced: at once, also inside an update bracket, because views of
  // the old pixels must let go of them. OnChange is not called for a resize
  // (the new pixels are not initialised).
  TNotifyEvent OnResize;

  // --- pixels ---

  // The pixel memory (Width * Height * 4 bytes), or null.
  uint8_t* Bits() const { return bits_; }
  // Bits present, or the bitmap is a view that does not own pixels.
  virtual bool HasBits() const;
  // Address of row `row` counted from the top; null without pixels or for a
  // row outside the picture.
  uint8_t* ScanLine(int32_t row) const;
  // Width * Height * 4, computed without overflow.
  uint64_t PixelByteCount() const { return uint64_t{width_} * height_ * 4u; }
  // Pixel access counted from the top-left; reads 0 and ignores writes
  // outside the picture or without pixels.
  TPixel Pixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, TPixel pixel);

  // --- life cycle and sharing ---

  // Resizes (0 becomes 1) and obtains new, uninitialised pixels; ClipRect
  // becomes the whole picture; then OnResize. Nothing happens when the size
  // is unchanged. No Changed. A view (not owning its pixels) drops its pixel pointer when
  // its size changes, because the shared pixels no longer fit.
  virtual void SetSize(uint16_t width, uint16_t height);
  // Releases own pixels and shows source's: same pixels, same settings and
  // size; only source frees them. ClipRect stays.
  virtual void ShareFrom(TAbstractSuperDIB& source);
  // Copies the settings and DrawProc to dest (and the size when dest does not
  // own its pixels). Raises EDIBError "Cannot assign a TAbstractDIB to a
  // <class>" for other classes. No Changed.
  virtual void AssignPropertiesTo(TPersistent* dest);
  // SetSize to source's size and copy its pixels; Changed.
  void CopyPixelsFrom(const TAbstractSuperDIB& source);

  // --- change notification ---

  // Reselects the row routine; fires OnChange when no update is open.
  virtual void Changed();
  // Chooses the row routine from Opacity, Masked and Transparent, with this
  // bitmap as owner.
  virtual void UpdateDrawProc();
  void BeginUpdate();
  // Raises EDIBError "EndUpdate without BeginUpdate" when none is open; the
  // last one calls Changed.
  void EndUpdate();

  // --- filling ---

  // Every pixel := ColorToPixel(color) (alpha 0); Changed.
  void Fill(TColor color);
  // The rectangle (counted from the top, cut to the picture) := ColorToPixel
  // (color). Ignores ClipRect; no Changed.
  void FillRect(TColor color, int32_t x, int32_t y, int32_t width, int32_t height);
  // Every pixel's alpha := value; Changed.
  void SetAlpha(uint8_t value);

  // --- drawing (all coordinates counted from the top-left) ---

  // Draws the region (srcX, srcY, width, height) of this bitmap onto dest at
  // (x, y), clipped to dest's ClipRect and both pictures, with the current
  // DrawProc; with an angle or scale the whole picture is rotated and scaled
  // into a box of width x height (or RotatedSize when AutoSize) instead.
  // Calls dest.Changed when something was drawn. Draws nothing when either
  // bitmap has no pixel memory.
  virtual void Draw(int32_t x, int32_t y, int32_t width, int32_t height, TAbstractSuperDIB& dest, uint16_t srcX,
                    uint16_t srcY);
  // Draw as a plain copy: no angle, no scale, CopyRow.
  virtual void DrawRaw(int32_t x, int32_t y, int32_t width, int32_t height, TAbstractSuperDIB& dest, uint16_t srcX,
                       uint16_t srcY);
  // Draw copying only the alpha bytes.
  virtual void DrawMask(int32_t x, int32_t y, int32_t width, int32_t height, TAbstractSuperDIB& dest, uint16_t srcX,
                        uint16_t srcY);
  // Draw with the alpha shown as a grey picture.
  virtual void DrawMaskAsImage(int32_t x, int32_t y, int32_t width, int32_t height, TAbstractSuperDIB& dest,
                               uint16_t srcX, uint16_t srcY);

  // The whole picture, rotated by Angle and scaled about its centre, fills
  // dest; uncovered places get the key (or 0 when Masked). Nothing happens
  // for a zero or non-finite scaled size. dest.Changed.
  virtual void TransformInto(TAbstractSuperDIB& dest);
  // Draws the frame for value out of a horizontal strip of count frames,
  // cross-fading the two frames around it. Draws nothing when count < 1,
  // max = min or the strip is narrower than count pixels.
  void DrawGlyph(int32_t x, int32_t y, int32_t count, TAbstractSuperDIB& dest, int32_t min, int32_t max,
                 int32_t value, bool wrap);
  // Nearest-neighbour resampling of source to this bitmap's size; Changed.
  void StretchFrom(const TAbstractSuperDIB& source);
  // 3 x 3 convolution in place, laid over the picture with filter.Opacity.
  virtual void ApplyFilter(const TDIBFilter& filter);
  // Region of the pixels whose alpha is above threshold; null when none is.
  std::unique_ptr<platform::TRegion> AlphaRegion(uint8_t threshold) const;
  // Region of the pixels whose colour differs from color; null when none does.
  std::unique_ptr<platform::TRegion> ColorRegion(TColor color) const;
  // Draws (srcX, srcY, width, height) into an 8-bit palette surface at
  // (x, y) through the palette's colour lookup table.
  virtual void Render8Bit(platform::TSurface8& surface, int32_t x, int32_t y, int32_t width, int32_t height,
                          uint16_t srcX, uint16_t srcY, const TRenderPalette& palette);
  // The same into a device context: the platform's 8-bit view of it (on
  // Windows a DIB section in a memory context, copied by GDI); a platform
  // without one refuses it as not 8-bit.
  void Render8Bit(platform::TSurfaceHandle dc, int32_t x, int32_t y, int32_t width, int32_t height, uint16_t srcX,
                  uint16_t srcY, const TRenderPalette& palette);

  // --- import through the picture loader ---

  // Loads a picture file; 32-bit pictures keep their alpha (Masked), others
  // become opaque. A missing or unreadable file raises and changes nothing.
  virtual void ImportImage(const std::string& fileName);
  // ImportImage for a picture decoded elsewhere; name stands for it in the
  // error message when its size is invalid or does not match its pixels.
  void ImportPicture(const TLoadedPicture& picture, const std::string& name);
  // Loads a picture, stretches it to this size and takes its blue bytes as
  // alpha; Masked. Raises EDIBError "You cannot import a mask until you have
  // an image." without a size.
  virtual void ImportMask(const std::string& fileName);

  // --- streaming of the pixels (the stored form, property "Data") ---

  void DefineProperties(TFiler& filer) override;
  virtual void ReadData(TStream& stream);
  virtual void WriteData(TStream& stream);

  void BeforeDestruction() override;

 protected:
  // Obtain PixelBufferSize() bytes into SetBitsPointer; called only when
  // OwnsBits. FreeBits returns them and clears the pointer.
  virtual void AllocateBits() = 0;
  virtual void FreeBits() = 0;

  void SetBitsPointer(uint8_t* bits) { bits_ = bits; }
  // Width * Height * 4 as a size the process can address; raises
  // std::bad_alloc when it cannot.
  size_t PixelBufferSize() const;
  // FreeBits when OwnsBits and Bits are present. Concrete classes call it from
  // their destructor; Free (BeforeDestruction) calls it too.
  void ReleaseBits();

  // Angle 0, not masked, opacity 255, scale 100, not transparent.
  virtual void InitDefaults();
  void AssignTo(TPersistent* dest) override;

 private:

  // Dest/DrawProc swap used by DrawRaw, DrawMask and DrawMaskAsImage.
  void DrawWith(TRowRoutine routine, bool plain, int32_t x, int32_t y, int32_t width, int32_t height,
                TAbstractSuperDIB& dest, uint16_t srcX, uint16_t srcY);
  // DrawGlyph of a strip that holds one frame.
  void DrawOnlyFrame(int32_t x, int32_t y, TAbstractSuperDIB& dest);
  // Keeps a view's pixel pointer only while its size matches the shared one.
  void SetDimensions(uint16_t width, uint16_t height);

  TAngle angle_ = 0;
  bool autoSize_ = false;
  TRect clipRect_;
  uint16_t height_ = 0;
  bool masked_ = false;
  uint8_t opacity_ = 255;
  bool ownsBits_ = true;
  long double scaleX_ = 100.0L;
  long double scaleY_ = 100.0L;
  bool transparent_ = false;
  TPixel transparentColorValue_ = 0;
  TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
  int32_t updateCount_ = 0;
  uint16_t width_ = 0;
  TDrawProc drawProc_;
  uint8_t* bits_ = nullptr;
};

template <class T>
T* TAbstractSuperDIB::CreateSize(uint16_t width, uint16_t height) {
  std::unique_ptr<T, TFreeObject> dib(New<T>());
  dib->SetSize(width, height);
  dib->SetClipRect(TRect{0, 0, width, height});
  return dib.release();
}

template <class T>
T* TAbstractSuperDIB::CreateShared(TAbstractSuperDIB& source) {
  std::unique_ptr<T, TFreeObject> dib(New<T>());
  dib->ShareFrom(source);
  return dib.release();
}

}  // namespace zelk
