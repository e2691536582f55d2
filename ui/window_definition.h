#pragma once
// The shape of a window definition: one record for the window and one per
// control, every setting and every event binding. The launcher builds its
// window from such a table and nothing else.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

class HostServices;

// A handler takes no arguments here (no bound event carries any) and returns
// either no value or a 32-bit value; where the firer reads it, only 0 refuses.
using Handler = std::optional<std::int32_t> (*)(HostServices&);

// Binds a handler that returns nothing.
template <void (*Action)(HostServices&)>
std::optional<std::int32_t> NoValue(HostServices& host) {
  Action(host);
  return std::nullopt;
}

struct Binding {
  std::int32_t event;
  Handler handler;
};

enum class ControlKind : std::uint8_t { PushButton, Label, WebPanel };

struct Rect {
  std::int32_t left, top, width, height;
};

// An explicit colour, or the system button-face colour looked up at paint time.
struct Colour {
  bool button_face;
  std::uint8_t red, green, blue;
};
inline constexpr Colour kButtonFace{true, 0, 0, 0};
constexpr Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return {false, r, g, b}; }

// The fields of a font description that the definition fixes; the others are
// always created with the platform's defaults.
struct FontDescription {
  std::int32_t height, width, escapement, orientation, weight;
  bool italic, underline, strike_out;
  const char* face;
};

struct WebPanelSettings {
  const char* address;
  std::int32_t text_size_step;  // 0 smallest .. 4 largest
  bool silent, offline;
};

// Standard mouse pointers by their platform number; 0 is none.
enum class Pointer : std::int32_t { None = 0, Arrow = 32512 };

struct ControlRecord {
  std::uint32_t id;
  const char* name;
  ControlKind kind;
  Rect rect;
  const char* caption;
  bool visible, disabled, tab_stop;
  std::int32_t tab_order;
  Pointer pointer;
  std::span<const Binding> bindings;
  // Settings of the kind: push button, label, web panel.
  bool default_button;
  const FontDescription* font;  // null: the default GUI font
  Colour text_colour, background;
  const WebPanelSettings* web;
};

struct WindowOptions {
  bool enter_moves_focus, esc_closes, f1_opens_help;
};

struct WindowDefinition {
  std::uint32_t id;
  std::uint32_t self_id;  // the control id the window's own events carry
  const char* title;
  Rect rect;
  bool centred, visible;
  WindowOptions options;
  Colour background;
  std::span<const Binding> bindings;
  std::span<const ControlRecord> controls;  // definition order: top of the z-order first
};

// Controls are created from the last record to the first, and the k-th created
// gets the child-window identifier 100 + 10 k.
constexpr int ChildIdOf(const WindowDefinition& window, std::size_t index) {
  return 100 + 10 * static_cast<int>(window.controls.size() - 1 - index);
}

inline constexpr bool CanTakeFocus(ControlKind kind) { return kind != ControlKind::Label; }

// The binding of an event index in a list, or null.
constexpr const Binding* FindBinding(std::span<const Binding> bindings, std::int32_t event) {
  for (const Binding& b : bindings)
    if (b.event == event) return &b;
  return nullptr;
}

// Event indices, as definitions bind them.
namespace window_event {
inline constexpr std::int32_t kCreationComplete = 0, kMayClose = 1, kWillBeDestroyed = 2,
                              kMoved = 3, kResized = 4, kActivated = 5, kDeactivated = 6,
                              kShown = 10, kHidden = 11, kGotFocus = -7;
}
namespace button_event {
inline constexpr std::int32_t kClick = 0;
}
namespace web_panel_event {
inline constexpr std::int32_t kBeforeNavigate = 0, kBeforeNewWindow = 9;
}

// Whether a definition can be loaded: control ids unique (the window's own id
// among them) and every web panel with its settings.
bool IsLoadable(const WindowDefinition& window);
