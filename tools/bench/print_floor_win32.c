/* The floor of a printing run: a minimal program that prints on the default
   printer what the benchmarked orbin.exe run prints, with the same GDI calls
   and nothing else (no window, no settings, no checks):

     print_floor.exe script    the page of print_bench.py's "print2vb":
                               portrait, medium quality, an 8-point space,
                               then at 12 points 30 lines of text, a box and
                               five rules;
     print_floor.exe text      "orbin.txt" of the working directory line by
                               line, landscape, 12 points, a new page when
                               the next line would not fit;
     print_floor.exe pictures  c:\PICTUR03.bmp, then c:\PICTUR01.bmp, each on
                               its own page at its own size (its pixels at
                               the screen's pixels per inch), low quality.

   Exit code 0 when the document was handed to the spooler. */
#include <windows.h>
#include <winspool.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

static const int kTwipsPerInch = 1440;

static int Fail(const char* what) {
  fprintf(stderr, "print_floor: %s failed (error %lu)\n", what, GetLastError());
  return 1;
}

/* The default printer with the orientation and quality asked for (0: as
   the printer has it), its document started. */
static HDC StartDefaultPrinter(short orientation, short quality) {
  wchar_t name[512];
  DWORD length = 512;
  HANDLE printer;
  LONG size;
  DEVMODEW* mode;
  HDC dc;
  DOCINFOW doc = {sizeof doc, L"floor", NULL, NULL, 0};
  if (!GetDefaultPrinterW(name, &length) || !OpenPrinterW(name, &printer, NULL)) return NULL;
  size = DocumentPropertiesW(NULL, printer, name, NULL, NULL, 0);
  mode = (DEVMODEW*)malloc((size_t)size);
  DocumentPropertiesW(NULL, printer, name, mode, NULL, DM_OUT_BUFFER);
  ClosePrinter(printer);
  if (orientation) {
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = orientation;
  }
  if (quality) {
    mode->dmFields |= DM_PRINTQUALITY;
    mode->dmPrintQuality = quality;
  }
  dc = CreateDCW(L"WINSPOOL", name, NULL, mode);
  free(mode);
  if (!dc || StartDocW(dc, &doc) <= 0) return NULL;
  return dc;
}

static HFONT SelectPointFont(HDC dc, int points) {
  LOGFONTW font;
  memset(&font, 0, sizeof font);
  font.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = CHINESEBIG5_CHARSET;
  GetTextFaceW(dc, LF_FACESIZE, font.lfFaceName);
  return (HFONT)SelectObject(dc, CreateFontIndirectW(&font));
}

static int X(HDC dc, int twips) { return MulDiv(twips, GetDeviceCaps(dc, LOGPIXELSX), kTwipsPerInch); }
static int Y(HDC dc, int twips) { return MulDiv(twips, GetDeviceCaps(dc, LOGPIXELSY), kTwipsPerInch); }

static void Rule(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, X(dc, x1), Y(dc, y1), NULL);
  LineTo(dc, X(dc, x2), Y(dc, y2));
}

static int PrintScriptPage(void) {
  wchar_t text[64];
  int i;
  HDC dc = StartDefaultPrinter(DMORIENT_PORTRAIT, DMRES_MEDIUM);
  if (!dc) return Fail("starting the document");
  StartPage(dc);
  SetBkMode(dc, TRANSPARENT);
  SelectPointFont(dc, 8);
  TextOutW(dc, 0, 0, L" ", 1);
  SelectPointFont(dc, 12);
  for (i = 0; i < 30; ++i) {
    int n = swprintf(text, 64, L"Line %d \x75c5\x6b77 receipt text", i);
    TextOutW(dc, X(dc, 1440), Y(dc, 720 + 300 * i), text, n);
  }
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, X(dc, 1000), Y(dc, 1000), X(dc, 6000) + 1, Y(dc, 3000) + 1);
  for (i = 0; i < 5; ++i) Rule(dc, 1000, 11000 + 200 * i, 6000, 11000 + 200 * i);
  if (EndPage(dc) <= 0 || EndDoc(dc) <= 0) return Fail("ending the document");
  DeleteDC(dc);
  return 0;
}

