// The web panel in-process: its event sink fed the way Wine's control feeds it,
// and the panel with the platform's real browser control, a page of a loopback
// server of the test's own, and the references its COM objects leave behind.
#include "ui/web_panel.h"

#include <exdispid.h>
#include <idispids.h>
#include <mshtmdid.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "e2e/loopback_http_server.h"
#include "ui/main_window_definition.h"

namespace {

// ---- the sink, fed by hand --------------------------------------------------

class RecordingReceiver final : public BrowserEventReceiver {
public:
  struct Call {
    std::int32_t index;
    std::optional<std::wstring> target;
  };
  std::vector<Call> calls;
  EventOutcome answer;

  EventOutcome OnBrowserEvent(std::int32_t index, const wchar_t* target) override {
    calls.push_back({index, target ? std::optional<std::wstring>(target) : std::nullopt});
    return answer;
  }
};

VARIANT Empty() {
  VARIANT v;
  VariantInit(&v);
  return v;
}
VARIANT ByRef(VARIANT* inner) {
  VARIANT v = Empty();
  V_VT(&v) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&v) = inner;
  return v;
}
VARIANT Int(LONG value) {
  VARIANT v = Empty();
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}
VARIANT Text(BSTR text) {
  VARIANT v = Empty();
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = text;
  return v;
}
VARIANT CancelFlag(VARIANT_BOOL* flag) {
  VARIANT v = Empty();
  V_VT(&v) = VT_BYREF | VT_BOOL;
  V_BOOLREF(&v) = flag;
  return v;
}

// A notification's arguments as Wine's control passes them: last first, the
// by-value ones of BeforeNavigate2 behind by-reference VARIANTs.
class Notification {
public:
  explicit Notification(DISPID id, const wchar_t* url = L"http://127.0.0.1/next.htm")
      : id_(id), url_(SysAllocString(url)), empty_(SysAllocString(L"")) {
    url_value_ = Text(url_.get());
    flags_value_ = Int(0);
    frame_value_ = Text(nullptr);
    headers_value_ = Text(empty_.get());
    post_value_ = Empty();
    switch (id) {
      case DISPID_BEFORENAVIGATE2:
        args_ = {CancelFlag(&cancel), ByRef(&headers_value_), ByRef(&post_value_),
                 ByRef(&frame_value_), ByRef(&flags_value_), ByRef(&url_value_), Dispatch()};
        break;
      case DISPID_NEWWINDOW2: {
        VARIANT new_window = Empty();
        V_VT(&new_window) = VT_BYREF | VT_DISPATCH;
        V_DISPATCHREF(&new_window) = &new_window_;
        args_ = {CancelFlag(&cancel), new_window};
        break;
      }
      case DISPID_NAVIGATECOMPLETE2:
      case DISPID_DOCUMENTCOMPLETE: args_ = {ByRef(&url_value_), Dispatch()}; break;
      case DISPID_PROGRESSCHANGE: args_ = {Int(100), Int(50)}; break;
      case DISPID_STATUSTEXTCHANGE:
      case DISPID_TITLECHANGE: args_ = {Text(url_.get())}; break;
      case DISPID_COMMANDSTATECHANGE: {
        VARIANT enabled = Empty();
        V_VT(&enabled) = VT_BOOL;
        V_BOOL(&enabled) = VARIANT_TRUE;
        args_ = {enabled, Int(CSC_NAVIGATEBACK)};
        break;
      }
      default: break;  // DownloadBegin and DownloadComplete carry nothing
    }
  }
  Notification(const Notification&) = delete;

  std::vector<VARIANT>& args() { return args_; }
  HRESULT SendTo(IDispatch& sink) {
    DISPPARAMS params{args_.empty() ? nullptr : args_.data(), nullptr,
                      static_cast<UINT>(args_.size()), 0};
    VARIANT result = Empty();
    return sink.Invoke(id_, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                       nullptr, nullptr);
  }

  VARIANT_BOOL cancel = VARIANT_FALSE;

private:
  static VARIANT Dispatch() {
    VARIANT v = Empty();
    V_VT(&v) = VT_DISPATCH;
    return v;
  }

  DISPID id_;
  OwnedBstr url_, empty_;
  VARIANT url_value_, flags_value_, frame_value_, headers_value_, post_value_;
  IDispatch* new_window_ = nullptr;
  std::vector<VARIANT> args_;
};

