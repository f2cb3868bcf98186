// TWinControl: children, the window, placement, alignment and painting.
// Input, focus and tab order are in WinControlInput.cpp.
#include "toolkit/WinControl.h"

#include <algorithm>

#include "platform/Backend.h"
#include "runtime/ClassBuilder.h"
#include "toolkit/Form.h"
#include "toolkit/InputState.h"
#include "toolkit/MessageViews.h"
#include "toolkit/PointerState.h"

namespace zelk {

namespace {

constexpr char kWindowRefused[] = "Error creating window";

platform::TWindowSystem& Windows() { return *platform::Backend().Windows; }

}  // namespace

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TWinControl>("TWinControl").Build();
  return info;
}

const TMessageTable& TWinControl::StaticMessages() {
  static const TMessageTable table = TMessageTableBuilder<TWinControl>()
                                         .On<&TWinControl::WMPaint>(wmPaint)
                                         .On<&TWinControl::WMSetFocus>(wmSetFocus)
                                         .On<&TWinControl::WMKillFocus>(wmKillFocus)
                                         .On<&TWinControl::WMKeyDown>(wmKeyDown)
                                         .On<&TWinControl::WMKeyUp>(wmKeyUp)
                                         .On<&TWinControl::WMChar>(wmChar)
                                         .On<&TWinControl::WMSetCursor>(wmSetCursor)
                                         .On<&TWinControl::CMChildKey>(cmChildKey)
                                         .On<&TWinControl::CMBroadcast>(cmDialogKey)
                                         .On<&TWinControl::CMBroadcast>(cmDialogChar)
                                         .On<&TWinControl::CMBroadcast>(cmFocusChanged)
                                         .On<&TWinControl::CMEnter>(cmEnter)
                                         .On<&TWinControl::CMExit>(cmExit)
                                         .On<&TWinControl::CMColorChanged>(cmColorChanged)
                                         .On<&TWinControl::CMColorChanged>(cmParentColorChanged)
                                         .On<&TWinControl::CMFontChanged>(cmFontChanged)
                                         .On<&TWinControl::CMFontChanged>(cmParentFontChanged)
                                         .On<&TWinControl::CMEnabledChanged>(cmEnabledChanged)
                                         .On<&TWinControl::CMVisibleChanged>(cmVisibleChanged)
                                         .Build();
  return table;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  if (!HasState(csDestroying)) TWinControl::ReleaseControl();
}

void TWinControl::ReleaseControl() {
  TInputState& state = InputState();
  if (state.Focus == this) state.Focus = nullptr;
  if (state.LosingFocus == this) state.LosingFocus = nullptr;
  DestroyHandle();
  // Children go with their parent, whoever owns them; each leaves this
  // control's lists as it goes.
  while (!controls_.empty()) TObject::Free(controls_.back());
  while (!winControls_.empty()) TObject::Free(winControls_.back());
  TControl::ReleaseControl();
}

// --- Children ---

void TWinControl::InsertControl(TControl* control) {
  control->parent_ = this;
  if (control->Is<TWinControl>()) {
    auto* windowed = static_cast<TWinControl*>(control);
    winControls_.push_back(windowed);
    tabList_.push_back(windowed);
    if (handle_ != 0) windowed->CreateHandle();
  } else {
    controls_.push_back(control);
    control->Invalidate();
  }
  if (!control->HasState(csLoading)) {
    control->Perform(cmParentColorChanged);
    control->Perform(cmParentFontChanged);
  }
  control->RequestAlign();
  if (AutoSize()) AdjustSize();
}

