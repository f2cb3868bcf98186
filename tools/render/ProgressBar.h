// A one-line progress bar on stderr for long renders. It draws only when
// stderr is a terminal, so logs and pipes stay clean, and redraws only when
// the shown percentage changes.
#pragma once

#include <cstdint>

namespace zelk::render {

class TProgressBar {
 public:
  // Draws nothing unless enabled and stderr is a terminal.
  TProgressBar(int64_t total, bool enabled);
  ~TProgressBar() { Finish(); }
  TProgressBar(const TProgressBar&) = delete;
  TProgressBar& operator=(const TProgressBar&) = delete;

  void Update(int64_t done);
  // Clears the bar's line.
  void Finish();

 private:
  int64_t m_Total;
  bool m_Visible;
  int m_ShownPercent = -1;
};

}  // namespace zelk::render
