// TDIBImageLink: a control's reference to one picture of an image list, the
// pair DIBImageList and DIBIndex (-1: no image). The list tells the link
// what happens to its images (Notify); the link tells its control through
// OnImageChanged when its own image changed or was deleted, and follows
// deletions and moves of other images by adjusting DIBIndex silently.
//
// When the list goes, it clears DIBImageList of every attached link; when
// the link goes, it detaches itself from its list.
#pragma once

#include <cstdint>

#include "dib/DIBImageOperation.h"
#include "runtime/Event.h"
#include "runtime/Persistent.h"

namespace zelk {

class TAbstractSuperDIB;
class TComponent;
class TCustomDIBImageList;

using TDIBImageChangedEvent = TEvent<void(TObject* Sender, int32_t Index, TDIBImageOperation Operation)>;

class TDIBImageLink : public TPersistent {
  ZELK_CLASS(TDIBImageLink, TPersistent)

  // owner: the control that created the link (may be null); fixed.
  explicit TDIBImageLink(TComponent* owner) : owner_(owner) {}
  ~TDIBImageLink() override;

  TComponent* Owner() const { return owner_; }

  // Published, always stored.
  TCustomDIBImageList* DIBImageList() const { return imageList_; }
  // Detaches from the old list and attaches to the new one (AddLink), which
  // fires OnImageChanged once for DIBIndex when the new list has that image.
  void SetDIBImageList(TCustomDIBImageList* list);
  int32_t DIBIndex() const { return dibIndex_; }
  // A new value fires OnImageChanged(link, value, ioChanged), even without
  // a list; the same value fires nothing.
  void SetDIBIndex(int32_t value);

  // Set by the owning control.
  TDIBImageChangedEvent OnImageChanged;

  // Called by the list, in this order of rules: a change of another image,
  // a deletion above DIBIndex, or any report while the owning control is
  // being destroyed is ignored; a deletion below DIBIndex decrements it
  // silently; otherwise OnImageChanged fires, and a deletion then sets
  // DIBIndex to -1.
  virtual void Notify(int32_t index, TDIBImageOperation operation);

  // The list's view of the image (TCustomDIBImageList::GetImage); false
  // without a list.
  bool GetImage(TAbstractSuperDIB*& dib);
  // The list has an image at DIBIndex.
  bool IsValid() const;

  TPersistent* GetOwner() override;

 protected:
  // To another TDIBImageLink: DIBIndex, then DIBImageList.
  void AssignTo(TPersistent* dest) override;

 private:
  friend class TCustomDIBImageList;  // detaches and moves links without events

  bool OwnerDestroying() const;

  TComponent* owner_;
  TCustomDIBImageList* imageList_ = nullptr;
  int32_t dibIndex_ = -1;
};

}  // namespace zelk
