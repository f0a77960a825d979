// The character ring, character counting and the text-input records.
#include "framework/core/input/text_input.h"

#include "framework/core/log.h"
#include "framework/core/window/main_window.h"
#include "framework/core/memory.h"
#include "framework/core/life/module_hooks.h"
#include "framework/core/string_helpers.h"
#include "platform/window/ime.h"

namespace qor {

namespace {

TextInputState g_text;

constexpr int kCheckMask = 0x7FF;

int NextIndex(int i) { return i + 1 == kCharRingSize ? 0 : i + 1; }
int PreviousIndex(int i) { return i == 0 ? kCharRingSize - 1 : i - 1; }

int RingCount() { return (g_text.writeIndex - g_text.readIndex + kCharRingSize) % kCharRingSize; }
int RingFree() { return kCharRingSize - 1 - RingCount(); }

bool IsTrailByte(uint8_t c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// True when the newest byte in the ring is a lead byte still waiting for
// its trail byte (the bytes before it are walked as characters).
bool EndsWithLoneLead() {
  bool lone = false;
  for (int i = g_text.readIndex; i != g_text.writeIndex; i = NextIndex(i)) {
    const uint8_t c = g_text.ring[i];
    if (lone) {
      lone = false;
      continue;
    }
    lone = !IsControlCharCode(c) && IsSjisLead(c);
  }
  return lone;
}

int CheckOf(int handle) { return (handle >> 16) & kCheckMask; }
int IndexOf(int handle) { return handle & 0xFFFF; }

void FreeRecord(TextInputRecord& r) {
  if (r.buffer != nullptr) FreeMemory(r.buffer);
  r = TextInputRecord{};
}

}  // namespace

TextInputState& GetTextInputState() { return g_text; }

void ResetTextInput() {
  for (TextInputRecord& r : g_text.records) {
    if (r.buffer != nullptr) FreeMemory(r.buffer);
  }
  if (g_text.sharedBuffer != nullptr) FreeMemory(g_text.sharedBuffer);
  if (g_text.candidates != nullptr) FreeMemory(g_text.candidates);
  g_text = TextInputState{};
}

int InitCharCodeBuffer() {
  LogOutput("文字コードバッファの初期化を行います... ");
  ResetTextInput();
  static const int kColors[kImeColorCount][3] = {
      {255, 255, 255}, {255, 255, 0}, {255, 255, 255}, {0, 255, 255}, {255, 255, 255}, {255, 0, 0},
      {255, 255, 20},  {0, 0, 0},     {0, 0, 0},       {0, 0, 0},     {255, 255, 0},   {0, 0, 0},
  };
  for (int i = 0; i < kImeColorCount; ++i) {
    g_text.colors[i] = GetModuleHooks().packColorRGB(kColors[i][0], kColors[i][1], kColors[i][2]);
  }
  g_text.activeHandle = -1;
  g_text.blinkPeriod = 500;
  LogOutput("完了しました\n");
  return 0;
}

int IsCharRingFull() { return RingFree() == 0 ? 1 : 0; }

int PutCharToInputBuffer(uint8_t byte) {
  if (g_text.leadRefused) {
    // The trail byte of a lead byte that found no room goes with it, so that
    // it is not read as a character of its own.
    g_text.leadRefused = 0;
    if (IsTrailByte(byte)) return -1;
  }
  if (EndsWithLoneLead()) {
    // A lead byte keeps the place of its trail byte; anything else after it
    // means the pair was broken, and the lone lead byte goes.
    if (!IsTrailByte(byte)) g_text.writeIndex = PreviousIndex(g_text.writeIndex);
  } else if (!IsControlCharCode(byte) && IsSjisLead(byte)) {
    if (RingFree() < 2) {  // a lead byte only goes in with room for its trail
      g_text.leadRefused = 1;
      return -1;
    }
  }
  if (RingFree() == 0) return -1;
  g_text.ring[g_text.writeIndex] = byte;
  g_text.writeIndex = NextIndex(g_text.writeIndex);
  return 0;
}

int GetCharFromInputBuffer(uint8_t* out2, int take) {
  if (g_text.readIndex == g_text.writeIndex) return 0;
  int at = g_text.readIndex;
  const uint8_t first = g_text.ring[at];
  at = NextIndex(at);
  int n = 1;
  uint8_t second = 0;
  if (!IsControlCharCode(first) && IsSjisLead(first)) {
    if (at == g_text.writeIndex) return 0;  // the trail byte has not come yet
    second = g_text.ring[at];
    at = NextIndex(at);
    n = 2;
  }
  if (out2 != nullptr) {
    out2[0] = first;
    out2[1] = second;
  }
  if (take) g_text.readIndex = at;
  return n;
}

int CountCharsSjis(const char* text, int bytes) {
  if (text == nullptr) return 0;
  int count = 0;
  for (int i = 0; i < bytes && text[i] != '\0'; ++count) {
    i += (IsSjisLead(static_cast<uint8_t>(text[i])) && i + 1 < bytes && text[i + 1] != '\0') ? 2 : 1;
  }
  return count;
}

int IsControlCharCode(uint8_t byte) {
  return (byte == 0x10 || byte == 0x1D || byte == 0x1C || byte == 0x1E || byte == 0x1F) ? 1 : 0;
}

int SetImeEnabled(int enable) {
  plat::WINNLSEnableIME(GetFrameWindowHandle(), enable != 0);
  g_text.imeEnabled = enable != 0 ? 1 : 0;
  if (!enable) {
    if (g_text.candidates != nullptr) FreeMemory(g_text.candidates);
    g_text.candidates = nullptr;
    g_text.candidateSize = 0;
    g_text.composition[0] = '\0';
    g_text.composing = 0;
    g_text.imeCursor = 0;
  }
  return 0;
}

int MakeTextInputHandle(int maxLength) {
  if (maxLength <= 0 || maxLength > 0xFFFF) return -1;
  for (int i = 0; i < kMaxTextInputs; ++i) {
    TextInputRecord& r = g_text.records[i];
    if (r.inUse) continue;
    r = TextInputRecord{};
    r.buffer = static_cast<char*>(AllocMemoryZeroed(static_cast<size_t>(maxLength) + 1, __FILE__, __LINE__));
    if (r.buffer == nullptr) return -1;
    g_text.nextCheck = (g_text.nextCheck + 1) & kCheckMask;
    if (g_text.nextCheck == 0) g_text.nextCheck = 1;
    r.inUse = 1;
    r.check = g_text.nextCheck;
    r.capacity = maxLength + 1;
    r.maxLength = maxLength;
    return static_cast<int>(kTextInputHandleKind | (static_cast<uint32_t>(r.check) << 16) | static_cast<uint32_t>(i));
  }
  return -1;
}

TextInputRecord* FindTextInput(int handle) {
  if (handle < 0 || (static_cast<uint32_t>(handle) & 0x78000000u) != kTextInputHandleKind) return nullptr;
  const int index = IndexOf(handle);
  if (index >= kMaxTextInputs) return nullptr;
  TextInputRecord& r = g_text.records[index];
  if (!r.inUse || r.check != CheckOf(handle)) return nullptr;
  return &r;
}

int SetActiveTextInputHandle(int handle) {
  if (handle != -1 && FindTextInput(handle) == nullptr) return -1;
  g_text.activeHandle = handle;
  if (handle != -1 && !g_text.imeEnabled) SetImeEnabled(1);
  return 0;
}

int DeleteTextInputHandle(int handle) {
  TextInputRecord* r = FindTextInput(handle);
  if (r == nullptr) return -1;
  FreeRecord(*r);
  if (g_text.activeHandle == handle) g_text.activeHandle = -1;
  for (const TextInputRecord& other : g_text.records) {
    if (other.inUse) return 0;
  }
  SetImeEnabled(0);
  return 0;
}

int DeleteAllTextInputHandles() {
  for (TextInputRecord& r : g_text.records) {
    if (r.inUse) FreeRecord(r);
  }
  g_text.activeHandle = -1;
  if (g_text.sharedBuffer != nullptr) FreeMemory(g_text.sharedBuffer);
  g_text.sharedBuffer = nullptr;
  return 0;
}

}  // namespace qor
