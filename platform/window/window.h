// The window system as the framework expects it: window classes, one
// top-level window on the host, per-thread message queues with post, peek,
// translate and dispatch, the window procedure, cursor and paint.
//
// Host events become messages when the thread that owns the window looks at
// its queue (PeekMessage): a close request becomes WM_CLOSE, focus changes
// WM_ACTIVATEAPP and WM_ACTIVATE (with the minimised flag), keys WM_KEYDOWN
// and WM_KEYUP with Windows virtual-key codes (WM_SYSKEYDOWN while Alt is
// held), typed text WM_CHAR with CP932 bytes, composition text the IME
// messages, and so on (window_events.cpp). TranslateMessage makes the
// control characters (Backspace 0x08, Tab 0x09, Return 0x0D, Escape 0x1B,
// Ctrl+letter 0x01-0x1A) and Alt+Enter's WM_SYSCHAR 0x0D from key messages.
//
// Coordinates are desktop pixels; the host shows the client area wherever
// it puts its window, so positions are kept here and not sent to the host.
#pragma once

#include <cstdint>

namespace plat {

using Hwnd = intptr_t;  // 0: none
using WParam = uintptr_t;
using LParam = intptr_t;
using LResult = intptr_t;
using WindowProc = LResult (*)(Hwnd window, uint32_t message, WParam wParam, LParam lParam);

// --- messages ---------------------------------------------------------------
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_SETCURSOR = 0x0020;
constexpr uint32_t WM_DISPLAYCHANGE = 0x007E;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCHAR = 0x0106;
constexpr uint32_t WM_IME_STARTCOMPOSITION = 0x010D;
constexpr uint32_t WM_IME_ENDCOMPOSITION = 0x010E;
constexpr uint32_t WM_IME_COMPOSITION = 0x010F;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t WM_SIZING = 0x0214;  // lParam: the window rectangle being dragged (Rect*)
constexpr uint32_t WM_MOVING = 0x0216;  // lParam: the window rectangle being moved (Rect*)
constexpr uint32_t WM_IME_SETCONTEXT = 0x0281;
constexpr uint32_t WM_IME_NOTIFY = 0x0282;
constexpr uint32_t WM_USER = 0x0400;

// WM_ACTIVATE: LOWORD(wParam) is one of these, HIWORD(wParam) the minimised flag.
constexpr uint32_t WA_INACTIVE = 0;
constexpr uint32_t WA_ACTIVE = 1;
// WM_SIZE wParam.
constexpr uint32_t SIZE_RESTORED = 0;
constexpr uint32_t SIZE_MINIMIZED = 1;
constexpr uint32_t SIZE_MAXIMIZED = 2;
// WM_SYSCOMMAND wParam.
constexpr uint32_t SC_KEYMENU = 0xF100;
constexpr uint32_t SC_SCREENSAVE = 0xF140;
constexpr uint32_t SC_MONITORPOWER = 0xF170;
// WM_SIZING wParam: the edge or corner being dragged.
constexpr uint32_t WMSZ_LEFT = 1;
constexpr uint32_t WMSZ_RIGHT = 2;
constexpr uint32_t WMSZ_TOP = 3;
constexpr uint32_t WMSZ_TOPLEFT = 4;
constexpr uint32_t WMSZ_TOPRIGHT = 5;
constexpr uint32_t WMSZ_BOTTOM = 6;
constexpr uint32_t WMSZ_BOTTOMLEFT = 7;
constexpr uint32_t WMSZ_BOTTOMRIGHT = 8;
// Mouse wheel: one notch.
constexpr int WHEEL_DELTA = 120;

inline uint32_t LoWord(uintptr_t v) { return static_cast<uint32_t>(v & 0xFFFFu); }
inline uint32_t HiWord(uintptr_t v) { return static_cast<uint32_t>((v >> 16) & 0xFFFFu); }
inline LParam MakeLParam(int low, int high) {
  return static_cast<LParam>((static_cast<uint32_t>(low) & 0xFFFFu) | ((static_cast<uint32_t>(high) & 0xFFFFu) << 16));
}

struct Msg {
  Hwnd hwnd = 0;
  uint32_t message = 0;
  WParam wParam = 0;
  LParam lParam = 0;
  uint32_t time = 0;  // millisecond clock when posted
  uint16_t hostKey = 0;  // key messages made from host keys: the HID usage
};

// --- virtual keys -------------------------------------------------------------
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_F1 = 0x70;
constexpr int VK_F4 = 0x73;
constexpr int VK_F10 = 0x79;
constexpr int VK_NUMLOCK = 0x90;
constexpr int VK_SCROLL = 0x91;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;

// --- styles and window placement ------------------------------------------------
constexpr uint32_t WS_POPUP = 0x80000000u;
constexpr uint32_t WS_VISIBLE = 0x10000000u;
constexpr uint32_t WS_CAPTION = 0x00C00000u;  // border and title bar
constexpr uint32_t WS_BORDER = 0x00800000u;
constexpr uint32_t WS_DLGFRAME = 0x00400000u;
constexpr uint32_t WS_SYSMENU = 0x00080000u;
constexpr uint32_t WS_THICKFRAME = 0x00040000u;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000u;
constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000u;
constexpr uint32_t WS_EX_TOPMOST = 0x00000008u;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

constexpr Hwnd HWND_TOPMOST = -1;
constexpr uint32_t SWP_NOSIZE = 0x1;
constexpr uint32_t SWP_NOMOVE = 0x2;
constexpr uint32_t SWP_NOZORDER = 0x4;

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
struct Point {
  int x = 0, y = 0;
};

// Frame sizes the window system adds around a client area: a border on each
// side for WS_BORDER or WS_DLGFRAME (more with WS_THICKFRAME), and a title
// bar for WS_CAPTION.
constexpr int kFrameBorder = 3;
constexpr int kThickFrameBorder = 4;
constexpr int kCaptionHeight = 22;

// --- classes and windows ----------------------------------------------------------
bool RegisterClass(const char* className, WindowProc procedure);  // false when taken or asked to fail
bool UnregisterClass(const char* className);
// Makes the window (hidden unless WS_VISIBLE), sends WM_CREATE. One window
// at a time: the host has one. 0 on failure.
Hwnd CreateWindowEx(uint32_t exStyle, const char* className, const char* title, uint32_t style, int x, int y,
                    int width, int height);
// Sends WM_DESTROY, then the window is gone and its posted messages dropped.
bool DestroyWindow(Hwnd window);
bool IsWindow(Hwnd window);
// A window of that class, here or in another running copy of the program
// (SetForeignWindowClass), else 0.
Hwnd FindWindow(const char* className);
uint32_t GetWindowThreadId(Hwnd window);
WindowProc GetWindowProc(Hwnd window);
WindowProc SetWindowProc(Hwnd window, WindowProc procedure);  // the old one

bool ShowWindow(Hwnd window, int command);
bool UpdateWindow(Hwnd window);  // sends WM_PAINT when something is to be painted
bool IsIconic(Hwnd window);
bool SetWindowText(Hwnd window, const char* cp932);
bool SetWindowStyle(Hwnd window, uint32_t style, uint32_t exStyle);
uint32_t GetWindowStyle(Hwnd window);
// Window rectangle for a client rectangle with the style's frame.
bool AdjustWindowRectEx(Rect* rect, uint32_t style, uint32_t exStyle);
bool GetWindowRect(Hwnd window, Rect* out);
bool GetClientRect(Hwnd window, Rect* out);  // origin 0, 0
bool ClientToScreen(Hwnd window, Point* point);
// Moves and sizes the window (sending WM_MOVE and WM_SIZE for what changed);
// HWND_TOPMOST as `insertAfter` keeps it above the others.
bool SetWindowPos(Hwnd window, Hwnd insertAfter, int x, int y, int width, int height, uint32_t flags);
bool MoveWindow(Hwnd window, int x, int y, int width, int height);
bool BringWindowToTop(Hwnd window);
// While another program's window is in front, the foreground lock keeps it
// there: the call is refused unless the lock timeout is 0. (Windows also lets
// a thread whose input is joined to the foreground's through; here the
// other program's window has no thread of this process.)
bool SetForegroundWindow(Hwnd window);
// Joins (or parts) the input of two threads; false for thread 0, a thread
// joined to itself, or parting threads that are not joined.
bool AttachThreadInput(uint32_t thread, uint32_t toThread, bool attach);
// The foreground lock timeout (ms) of the desktop settings; 200000 at first.
uint32_t GetForegroundLockTimeout();
void SetForegroundLockTimeout(uint32_t ms);
Hwnd SetActiveWindow(Hwnd window);
Hwnd GetForegroundWindow();
bool IsTopMost(Hwnd window);

// Paint: an invalid window gets WM_PAINT when its queue is otherwise empty.
bool InvalidateRect(Hwnd window);
bool BeginPaint(Hwnd window, Rect* paintRect);  // validates
bool EndPaint(Hwnd window);

// --- message queues ------------------------------------------------------------------
constexpr uint32_t PM_NOREMOVE = 0;
constexpr uint32_t PM_REMOVE = 1;
// Window filter of PeekMessage: any message of the thread, or only thread
// messages (posted with no window).
constexpr Hwnd kAnyWindow = 0;
constexpr Hwnd kThreadMessagesOnly = -1;

bool PostMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam);
bool PostThreadMessage(uint32_t threadId, uint32_t message, WParam wParam, LParam lParam);
void PostQuitMessage(int exitCode);  // WM_QUIT comes once the queue is otherwise empty
LResult SendMessage(Hwnd window, uint32_t message, WParam wParam, LParam lParam);
bool PeekMessage(Msg* out, Hwnd filter, uint32_t removeFlags);
bool TranslateMessage(const Msg* message);
LResult DispatchMessage(const Msg* message);
LResult DefWindowProc(Hwnd window, uint32_t message, WParam wParam, LParam lParam);
// Moves the host's pending events into the window's queue now (done by
// PeekMessage on the window's thread; device readers call it to see keys
// between two pumps). Does nothing on another thread.
void CollectHostEvents();

