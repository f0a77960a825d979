// Keyboard text typed into the window: the character ring the window
// procedure fills, the text-input records that take characters from it, and
// the input method's composition and candidates, kept so that the framework
// can draw them itself.
#pragma once

#include <cstdint>

#include "platform/window/window.h"

namespace qor {

constexpr int kCharRingSize = 1025;  // holds 1,024 bytes
constexpr int kMaxTextInputs = 256;
constexpr int kImeBufferSize = 1024;
constexpr int kImeColorCount = 12;
constexpr uint32_t kTextInputHandleKind = 0x50000000u;

struct TextInputRecord {
  int inUse = 0;
  int check = 0;      // 11-bit check number of its handle
  int flags = 0;
  char* buffer = nullptr;  // framework allocator
  int capacity = 0;        // bytes the buffer holds, the terminating zero included
  int maxLength = 0;       // bytes the text may take
  int length = 0;
  int cursor = 0;          // byte offset
  int done = 0;            // Return was typed
  int cancelled = 0;       // Escape was typed
};

struct TextInputState {
  uint8_t ring[kCharRingSize] = {};
  int readIndex = 0, writeIndex = 0;
  int leadRefused = 0;  // the last byte was a lead byte the ring had no room for
  TextInputRecord records[kMaxTextInputs];
  int activeHandle = -1;
  int nextCheck = 0;
  char* sharedBuffer = nullptr;
  // Input method.
  int imeEnabled = 0, composing = 0;
  char composition[kImeBufferSize] = {};
  uint8_t attributes[kImeBufferSize] = {};
  int imeCursor = 0;  // in characters
  uint8_t* candidates = nullptr;  // framework allocator
  uint32_t candidateSize = 0;
  int resetState = 0;             // 0..4
  char savedComposition[kImeBufferSize] = {};
  uint32_t lastChange = 0;
  int blink = 0;
  int blinkPeriod = 500;
  int colors[kImeColorCount] = {};
};

TextInputState& GetTextInputState();
// Back to the load state; buffers still held are freed first.
void ResetTextInput();

int InitCharCodeBuffer();
int PutCharToInputBuffer(uint8_t byte);             // 0, -1 when full
int GetCharFromInputBuffer(uint8_t* out2, int take);  // bytes taken: 0, 1 or 2
int IsCharRingFull();
int CountCharsSjis(const char* text, int bytes);
int IsControlCharCode(uint8_t byte);
int SetImeEnabled(int enable);
// Text-input records: nothing in the program makes one; these make, find
// and activate a plain line editor of up to `maxLength` bytes.
int MakeTextInputHandle(int maxLength);  // handle, or -1
TextInputRecord* FindTextInput(int handle);
int SetActiveTextInputHandle(int handle);  // -1 deactivates
int DeleteTextInputHandle(int handle);
int DeleteAllTextInputHandles();
int ProcessTextInput();
plat::LResult CaptureImeCandidates(uint32_t message, plat::WParam wParam, plat::LParam lParam, plat::Hwnd window);
// Window activation while the IME is enabled and open starts the reset
// sequence that the per-frame step runs.
void StartImeResetSequence();

}  // namespace qor
