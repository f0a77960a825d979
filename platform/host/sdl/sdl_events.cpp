// SDL events turned into host events, and SDL joysticks as pads: game
// controllers through SDL's standard mapping in the one layout host.h gives,
// other joysticks raw (axes, hats and buttons as they come).
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/host/sdl/sdl_state.h"

namespace plat::sdl {

namespace {

constexpr int kMaxPads = 16;

void ClosePad(SdlPad& p) {
  if (p.controller) {
    SDL_GameControllerClose(p.controller);  // closes its joystick too
  } else if (p.joystick) {
    SDL_JoystickClose(p.joystick);
  }
  p.controller = nullptr;
  p.joystick = nullptr;
}

// The fixed button order of game controllers (host.h); the triggers, which
// SDL gives as axes, sit at 8 and 9.
constexpr SDL_GameControllerButton kControllerButtons[kHostControllerButtons] = {
    SDL_CONTROLLER_BUTTON_A,          SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,          SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_START,      SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_INVALID,    SDL_CONTROLLER_BUTTON_INVALID,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,  SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_GUIDE,
};

void ReadController(SDL_GameController* c, HostPadState* out) {
  constexpr SDL_GameControllerAxis kAxes[6] = {
      SDL_CONTROLLER_AXIS_LEFTX,  SDL_CONTROLLER_AXIS_LEFTY,       SDL_CONTROLLER_AXIS_RIGHTX,
      SDL_CONTROLLER_AXIS_RIGHTY, SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT};
  for (int i = 0; i < 6; ++i) out->axes[i] = SDL_GameControllerGetAxis(c, kAxes[i]);
  for (int i = 0; i < kHostControllerButtons; ++i) {
    if (kControllerButtons[i] != SDL_CONTROLLER_BUTTON_INVALID)
      out->buttons[i] = SDL_GameControllerGetButton(c, kControllerButtons[i]) ? 1 : 0;
  }
  out->buttons[8] = out->axes[4] > 16384 ? 1 : 0;
  out->buttons[9] = out->axes[5] > 16384 ? 1 : 0;
  out->hats[0] = (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP) ? 1 : 0) |
                 (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT) ? 2 : 0) |
                 (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN) ? 4 : 0) |
                 (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT) ? 8 : 0);
}