// --- message-only windows -------------------------------------------------------------
// Windows that only receive messages (the sockets' notifications): no host
// window, no paint, no activation. Messages posted to one wait in the queue
// of the thread that made it and reach its class's procedure through
// DispatchMessage; PeekMessage with its handle as filter takes only them.
// DestroyWindow (or DestroyMessageWindow) sends WM_DESTROY and drops what is
// still queued for it. 0 when the class is unknown or all slots are taken.
Hwnd CreateMessageWindow(const char* className);
bool DestroyMessageWindow(Hwnd window);
// Removes the queued messages of `window` with this message number and
// wParam (a closed socket's notifications); the count removed.
int RemoveQueuedMessages(Hwnd window, uint32_t message, WParam wParam);

// --- cursor and keys ---------------------------------------------------------------------
enum class CursorShape { None, Arrow };
int ShowCursor(bool show);  // the new display count; shown while >= 0
CursorShape SetCursor(CursorShape shape);  // the old one
bool GetCursorPos(Point* out);
// 256 bytes by virtual key (0x80 down), as of the key messages the thread
// has taken so far (the device layer reads the keys as they are now).
bool GetKeyboardState(uint8_t* keys256);
int16_t GetKeyState(int virtualKey);

// --- screen saver and code page --------------------------------------------------------------
void SetScreenSaverActive(bool active);
bool IsScreenSaverActive();
uint32_t GetOEMCP();  // 932

// --- tests ---------------------------------------------------------------------------------
struct WindowCounters {
  int registerCalls = 0, createCalls = 0, destroyCalls = 0;
  int posted = 0, peekCalls = 0, peekHits = 0, dispatched = 0;
  int showCursorCalls = 0;
  int attachInputCalls = 0, lockTimeoutSets = 0, foregroundRefusals = 0;
};
WindowCounters GetWindowCounters();
void FailNextRegisterClass();
void FailNextCreateWindowEx();
// Pretends another running copy of the program owns a window of this class
// (nullptr: none).
void SetForeignWindowClass(const char* className);
// Pairs of threads whose input is joined now.
int AttachedInputCount();
// Messages waiting in the calling thread's queue (WM_QUIT not counted).
int QueuedMessageCount();
// Everything in platform/window back to its load state: windows, classes,
// queues, cursor, keys, display settings and IME.
void ResetWindowStandIn();

}  // namespace plat