struct MappingCase {
  const char* notification;
  DISPID id;
  std::int32_t event;
};

TEST(BrowserEventSink, RaisesThePanelEventOfEachNotification) {
  const MappingCase cases[] = {
      {"BeforeNavigate2", DISPID_BEFORENAVIGATE2, 0},
      {"NavigateComplete2", DISPID_NAVIGATECOMPLETE2, 1},
      {"DownloadBegin", DISPID_DOWNLOADBEGIN, 2},
      {"ProgressChange", DISPID_PROGRESSCHANGE, 3},
      {"DownloadComplete", DISPID_DOWNLOADCOMPLETE, 4},
      {"DocumentComplete", DISPID_DOCUMENTCOMPLETE, 5},
      {"StatusTextChange", DISPID_STATUSTEXTCHANGE, 6},
      {"TitleChange", DISPID_TITLECHANGE, 7},
      {"CommandStateChange", DISPID_COMMANDSTATECHANGE, 8},
      {"NewWindow2", DISPID_NEWWINDOW2, 9},
  };
  for (const MappingCase& c : cases) {
    SCOPED_TRACE(c.notification);
    RecordingReceiver receiver;
    const ComPtr<BrowserEvents> sink(new BrowserEvents(receiver));
    Notification n(c.id, L"http://127.0.0.1/目标.htm");
    EXPECT_EQ(n.SendTo(*sink.get()), S_OK);
    ASSERT_EQ(receiver.calls.size(), 1u);
    EXPECT_EQ(receiver.calls[0].index, c.event);
    // Only the before-navigate event names where it goes.
    if (c.id == DISPID_BEFORENAVIGATE2)
      EXPECT_EQ(receiver.calls[0].target, std::wstring(L"http://127.0.0.1/目标.htm"));
    else
      EXPECT_EQ(receiver.calls[0].target, std::nullopt);
    EXPECT_EQ(n.cancel, VARIANT_FALSE);
  }
}

struct CancelCase {
  const char* what;
  EventOutcome outcome;
  bool cancels;
};

TEST(BrowserEventSink, CancelsOnlyWhenTheHandlerReturnsFalse) {
  const CancelCase cases[] = {
      {"no handler", {}, false},
      {"a handler with no value", {true, false, 0}, false},
      {"a handler returning true", {true, true, 1}, false},
      {"a handler returning another value", {true, true, 7}, false},
      {"a handler returning false", {true, true, 0}, true},
  };
  for (DISPID id : {DISPID_BEFORENAVIGATE2, DISPID_NEWWINDOW2}) {
    for (const CancelCase& c : cases) {
      SCOPED_TRACE(std::string(id == DISPID_NEWWINDOW2 ? "NewWindow2, " : "BeforeNavigate2, ") +
                   c.what);
      RecordingReceiver receiver;
      receiver.answer = c.outcome;
      const ComPtr<BrowserEvents> sink(new BrowserEvents(receiver));
      Notification n(id);
      EXPECT_EQ(n.SendTo(*sink.get()), S_OK);
      EXPECT_EQ(n.cancel, c.cancels ? VARIANT_TRUE : VARIANT_FALSE);
    }
  }
}