int FindPad(SDL_JoystickID id) {
  const auto& pads = State().pads;
  for (size_t i = 0; i < pads.size(); ++i) {
    if (pads[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

// Opens device `index` unless it is open already; its pad index, or -1.
int OpenPad(int index, bool* added) {
  *added = false;
  SdlHost& s = State();
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
  if (id < 0) return -1;
  const int known = FindPad(id);
  if (known >= 0 || static_cast<int>(s.pads.size()) >= kMaxPads) return known;
  SdlPad p;
  if (SDL_IsGameController(index)) {
    p.controller = SDL_GameControllerOpen(index);
    if (!p.controller) return -1;
    p.joystick = SDL_GameControllerGetJoystick(p.controller);
    p.info.axisCount = 6;
    p.info.hatCount = 1;
    p.info.buttonCount = kHostControllerButtons;
  } else {
    p.joystick = SDL_JoystickOpen(index);
    if (!p.joystick) return -1;
    p.info.axisCount = std::clamp(SDL_JoystickNumAxes(p.joystick), 0, kHostPadMaxAxes);
    p.info.hatCount = std::clamp(SDL_JoystickNumHats(p.joystick), 0, kHostPadMaxHats);
    p.info.buttonCount = std::clamp(SDL_JoystickNumButtons(p.joystick), 0, kHostPadMaxButtons);
  }
  SDL_Joystick* joy = p.joystick;
  p.id = SDL_JoystickInstanceID(joy);
  const char* name = SDL_JoystickName(joy);
  std::strncpy(p.info.name, name ? name : "", sizeof p.info.name - 1);
  p.info.rumble = SDL_JoystickHasRumble(joy) == SDL_TRUE;
  s.pads.push_back(p);
  *added = true;
  return static_cast<int>(s.pads.size()) - 1;
}

void CopyText(char (&dst)[64], const char* src) {
  std::strncpy(dst, src, sizeof dst - 1);
  dst[sizeof dst - 1] = 0;
}

bool MapWindowEvent(const SDL_WindowEvent& w, HostEvent* out) {
  switch (w.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED: out->kind = HostEventKind::FocusGained; return true;
    case SDL_WINDOWEVENT_FOCUS_LOST: out->kind = HostEventKind::FocusLost; return true;
    case SDL_WINDOWEVENT_MINIMIZED: out->kind = HostEventKind::Minimized; return true;
    case SDL_WINDOWEVENT_RESTORED: out->kind = HostEventKind::Restored; return true;
    case SDL_WINDOWEVENT_CLOSE: out->kind = HostEventKind::CloseRequest; return true;
    case SDL_WINDOWEVENT_EXPOSED: out->kind = HostEventKind::Expose; return true;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      out->kind = HostEventKind::Resize;
      out->x = w.data1;
      out->y = w.data2;
      return true;
    default: return false;
  }
}

bool MapEvent(const SDL_Event& e, HostEvent* out) {
  *out = HostEvent{};
  switch (e.type) {
    case SDL_QUIT: out->kind = HostEventKind::CloseRequest; return true;  // e.g. Ctrl+C in the terminal
    case SDL_WINDOWEVENT: return MapWindowEvent(e.window, out);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (e.key.keysym.scancode <= 0 || e.key.keysym.scancode >= hid::Count) return false;
      out->kind = e.type == SDL_KEYDOWN ? HostEventKind::KeyDown : HostEventKind::KeyUp;
      out->key = e.key.keysym.scancode;
      out->repeat = e.key.repeat != 0;
      return true;
    case SDL_TEXTINPUT:
      out->kind = HostEventKind::TextInput;
      CopyText(out->text, e.text.text);
      return true;
    case SDL_TEXTEDITING:
      out->kind = HostEventKind::TextEditing;
      CopyText(out->text, e.edit.text);
      out->cursor = e.edit.start;
      return true;
    case SDL_MOUSEMOTION:
      out->kind = HostEventKind::MouseMove;
      MapMouse(e.motion.x, e.motion.y, &out->x, &out->y);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.button < SDL_BUTTON_LEFT || e.button.button > SDL_BUTTON_RIGHT) return false;
      out->kind = e.type == SDL_MOUSEBUTTONDOWN ? HostEventKind::MouseDown : HostEventKind::MouseUp;
      out->button = e.button.button;  // SDL numbers them 1 left, 2 middle, 3 right too
      MapMouse(e.button.x, e.button.y, &out->x, &out->y);
      return true;
    case SDL_MOUSEWHEEL: {
      const int y = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      if (y == 0) return false;
      out->kind = HostEventKind::MouseWheel;
      out->wheel = y;
      return true;
    }
    case SDL_JOYDEVICEADDED: {
      bool added = false;
      const int pad = OpenPad(e.jdevice.which, &added);
      if (!added) return false;  // opened already at start-up
      out->kind = HostEventKind::PadAdded;
      out->pad = pad;
      return true;
    }
    case SDL_JOYDEVICEREMOVED: {
      const int pad = FindPad(e.jdevice.which);
      if (pad < 0) return false;
      ClosePad(State().pads[static_cast<size_t>(pad)]);
      State().pads.erase(State().pads.begin() + pad);
      out->kind = HostEventKind::PadRemoved;
      out->pad = pad;
      return true;
    }
    case SDL_RENDER_DEVICE_RESET:
    case SDL_RENDER_TARGETS_RESET:
      // Textures may be gone; the next present makes a new one.
      if (e.type == SDL_RENDER_DEVICE_RESET && State().texture) {
        SDL_DestroyTexture(State().texture);
        State().texture = nullptr;
      }
      out->kind = HostEventKind::Expose;
      return true;
    default: return false;
  }
}

}  // namespace

bool EnsurePads() {
  SdlHost& s = State();
  if (s.padsUp || s.padsTried) return s.padsUp;
  s.padsTried = true;  // asked once: a machine without joystick support stays without
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;  // joysticks come with it
  s.padsUp = true;
  const int n = SDL_NumJoysticks();
  for (int i = 0; i < n; ++i) {
    bool added = false;
    OpenPad(i, &added);
  }
  return true;
}

void ClosePads() {
  for (SdlPad& p : State().pads) ClosePad(p);
  State().pads.clear();
}

bool PollEvent(HostEvent* out) {
  EnsurePads();
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (MapEvent(e, out)) return true;
  }
  return false;
}

void StartTextInput() {
  if (State().videoUp) SDL_StartTextInput();
}

void StopTextInput() {
  if (State().videoUp) SDL_StopTextInput();
}

int PadCount() {
  EnsurePads();
  return static_cast<int>(State().pads.size());
}

bool GetPadInfo(int pad, HostPadInfo* out) {
  if (pad < 0 || pad >= PadCount()) return false;
  *out = State().pads[static_cast<size_t>(pad)].info;
  return true;
}

bool GetPadState(int pad, HostPadState* out) {
  if (pad < 0 || pad >= PadCount()) return false;
  const SdlPad& p = State().pads[static_cast<size_t>(pad)];
  *out = HostPadState{};
  if (p.controller) {
    ReadController(p.controller, out);
  } else {
    for (int i = 0; i < p.info.axisCount; ++i) out->axes[i] = SDL_JoystickGetAxis(p.joystick, i);
    for (int i = 0; i < p.info.hatCount; ++i) out->hats[i] = SDL_JoystickGetHat(p.joystick, i);  // same bits
    for (int i = 0; i < p.info.buttonCount; ++i) out->buttons[i] = SDL_JoystickGetButton(p.joystick, i) ? 1 : 0;
  }
  HostFoldHatIntoStick(out);  // the d-pad steers wherever the program reads the stick
  return true;
}

bool RumblePad(int pad, int low, int high, int durationMs) {
  if (pad < 0 || pad >= PadCount()) return false;
  const SdlPad& p = State().pads[static_cast<size_t>(pad)];
  return SDL_JoystickRumble(p.joystick, static_cast<Uint16>(low), static_cast<Uint16>(high),
                            static_cast<Uint32>(durationMs)) == 0;
}

}  // namespace plat::sdl
