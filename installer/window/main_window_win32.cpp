#include "main_window_win32.h"

#include <richedit.h>
#include <windowsx.h>

#include <stdexcept>

#include "errors.h"
#include "funktionen.h"
#include "message_box.h"
#include "platform.h"
#include "unique_handle.h"

namespace {

// Moves window, keeping its size, to the middle of the work area of the monitor that flag picks.
void CenterOnWorkArea(HWND window, DWORD flag) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(window, flag), &monitor)) return;
  RECT r;
  GetWindowRect(window, &r);
  const RECT& work = monitor.rcWork;
  SetWindowPos(window, nullptr, work.left + ((work.right - work.left) - (r.right - r.left)) / 2,
               work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
std::u16string U(const wchar_t* s, std::size_t n) { return std::u16string(reinterpret_cast<const char16_t*>(s), n); }

constexpr const wchar_t* kPanelClass = L"TsPanel";
constexpr const wchar_t* kSplitterClass = L"TsSplitter";
// Space the log pane keeps when the splitter is dragged to the right (design pixels).
constexpr int kLogMinWidth = 30;

// The rich edit's library, loaded once from the system directory and kept for the process.
const wchar_t* RichEditClass() {
  static UniqueLibrary library;
  static const wchar_t* className = nullptr;
  if (!className) {
    if ((library = LoadSystemLibrary(L"msftedit.dll"))) className = MSFTEDIT_CLASS;
    else if ((library = LoadSystemLibrary(L"riched20.dll"))) className = RICHEDIT_CLASSW;
    else throw KorvelError(u"EOSError", u"Das Steuerelement für das Protokoll kann nicht geladen werden.");
  }
  return className;
}

HFONT MakeFont(HWND window, int points, BYTE charset) {
  HDC dc = GetDC(window);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(window, dc);
  return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
}

TfrmGUI* FormOf(HWND window) {
  while (window) {
    wchar_t name[32];
    if (GetClassNameW(window, name, 32) && lstrcmpW(name, TfrmGUI::kClassName) == 0) {
      return reinterpret_cast<TfrmGUI*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    window = GetParent(window);
  }
  return nullptr;
}

}  // namespace

int ScaleDesign(HWND window, int designPixels) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  int dpi = 0;
  if (getDpiForWindow && window) dpi = static_cast<int>(getDpiForWindow(window));
  if (dpi <= 0) {
    HDC dc = GetDC(nullptr);
    dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
  }
  return MulDiv(designPixels, dpi, 96);
}

// ---- Creation and destruction ----

TfrmGUI::TfrmGUI(GuiEnvironment environment) : env_(std::move(environment)) {
  if (!env_.Terminate) env_.Terminate = [] { PostQuitMessage(0); };
  HINSTANCE instance = GetModuleHandleW(nullptr);
  static bool registered = false;
  if (!registered) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.lpfnWndProc = WindowProc;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kClassName;
    form.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    RegisterClassExW(&form);

    WNDCLASSEXW panel = form;
    panel.lpfnWndProc = PanelProc;
    panel.lpszClassName = kPanelClass;
    panel.hIcon = nullptr;
    RegisterClassExW(&panel);

    WNDCLASSEXW splitter = panel;
    splitter.lpfnWndProc = SplitterProc;
    splitter.lpszClassName = kSplitterClass;
    splitter.hCursor = LoadCursorW(nullptr, IDC_SIZEWE);
    RegisterClassExW(&splitter);
    registered = true;
  }
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  RECT bounds{0, 0, ScaleDesign(nullptr, kDesignClientWidth), ScaleDesign(nullptr, kDesignClientHeight)};
  AdjustWindowRectEx(&bounds, style, FALSE, exStyle);
  window_ = CreateWindowExW(exStyle, kClassName, kDesignCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                            bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr, nullptr, instance, this);
  if (!window_) throw KorvelError(u"EOSError", u"Das Hauptfenster kann nicht erzeugt werden.");
}

