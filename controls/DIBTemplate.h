// Control templates: a stream that captures an image-drawn control's look
// (the pictures its image links show, which link shows which, and the values
// of the class's template properties) so that it can be applied to another
// control of the same kind, also in another form with another image list.
//
// Layout, integers 32-bit little-endian, strings 8-bit without terminator:
//   GUID (16 bytes), image count, link count,
//   images: one TDIBWrapper component stream each, stored raw,
//   link records: name length, property name, display-name length, display
//     name (only when the length is above 0), image number,
//   property block: count, then per property name length, name, value size,
//     value (ordinals as 32 bits, texts as 32-bit length and bytes, floats
//     as 80 bits, objects as a TPersistentWrapper component stream).
//
// Loading treats the stream as input from outside: everything is read and
// checked before the control or its image list changes, so a template that
// does not read whole raises an error and leaves both as they were.
// Properties that the loading class does not publish are skipped by their
// size.
#pragma once

#include "dib/MemoryDIB.h"
#include "runtime/Component.h"

namespace zelk {

class TCustomDIBControl;
class TStream;

// Carries one picture through a component stream. Not owned.
class TDIBWrapper : public TComponent {
  ZELK_CLASS(TDIBWrapper, TComponent)
  explicit TDIBWrapper(TComponent* owner) : TComponent(owner) {}
  TMemoryDIB* DIB() const { return dib_; }
  void SetDIB(TMemoryDIB* source);
  void Wrap(TMemoryDIB* dib) { dib_ = dib; }

 private:
  TMemoryDIB* dib_ = nullptr;
};

// Carries one object-valued template property. Not owned.
class TPersistentWrapper : public TComponent {
  ZELK_CLASS(TPersistentWrapper, TComponent)
  explicit TPersistentWrapper(TComponent* owner) : TComponent(owner) {}
  TPersistent* Persistent() const { return persistent_; }
  void SetPersistent(TPersistent* source);
  void Wrap(TPersistent* persistent) { persistent_ = persistent; }

 private:
  TPersistent* persistent_ = nullptr;
};

// Raises EDIBControlError for a name the control's class does not publish or
// a property that cannot be templated.
void CheckTemplateProperty(TCustomDIBControl& control, const std::string& name);
void SaveControlTemplate(TCustomDIBControl& control, TStream& stream);
void LoadControlTemplate(TCustomDIBControl& control, TStream& stream);

}  // namespace zelk
