// TAbstractDIBFormat: one kind of image file that the image library reads
// into a bitmap or writes from one, besides the platform picture formats of
// the picture loader.
//
// The caller sets DIB (and OnProgress if wanted), then calls LoadFromStream or
// SaveToStream with the stream positioned at the start of the file data. A
// format object is not synchronised; one caller uses it at a time. Formats
// register one instance each in the process-wide list (DIBFormatRegistry.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Event.h"
#include "runtime/Exceptions.h"
#include "runtime/Object.h"

namespace zelk {

class TAbstractSuperDIB;
class TStream;

// Errors of the image file formats (message only).
ZELK_EXCEPTION_CLASS(EDIBFormatError, Exception);

inline constexpr char kNoDIBAssignedMessage[] = "No bitmap is assigned to the image format.";

// Percent is 0..100; fired once per row read or written.
using TDIBProgressEvent = TEvent<void(TObject* Sender, int32_t Percent)>;

class TAbstractDIBFormat : public TObject {
  ZELK_CLASS(TAbstractDIBFormat, TObject)

  // The bitmap read into or written from; not owned.
  TAbstractSuperDIB* DIB() const { return dib_; }
  void SetDIB(TAbstractSuperDIB* dib) { dib_ = dib; }

  TDIBProgressEvent OnProgress;

  virtual std::string GetDisplayName() const = 0;
  // Read the file data into DIB. Raises EDIBFormatError (or the stream's read
  // error) for data this format cannot take.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  virtual bool CanLoad() const { return true; }
  virtual bool CanSave() const { return true; }
  // Extensions come with their leading dot (".rsb").
  virtual bool CanLoadExtension(std::string_view extension) const { return false; }
  virtual bool CanSaveExtension(std::string_view extension) const { return false; }
  // Append file-dialog filter lines ("Name (*.ext)|*.ext") to list.
  virtual void AddLoadFilters(std::vector<std::string>& list) const {}
  virtual void AddSaveFilters(std::vector<std::string>& list) const {}
  // Informational texts; empty unless a format fills them.
  virtual std::string GetDescription() const { return {}; }
  virtual std::string GetAuthor() const { return {}; }
  virtual std::string GetEMail() const { return {}; }
  virtual std::string GetURL() const { return {}; }

 protected:
  // DIB, or EDIBFormatError when none is assigned.
  TAbstractSuperDIB& RequireDIB() const;
  // Fires OnProgress after row `row` (counted from 0) of rowCount rows: row *
  // 100 / (rowCount - 1), and 100 for a single row.
  void NotifyRowDone(int32_t row, int32_t rowCount);

 private:
  TAbstractSuperDIB* dib_ = nullptr;
};

}  // namespace zelk