TfrmGUI::~TfrmGUI() {
  Lists.UnsubscribeControls(controlsToken_);
  mainMirror_.reset();
  detailMirror_.reset();
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (font_) DeleteObject(font_);
  if (logFont_) DeleteObject(logFont_);
}

LRESULT CALLBACK TfrmGUI::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<TfrmGUI*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TfrmGUI*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return form->Dispatch(message, wParam, lParam);
  } catch (const std::exception& error) {
    // Nothing may unwind through the system's message dispatch.
    ReportException(error);
    return 0;
  }
}

LRESULT TfrmGUI::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SIZE: OnSize(); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_CLOSE: OnClose(); return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
  }
}

// The panel passes its children's notifications on to the window, where the handlers are.
LRESULT CALLBACK TfrmGUI::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY || message == WM_COMMAND) {
    if (HWND parent = GetParent(window)) return SendMessageW(parent, message, wParam, lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK TfrmGUI::SplitterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (TfrmGUI* form = FormOf(window)) {
        try {
          form->OnSplitterMouse(message, GET_X_LPARAM(lParam));
        } catch (const std::exception& error) {
          ReportException(error);
        }
      }
      return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

void TfrmGUI::OnCreate() {
  font_ = MakeFont(window_, 9, DEFAULT_CHARSET);
  logFont_ = MakeFont(window_, 8, ANSI_CHARSET);
  panelWidth_ = ScaleDesign(window_, kPanelMinWidth);
  CreateControls();

  // Centred on the screen's work area, as designed.
  CenterOnWorkArea(window_, MONITOR_DEFAULTTOPRIMARY);
  Layout();
  creating_ = true;
  try {
    if (env_.FormCreate) env_.FormCreate(*this);
  } catch (const std::exception& error) {
    // A start-up that failed half-way must not leave an invisible program behind.
    ReportException(error);
    terminationRequested_ = true;
  }
  creating_ = false;
  if (terminationRequested_) env_.Terminate();
}

void TfrmGUI::CreateControls() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  auto make = [&](DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, HWND parent, int id) {
    HWND control = CreateWindowExW(exStyle, cls, text, style | WS_CHILD, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!control) throw KorvelError(u"EOSError", u"Ein Steuerelement des Hauptfensters kann nicht erzeugt werden.");
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
  };

  LeftPanel = make(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_VISIBLE | WS_CLIPCHILDREN, window_, 0);
  sPageControl1 = make(0, WC_TABCONTROLW, L"", WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, LeftPanel, kIdPageControl);
  const wchar_t* pages[] = {L"Installation", L"Detailliert"};
  for (int i = 0; i < 2; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(pages[i]);
    TabCtrl_InsertItem(sPageControl1, i, &item);
  }
  const DWORD listStyle = WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
  InstallList = make(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", listStyle, LeftPanel, kIdInstallList);
  InstallListDetail = make(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", listStyle & ~WS_VISIBLE, LeftPanel, kIdInstallListDetail);
  chk_all = make(0, WC_BUTTONW, L"Alles", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, LeftPanel, kIdChkAll);
  Button_SetCheck(chk_all, BST_CHECKED);
  btnInstall = make(0, WC_BUTTONW, L"Installieren", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, LeftPanel,
                    kIdBtnInstall);
  btnPause = make(0, WC_BUTTONW, L"Pause", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, LeftPanel, kIdBtnPause);
  Ghost = make(0, WC_STATICW, L"Ghost", SS_LEFT, LeftPanel, kIdGhost);
  sSplitter1 = make(0, kSplitterClass, L"", WS_VISIBLE, window_, 0);
  Log = make(WS_EX_CLIENTEDGE, RichEditClass(), L"",
             WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_NOHIDESEL, window_,
             kIdLog);
  SendMessageW(Log, WM_SETFONT, reinterpret_cast<WPARAM>(logFont_), FALSE);
  // The tab control lies under the views it frames; chk_all sits on top of its tab row.
  SetWindowPos(sPageControl1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(chk_all, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  mainMirror_ = std::make_unique<ListViewMirror>(InstallList, Lists.InstallList, kMainViewColumns, ScaleDesign);
  detailMirror_ = std::make_unique<ListViewMirror>(InstallListDetail, Lists.InstallListDetail, kDetailViewColumns,
                                                   ScaleDesign);
  controlsToken_ = Lists.SubscribeControls([this](ControlChange change) { OnControlChange(change); });
}

// ---- Layout ----

void TfrmGUI::Layout() {
  RECT client;
  GetClientRect(window_, &client);
  const int width = client.right, height = client.bottom;
  auto s = [this](int designPixels) { return ScaleDesign(window_, designPixels); };
  // Anchors: the page control keeps its distance to all four panel edges, the buttons to the
  // left and bottom edges; chk_all and Ghost stay where they were put.
  const int bottomGap = s(kDesignClientHeight) - s(380);
  const int panelWidth = panelWidth_;
  MoveWindow(LeftPanel, 0, 0, panelWidth, height, TRUE);
  MoveWindow(sPageControl1, 0, 0, panelWidth - (s(kPanelMinWidth) - s(368)), height - (s(kDesignClientHeight) - s(365)),
             TRUE);
  RECT page;
  GetClientRect(sPageControl1, &page);
  TabCtrl_AdjustRect(sPageControl1, FALSE, &page);
  for (HWND view : {InstallList, InstallListDetail}) {
    MoveWindow(view, page.left, page.top, page.right - page.left, page.bottom - page.top, TRUE);
  }
  MoveWindow(chk_all, s(246), s(2), s(45), s(20), TRUE);
  MoveWindow(btnInstall, s(30), height - bottomGap, s(131), s(28), TRUE);
  MoveWindow(btnPause, s(198), height - bottomGap, s(131), s(28), TRUE);
  MoveWindow(Ghost, s(151), s(6), s(40), s(15), TRUE);
  MoveWindow(sSplitter1, panelWidth, 0, s(kSplitterWidth), height, TRUE);
  const int logLeft = panelWidth + s(kSplitterWidth);
  MoveWindow(Log, logLeft, 0, width > logLeft ? width - logLeft : 0, height, TRUE);
}

void TfrmGUI::OnSize() {
  if (LeftPanel) Layout();
}

void TfrmGUI::SetPanelWidth(int width) {
  RECT client;
  GetClientRect(window_, &client);
  const int maxWidth = client.right - ScaleDesign(window_, kSplitterWidth + kLogMinWidth);
  const int minWidth = ScaleDesign(window_, kPanelMinWidth);
  if (width > maxWidth) width = maxWidth;
  if (width < minWidth) width = minWidth;
  if (width == panelWidth_) return;
  panelWidth_ = width;
  Layout();
}

void TfrmGUI::OnSplitterMouse(UINT message, int x) {
  switch (message) {
    case WM_LBUTTONDOWN:
      splitterGrab_ = x;
      SetCapture(sSplitter1);
      break;
    case WM_MOUSEMOVE:
      if (splitterGrab_ >= 0) SetPanelWidth(panelWidth_ + x - splitterGrab_);
      break;
    case WM_LBUTTONUP:
      if (splitterGrab_ >= 0) ReleaseCapture();
      splitterGrab_ = -1;
      break;
    case WM_CAPTURECHANGED: splitterGrab_ = -1; break;
  }
}

void TfrmGUI::OnGetMinMaxInfo(MINMAXINFO& info) {
  RECT frame{0, 0, ScaleDesign(window_, kPanelMinWidth + kSplitterWidth + kLogMinWidth), ScaleDesign(window_, 200)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
  info.ptMinTrackSize.x = frame.right - frame.left;
  info.ptMinTrackSize.y = frame.bottom - frame.top;
}

void TfrmGUI::ShowPage(int page) {
  ShowWindow(InstallList, page == 0 ? SW_SHOW : SW_HIDE);
  ShowWindow(InstallListDetail, page == 1 ? SW_SHOW : SW_HIDE);
}

// ---- Notifications ----

LRESULT TfrmGUI::OnNotify(const NMHDR& header) {
  ListViewMirror* mirror = header.hwndFrom == InstallList         ? mainMirror_.get()
                           : header.hwndFrom == InstallListDetail ? detailMirror_.get()
                                                                  : nullptr;
  if (mirror) {
    if (header.code == LVN_ITEMCHANGED) mirror->OnItemChanged(*reinterpret_cast<const NMLISTVIEW*>(&header));
    else if (header.code == NM_CLICK) InstallListClick(header.hwndFrom);
    return 0;
  }
  if (header.hwndFrom == sPageControl1 && header.code == TCN_SELCHANGE) {
    ShowPage(TabCtrl_GetCurSel(sPageControl1));
    return 0;
  }
  if (header.code == HDN_ITEMCHANGINGW) {
    for (ListViewMirror* view : {mainMirror_.get(), detailMirror_.get()}) {
      if (view && ListView_GetHeader(view->Handle()) == header.hwndFrom) {
        return view->OnColumnResizing(*reinterpret_cast<NMHEADERW*>(const_cast<NMHDR*>(&header))) ? TRUE : FALSE;
      }
    }
  }
  return 0;
}

void TfrmGUI::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kIdChkAll: chk_allClick(); break;
    case kIdBtnInstall: btnInstallClick(); break;
    case kIdBtnPause: btnPauseClick(); break;
  }
}

void TfrmGUI::OnClose() {
  // The window stays until the program ends: an installation run may still be using it.
  ShowWindow(window_, SW_HIDE);
  RequestTermination();
}

void TfrmGUI::OnControlChange(ControlChange change) {
  switch (change) {
    case ControlChange::InstallEnabled: EnableWindow(btnInstall, Lists.InstallEnabled()); break;
    case ControlChange::PauseEnabled: EnableWindow(btnPause, Lists.PauseEnabled()); break;
    case ControlChange::StopCountdown: StopCountdown(); break;
    case ControlChange::CaptionsChanged:
      SetWindowTextW(chk_all, W(Lists.ChkAllCaption()));
      SetWindowTextW(btnInstall, W(Lists.InstallCaption()));
      SetWindowTextW(btnPause, W(Lists.PauseCaption()));
      break;
  }
}

// ---- Handlers ----

void TfrmGUI::chk_allClick() { Lists.chk_allClick(Button_GetCheck(chk_all) == BST_CHECKED); }

void TfrmGUI::InstallListClick(HWND view) {
  const ListViewMirror* mirror = view == InstallList ? mainMirror_.get() : detailMirror_.get();
  if (auto text = SelectionLists::InstallListClick(mirror->Model(), mirror->SelectedRow())) {
    SetWindowTextW(Log, W(*text));
  }
}

void TfrmGUI::btnInstallClick() {
  if (!env_.System) return;
  RunTexts texts;
  texts.Finished = Message(u"msg_fin", texts.Finished);
  texts.FailedPrefix = Message(u"msg_err_failed", texts.FailedPrefix);
  RunInstallation(*this, *this, *env_.System, texts);
}

void TfrmGUI::btnPauseClick() {
  if (env_.Countdown) ::btnPauseClick(*env_.Countdown);
}

void TfrmGUI::TimerFinish() {
  if (env_.Countdown && env_.CountdownSeconds) {
    ::TimerFinish(*env_.Countdown, *env_.CountdownSeconds, Message(u"msg_pause", u"Pause"), *this);
  }
}

std::u16string TfrmGUI::Message(const std::u16string& key, const std::u16string& fallback) const {
  return env_.MessageText ? env_.MessageText(key) : fallback;
}

// ---- Start-up ----

void TfrmGUI::DisableItemTooltips() {
  constexpr UINT kSetTooltips = 0x104A;  // LVM_SETTOOLTIPS
  SendMessageW(InstallList, kSetTooltips, 0, 0);
  SendMessageW(InstallListDetail, kSetTooltips, 0, 0);
}

void TfrmGUI::SetClientSize(int width, int height) {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  RECT client;
  GetClientRect(window_, &client);
  auto apply = [&](int w, int h) {
    RECT frame{0, 0, w, h};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  apply(client.right, ScaleDesign(window_, height));
  GetClientRect(window_, &client);
  apply(ScaleDesign(window_, width), client.bottom);
}

void TfrmGUI::FillWorkArea() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& work = monitor.rcWork;
  SetWindowPos(window_, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmGUI::SetCaption(const std::u16string& caption) { SetWindowTextW(window_, W(caption)); }

void TfrmGUI::ShowForm() {
  CenterOnWorkArea(window_, MONITOR_DEFAULTTONEAREST);
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
}

void TfrmGUI::RequestTermination() {
  terminationRequested_ = true;
  if (!creating_) env_.Terminate();
}

// ---- CountdownWindow ----

void TfrmGUI::SetPauseCaption(const std::u16string& caption) { SetWindowTextW(btnPause, W(caption)); }

// ---- RunWindow ----

int TfrmGUI::RowCount() { return Lists.InstallListDetail.Count(); }

RunRow TfrmGUI::Row(int index) {
  const ListRow& row = Lists.InstallListDetail.Row(index);
  return RunRow{row.Checked, row.Group, row.Name(), row.Path(), row.Param(), row.Debug()};
}

std::u16string TfrmGUI::GroupHeader(int group) {
  if (group < 0 || group >= Lists.InstallListDetail.GroupCount()) {
    throw KorvelError(u"EListError",
                      u"Listenindex überschreitet das Maximum (" + FromUtf8(std::to_string(group)) + u")");
  }
  return Lists.InstallListDetail.GroupHeader(group);
}

void TfrmGUI::DisableControls() { SetControlsEnabled(LeftPanel, false); }

void TfrmGUI::StopCountdown() {
  if (env_.Countdown) env_.Countdown->SetEnabled(false);
}

void TfrmGUI::BringToFront() {
  SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window_);
}

void TfrmGUI::ShowCommandLine(const std::u16string& text) {
  Platform::Current().ShowMessage(reinterpret_cast<WindowRef>(window_), text, u"Korvel", MB_OK);
}

void TfrmGUI::ShowError(const std::u16string& caption, const std::u16string& text) {
  ShowMessageBox(caption, text, kMessageError, {MessageButton::OK}, reinterpret_cast<WindowRef>(window_));
}

int TfrmGUI::MeasureText(const std::u16string& text) {
  HDC dc = GetDC(Ghost);
  if (!dc) return 0;
  HGDIOBJ old = SelectObject(dc, font_);
  SIZE size{};
  GetTextExtentPoint32W(dc, W(text), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(Ghost, dc);
  return size.cx;
}

// ---- LogPane ----

void TfrmGUI::Clear() { SetWindowTextW(Log, L""); }

void TfrmGUI::AppendLog(const std::u16string& text, bool header) {
  const int end = GetWindowTextLengthW(Log);
  SendMessageW(Log, EM_SETSEL, end, end);
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_BOLD | CFM_UNDERLINE | CFM_COLOR;
  format.dwEffects = header ? (CFE_BOLD | CFE_UNDERLINE) : 0;
  format.crTextColor = header ? RGB(0, 0, 255) : RGB(0, 0, 0);
  SendMessageW(Log, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  SendMessageW(Log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(W(text)));
}

void TfrmGUI::AddLogText(const std::u16string& text) { AppendLog(text, false); }
void TfrmGUI::AddLogHeader(const std::u16string& text) { AppendLog(text, true); }

std::u16string TfrmGUI::PlainText() {
  GETTEXTLENGTHEX lengthQuery{GTL_USECRLF | GTL_NUMCHARS, 1200};
  const LRESULT length = SendMessageW(Log, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  GETTEXTEX query{};
  query.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  query.flags = GT_USECRLF;
  query.codepage = 1200;
  const LRESULT copied = SendMessageW(Log, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                      reinterpret_cast<LPARAM>(buffer.data()));
  return U(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}