TEST(BrowserEventSink, PassesOnNothingButItsPanelsEvents) {
  // NavigateError, NewWindow3, FileDownload, an ambient property, nonsense.
  for (DISPID id : {DISPID(271), DISPID(273), DISPID(270), DISPID(DISPID_AMBIENT_USERMODE),
                    DISPID(0), DISPID(-1), DISPID(0x7fffffff)}) {
    SCOPED_TRACE(id);
    RecordingReceiver receiver;
    const ComPtr<BrowserEvents> sink(new BrowserEvents(receiver));
    DISPPARAMS none{};
    EXPECT_EQ(sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_TRUE(receiver.calls.empty());
  }
  // Once its panel has gone, notifications still on their way reach nobody.
  RecordingReceiver receiver;
  receiver.answer = {true, true, 0};
  const ComPtr<BrowserEvents> sink(new BrowserEvents(receiver));
  sink->Detach();
  for (DISPID id : {DISPID_BEFORENAVIGATE2, DISPID_NEWWINDOW2, DISPID_TITLECHANGE}) {
    SCOPED_TRACE(id);
    Notification n(id);
    EXPECT_EQ(n.SendTo(*sink.get()), S_OK);
    EXPECT_EQ(n.cancel, VARIANT_FALSE);
  }
  EXPECT_TRUE(receiver.calls.empty());
}

TEST(BrowserEventSink, SurvivesArgumentsOfUnexpectedShapes) {
  struct OddCase {
    const char* what;
    DISPID id;
    void (*spoil)(Notification&);
    std::optional<std::wstring> target;
    bool cancels;  // the handler refuses; only a usable flag can carry that
  };
  const std::wstring none, url = L"http://127.0.0.1/next.htm";
  const OddCase cases[] = {
      {"no arguments", DISPID_BEFORENAVIGATE2, [](Notification& n) { n.args().clear(); }, none,
       false},
      {"one argument too few", DISPID_BEFORENAVIGATE2,
       [](Notification& n) { n.args().erase(n.args().begin()); }, none, false},
      {"URL as a number", DISPID_BEFORENAVIGATE2, [](Notification& n) { n.args()[5] = Int(5); },
       none, true},
      {"URL by reference to nothing", DISPID_BEFORENAVIGATE2,
       [](Notification& n) { V_VARIANTREF(&n.args()[5]) = nullptr; }, none, true},
      {"cancel flag by value", DISPID_BEFORENAVIGATE2,
       [](Notification& n) { n.args()[0] = Int(0); }, url, false},
      {"cancel flag pointing nowhere", DISPID_NEWWINDOW2,
       [](Notification& n) { V_BOOLREF(&n.args()[0]) = nullptr; }, std::nullopt, false},
      {"new window without its arguments", DISPID_NEWWINDOW2,
       [](Notification& n) { n.args().clear(); }, std::nullopt, false},
  };
  for (const OddCase& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingReceiver receiver;
    receiver.answer = {true, true, 0};
    const ComPtr<BrowserEvents> sink(new BrowserEvents(receiver));
    Notification n(c.id);
    c.spoil(n);
    EXPECT_EQ(n.SendTo(*sink.get()), S_OK);
    ASSERT_EQ(receiver.calls.size(), 1u) << "the event is raised all the same";
    EXPECT_EQ(receiver.calls[0].target, c.target);
    EXPECT_EQ(n.cancel, c.cancels ? VARIANT_TRUE : VARIANT_FALSE);
  }
  RecordingReceiver receiver;
  const ComPtr<BrowserEvents> sink(new BrowserEvents(receiver));
  EXPECT_EQ(sink->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr,
                         nullptr, nullptr),
            S_OK)
      << "no DISPPARAMS at all";
}

TEST(BrowserSite, AnswersTheAmbientPropertiesItKnowsAndNoOthers) {
  struct AmbientCase {
    DISPID id;
    std::optional<bool> silent_offline_answer, loud_online_answer;
  };
  const AmbientCase cases[] = {
      {DISPID_AMBIENT_USERMODE, true, true},
      {DISPID_AMBIENT_SILENT, true, false},
      {DISPID_AMBIENT_OFFLINEIFNOTCONNECTED, true, false},
      {DISPID_AMBIENT_DLCONTROL, std::nullopt, std::nullopt},
      {DISPID_AMBIENT_CODEPAGE, std::nullopt, std::nullopt},
      {DISPID_BEFORENAVIGATE2, std::nullopt, std::nullopt},
  };
  const ComPtr<BrowserSite> quiet(new BrowserSite(nullptr, {true, true}));
  const ComPtr<BrowserSite> plain(new BrowserSite(nullptr, {false, false}));
  for (const AmbientCase& c : cases) {
    SCOPED_TRACE(c.id);
    for (auto [site, want] : {std::pair{quiet.get(), c.silent_offline_answer},
                              std::pair{plain.get(), c.loud_online_answer}}) {
      DISPPARAMS none{};
      VARIANT result = Empty();
      const HRESULT hr = static_cast<IDispatch*>(site)->Invoke(
          c.id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
      if (!want) {
        EXPECT_EQ(hr, DISP_E_MEMBERNOTFOUND);
        continue;
      }
      EXPECT_EQ(hr, S_OK);
      EXPECT_EQ(V_VT(&result), VT_BOOL);
      EXPECT_EQ(V_BOOL(&result), *want ? VARIANT_TRUE : VARIANT_FALSE);
    }
  }
}

// ---- the panel with the platform's control ----------------------------------

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= timeout_ms) return false;
    PumpFor(10);
  }
  return true;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) children.push_back(w);
  return children;
}

