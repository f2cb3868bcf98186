#include "controls/DIBControl.h"

#include <algorithm>

#include "controls/DIBContainer.h"
#include "controls/DIBFeature.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "toolkit/Toolkit.h"

namespace zelk {

namespace {

TCustomDIBContainer* FirstOwnedContainer(TComponent* owner) {
  for (TComponent* component : owner->Components()) {
    if (component->Is<TCustomDIBContainer>()) return static_cast<TCustomDIBContainer*>(component);
  }
  return nullptr;
}

}  // namespace

const TMessageTable& TCustomDIBControl::StaticMessages() {
  static const TMessageTable table = TMessageTableBuilder<TCustomDIBControl>()
                                         .On<&TCustomDIBControl::WMPaint>(wmPaint)
                                         .On<&TCustomDIBControl::WMSetFocus>(wmSetFocus)
                                         .On<&TCustomDIBControl::WMKillFocus>(wmKillFocus)
                                         .On<&TCustomDIBControl::WMKeyDown>(wmKeyDown)
                                         .On<&TCustomDIBControl::WMKeyUp>(wmKeyUp)
                                         .On<&TCustomDIBControl::WMChar>(wmChar)
                                         .On<&TCustomDIBControl::WMGetDlgCode>(wmGetDlgCode)
                                         .On<&TCustomDIBControl::CMDialogChar>(cmDialogChar)
                                         .On<&TCustomDIBControl::CMEnabledChanged>(cmEnabledChanged)
                                         .Build();
  return table;
}

TCustomDIBControl::TCustomDIBControl(TComponent* owner)
    : TControl(owner),
      attachedControls_(this),
      pressRepeat_(TNotifyEvent::Bind<&TCustomDIBControl::RepeatTick>(this)),
      contextMenu_(*this) {
  if (owner == nullptr) throw Exception("Owner cannot be nil");
  if (!owner->Is<TCustomDIBContainer>() && FirstOwnedContainer(owner) == nullptr) {
    throw Exception("Parent must be a TDIBContainer");
  }
  canvas_.reset(New<platform::TCanvas>());
  SetBounds(0, 0, 32, 32);
  dibFeatures_.reset(New<TDIBFeatures>(this));
  opacity_ = 255;
}

TCustomDIBControl::~TCustomDIBControl() {
  dibFeatures_.reset();
  // The links go with the control and report nothing more.
  for (const auto& link : imageLinks_) link->OnImageChanged = {};
  imageLinks_.clear();
}

TCustomDIBContainer* TCustomDIBControl::Container() const {
  TWinControl* parent = Parent();
  return parent != nullptr && parent->Is<TCustomDIBContainer>() ? static_cast<TCustomDIBContainer*>(parent) : nullptr;
}

// --- settings ---

void TCustomDIBControl::SetDIBImageList(TCustomDIBImageList* list) {
  if (dibImageList_ != nullptr) dibImageList_->RemoveFreeNotification(this);
  dibImageList_ = list;
  for (const auto& link : imageLinks_) link->SetDIBImageList(list);
  if (list != nullptr) list->FreeNotification(this);
}

void TCustomDIBControl::CreateImageLink(TDIBImageLink*& link) {
  link = imageLinks_.emplace_back(New<TDIBImageLink>(this)).get();
  link->OnImageChanged = TDIBImageChangedEvent::Bind<&TCustomDIBControl::ImageLinkChanged>(this);
  if (dibImageList_ != nullptr) link->SetDIBImageList(dibImageList_);
}

void TCustomDIBControl::ReleaseImageLink(TDIBImageLink* link) {
  const auto owned = std::find_if(imageLinks_.begin(), imageLinks_.end(),
                                  [link](const auto& candidate) { return candidate.get() == link; });
  if (owned == imageLinks_.end()) return;
  static_cast<void>(owned->release());
  imageLinks_.erase(owned);
}

void TCustomDIBControl::ImageLinkChanged(TObject* sender, int32_t index, TDIBImageOperation operation) {
  if (HasState(csDestroying)) return;
  DIBImageChanged(index, operation);
}

// --- toolkit overrides ---

void TCustomDIBControl::SetParent(TWinControl* parent) {
  if (parent != nullptr && !parent->Is<TCustomDIBContainer>()) {
    TCustomDIBContainer* container = FirstOwnedContainer(parent);
    if (container == nullptr) throw Exception("Parent must be a TDIBContainer");
    parent = container;
  }
  TControl::SetParent(parent);
  ApplyStoredTabOrder();
}

void TCustomDIBControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (inBoundsChange_) return;
  pureMove_ = width == Width() && height == Height();
  inBoundsChange_ = true;
  const int32_t oldLeft = Left();
  const int32_t oldTop = Top();
  try {
    const TRect before = BoundsRect();
    TControl::SetBounds(left, top, width, height);
    // Through Invalidate, so that a change of size stamps the change time.
    if (BoundsRect() != before) Invalidate();
    if (Left() != oldLeft || Top() != oldTop) attachedControls_.MoveBy(Left() - oldLeft, Top() - oldTop);
  } catch (...) {
    inBoundsChange_ = false;
    pureMove_ = false;
    throw;
  }
  inBoundsChange_ = false;
  pureMove_ = false;
}

void TCustomDIBControl::Invalidate() {
  TControl::Invalidate();
  if (!pureMove_) lastChangeTime_ = TickCount();
}

void TCustomDIBControl::InvalidateArea(const TRect& area) {
  const TRect part = IntersectRect(area, ClientRect());
  if (part.IsEmpty()) return;
  if (Parent() != nullptr && Showing()) Parent()->InvalidateRect(part.Offset(Left(), Top()));
  if (!pureMove_) lastChangeTime_ = TickCount();
}

void TCustomDIBControl::Notification(TComponent* component, TOperation operation) {
  TControl::Notification(component, operation);
  if (operation != TOperation::opRemove || component == this || HasState(csDestroying)) return;
  if (component == dibImageList_) SetDIBImageList(nullptr);
  attachedControls_.Forget(component);
}

}  // namespace zelk