void TWinControl::RemoveControl(TControl* control) {
  if (control->parent_ != this) return;
  if (control->Is<TWinControl>()) {
    auto* windowed = static_cast<TWinControl*>(control);
    windowed->DestroyHandle();
    std::erase(winControls_, windowed);
    std::erase(tabList_, windowed);
  } else {
    control->Invalidate();
    std::erase(controls_, control);
  }
  control->parent_ = nullptr;
  if (control->Align() != TAlign::alNone) Realign();
  if (AutoSize() && !HasState(csDestroying)) AdjustSize();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (; control != nullptr; control = control->Parent()) {
    if (control == this) return true;
  }
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint point, bool allowDisabled) const {
  const bool designing = HasState(csDesigning);
  for (auto child = controls_.rbegin(); child != controls_.rend(); ++child) {
    TControl* control = *child;
    const bool shown = control->Visible() || (designing && !control->HasControlStyle(csNoDesignVisible));
    if (!shown || !(control->Enabled() || allowDisabled) || !control->BoundsRect().Contains(point)) continue;
    const TPoint inside{point.X - control->Left(), point.Y - control->Top()};
    if (Send(*control, HitTestMessage(inside)) != htNowhere) return control;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
  // A handler may add or remove children: walk a copy.
  std::vector<TControl*> children(controls_.begin(), controls_.end());
  children.insert(children.end(), winControls_.begin(), winControls_.end());
  for (TControl* child : children) {
    child->Perform(message);
    if (message.Result != 0) return;
  }
}

std::vector<TComponent*> TWinControl::GetChildren(TComponent* root) const {
  std::vector<TComponent*> children;
  for (TControl* control : controls_) {
    if (control->Owner() == root) children.push_back(control);
  }
  for (TWinControl* control : winControls_) {
    if (control->Owner() == root) children.push_back(control);
  }
  return children;
}

// --- The window ---

TNativeWindow TWinControl::Handle() {
  if (handle_ == 0) CreateHandle();
  return handle_;
}

void TWinControl::CreateHandle() {
  if (handle_ != 0) return;
  const TNativeWindow parent = parent_ != nullptr ? parent_->Handle() : parentWindow_;
  // Creating the parent's window creates its children's.
  if (handle_ != 0) return;
  handle_ = Windows().CreateChild(parent, BoundsRect(), *this);
  if (handle_ == 0) throw EInvalidOperation(kWindowRefused);
  if (windowRegion_) Windows().SetWindowRegion(handle_, windowRegion_.get());
  Windows().ShowWindow(handle_, Visible());
  for (TWinControl* child : winControls_) child->CreateHandle();
}

void TWinControl::SetWindowRegion(const platform::TRegion* region) {
  if (region == nullptr) {
    windowRegion_.reset();
  } else {
    const std::vector<platform::TRegionRect> rects = region->Rectangles();
    platform::TRegionDataHeader header;
    header.Count = static_cast<uint32_t>(rects.size());
    windowRegion_ = platform::RegionFactory().CreateFromData(header, rects);
  }
  if (handle_ != 0) Windows().SetWindowRegion(handle_, windowRegion_.get());
}

void TWinControl::DestroyHandle() {
  if (handle_ == 0) return;
  controlState_ |= csDestroyingHandle;
  // The backend takes the children's windows with it and tells them.
  const TNativeWindow handle = handle_;
  handle_ = 0;
  // The children hear of it as ekDestroyed.
  Windows().DestroyWindow(handle);
  HandleWindowGone();
  controlState_ &= ~csDestroyingHandle;
}

void TWinControl::HandleWindowGone() {
  handle_ = 0;
  TInputState& state = InputState();
  if (state.Focus == this) state.Focus = nullptr;
  if (state.PressWindow == this) state.PressWindow = nullptr;
  // The capture went with the window: its holder hears so, as when another
  // window takes it.
  PointerState().ForgetWindow(*this);
}

void TWinControl::SetParentWindow(TNativeWindow parentWindow) {
  if (parentWindow_ == parentWindow) return;
  const bool hadWindow = handle_ != 0;
  DestroyHandle();
  parentWindow_ = parentWindow;
  if (hadWindow || (parent_ == nullptr && parentWindow_ != 0 && Visible())) CreateHandle();
}

void TWinControl::SetParent(TWinControl* parent) {
  if (Parent() == parent) return;
  TControl::SetParent(parent);
  if (parent != nullptr && parentWindow_ != 0) {
    // A parent control's window replaces the foreign one.
    parentWindow_ = 0;
  }
}

void TWinControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (!ConstrainSize(width, height)) {
    width = Width();
    height = Height();
  }
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  const int32_t deltaWidth = width - Width();
  const int32_t deltaHeight = height - Height();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (handle_ != 0) Windows().PlaceWindow(handle_, BoundsRect());
  if (deltaWidth != 0 || deltaHeight != 0) {
    AnchorChildren(deltaWidth, deltaHeight);
    Realign();
  }
  RequestAlign();
  if (Parent() != nullptr && Parent()->AutoSize()) Parent()->AdjustSize();
  if ((deltaWidth != 0 || deltaHeight != 0) && OnResize) OnResize(this);
}

