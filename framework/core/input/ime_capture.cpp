// The input method's messages, and the per-frame text-input step: the IME
// reset after activation, then the active text input takes characters from
// the ring.
#include <cstring>

#include "framework/core/life/fatal.h"
#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/core/memory.h"
#include "framework/core/string_helpers.h"
#include "framework/core/input/text_input.h"
#include "platform/kernel/mm_timer.h"
#include "platform/window/ime.h"

namespace qor {

namespace {

void ReadComposition(plat::Hwnd window) {
  TextInputState& t = GetTextInputState();
  // One byte stays for the terminating zero.
  int32_t n = plat::ImmGetCompositionString(window, plat::GCS_COMPSTR, t.composition, kImeBufferSize - 1);
  if (n < 0) n = 0;
  if (n > kImeBufferSize - 1) n = kImeBufferSize - 1;
  t.composition[n] = '\0';
}

void ReadCursor(plat::Hwnd window) {
  TextInputState& t = GetTextInputState();
  int32_t bytes = plat::ImmGetCompositionString(window, plat::GCS_CURSORPOS, nullptr, 0);
  const int32_t length = static_cast<int32_t>(std::strlen(t.composition));
  if (bytes < 0) bytes = 0;
  if (bytes > length) bytes = length;
  t.imeCursor = CountCharsSjis(t.composition, bytes);
}

void ReadResult(plat::Hwnd window) {
  char result[kImeBufferSize];
  int32_t n = plat::ImmGetCompositionString(window, plat::GCS_RESULTSTR, result, sizeof result);
  if (n > static_cast<int32_t>(sizeof result)) n = sizeof result;
  for (int32_t i = 0; i < n; ++i) PutCharToInputBuffer(static_cast<uint8_t>(result[i]));
}

void FreeCandidates() {
  TextInputState& t = GetTextInputState();
  if (t.candidates != nullptr) FreeMemory(t.candidates);
  t.candidates = nullptr;
  t.candidateSize = 0;
}

void CopyCandidates(plat::Hwnd window) {
  TextInputState& t = GetTextInputState();
  const uint32_t size = plat::ImmGetCandidateList(window, 0, nullptr, 0);
  if (size == 0) {
    LogPrintf("漢字変換候補のデータサイズが０でした  DefHWND:%x IMC:%x", static_cast<unsigned>(window),
              static_cast<unsigned>(window));
    return;
  }
  FreeCandidates();
  t.candidates = static_cast<uint8_t*>(AllocMemory(size, __FILE__, __LINE__));
  if (t.candidates == nullptr) {
    FatalErrorf("漢字変換候補を保存するメモリの確保に失敗しました( 確保しようとしたサイズ %u バイト )", size);
  }
  if (plat::ImmGetCandidateList(window, 0, t.candidates, size) == 0) {
    LogPrintf("漢字変換候補の取得に失敗しました  BufSize:%u", size);
    FreeCandidates();
    return;
  }
  t.candidateSize = size;
}

// Steps of the reset sequence, one per frame.
void StepImeReset(plat::Hwnd window) {
  TextInputState& t = GetTextInputState();
  switch (t.resetState) {
    case 1: {
      int32_t n = plat::ImmGetCompositionString(window, plat::GCS_COMPSTR, t.savedComposition, kImeBufferSize - 1);
      if (n < 0) n = 0;
      if (n > kImeBufferSize - 1) n = kImeBufferSize - 1;
      t.savedComposition[n] = '\0';
      plat::ImmNotifyIME(window, plat::NI_COMPOSITIONSTR, plat::CPS_CANCEL, 0);
      plat::ImmSetOpenStatus(window, false);
      t.resetState = 2;
      break;
    }
    case 2:
      plat::ImmSetOpenStatus(window, true);
      t.resetState = 3;
      break;
    case 3:
      if (t.savedComposition[0] != '\0') {
        plat::ImmSetCompositionString(window, plat::SCS_SETSTR, t.savedComposition,
                                      static_cast<uint32_t>(std::strlen(t.savedComposition)));
      }
      t.resetState = 4;
      break;
    default: t.resetState = 0; break;
  }
}

// Keeps the composition within the room the text input has left, cut
// between characters.
void LimitComposition(plat::Hwnd window, const TextInputRecord& r) {
  TextInputState& t = GetTextInputState();
  const int room = r.maxLength - r.length;
  const int length = static_cast<int>(std::strlen(t.composition));
  if (length <= room) return;
  int cut = 0;
  while (cut < length) {
    const int w = SjisCharWidth(t.composition + cut);
    if (cut + w > room) break;
    cut += w;
  }
  t.composition[cut] = '\0';
  plat::ImmSetCompositionString(window, plat::SCS_SETSTR, t.composition, static_cast<uint32_t>(cut));
}

int PreviousCharStart(const char* text, int at) {
  int i = 0, last = 0;
  while (i < at) {
    last = i;
    i += SjisCharWidth(text + i);
  }
  return last;
}

void Insert(TextInputRecord& r, const uint8_t* bytes, int n) {
  if (r.length + n > r.maxLength) return;
  std::memmove(r.buffer + r.cursor + n, r.buffer + r.cursor, static_cast<size_t>(r.length - r.cursor));
  std::memcpy(r.buffer + r.cursor, bytes, static_cast<size_t>(n));
  r.length += n;
  r.cursor += n;
  r.buffer[r.length] = '\0';
}

void Remove(TextInputRecord& r, int at, int n) {
  std::memmove(r.buffer + at, r.buffer + at + n, static_cast<size_t>(r.length - at - n));
  r.length -= n;
  r.buffer[r.length] = '\0';
}

void Edit(TextInputRecord& r, const uint8_t* c, int n) {
  if (n == 2) {
    Insert(r, c, 2);
    return;
  }
  switch (c[0]) {
    case 0x08:  // Backspace
      if (r.cursor > 0) {
        const int start = PreviousCharStart(r.buffer, r.cursor);
        Remove(r, start, r.cursor - start);
        r.cursor = start;
      }
      break;
    case 0x10:  // Delete
      if (r.cursor < r.length) Remove(r, r.cursor, SjisCharWidth(r.buffer + r.cursor));
      break;
    case 0x1D:  // left
      if (r.cursor > 0) r.cursor = PreviousCharStart(r.buffer, r.cursor);
      break;
    case 0x1C:  // right
      if (r.cursor < r.length) r.cursor += SjisCharWidth(r.buffer + r.cursor);
      break;
    case 0x0D: r.done = 1; break;
    case 0x1B: r.cancelled = 1; break;
    default:
      if (c[0] >= 0x20) Insert(r, c, 1);
      break;
  }
}

}  // namespace

void StartImeResetSequence() {
  TextInputState& t = GetTextInputState();
  if (t.imeEnabled && plat::ImmGetOpenStatus(GetFrameWindowHandle())) t.resetState = 1;
}

plat::LResult CaptureImeCandidates(uint32_t message, plat::WParam wParam, plat::LParam lParam, plat::Hwnd window) {
  TextInputState& t = GetTextInputState();
  t.lastChange = plat::timeGetTime();
  t.blink = 1;
  switch (message) {
    case plat::WM_IME_STARTCOMPOSITION:
      t.composing = 1;
      t.imeCursor = 0;
      return 0;
    case plat::WM_IME_ENDCOMPOSITION:
      t.composition[0] = '\0';
      t.composing = 0;
      return 0;
    case plat::WM_IME_COMPOSITION: {
      const uint32_t flags = static_cast<uint32_t>(lParam);
      if (flags & plat::GCS_COMPSTR) ReadComposition(window);
      if (flags & plat::GCS_RESULTSTR) ReadResult(window);
      if (flags & plat::GCS_CURSORPOS) ReadCursor(window);
      if (flags & plat::GCS_COMPATTR) {
        int32_t n = plat::ImmGetCompositionString(window, plat::GCS_COMPATTR, t.attributes, kImeBufferSize);
        if (n < 0) n = 0;
        if (n < kImeBufferSize) std::memset(t.attributes + n, 0, static_cast<size_t>(kImeBufferSize - n));
      }
      return 0;
    }
    case plat::WM_IME_NOTIFY:
      if (wParam == plat::IMN_OPENCANDIDATE || wParam == plat::IMN_CHANGECANDIDATE) {
        CopyCandidates(window);
        return 0;
      }
      if (wParam == plat::IMN_CLOSECANDIDATE) {
        FreeCandidates();
        return 0;
      }
      return plat::DefWindowProc(window, message, wParam, lParam);
    default: return plat::DefWindowProc(window, message, wParam, lParam);
  }
}

int ProcessTextInput() {
  TextInputState& t = GetTextInputState();
  const plat::Hwnd window = GetFrameWindowHandle();
  if (t.resetState != 0) StepImeReset(window);
  if (t.activeHandle == -1) return 0;
  TextInputRecord* r = FindTextInput(t.activeHandle);
  if (r == nullptr) return -1;
  LimitComposition(window, *r);
  uint8_t c[2];
  int n;
  while (!r->done && !r->cancelled && (n = GetCharFromInputBuffer(c, 1)) > 0) Edit(*r, c, n);
  if (r->done || r->cancelled) t.activeHandle = -1;
  return 0;
}

}  // namespace qor
