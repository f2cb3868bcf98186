#include "tools/common/HostSession.h"

namespace zelk::host {

namespace {

// The session whose entry-point call is under way: the plug-in may call back
// from inside `main`, before the session could mark the record as its own.
thread_local THostSession* t_SessionBeingCreated = nullptr;

}  // namespace

bool THostSession::Open(const std::string& pluginPath, const THostSettings& settings) {
  Close();
  m_Settings = settings;
  if (!m_Library.Open(pluginPath)) {
    return Fail(m_Library.ErrorText());
  }
  const VstPluginMainProc entryPoint = m_Library.FindEntryPoint();
  if (entryPoint == nullptr) {
    return Fail(m_Library.ErrorText());
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
  m_Effect = effect;
  Dispatch(effOpen);
  Dispatch(effSetSampleRate, 0, 0, nullptr, m_Settings.SampleRate);
  Dispatch(effSetBlockSize, 0, m_Settings.BlockSize);
  m_ErrorText.clear();
  return true;
}

void THostSession::Close() {
  if (m_Effect != nullptr) {
    Suspend();
    Dispatch(effClose);
    m_Effect = nullptr;
  }
  m_Library.Close();
  std::lock_guard lock(m_AutomationLock);
  m_AutomationReports.clear();
}

void THostSession::Resume() {
  if (m_Effect != nullptr && !m_Resumed) {
    Dispatch(effMainsChanged, 0, 1);
    m_Resumed = true;
  }
}

void THostSession::Suspend() {
  if (m_Effect != nullptr && m_Resumed) {
    Dispatch(effMainsChanged, 0, 0);
    m_Resumed = false;
  }
}

void THostSession::SetParameter(int32_t index, float normalized) { m_Effect->setParameter(m_Effect, index, normalized); }

float THostSession::GetParameter(int32_t index) { return m_Effect->getParameter(m_Effect, index); }

void THostSession::ProcessReplacing(float** inputs, float** outputs, int32_t frames) {
  m_Effect->processReplacing(m_Effect, inputs, outputs, frames);
}

void THostSession::ProcessAccumulating(float** inputs, float** outputs, int32_t frames) {
  m_Effect->process(m_Effect, inputs, outputs, frames);
}

intptr_t THostSession::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* pointer, float option) {
  return m_Effect->dispatcher(m_Effect, opcode, index, value, pointer, option);
}

std::vector<TAutomationReport> THostSession::AutomationReports() const {
  std::lock_guard lock(m_AutomationLock);
  return m_AutomationReports;
}

size_t THostSession::AutomationReportCount() const {
  std::lock_guard lock(m_AutomationLock);
  return m_AutomationReports.size();
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
      return static_cast<intptr_t>(m_Settings.SampleRate);
    case audioMasterGetBlockSize:
      return m_Settings.BlockSize;
    case audioMasterTempoAt:
      return kTempoTimes10000;
    case audioMasterAutomate: {
      std::lock_guard lock(m_AutomationLock);
      m_AutomationReports.push_back({index, option});
      return 0;
    }
    default:
      return 0;
  }
}

bool THostSession::Fail(const std::string& reason) {
  m_ErrorText = reason;
  m_Effect = nullptr;
  m_Library.Close();
  return false;
}

}  // namespace zelk::host
