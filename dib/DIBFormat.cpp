#include "dib/DIBFormat.h"

#include "runtime/ClassBuilder.h"

namespace zelk {

const TClassInfo& TAbstractDIBFormat::StaticClass() {
  static const TClassInfo info = TClassBuilder<TAbstractDIBFormat>("TAbstractDIBFormat").Build();
  return info;
}

TAbstractSuperDIB& TAbstractDIBFormat::RequireDIB() const {
  if (dib_ == nullptr) throw EDIBFormatError(kNoDIBAssignedMessage);
  return *dib_;
}

void TAbstractDIBFormat::NotifyRowDone(int32_t row, int32_t rowCount) {
  if (!OnProgress) return;
  // A single row has no divisor; it is the whole picture.
  const int64_t percent = rowCount <= 1 ? 100 : int64_t{row} * 100 / (rowCount - 1);
  OnProgress(this, static_cast<int32_t>(percent));
}

}  // namespace zelk
