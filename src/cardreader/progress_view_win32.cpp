#include "cardreader/progress_view_win32.h"

#include <vector>

#include "platform/form_win32.h"

namespace orbin {
namespace {

enum : int { kCommand1 = 101, kLabel1 = 102 };
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Milliseconds = 500;

// Design values, twips.
const FormDesign kLookdcDesign{
    .class_name = L"orbin.lookdc",
    .caption = L"",
    // No caption and no control box: no title bar; the fixed dialog border.
    .style = WS_POPUP | WS_DLGFRAME,
    .ex_style = 0,
    .client_width_twips = 3840,
    .client_height_twips = 450,
};

const std::vector<ControlDesign>& LookdcControls() {
  static const std::vector<ControlDesign> controls{
      {.id = kLabel1,
       .kind = ControlKind::kLabel,
       .text = L"與健保局連線認證中",
       .rect = {0, 75, 3615, 495},
       .font = {L"MS Sans Serif", 13.5, true},
       .text_colour = kPureBlue},
      {.id = kCommand1,
       .kind = ControlKind::kButton,
       .text = L"X",
       .rect = {3600, -10, 255, 255},
       .font = {L"MS Sans Serif", 8.25, true}},
  };
  return controls;
}

}  // namespace

class LookdcForm : public Form {
 public:
  explicit LookdcForm(ProgressWindow* window) : window_(window) {
    Create(kLookdcDesign, LookdcControls());
    // The button lies over the label's right end.
    SetWindowPos(Control(kCommand1), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetTimer(hwnd(), kTimer1, kTimer1Milliseconds, nullptr);
  }
  ~LookdcForm() override { KillTimer(hwnd(), kTimer1); }

  std::uint32_t label_colour = kPureBlue;

 protected:
  // A close request ends the run as "X" does: the reader is closed first.
  void OnCloseRequest() override {
    if (window_) window_->Command1_Click();
  }
  void OnCommand(int id, int code, HWND) override {
    if (!window_) return;
    if (id == kCommand1 && code == BN_CLICKED) window_->Command1_Click();
    if (id == kLabel1 && code == STN_DBLCLK) window_->Label1_DblClick();
  }
  void OnTimer(UINT_PTR id) override {
    if (id == kTimer1 && window_) window_->Timer1_Timer();
  }

 private:
  ProgressWindow* window_;
};

Win32ProgressView::Win32ProgressView() = default;
Win32ProgressView::~Win32ProgressView() = default;

void Win32ProgressView::Load() { form_ = std::make_unique<LookdcForm>(window_); }

void Win32ProgressView::Unload() { form_.reset(); }

TwipsSize Win32ProgressView::ScreenSize() {
  return {TwipsX(GetSystemMetrics(SM_CXSCREEN)), TwipsY(GetSystemMetrics(SM_CYSCREEN))};
}

TwipsSize Win32ProgressView::WindowSize() {
  const TwipsRect outer = form_->OuterRectTwips();
  return {outer.width, outer.height};
}

void Win32ProgressView::Move(double left_twips, double top_twips) {
  form_->MoveTwips(left_twips, top_twips);
}

void Win32ProgressView::SetLabelCaption(const std::string& text) {
  form_->SetControlText(kLabel1, text);
}

std::uint32_t Win32ProgressView::LabelColour() { return form_->label_colour; }

void Win32ProgressView::SetLabelColour(std::uint32_t colour) {
  form_->label_colour = colour;
  form_->SetControlTextColour(kLabel1, colour);  // &H00BBGGRR is a COLORREF
}

void Win32ProgressView::RepaintLabel() { UpdateWindow(form_->Control(kLabel1)); }

// The banner does not take the keyboard from the program the user works in.
void Win32ProgressView::Show() { ShowWindow(form_->hwnd(), SW_SHOWNA); }

void Win32ProgressView::Hide() { ShowWindow(form_->hwnd(), SW_HIDE); }

}  // namespace orbin