std::string ClassOf(HWND window) {
  char name[128] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

const ControlRecord& MainWindowPanel() {
  for (const ControlRecord& c : kMainWindow.controls)
    if (c.kind == ControlKind::WebPanel) return c;
  throw std::logic_error("the main window has its web panel");
}

class PanelOnThePlatform : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(ComRefCount::Outstanding(), 0) << "references left by an earlier test";
    MakeParent();
  }
  void MakeParent() {
    parent = CreateWindowExA(0, "STATIC", "web panel test", WS_OVERLAPPED | WS_CLIPCHILDREN, 0, 0,
                             400, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override {
    panel.reset();
    if (parent) DestroyWindow(parent);
    EXPECT_TRUE(PumpUntil([] { return ComRefCount::Outstanding() == 0; }, 5000))
        << ComRefCount::Outstanding() << " references to our COM objects left";
  }

  // The main window's panel with other settings, raising its events here.
  void Create(const char* address) {
    panel.reset();
    events.clear();
    seen_addresses.clear();
    settings = {address, 2, false, false};
    record = MainWindowPanel();
    record.web = &settings;
    panel = WebPanel::Create(parent, record, 170, [this](std::int32_t index) {
      events.push_back(index);
      if (index == 0) seen_addresses.push_back(panel ? panel->CurrentAddress() : "(inside Create)");
      return index == 0 ? before_navigate_answer : EventOutcome{};
    });
  }
  HWND Host() const { return panel ? panel->hwnd() : nullptr; }
  HWND Embedding() const {
    const std::vector<HWND> children = ChildrenOf(Host());
    return children.empty() ? nullptr : children.front();
  }
  bool Raised(std::int32_t index) const {
    return std::find(events.begin(), events.end(), index) != events.end();
  }

  HWND parent = nullptr;
  WebPanelSettings settings{};
  ControlRecord record{};
  std::unique_ptr<WebPanel> panel;
  std::vector<std::int32_t> events;
  std::vector<std::string> seen_addresses;
  EventOutcome before_navigate_answer;
};

TEST_F(PanelOnThePlatform, HoldsTheControlInPlaceFillingItsHost) {
  Create("");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(ClassOf(Host()), "WTWebPanelHost");
  EXPECT_EQ(GetParent(Host()), parent);
  EXPECT_EQ(GetDlgCtrlID(Host()), 170);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(Host(), GWL_STYLE)),
            DWORD{WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP});
  EXPECT_EQ(GetClassLongA(Host(), GCL_STYLE), DWORD{CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW});
  EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrA(Host(), GCLP_HBRBACKGROUND)),
            GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(Host(), GCLP_HCURSOR)),
            LoadCursorA(nullptr, IDC_ARROW));

  const HWND embedding = Embedding();
  ASSERT_NE(embedding, nullptr) << "the control's window in the host";
  EXPECT_EQ(ClassOf(embedding), "Shell Embedding");
  EXPECT_TRUE(GetWindowLongA(embedding, GWL_STYLE) & WS_CHILD);
  auto fills_host = [&] {
    RECT host, control;
    GetClientRect(Host(), &host);
    GetWindowRect(embedding, &control);
    MapWindowPoints(nullptr, Host(), reinterpret_cast<POINT*>(&control), 2);
    return EqualRect(&host, &control) != FALSE;
  };
  EXPECT_TRUE(fills_host()) << "at first";
  MoveWindow(Host(), 0, 0, 300, 120, TRUE);
  EXPECT_TRUE(fills_host()) << "after the host is resized";

  ShowWindow(parent, SW_SHOW);
  ShowWindow(Host(), SW_SHOW);
  SetFocus(Host());
  EXPECT_EQ(GetFocus(), embedding) << "the host passes the focus on";
}