static char* ReadWholeFile(const wchar_t* path, DWORD* size) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  char* bytes;
  if (file == INVALID_HANDLE_VALUE) return NULL;
  *size = GetFileSize(file, NULL);
  bytes = (char*)malloc(*size + 1);
  ReadFile(file, bytes, *size, size, NULL);
  CloseHandle(file);
  return bytes;
}

static int PrintTextFile(void) {
  DWORD size, start = 0, i;
  char* bytes = ReadWholeFile(L"orbin.txt", &size);
  wchar_t line[4096];
  TEXTMETRICW metrics;
  int y = 0, line_height, page_height;
  HDC dc;
  if (!bytes) return Fail("reading orbin.txt");
  dc = StartDefaultPrinter(DMORIENT_LANDSCAPE, 0);
  if (!dc) return Fail("starting the document");
  StartPage(dc);
  SetBkMode(dc, TRANSPARENT);
  SelectPointFont(dc, 12);
  GetTextMetricsW(dc, &metrics);
  line_height = metrics.tmHeight + metrics.tmExternalLeading;
  page_height = GetDeviceCaps(dc, VERTRES);
  for (i = 0; i <= size; ++i) {
    int n;
    if (i < size && bytes[i] != '\r' && bytes[i] != '\n') continue;
    if (i == size && start == size) break;
    n = MultiByteToWideChar(CP_ACP, 0, bytes + start, (int)(i - start), line, 4096);
    if (y > 0 && y + line_height > page_height) {
      EndPage(dc);
      StartPage(dc);
      SetBkMode(dc, TRANSPARENT);
      SelectPointFont(dc, 12);
      y = 0;
    }
    if (n > 0) TextOutW(dc, 0, y, line, n);
    y += line_height;
    if (i + 1 < size && bytes[i] == '\r' && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (EndPage(dc) <= 0 || EndDoc(dc) <= 0) return Fail("ending the document");
  DeleteDC(dc);
  return 0;
}

static int PrintPicture(HDC dc, const wchar_t* path, int screen_x, int screen_y) {
  DWORD size;
  char* bytes = ReadWholeFile(path, &size);
  const BITMAPFILEHEADER* file;
  const BITMAPINFO* info;
  int width, height;
  if (!bytes) return 0;
  file = (const BITMAPFILEHEADER*)bytes;
  info = (const BITMAPINFO*)(bytes + sizeof(BITMAPFILEHEADER));
  width = info->bmiHeader.biWidth;
  height = abs(info->bmiHeader.biHeight);
  StartPage(dc);
  StretchDIBits(dc, 0, 0, MulDiv(width, GetDeviceCaps(dc, LOGPIXELSX), screen_x),
                MulDiv(height, GetDeviceCaps(dc, LOGPIXELSY), screen_y), 0, 0, width, height,
                bytes + file->bfOffBits, info, DIB_RGB_COLORS, SRCCOPY);
  EndPage(dc);
  free(bytes);
  return 1;
}

static int PrintPictures(void) {
  HDC screen = GetDC(NULL);
  int screen_x = GetDeviceCaps(screen, LOGPIXELSX), screen_y = GetDeviceCaps(screen, LOGPIXELSY);
  HDC dc;
  ReleaseDC(NULL, screen);
  dc = StartDefaultPrinter(0, DMRES_LOW);
  if (!dc) return Fail("starting the document");
  if (!PrintPicture(dc, L"c:\\PICTUR03.bmp", screen_x, screen_y) ||
      !PrintPicture(dc, L"c:\\PICTUR01.bmp", screen_x, screen_y))
    return Fail("reading a picture");
  if (EndDoc(dc) <= 0) return Fail("ending the document");
  DeleteDC(dc);
  return 0;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR arguments, int show) {
  if (wcscmp(arguments, L"script") == 0) return PrintScriptPage();
  if (wcscmp(arguments, L"text") == 0) return PrintTextFile();
  if (wcscmp(arguments, L"pictures") == 0) return PrintPictures();
  fprintf(stderr, "usage: print_floor.exe script|text|pictures\n");
  return 2;
}
