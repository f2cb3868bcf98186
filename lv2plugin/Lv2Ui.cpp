#include "lv2plugin/Lv2Ui.h"

#include <cstring>
#include <new>

#include "effect/LibraryStart.h"
#include "framework/VST1Module.h"
#include "lv2plugin/Lv2Features.h"
#include "lv2plugin/Lv2Ports.h"
#include "runtime/Application.h"
#include "toolkit/WinControl.h"

namespace zelk::lv2 {

namespace {

constexpr int32_t kHostVstVersion = 2400;
constexpr uint32_t kFloatFormat = 0;  // port_event and write: one float

class TLv2Ui {
 public:
  struct THost {
    LV2UI_Write_Function Write = nullptr;
    LV2UI_Controller Controller = nullptr;
    const LV2UI_Touch* Touch = nullptr;
    const LV2UI_Resize* Resize = nullptr;
  };

  // Null when the editor cannot be opened in parent.
  static TLv2Ui* Open(void* parent, const THost& host, LV2UI_Widget* widget) noexcept;
  ~TLv2Ui();
  TLv2Ui(const TLv2Ui&) = delete;
  TLv2Ui& operator=(const TLv2Ui&) = delete;

  void FollowPort(uint32_t port, float value) noexcept;
  void Idle() noexcept;

 private:
  TLv2Ui(AEffect& effect, const THost& host);
  static intptr_t ZELK_VST_CALL ModuleHost(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                           void* ptr, float opt);
  intptr_t AnswerModule(int32_t opcode, int32_t index);
  void ReportResize();

  AEffect& effect_;
  TCustomVST1Module& module_;
  const THost host_;
  const TPortLayout layout_;
  // Set while a port value from the host is applied, so that the module's
  // report of it is not written back to the port.
  bool followingHost_ = false;
};

TLv2Ui* TLv2Ui::Open(void* parent, const THost& host, LV2UI_Widget* widget) noexcept {
  AEffect* effect = CreateEffect(&ModuleHost);
  if (effect == nullptr) return nullptr;
  TLv2Ui* ui = nullptr;
  try {
    ui = new TLv2Ui(*effect, host);
    // The host's user field, free for a host's own use, leads back here.
    effect->user = ui;
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    if (effect->dispatcher(effect, effEditOpen, 0, 0, parent, 0.0f) == 1) {
      TComponent* form = ui->module_.EditorForm();
      if (form != nullptr && form->Is<TWinControl>() && widget != nullptr) {
        *widget = reinterpret_cast<LV2UI_Widget>(static_cast<TWinControl*>(form)->Handle());
      }
      ui->ReportResize();
      return ui;
    }
  } catch (...) {
    Application().HandleException();
  }
  if (ui != nullptr) {
    delete ui;
  } else {
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  }
  return nullptr;
}

TLv2Ui::TLv2Ui(AEffect& effect, const THost& host)
    : effect_(effect),
      module_(*TCustomVST1Module::FromEffect(&effect)),
      host_(host),
      layout_{static_cast<uint32_t>(effect.numInputs), static_cast<uint32_t>(effect.numOutputs),
              static_cast<uint32_t>(effect.numParams)} {}

// effEditClose, then effClose frees the module.
TLv2Ui::~TLv2Ui() {
  effect_.dispatcher(&effect_, effEditClose, 0, 0, nullptr, 0.0f);
  effect_.dispatcher(&effect_, effClose, 0, 0, nullptr, 0.0f);
}

// Tells a host that sizes its window after the interface the editor's size.
void TLv2Ui::ReportResize() {
  ERect* rect = nullptr;
  if (host_.Resize == nullptr || effect_.dispatcher(&effect_, effEditGetRect, 0, 0, &rect, 0.0f) != 1) return;
  if (rect != nullptr) host_.Resize->ui_resize(host_.Resize->handle, rect->right - rect->left, rect->bottom - rect->top);
}

// The host changed a control port (or repeats what the knob wrote): the
// module takes it as from setParameter, and the next idle call turns the knob.
void TLv2Ui::FollowPort(uint32_t port, float value) noexcept {
  if (!layout_.IsControl(port) || value != value) return;
  const int32_t parameter = layout_.ParameterOf(port);
  if (module_.GetParameter(parameter) == value) return;
  followingHost_ = true;
  effect_.setParameter(&effect_, parameter, module_.ParameterToNormalized(parameter, value));
  followingHost_ = false;
}

void TLv2Ui::Idle() noexcept { effect_.dispatcher(&effect_, effEditIdle, 0, 0, nullptr, 0.0f); }

intptr_t ZELK_VST_CALL TLv2Ui::ModuleHost(AEffect* effect, int32_t opcode, int32_t index, intptr_t, void*, float) {
  if (opcode == audioMasterVersion) return kHostVstVersion;
  // During construction the user field still holds the module.
  auto* ui = effect != nullptr && effect->user != effect->object ? static_cast<TLv2Ui*>(effect->user) : nullptr;
  return ui != nullptr ? ui->AnswerModule(opcode, index) : 0;
}

// The one place where the module's reports reach the LV2 host: a turned
// knob writes the control port (in the parameter's units, as stored), and
// the edit gestures bracket it with ui:touch when the host offers it.
intptr_t TLv2Ui::AnswerModule(int32_t opcode, int32_t index) {
  if (!module_.IsParameterIndex(index)) return 0;
  const uint32_t port = layout_.PortOf(index);
  switch (opcode) {
    case audioMasterAutomate: {
      if (followingHost_ || host_.Write == nullptr) return 0;
      const float value = module_.GetParameter(index);
      host_.Write(host_.Controller, port, sizeof value, kFloatFormat, &value);
      return 0;
    }
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
      if (host_.Touch == nullptr) return 0;
      host_.Touch->touch(host_.Touch->handle, port, opcode == audioMasterBeginEdit);
      return 1;
    default:
      return 0;
  }
}

TLv2Ui* AsUi(LV2UI_Handle handle) { return static_cast<TLv2Ui*>(handle); }

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
  void* parent = FindFeature(features, LV2_UI__parent);
  if (parent == nullptr || pluginUri == nullptr || std::strcmp(pluginUri, kPluginUri) != 0) return nullptr;
  TLv2Ui::THost host;
  host.Write = write;
  host.Controller = controller;
  host.Touch = static_cast<const LV2UI_Touch*>(FindFeature(features, LV2_UI__touch));
  host.Resize = static_cast<const LV2UI_Resize*>(FindFeature(features, LV2_UI__resize));
  return TLv2Ui::Open(parent, host, widget);
}

void Cleanup(LV2UI_Handle handle) {
  try {
    delete AsUi(handle);
  } catch (...) {
    Application().HandleException();
  }
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  // Control ports carry one float; hosts differ in the size they state.
  if (format != kFloatFormat || (size != 0 && size < sizeof(float)) || buffer == nullptr) return;
  float value = 0.0f;
  std::memcpy(&value, buffer, sizeof value);
  AsUi(handle)->FollowPort(port, value);
}

int IdleEntry(LV2UI_Handle handle) {
  AsUi(handle)->Idle();
  return 0;
}

const void* ExtensionData(const char* uri) {
  static const LV2UI_Idle_Interface idle{&IdleEntry};
  return uri != nullptr && std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idle : nullptr;
}

}  // namespace

const LV2UI_Descriptor& UiDescriptor() {
  static const LV2UI_Descriptor descriptor{kUiUri, &Instantiate, &Cleanup, &PortEvent, &ExtensionData};
  return descriptor;
}

}  // namespace zelk::lv2
