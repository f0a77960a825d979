// The input method over the host's text editing: the composition the host
// reports, its committed text as the result string, and the open state.
#include "platform/window/ime.h"

#include <cstring>

#include "platform/host/host.h"
#include "platform/kernel/text_encoding.h"
#include "platform/window/window_state.h"

namespace plat {

namespace win {

namespace {


void Post(uint32_t message, WParam wParam, LParam lParam) {
  const WindowRecord& w = State().window;
  if (w.exists) PostToThread(w.thread, Msg{w.handle, message, wParam, lParam, HostMillis()}, false);
}

// The byte offset of character `chars` in a CP932 text of `length` bytes.
int ByteOffsetOfChar(const char* text, int length, int chars) {
  int at = 0;
  for (int n = 0; n < chars && at < length; ++n) {
    at += (IsCp932Lead(static_cast<uint8_t>(text[at])) && at + 1 < length) ? 2 : 1;
  }
  return at;
}

void SetComposition(const char* cp932, int length, int cursor) {
  Ime& ime = State().ime;
  if (length > kImeTextCapacity - 1) length = kImeTextCapacity - 1;
  std::memcpy(ime.composition, cp932, static_cast<size_t>(length));
  ime.composition[length] = '\0';
  ime.compositionLength = length;
  std::memset(ime.attributes, ATTR_INPUT, sizeof ime.attributes);
  ime.cursor = cursor < 0 ? 0 : cursor > length ? length : cursor;
  if (!ime.composing) {
    ime.composing = true;
    Post(WM_IME_STARTCOMPOSITION, 0, 0);
  }
  const WParam first = length > 0 ? static_cast<uint8_t>(cp932[0]) : 0;
  Post(WM_IME_COMPOSITION, first, static_cast<LParam>(GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS));
}

void EndComposition() {
  Ime& ime = State().ime;
  ime.composition[0] = '\0';
  ime.compositionLength = 0;
  ime.cursor = 0;
  if (ime.composing) {
    ime.composing = false;
    Post(WM_IME_ENDCOMPOSITION, 0, 0);
  }
}

int32_t CopyOut(const void* source, int length, void* buffer, uint32_t size) {
  if (size == 0) return length;
  if (buffer == nullptr) return -1;
  const int n = static_cast<uint32_t>(length) < size ? length : static_cast<int>(size);
  std::memcpy(buffer, source, static_cast<size_t>(n));
  return n;
}

}  // namespace

void ImeOnEditing(const HostEvent& event) {
  Ime& ime = State().ime;
  if (!ime.enabled || !ime.open) return;
  char text[sizeof event.text * 2];
  if (Utf8ToCp932(event.text, text, sizeof text) < 0) return;
  const int length = static_cast<int>(std::strlen(text));
  if (length == 0) {
    EndComposition();
    return;
  }
  SetComposition(text, length, ByteOffsetOfChar(text, length, event.cursor));
}

bool ImeOnText(const HostEvent& event) {
  Ime& ime = State().ime;
  if (!ime.enabled || !ime.open || !ime.composing) return false;
  char text[sizeof event.text * 2];
  if (Utf8ToCp932(event.text, text, sizeof text) < 0) return true;  // nothing this system can hold
  const int length = static_cast<int>(std::strlen(text));
  std::memcpy(ime.result, text, static_cast<size_t>(length) + 1);
  ime.resultLength = length;
  Post(WM_IME_COMPOSITION, length > 0 ? static_cast<uint8_t>(text[0]) : 0, static_cast<LParam>(GCS_RESULTSTR));
  EndComposition();
  return true;
}

}  // namespace win

using namespace win;

bool WINNLSEnableIME(Hwnd /*window*/, bool enable) {
  Ime& ime = State().ime;
  const bool old = ime.enabled;
  if (!enable) EndComposition();
  ime.enabled = enable;
  return old;
}

bool IsImeEnabled() { return State().ime.enabled; }

int32_t ImmGetCompositionString(Hwnd /*window*/, uint32_t index, void* buffer, uint32_t size) {
  const Ime& ime = State().ime;
  switch (index) {
    case GCS_COMPSTR: return CopyOut(ime.composition, ime.compositionLength, buffer, size);
    case GCS_COMPATTR: return CopyOut(ime.attributes, ime.compositionLength, buffer, size);
    case GCS_RESULTSTR: return CopyOut(ime.result, ime.resultLength, buffer, size);
    case GCS_CURSORPOS: return ime.cursor;
    default: return -1;
  }
}

uint32_t ImmGetCandidateList(Hwnd /*window*/, uint32_t /*index*/, void* buffer, uint32_t size) {
  Ime& ime = State().ime;
  if (ime.candidateCount == 0) return 0;
  if (size != 0 && ime.failNextCandidateRead) {
    ime.failNextCandidateRead = false;
    return 0;
  }
  // Size, style, count, selection, page start, page size, then one offset
  // per text, then the texts.
  const uint32_t head = 6 * 4 + static_cast<uint32_t>(ime.candidateCount) * 4;
  const uint32_t total = head + static_cast<uint32_t>(ime.candidates.size());
  if (size == 0) return total;
  if (buffer == nullptr || size < total) return 0;
  auto* words = static_cast<uint32_t*>(buffer);
  words[0] = total;
  words[1] = 0;
  words[2] = static_cast<uint32_t>(ime.candidateCount);
  words[3] = 0;
  words[4] = 0;
  words[5] = static_cast<uint32_t>(ime.candidateCount);
  uint32_t offset = head;
  size_t at = 0;
  for (int i = 0; i < ime.candidateCount; ++i) {
    words[6 + i] = offset;
    const size_t n = std::strlen(ime.candidates.data() + at) + 1;
    offset += static_cast<uint32_t>(n);
    at += n;
  }
  std::memcpy(static_cast<char*>(buffer) + head, ime.candidates.data(), ime.candidates.size());
  return total;
}

bool ImmNotifyIME(Hwnd /*window*/, uint32_t action, uint32_t index, uint32_t /*value*/) {
  if (action == NI_COMPOSITIONSTR && index == CPS_CANCEL) {
    EndComposition();
    return true;
  }
  return false;
}

bool ImmGetOpenStatus(Hwnd /*window*/) { return State().ime.open; }

bool ImmSetOpenStatus(Hwnd /*window*/, bool open) {
  Ime& ime = State().ime;
  if (!open) EndComposition();
  ime.open = open;
  return true;
}

bool ImmSetCompositionString(Hwnd /*window*/, uint32_t index, const void* text, uint32_t size) {
  Ime& ime = State().ime;
  if (index != SCS_SETSTR || !ime.enabled || !ime.open) return false;
  const char* bytes = static_cast<const char*>(text);
  int length = 0;
  while (bytes != nullptr && static_cast<uint32_t>(length) < size && bytes[length] != '\0') ++length;
  if (length == 0) {
    EndComposition();
    return true;
  }
  SetComposition(bytes, length, length);
  return true;
}

void SetImeCandidates(const char* const* texts, int count) {
  Ime& ime = State().ime;
  ime.candidates.clear();
  ime.candidateCount = 0;
  for (int i = 0; texts != nullptr && i < count; ++i) {
    const char* t = texts[i] ? texts[i] : "";
    ime.candidates.insert(ime.candidates.end(), t, t + std::strlen(t) + 1);
    ++ime.candidateCount;
  }
}

void FailNextCandidateRead() { State().ime.failNextCandidateRead = true; }

}  // namespace plat
