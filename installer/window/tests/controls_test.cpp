#include <windows.h>

#include <gtest/gtest.h>

#include "funktionen.h"

namespace {

const wchar_t kPanelClass[] = L"KorvelTestPanel";

// A panel holding a button, a label, a check box and a nested panel with another button and
// an edit field: the shape of the main window's left panel.
class ControlTree : public ::testing::Test {
protected:
  HWND root = nullptr, button = nullptr, label = nullptr, check = nullptr, inner = nullptr, innerButton = nullptr,
       edit = nullptr;

  void SetUp() override {
    static const ATOM registered = [] {
      WNDCLASSEXW windowClass{};
      windowClass.cbSize = sizeof(windowClass);
      windowClass.lpfnWndProc = DefWindowProcW;
      windowClass.hInstance = GetModuleHandleW(nullptr);
      windowClass.lpszClassName = kPanelClass;
      return RegisterClassExW(&windowClass);
    }();
    ASSERT_NE(registered, 0);
    root = CreateWindowExW(0, kPanelClass, L"panel", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(root, nullptr);
    button = Child(L"BUTTON", root, BS_PUSHBUTTON);
    label = Child(L"STATIC", root, 0);
    check = Child(L"Button", root, BS_AUTOCHECKBOX);
    inner = Child(kPanelClass, root, 0);
    innerButton = Child(L"BUTTON", inner, BS_PUSHBUTTON);
    edit = Child(L"EDIT", inner, 0);
  }
  void TearDown() override { DestroyWindow(root); }

  static HWND Child(const wchar_t* className, HWND parent, DWORD style) {
    return CreateWindowExW(0, className, L"", WS_CHILD | style, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
  }
  // Enabled state of root, button, label, check, inner, innerButton, edit, as a string of 1s and 0s.
  std::string States() {
    std::string s;
    for (HWND window : {root, button, label, check, inner, innerButton, edit}) s += IsWindowEnabled(window) ? '1' : '0';
    return s;
  }
};

TEST_F(ControlTree, WithoutAFilterEveryWindowOfTheTreeChanges) {
  SetControlsEnabled(root, false);
  EXPECT_EQ(States(), "0000000");
  SetControlsEnabled(root, true);
  EXPECT_EQ(States(), "1111111");
}

TEST_F(ControlTree, AFilterChangesOnlyItsClassAtAnyDepth) {
  const struct {
    const wchar_t* filter;
    std::string expected;
  } rows[] = {
      {L"Button", "1010101"},  // the button inside the nested panel too, whatever the letter case
      {L"edit", "1111110"},
      {kPanelClass, "0111011"},
      {L"ListBox", "1111111"},
  };
  for (const auto& row : rows) {
    SetControlsEnabled(root, true);
    SetControlsEnabled(root, false, row.filter);
    char filter[64];
    WideCharToMultiByte(CP_UTF8, 0, row.filter, -1, filter, sizeof(filter), nullptr, nullptr);
    EXPECT_EQ(States(), row.expected) << "filter " << filter;
  }
}

TEST_F(ControlTree, AFilterAlsoMatchesControlsDerivedFromItsClass) {
  // A skinned button: a class of its own built on the system's button.
  static const ATOM registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExW(nullptr, L"Button", &windowClass)) return ATOM{0};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KorvelSkinButton";
    return RegisterClassExW(&windowClass);
  }();
  ASSERT_NE(registered, 0);
  const HWND skinned = Child(L"KorvelSkinButton", inner, BS_PUSHBUTTON);
  ASSERT_NE(skinned, nullptr);
  SetControlsEnabled(root, false, L"Button");
  EXPECT_FALSE(IsWindowEnabled(skinned));
  EXPECT_TRUE(IsWindowEnabled(inner));
}

TEST_F(ControlTree, ASubtreeLeavesTheRestAlone) {
  SetControlsEnabled(inner, false);
  EXPECT_EQ(States(), "1111000");
  SetControlsEnabled(nullptr, false);
  EXPECT_EQ(States(), "1111000");
}

}  // namespace
