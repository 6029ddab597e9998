#pragma once
// A window with named controls laid out from a table of design values in
// twips, converted with the screen's twips per pixel. Each window of the
// program is one Form subclass; its handlers run under the program's failure
// handler, so an end or a failure inside them ends the program at once.
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace orbin {

// Twips per pixel of the screen (15 at 96 dpi).
double TwipsPerPixelX();
double TwipsPerPixelY();
int PixelsX(double twips);
int PixelsY(double twips);
double TwipsX(int pixels);
double TwipsY(int pixels);

struct TwipsRect {
  double left = 0, top = 0, width = 0, height = 0;
};

struct FontDesign {
  const wchar_t* face = nullptr;  // nullptr: the system's dialog font
  double points = 0;              // 0: the face's default size
  bool bold = false;
  bool underline = false;
};

enum class ControlKind {
  kLabel,          // STATIC, left-aligned
  kCentredLabel,   // STATIC, centred
  kEdit,           // single-line EDIT
  kButton,         // push button
  kCheckBox,       // three-state check box (0, 1, 2); a click toggles 0 and 1
  kComboDropDown,  // drop-down list with an edit field
  kListBox,
  kFrame,          // group box; controls naming it as container are placed inside it
  kPicture,        // STATIC holding a bitmap or icon
};

constexpr COLORREF kDefaultColour = CLR_INVALID;

struct ControlDesign {
  int id;
  ControlKind kind;
  const wchar_t* text;
  TwipsRect rect;          // relative to the container
  int container = 0;       // id of a kFrame, or 0 for the window
  FontDesign font = {};
  COLORREF text_colour = kDefaultColour;
  COLORREF back_colour = kDefaultColour;
  bool transparent = false;  // labels drawn without a background
};

struct FormDesign {
  const wchar_t* class_name;
  const wchar_t* caption;
  DWORD style;
  DWORD ex_style;
  double client_width_twips;  // the design client area
  double client_height_twips;
  int icon_resource = 0;
};

class Form {
 public:
  Form() = default;
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window hidden, with its controls.
  void Create(const FormDesign& design, const std::vector<ControlDesign>& controls,
              HWND owner = nullptr);
  HWND hwnd() const { return hwnd_; }
  HWND Control(int id) const;

  void SetCaption(const std::string& utf8);
  std::string Caption() const;
  std::string ControlText(int id) const;
  void SetControlText(int id, const std::string& utf8);
  void SetControlTextColour(int id, COLORREF colour);
  // Outer size and position, in twips.
  void MoveTwips(double left, double top);
  void SetOuterHeightTwips(double height);
  TwipsRect OuterRectTwips() const;
  void MakeTopmost();

 protected:
  // The window's messages; the default colours labels and forwards commands.
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  virtual void OnCommand(int id, int code, HWND control) {}
  // The system asks the window to close: Alt+F4, another program's close
  // request, or the end of the user's session. Each window answers with
  // its own close path, which ends the program.
  virtual void OnCloseRequest() = 0;
  virtual void OnTimer(UINT_PTR id) {}
  // The font a control is created with: by default the system's message
  // font in the table's face, size and style. The form keeps it.
  virtual HFONT ControlFont(const ControlDesign& control);
  LRESULT DefaultHandling(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HFONT FontFor(const FontDesign& font);
  static void CheckBoxClicked(HWND box);

  HWND hwnd_ = nullptr;
  std::map<int, HWND> controls_;
  std::map<int, COLORREF> text_colours_;
  std::map<int, COLORREF> back_colours_;
  std::map<int, bool> transparent_;
  std::set<int> check_boxes_;
  std::map<int, HBRUSH> brushes_;
  std::vector<HFONT> fonts_;
};

// Replaces a control's window procedure with `proc`; the previous one is
// kept for the control and returned by PreviousWindowProc.
void SubclassControl(HWND control, WNDPROC proc);
WNDPROC PreviousWindowProc(HWND control);

}  // namespace orbin
