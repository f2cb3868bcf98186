#include "tools/common/HostSession.h"

namespace zelk::host {

namespace {

// The session whose entry-point call is under way: the plug-in may call back
// from inside `main`, before the session could mark the record as its own.
thread_local THostSession* t_SessionBeingCreated = nullptr;

}  // namespace

bool THostSession::Open(const std::string& pluginPath, const THostSettings& settings) {
  Close();
  settings_ = settings;
  if (!library_.Open(pluginPath)) {
    return Fail(library_.ErrorText());
  }
  const VstPluginMainProc entryPoint = library_.FindEntryPoint();
  if (entryPoint == nullptr) {
    return Fail(library_.ErrorText());
  }
  t_SessionBeingCreated = this;
  AEffect* effect = entryPoint(&THostSession::HostCallback);
  t_SessionBeingCreated = nullptr;
  if (effect == nullptr) {
    return Fail("the entry point of '" + pluginPath + "' answered no effect (null)");
  }
  if (effect->magic != kEffectMagic) {
    // Not a record we may call into; leave it alone rather than close it.
    return Fail("'" + pluginPath + "' did not hand back a VST 2 effect record (wrong magic)");
  }
  effect->resvd1 = reinterpret_cast<intptr_t>(this);
  effect_ = effect;
  Dispatch(effOpen);
  Dispatch(effSetSampleRate, 0, 0, nullptr, settings_.SampleRate);
  Dispatch(effSetBlockSize, 0, settings_.BlockSize);
  errorText_.clear();
  return true;
}

void THostSession::Close() {
  if (effect_ != nullptr) {
    Suspend();
    Dispatch(effClose);
    effect_ = nullptr;
  }
  library_.Close();
  std::lock_guard lock(automationLock_);
  automationReports_.clear();
}

void THostSession::Resume() {
  if (effect_ != nullptr && !resumed_) {
    Dispatch(effMainsChanged, 0, 1);
    resumed_ = true;
  }
}

void THostSession::Suspend() {
  if (effect_ != nullptr && resumed_) {
    Dispatch(effMainsChanged, 0, 0);
    resumed_ = false;
  }
}

void THostSession::SetParameter(int32_t index, float normalized) { effect_->setParameter(effect_, index, normalized); }

float THostSession::GetParameter(int32_t index) { return effect_->getParameter(effect_, index); }

void THostSession::ProcessReplacing(float** inputs, float** outputs, int32_t frames) {
  effect_->processReplacing(effect_, inputs, outputs, frames);
}

void THostSession::ProcessAccumulating(float** inputs, float** outputs, int32_t frames) {
  effect_->process(effect_, inputs, outputs, frames);
}

intptr_t THostSession::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* pointer, float option) {
  return effect_->dispatcher(effect_, opcode, index, value, pointer, option);
}

std::vector<TAutomationReport> THostSession::AutomationReports() const {
  std::lock_guard lock(automationLock_);
  return automationReports_;
}

size_t THostSession::AutomationReportCount() const {
  std::lock_guard lock(automationLock_);
  return automationReports_.size();
}

intptr_t ZELK_VST_CALL THostSession::HostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                                  void* pointer, float option) {
  THostSession* session = t_SessionBeingCreated;
  if (effect != nullptr && effect->resvd1 != 0) {
    session = reinterpret_cast<THostSession*>(effect->resvd1);
  }
  if (session == nullptr) {
    return opcode == audioMasterVersion ? kHostVersion : 0;
  }
  return session->Answer(opcode, index, option);
}

intptr_t THostSession::Answer(int32_t opcode, int32_t index, float option) {
  switch (opcode) {
    case audioMasterVersion:
      return kHostVersion;
    case audioMasterGetSampleRate:
      return static_cast<intptr_t>(settings_.SampleRate);
    case audioMasterGetBlockSize:
      return settings_.BlockSize;
    case audioMasterTempoAt:
      return kTempoTimes10000;
    case audioMasterAutomate: {
      std::lock_guard lock(automationLock_);
      automationReports_.push_back({index, option});
      return 0;
    }
    default:
      return 0;
  }
}

bool THostSession::Fail(const std::string& reason) {
  errorText_ = reason;
  effect_ = nullptr;
  library_.Close();
  return false;
}

}  // namespace zelk::host
