#include "load_screen_win32.h"

#include <commctrl.h>

#include "errors.h"

namespace {

constexpr int kClientWidth = 392, kClientHeight = 46;

}  // namespace

TfrmLoad::TfrmLoad(TfrmGUI& form, LoadScreenServices services) : form_(form), services_(std::move(services)) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kClassName;
    RegisterClassExW(&cls);
    registered = true;
  }
  const DWORD style = WS_OVERLAPPED | WS_CAPTION;
  const DWORD exStyle = WS_EX_TOOLWINDOW;
  const int width = ScaleDesign(nullptr, kClientWidth), height = ScaleDesign(nullptr, kClientHeight);
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  window_ = CreateWindowExW(exStyle, kClassName, TfrmGUI::kDesignCaption, style,
                            (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h,
                            nullptr, nullptr, instance, nullptr);
  if (!window_) throw KorvelError(u"EOSError", u"Der Ladebildschirm kann nicht erzeugt werden.");
  HDC dc = GetDC(window_);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(window_, dc);
  font_ = CreateFontW(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  sGauge1 = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, ScaleDesign(window_, 8),
                            ScaleDesign(window_, 8), ScaleDesign(window_, 376), ScaleDesign(window_, 30), window_,
                            nullptr, instance, nullptr);
  SendMessageW(sGauge1, PBM_SETRANGE32, 0, 100);
}

TfrmLoad::~TfrmLoad() {
  if (window_) DestroyWindow(window_);
  if (font_) DeleteObject(font_);
}

void TfrmLoad::StartUp() {
  std::int16_t fallbackSeconds = 30;
  ::StartUp(form_.Lists, *this, services_.Options,
            services_.CountdownSeconds ? *services_.CountdownSeconds : fallbackSeconds);
}

std::vector<std::u16string> TfrmLoad::FindPackageFiles(const std::u16string& startDirectory) {
  return services_.FindPackageFiles ? services_.FindPackageFiles(startDirectory) : std::vector<std::u16string>{};
}

void TfrmLoad::SetProgressMaximum(int maximum) { SendMessageW(sGauge1, PBM_SETRANGE32, 0, maximum); }

void TfrmLoad::SetProgress(int position) { SendMessageW(sGauge1, PBM_SETPOS, static_cast<WPARAM>(position), 0); }

void TfrmLoad::LoadPackage(const std::u16string& path) {
  if (services_.LoadPackage) services_.LoadPackage(path, form_.Lists);
}

void TfrmLoad::LoadTranslations() {
  if (services_.LoadTranslations) services_.LoadTranslations(form_.Lists);
}

void TfrmLoad::StartCountdown() {
  if (!services_.Countdown) return;
  TfrmGUI* form = &form_;
  services_.Countdown->SetOnTimer([form](TPauseTimer&) { form->TimerFinish(); });
  services_.Countdown->SetEnabled(true);
}

bool TfrmLoad::CountdownEnabled() { return services_.Countdown && services_.Countdown->Enabled(); }

void TfrmLoad::SetCountdownEnabled(bool enabled) {
  if (services_.Countdown) services_.Countdown->SetEnabled(enabled);
}

std::u16string TfrmLoad::MessageText(const std::u16string& key) {
  return services_.MessageText ? services_.MessageText(key) : std::u16string();
}

void RunLoadScreen(TfrmGUI& form, const LoadScreenServices& services) {
  TfrmLoad load(form, services);
  load.StartUp();
}
