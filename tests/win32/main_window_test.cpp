// The window on the platform, in-process: what it creates, how it paints, and
// how its messages become events.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include "app/launcher.h"
#include "recording_host.h"
#include "ui/main_window_definition.h"

namespace {

int g_count[16];
HWND FindTestWindow() { return FindWindowA("WTWindow", "in-process test"); }
HGDIOBJ FontOf(HWND window) { return reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)); }

template <int Slot>
std::optional<std::int32_t> CountAndRefuse(HostServices&) {
  ++g_count[Slot];
  return 0;
}
template <int Slot>
std::optional<std::int32_t> CountCall(HostServices&) {
  ++g_count[Slot];
  return std::nullopt;
}

// Seen from inside the will-be-destroyed event: gone from the screen, every
// control still there.
std::optional<std::int32_t> CheckWhileDestroying(HostServices&) {
  const HWND w = FindTestWindow();
  g_count[5] = (w && !IsWindowVisible(w) && GetWindow(w, GW_CHILD)) ? 1 : -1;
  return std::nullopt;
}

std::optional<std::int32_t> DestroyOwnWindow(HostServices&) {
  ++g_count[6];
  DestroyWindow(FindTestWindow());
  return std::nullopt;
}

WindowDefinition TestWindow(std::span<const Binding> bindings) {
  WindowDefinition w = kMainWindow;
  w.title = "in-process test";
  w.bindings = bindings;
  return w;
}

class InProcessWindow : public testing::Test {
protected:
  void SetUp() override { std::fill(std::begin(g_count), std::end(g_count), 0); }

  // Creates the window hidden, as loading does, with events live.
  void Create(const WindowDefinition& definition) {
    window.emplace(definition, events.emplace(definition, host), [this] { ++gone; });
    ASSERT_TRUE(window->CreateFrame());
    ASSERT_TRUE(window->CreateControls());
    window->StackControls();
    window->ShowControls();
  }
  HWND Control(const char* name) {
    for (std::size_t i = 0; i < window->definition().controls.size(); ++i)
      if (std::string(window->definition().controls[i].name) == name) return window->ControlWindow(i);
    return nullptr;
  }

  RecordingHost host;
  std::optional<EventDispatch> events;
  std::optional<MainWindow> window;
  int gone = 0;
};

TEST_F(InProcessWindow, NotesButtonGetsItsDescribedFont) {
  Create(TestWindow({}));
  LOGFONTA lf{};
  const HGDIOBJ font = FontOf(Control("按钮7"));
  ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -12);
  EXPECT_EQ(lf.lfWidth, 0);
  EXPECT_EQ(lf.lfWeight, 400);
  EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut);
  EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(lf.lfOutPrecision, OUT_DEFAULT_PRECIS);
  EXPECT_EQ(lf.lfClipPrecision, CLIP_DEFAULT_PRECIS);
  EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
  EXPECT_EQ(lf.lfPitchAndFamily, DEFAULT_PITCH | FF_DONTCARE);
  EXPECT_STREQ(lf.lfFaceName, "宋体");
}

int IconWidth(HWND window, WPARAM which) {
  ICONINFO info{};
  const auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, which, 0));
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP mask{};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return mask.bmWidth;
}

TEST_F(InProcessWindow, WindowHasItsIconsFontAndClass) {
  Create(TestWindow({}));
  EXPECT_EQ(IconWidth(window->hwnd(), ICON_BIG), 32);
  EXPECT_EQ(IconWidth(window->hwnd(), ICON_SMALL), 16);
  EXPECT_EQ(FontOf(window->hwnd()), GetStockObject(DEFAULT_GUI_FONT));
  for (const char* name : {"按钮1", "按钮2", "按钮3", "按钮4", "按钮5", "按钮6"})
    EXPECT_EQ(FontOf(Control(name)), GetStockObject(DEFAULT_GUI_FONT)) << name;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "WTWindow", &wc));
  EXPECT_EQ(wc.style, UINT{CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS});
  EXPECT_EQ(wc.hbrBackground, GetStockObject(NULL_BRUSH));
  EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(InProcessWindow, LabelsPaintCaptionInTheirColourOnButtonFace) {
  Create(TestWindow({}));
  struct { const char* name; COLORREF text; } labels[] = {{"标签2", RGB(88, 48, 224)}, {"标签1", RGB(0, 0, 0)}};
  for (const auto& label : labels) {
    const HWND w = Control(label.name);
    RECT r;
    GetClientRect(w, &r);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    // Stands for the label's own WM_PAINT: the same painting, into our DC.
    SendMessageA(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    int text_pixels = 0, face_pixels = 0;
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        text_pixels += c == label.text;
        face_pixels += c == GetSysColor(COLOR_BTNFACE);
      }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    EXPECT_GT(text_pixels, 10) << label.name;
    EXPECT_GT(face_pixels, r.right * r.bottom / 2) << label.name;
  }
}

TEST_F(InProcessWindow, ButtonClickReachesItsBinding) {
  static constexpr Binding kClick[] = {{button_event::kClick, CountCall<1>}};
  std::vector<ControlRecord> controls(kMainWindow.controls.begin(), kMainWindow.controls.end());
  for (ControlRecord& c : controls)
    if (std::string(c.name) == "按钮4") c.bindings = kClick;
  WindowDefinition w = TestWindow({});
  w.controls = controls;
  Create(w);
  events->SetLoaded(true);
  SendMessageA(Control("按钮4"), BM_CLICK, 0, 0);
  SendMessageA(Control("按钮1"), BM_CLICK, 0, 0);
  EXPECT_EQ(g_count[1], 1);
  events->Hold();
  SendMessageA(Control("按钮4"), BM_CLICK, 0, 0);
  EXPECT_EQ(g_count[1], 1) << "held events reach no handler";
}

TEST_F(InProcessWindow, CloseRefusedOnlyByFalse) {
  static constexpr Binding kRefuse[] = {{window_event::kMayClose, CountAndRefuse<2>}};
  Create(TestWindow(kRefuse));
  SendMessageA(window->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(window->Exists());
  EXPECT_EQ(g_count[2], 1);
  EXPECT_EQ(SendMessageA(window->hwnd(), WM_QUERYENDSESSION, 0, 0), FALSE);
}

TEST_F(InProcessWindow, DestructionEventSeesControlsAndThenTheWindowIsForgotten) {
  static constexpr Binding kBindings[] = {{window_event::kWillBeDestroyed, CheckWhileDestroying}};
  Create(TestWindow(kBindings));
  ShowWindow(window->hwnd(), SW_SHOW);
  EXPECT_EQ(SendMessageA(window->hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageA(window->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(window->Exists());
  EXPECT_EQ(g_count[5], 1);
  EXPECT_EQ(gone, 1);
  EXPECT_FALSE(events->AnyWindowLoaded());
}

TEST(LauncherRun, WindowClosedByItsCreationHandlerNeverShowsAndExitsZero) {
  std::fill(std::begin(g_count), std::end(g_count), 0);
  static constexpr Binding kBindings[] = {{window_event::kCreationComplete, DestroyOwnWindow},
                                          {window_event::kMoved, CountCall<7>},
                                          {window_event::kResized, CountCall<8>}};
  const WindowDefinition w = TestWindow(kBindings);
  RecordingHost host;
  Launcher launcher(w, host);
  EXPECT_EQ(launcher.Main(), 0);
  EXPECT_EQ(g_count[6], 1);
  EXPECT_EQ(g_count[7], 0) << "no moved event after the window is gone";
  EXPECT_EQ(g_count[8], 0);
  EXPECT_EQ(FindTestWindow(), nullptr);
}

}  // namespace