TEST_F(PanelOnThePlatform, ReadsAsTheTargetWhileABeforeNavigateEventRuns) {
  before_navigate_answer = {true, true, 0};  // the page itself is never asked for
  Create("http://127.0.0.1:9/ad/hezuo.htm");
  ASSERT_NE(panel, nullptr);
  events.clear();
  seen_addresses.clear();
  const ComPtr<BrowserEvents> sink(new BrowserEvents(*panel));
  Notification n(DISPID_BEFORENAVIGATE2, L"http://127.0.0.1/其他.htm");
  EXPECT_EQ(n.SendTo(*sink.get()), S_OK);
  EXPECT_EQ(events, (std::vector<std::int32_t>{0}));
  EXPECT_EQ(seen_addresses, (std::vector<std::string>{"http://127.0.0.1/其他.htm"}));
  EXPECT_EQ(panel->CurrentAddress(), "http://127.0.0.1:9/ad/hezuo.htm") << "after the event";
}

// Wine's control raises BeforeNavigate2 inside Navigate and, without any HTML
// engine, still sends the page's request a few milliseconds later, from a
// thread of its own. The parent is never shown here.
TEST_F(PanelOnThePlatform, StartsLoadingWhileBeingMadeUnlessRefused) {
  struct NavigationCase {
    const char* what;
    bool with_address;
    EventOutcome answer;
    bool navigates;
  };
  const NavigationCase cases[] = {
      {"no address", false, {true, false, 0}, false},
      {"a handler with no value", true, {true, false, 0}, true},
      {"no handler", true, {}, true},
      {"a handler returning true", true, {true, true, 1}, true},
      {"a handler returning false", true, {true, true, 0}, false},
  };
  for (const NavigationCase& c : cases) {
    SCOPED_TRACE(c.what);
    LoopbackHttpServer server(0, LoopbackHttpServer::Reply::NotFound);
    ASSERT_TRUE(server.Listening());
    const std::string page = server.Url("/ad/hezuo.htm");
    before_navigate_answer = c.answer;
    Create(c.with_address ? page.c_str() : "");
    ASSERT_NE(panel, nullptr);
    if (c.with_address) {
      EXPECT_EQ(seen_addresses, (std::vector<std::string>{"(inside Create)"}))
          << "the first before-navigate event comes while the panel is made";
    } else {
      EXPECT_FALSE(Raised(0));
    }
    bool requested = false;
    PumpUntil([&] { return requested = server.WaitForGet("/ad/hezuo.htm", 0); },
              c.navigates ? 10000 : 1500);
    EXPECT_EQ(requested, c.navigates);
    if (!c.navigates) {
      EXPECT_TRUE(server.Requests().empty());
    }
  }
}

TEST_F(PanelOnThePlatform, LeavesNoReferenceToOurObjectsHoweverItEnds) {
  struct TeardownCase {
    const char* what;
    LoopbackHttpServer::Reply reply;
    bool by_parent;  // the parent's destruction takes the host with it
  };
  const TeardownCase cases[] = {
      {"destroyed after its page was answered", LoopbackHttpServer::Reply::NotFound, false},
      {"destroyed while its page is loading", LoopbackHttpServer::Reply::Hold, false},
      {"its parent closed while its page is loading", LoopbackHttpServer::Reply::Hold, true},
  };
  for (const TeardownCase& c : cases) {
    SCOPED_TRACE(c.what);
    if (!parent) MakeParent();
    LoopbackHttpServer server(0, c.reply);
    ASSERT_TRUE(server.Listening());
    const std::string page = server.Url("/ad/hezuo.htm");
    Create(page.c_str());
    ASSERT_NE(panel, nullptr);
    EXPECT_GT(ComRefCount::Outstanding(), 0);
    // Under way: the request is in, and with Hold its answer never comes.
    EXPECT_TRUE(PumpUntil([&] { return server.WaitForGet("/ad/hezuo.htm", 0); }, 10000));
    if (c.by_parent) {
      DestroyWindow(std::exchange(parent, nullptr));
      EXPECT_EQ(panel->hwnd(), nullptr);
    }
    panel.reset();
    EXPECT_TRUE(PumpUntil([] { return ComRefCount::Outstanding() == 0; }, 5000))
        << ComRefCount::Outstanding() << " left";
    PumpFor(300);  // whatever the control still had queued finds nothing of ours
    EXPECT_EQ(ComRefCount::Outstanding(), 0);
  }
}

}  // namespace
