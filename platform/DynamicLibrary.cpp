#include "platform/DynamicLibrary.h"

namespace zelk::platform {

TDynamicLibrary::TSymbol TDynamicLibrary::FindSymbol(const char* name) {
  if (!IsOpen()) {
    m_ErrorText = "no library is open";
    return nullptr;
  }
  if (name == nullptr || *name == '\0') {
    m_ErrorText = "no symbol name was given for '" + m_Path + "'";
    return nullptr;
  }
  if (TSymbol symbol = LookUp(name)) {
    m_ErrorText.clear();
    return symbol;
  }
  m_ErrorText = "'" + m_Path + "' exports no '" + name + "'";
  return nullptr;
}

}  // namespace zelk::platform
