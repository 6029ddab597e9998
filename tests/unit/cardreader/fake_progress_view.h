#pragma once
// The banner window's state, with captions and unloading logged.
#include <string>
#include <vector>

#include "cardreader/progress_view.h"

namespace orbin::testing {

class FakeProgressView : public ProgressView {
 public:
  explicit FakeProgressView(std::vector<std::string>& log) : log_(log) {}

  TwipsSize screen{15360, 11520};  // 1024 x 768 pixels
  TwipsSize window{3930, 540};
  int loads = 0;
  bool loaded = false, visible = false;
  double left = 0, top = 0;
  std::string caption;
  std::uint32_t colour = 0;

  void Load() override {
    ++loads;
    loaded = true;
    caption = kProgressInitialCaption;
    colour = kPureBlue;
  }
  void Unload() override {
    log_.push_back("unload");
    loaded = visible = false;
  }
  TwipsSize ScreenSize() override { return screen; }
  TwipsSize WindowSize() override { return window; }
  void Move(double l, double t) override { left = l, top = t; }
  void SetLabelCaption(const std::string& text) override {
    log_.push_back(text);
    caption = text;
  }
  std::uint32_t LabelColour() override { return colour; }
  void SetLabelColour(std::uint32_t c) override { colour = c; }
  void RepaintLabel() override {}
  void Show() override { visible = true; }
  void Hide() override { visible = false; }

 private:
  std::vector<std::string>& log_;
};

}  // namespace orbin::testing
