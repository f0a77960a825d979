// The input method as the framework's text input reads it. The host's text
// editing events feed the composition; its committed text becomes the
// result string. Texts are CP932; positions are byte offsets, as the
// framework's ANSI calls see them.
#pragma once

#include <cstdint>

#include "platform/window/window.h"

namespace plat {

// ImmGetCompositionString indexes and WM_IME_COMPOSITION lParam flags.
constexpr uint32_t GCS_COMPSTR = 0x0008;
constexpr uint32_t GCS_COMPATTR = 0x0010;
constexpr uint32_t GCS_CURSORPOS = 0x0080;
constexpr uint32_t GCS_RESULTSTR = 0x0800;
// Composition attributes, one byte per text byte.
constexpr uint8_t ATTR_INPUT = 0;
constexpr uint8_t ATTR_TARGET_CONVERTED = 1;
// WM_IME_NOTIFY wParam.
constexpr uint32_t IMN_CHANGECANDIDATE = 0x0003;
constexpr uint32_t IMN_CLOSECANDIDATE = 0x0004;
constexpr uint32_t IMN_OPENCANDIDATE = 0x0005;
constexpr uint32_t IMN_SETOPENSTATUS = 0x0008;
// ImmNotifyIME.
constexpr uint32_t NI_COMPOSITIONSTR = 0x0015;
constexpr uint32_t CPS_CANCEL = 0x0004;
// ImmSetCompositionString.
constexpr uint32_t SCS_SETSTR = GCS_COMPSTR | GCS_COMPATTR;

constexpr int kImeTextCapacity = 1024;

// Enables or disables the input method for the program's window; while
// disabled, text comes as plain WM_CHAR and no IME message is sent.
bool WINNLSEnableIME(Hwnd window, bool enable);
bool IsImeEnabled();

// GCS_COMPSTR, GCS_RESULTSTR, GCS_COMPATTR: copies up to `size` bytes and
// returns the bytes copied; with `size` 0 returns the bytes there are.
// GCS_CURSORPOS: returns the cursor's byte offset. Negative on a bad index.
int32_t ImmGetCompositionString(Hwnd window, uint32_t index, void* buffer, uint32_t size);
// The candidate list as one block (count, then the zero-terminated texts);
// with `size` 0 returns the size needed, 0 when there is no list.
uint32_t ImmGetCandidateList(Hwnd window, uint32_t index, void* buffer, uint32_t size);
bool ImmNotifyIME(Hwnd window, uint32_t action, uint32_t index, uint32_t value);
bool ImmGetOpenStatus(Hwnd window);
bool ImmSetOpenStatus(Hwnd window, bool open);
bool ImmSetCompositionString(Hwnd window, uint32_t index, const void* text, uint32_t size);

// For tests: a candidate list the host never gives (texts CP932), and a
// failure of the next read of it (a size query still answers).
void SetImeCandidates(const char* const* texts, int count);
void FailNextCandidateRead();

}  // namespace plat