void TWinControl::AnchorChildren(int32_t deltaWidth, int32_t deltaHeight) {
  // Streams give the designed size before the children; loading keeps it.
  if (HasState(csLoading)) return;
  std::vector<TControl*> children(controls_.begin(), controls_.end());
  children.insert(children.end(), winControls_.begin(), winControls_.end());
  for (TControl* child : children) child->ApplyAnchors(deltaWidth, deltaHeight);
}

void TWinControl::SetCtl3D(bool ctl3D) {
  if (ctl3D_ == ctl3D) return;
  ctl3D_ = ctl3D;
  // The frame lies just outside the control, in the parent.
  if (Parent() != nullptr) {
    const TRect bounds = BoundsRect();
    Parent()->InvalidateRect({bounds.Left - 1, bounds.Top - 1, bounds.Right + 1, bounds.Bottom + 1});
  }
}

void TWinControl::CMVisibleChanged(TMessage&) {
  if (Visible() && Parent() == nullptr) HandleNeeded();
  if (handle_ != 0) Windows().ShowWindow(handle_, Visible());
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (!Enabled() && Focused()) Windows().SetFocus(0);
  Invalidate();
}

void TWinControl::CMColorChanged(TMessage& message) {
  if (message.Msg == cmParentColorChanged) TControl::CMParentColorChanged(message);
  if (message.Msg == cmColorChanged) {
    TMessage notice{cmParentColorChanged};
    Broadcast(notice);
  }
  Invalidate();
}

void TWinControl::CMFontChanged(TMessage& message) {
  if (message.Msg == cmParentFontChanged) TControl::CMParentFontChanged(message);
  if (message.Msg == cmFontChanged) {
    TMessage notice{cmParentFontChanged};
    Broadcast(notice);
  }
}

void TWinControl::Invalidate() {
  if (handle_ != 0) Windows().Invalidate(handle_, ClientRect());
}

void TWinControl::InvalidateRect(const TRect& rect) {
  if (handle_ != 0) Windows().Invalidate(handle_, rect);
}

bool TWinControl::SetTimer(uint32_t id, uint32_t milliseconds) { return Windows().SetTimer(Handle(), id, milliseconds); }

void TWinControl::KillTimer(uint32_t id) {
  if (handle_ != 0) Windows().KillTimer(handle_, id);
}

// --- Alignment ---

void TWinControl::Realign() {
  if (alignDisabled_ > 0 || HasState(csLoading)) {
    controlState_ |= csAlignmentNeeded;
    return;
  }
  controlState_ &= ~csAlignmentNeeded;
  // Placing the children asks for alignment again; one pass is enough.
  DisableAlign();
  try {
    AlignControls(nullptr, AdjustClientRect(ClientRect()));
  } catch (...) {
    --alignDisabled_;
    controlState_ &= ~csAlignmentNeeded;
    throw;
  }
  --alignDisabled_;
  controlState_ &= ~csAlignmentNeeded;
}

void TWinControl::EnableAlign() {
  if (--alignDisabled_ == 0 && InControlState(csAlignmentNeeded)) Realign();
}

void TWinControl::AlignControls(TControl*, TRect rect) {
  std::vector<TControl*> children(controls_.begin(), controls_.end());
  children.insert(children.end(), winControls_.begin(), winControls_.end());
  const bool designing = HasState(csDesigning);
  for (const TAlign align : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
    std::vector<TControl*> aligned;
    for (TControl* child : children) {
      if (child->Align() == align && (child->Visible() || designing)) aligned.push_back(child);
    }
    // Stacked from the edge they cling to, nearest first.
    std::stable_sort(aligned.begin(), aligned.end(), [align](const TControl* a, const TControl* b) {
      switch (align) {
        case TAlign::alTop:
          return a->Top() < b->Top();
        case TAlign::alBottom:
          return a->Top() + a->Height() > b->Top() + b->Height();
        case TAlign::alLeft:
          return a->Left() < b->Left();
        case TAlign::alRight:
          return a->Left() + a->Width() > b->Left() + b->Width();
        default:
          return false;
      }
    });
    for (TControl* child : aligned) {
      const int32_t width = std::max(rect.Width(), 0);
      const int32_t height = std::max(rect.Height(), 0);
      switch (align) {
        case TAlign::alTop:
          child->SetBounds(rect.Left, rect.Top, width, child->Height());
          rect.Top += child->Height();
          break;
        case TAlign::alBottom:
          child->SetBounds(rect.Left, rect.Bottom - child->Height(), width, child->Height());
          rect.Bottom -= child->Height();
          break;
        case TAlign::alLeft:
          child->SetBounds(rect.Left, rect.Top, child->Width(), height);
          rect.Left += child->Width();
          break;
        case TAlign::alRight:
          child->SetBounds(rect.Right - child->Width(), rect.Top, child->Width(), height);
          rect.Right -= child->Width();
          break;
        default:
          child->SetBounds(rect.Left, rect.Top, width, height);
          break;
      }
    }
  }
}

