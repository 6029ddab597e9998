#pragma once
// The progress banner `lookdc` as a platform window: `Label1` (the message,
// blinking red/blue), the "X" button `Command1` and the 500 ms `Timer1`. The
// window calls back into ProgressWindow for its events.
#include <cstdint>
#include <string>

namespace orbin {

inline constexpr std::uint32_t kPureRed = 0x000000FF;  // &H00BBGGRR
inline constexpr std::uint32_t kPureBlue = 0x00FF0000;
inline constexpr char kProgressInitialCaption[] = "與健保局連線認證中";

struct TwipsSize {
  double width = 0;
  double height = 0;
};

class ProgressView {
 public:
  virtual ~ProgressView() = default;
  // Creates the window hidden, with its design values: client area 3840 x
  // 450 twips, `Label1` showing kProgressInitialCaption in kPureBlue, the
  // timer running.
  virtual void Load() = 0;
  virtual void Unload() = 0;

  virtual TwipsSize ScreenSize() = 0;
  // The whole window, border included.
  virtual TwipsSize WindowSize() = 0;
  // Keeps the size; the top may be negative.
  virtual void Move(double left_twips, double top_twips) = 0;

  virtual void SetLabelCaption(const std::string& text) = 0;
  virtual std::uint32_t LabelColour() = 0;
  virtual void SetLabelColour(std::uint32_t colour) = 0;
  virtual void RepaintLabel() = 0;

  virtual void Show() = 0;  // modeless
  virtual void Hide() = 0;
};

}  // namespace orbin
