#pragma once
// `frmCustom`: the round office information window. Everything is drawn once
// at load onto a memory surface that WM_PAINT copies to the screen, so the
// texts survive every repaint; the labels lie transparently above it.
#include <windows.h>

#include <cstdint>
#include <string>

#include "officeinfo/office_info.h"
#include "officeinfo/window_layout.h"
#include "platform/form_win32.h"

namespace orbin {

class FrmCustom : public Form {
 public:
  FrmCustom() = default;
  ~FrmCustom() override;

  // Creates the window hidden and runs `Form_Load`.
  void Load();
  void Show();

  // Control ids (also the order of the design table).
  static constexpr int kLabel3 = 3;
  static constexpr int kImage1 = 4;
  static constexpr int kLabel2First = 20;  // `Label2` element Index: kLabel2First + Index
  static constexpr int kLabel1 = 1;
  static constexpr UINT_PTR kTimer1 = 1;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnCloseRequest() override { Unload(); }
  void OnCommand(int id, int code, HWND control) override;
  void OnTimer(UINT_PTR id) override;

 private:
  void Form_Load();
  void Command2_Click();
  void WrtText(const std::string& text, std::int16_t x, std::int16_t y, Colour colour);
  void RaisFrmText(const std::string& text, std::int16_t x, std::int16_t y, Colour colour);
  void DrawLayers(const InfoText& text);
  void Timer1_Timer();
  void Label1_Click();
  void Label2_Click(int index);
  void Form_MouseDown();
  void Image1_MouseDown();
  void Label3_MouseDown();
  void MakeFrmRegion();
  void Unload();

  void StartMove();
  void SetFontSize(double points);
  // A label sized to its caption, as an auto-sized label; the area it left
  // is repainted from the surface.
  void AutoSizeLabel(int id);
  void PaintSurface(HDC dc, const RECT& area);
  void DrawImage1(const DRAWITEMSTRUCT& item);

  static LRESULT CALLBACK MouseDownProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam);

  std::int32_t CloseCount = 0;
  OfficeWindowLayout layout_;
  HDC surface_ = nullptr;  // the drawn texts, kept across repaints
  HBITMAP surface_bitmap_ = nullptr;
  HGDIOBJ surface_old_bitmap_ = nullptr;
  HFONT surface_font_ = nullptr;
  HICON icon_ = nullptr;
};

bool RunOfficeInfo();

}  // namespace orbin