void TWinControl::LoadingFinished() {
  FixupTabList();
  TControl::LoadingFinished();
  Realign();
}

// --- Painting ---

TPaintStruct TWinControl::BeginPaint() {
  TPaintStruct paint;
  paint.Paint = IntersectRect(updateRect_, ClientRect());
  updateRect_ = {};
  if (paint.Paint.IsEmpty()) return paint;
  if (!paintSurface_ || paintSurface_->Width() != Width() || paintSurface_->Height() != Height()) {
    paintSurface_.reset();
    paintSurface_ = platform::SurfaceFactory().CreateSurface(Width(), Height());
    if (!paintSurface_) return {};
  }
  platform::TCanvas canvas;
  canvas.Bind(paintSurface_.get());
  canvas.SaveState();
  canvas.IntersectClipRect(paint.Paint);
  paint.DC = paintSurface_->Handle();
  return paint;
}

TRect TWinControl::TakeUpdateRect() {
  const TRect update = IntersectRect(updateRect_, ClientRect());
  updateRect_ = {};
  return update;
}

void TWinControl::EndPaint(const TPaintStruct& paint) {
  if (paint.DC == 0 || !paintSurface_ || paintSurface_->Handle() != paint.DC) return;
  platform::TCanvas canvas;
  canvas.Bind(paintSurface_.get());
  canvas.RestoreState(1);
  if (handle_ != 0) canvas.CopyToWindow(handle_, paint.Paint, paint.Paint.TopLeft());
}

void TWinControl::WMPaint(TMessage& message) {
  if (message.WParam != 0) {
    PaintHandler(message.WParam);
    return;
  }
  const TPaintStruct paint = BeginPaint();
  if (paint.DC == 0) return;
  try {
    PaintHandler(paint.DC);
  } catch (...) {
    EndPaint(paint);
    throw;
  }
  EndPaint(paint);
}

void TWinControl::PaintHandler(platform::TSurfaceHandle dc) {
  platform::TCanvas canvas;
  canvas.SetHandle(dc);
  if (!canvas.HandleAllocated()) return;
  const bool designing = HasState(csDesigning);
  // Opaque children cover what lies under them: it is not painted.
  const int depth = canvas.SaveState();
  bool covered = false;
  for (TControl* control : controls_) {
    const bool shown = control->Visible() || (designing && !control->HasControlStyle(csNoDesignVisible));
    if (shown && control->HasControlStyle(csOpaque) &&
        canvas.ExcludeClipRect(control->BoundsRect()) == platform::TRegionKind::rkEmpty) {
      covered = true;
      break;
    }
  }
  if (!covered) {
    EraseBackground(dc);
    PaintWindow(dc);
  }
  canvas.RestoreState(depth);
  PaintControls(dc, nullptr);
}

void TWinControl::EraseBackground(platform::TSurfaceHandle dc) {
  platform::TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Brush().Color = Color();
  canvas.Brush().Style = platform::TBrushStyle::bsSolid;
  canvas.FillRect(ClientRect());
}

void TWinControl::PaintControls(platform::TSurfaceHandle dc, TControl* first) {
  platform::TCanvas canvas;
  canvas.SetHandle(dc);
  if (!canvas.HandleAllocated()) return;
  const bool designing = HasState(csDesigning);
  auto from = std::find(controls_.begin(), controls_.end(), first);
  if (from == controls_.end()) from = controls_.begin();
  // A child's paint handler may change the list: walk a copy.
  const std::vector<TControl*> children(from, controls_.end());
  for (TControl* control : children) {
    const bool shown = control->Visible() || (designing && !control->HasControlStyle(csNoDesignVisible));
    if (!shown || !canvas.RectVisible(control->BoundsRect())) continue;
    const int depth = canvas.SaveState();
    try {
      canvas.MoveOrigin(control->Left(), control->Top());
      canvas.IntersectClipRect(control->ClientRect());
      control->Perform(wmPaint, dc, 0);
    } catch (...) {
      canvas.RestoreState(depth);
      throw;
    }
    canvas.RestoreState(depth);
  }
}

}  // namespace zelk
