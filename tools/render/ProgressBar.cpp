#include "tools/render/ProgressBar.h"

#include <cstdio>
#include <string>

#include "platform/Terminal.h"

namespace zelk::render {

namespace {

constexpr int kBarWidth = 40;

}  // namespace

TProgressBar::TProgressBar(int64_t total, bool enabled)
    : m_Total(total), m_Visible(enabled && total > 0 && platform::ErrorOutputIsTerminal()) {}

void TProgressBar::Update(int64_t done) {
  if (!m_Visible) {
    return;
  }
  const int percent = static_cast<int>(done >= m_Total ? 100 : done * 100 / m_Total);
  if (percent == m_ShownPercent) {
    return;
  }
  m_ShownPercent = percent;
  const int filled = percent * kBarWidth / 100;
  const std::string bar = std::string(static_cast<size_t>(filled), '#') + std::string(kBarWidth - filled, '.');
  std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), percent);
  std::fflush(stderr);
}

void TProgressBar::Finish() {
  if (m_Visible) {
    std::fprintf(stderr, "\r%*s\r", kBarWidth + 8, "");
    std::fflush(stderr);
    m_Visible = false;
  }
}

}  // namespace zelk::render
