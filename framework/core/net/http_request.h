// A small HTTP 1.0 client stepped from the message pump: GET, POST and HEAD
// over a stream-mode connection, the body written to a file or gathered in
// memory. Requests live in a table of 100 slots and are named by their slot.
//
// A request ends with a result and a code: result 0 (code 0) when the body
// arrived whole, else result 2 with the code saying why (HttpCode).
#pragma once

#include <cstdint>

#include "platform/kernel/file_io.h"

namespace qor {

constexpr int kMaxHttpRequests = 100;
constexpr int kHttpHostCapacity = 256;  // 255 bytes and the terminator
constexpr int kHttpPathCapacity = 1024;
// The largest body (given or gathered) and the most header bytes taken.
constexpr int32_t kMaxHttpBody = 64 * 1024 * 1024;
constexpr int32_t kMaxHttpHeaderBytes = 64 * 1024;

enum HttpKind { kHttpGet = 0, kHttpPost = 1, kHttpHead = 2 };
enum HttpOutput { kHttpToFile = 0, kHttpToMemory = 1 };
enum HttpResult { kHttpRunning = -1, kHttpDone = 0, kHttpFailed = 2 };
enum HttpCode {
  kHttpCodeStatus = 0,     // a status other than 200 and 404 (also: success)
  kHttpCodeNotFound = 1,   // 404
  kHttpCodeLength = 2,     // a Content-Length refused, or no memory for the body
  kHttpCodeTransfer = 3,   // no connection, a response cut short or malformed
  kHttpCodeOutput = 4,     // the output file could not be written
  kHttpCodeCancelled = 5,  // closed before it ended
};

struct HttpRequest {
  int32_t live;
  int32_t state;  // 0 send, 1 status line, 2 headers, 3 body, 4 closed
  int32_t kind;
  int32_t socket;  // socket handle, -1 once closed
  int32_t output;
  plat::FileDesc file;
  void** callerBuffer;  // memory output: where the body's block is given
  uint8_t* buffer;
  int32_t capacity;
  int32_t contentLength;  // -1 when not given
  int32_t received;
  int32_t headerBytes;
  char host[kHttpHostCapacity];
  int32_t port;
  char path[kHttpPathCapacity];
  uint8_t* body;  // POST: a copy of the body
  int32_t bodyLength;
  int32_t result;
  int32_t code;
};

struct HttpState {
  HttpRequest requests[kMaxHttpRequests];
  int32_t count;
  uint8_t chunk[4096];  // file output reads through it
};

HttpState& GetHttpState();

struct HttpUrl {
  char host[kHttpHostCapacity];
  int port;
  char path[kHttpPathCapacity];
};
// "http://host[:port][/path]": 0 with its parts (port 80 and path "/" when
// not given), or -1 for anything that does not fit them: another scheme, an
// empty or over-long host, a character a host name cannot hold, a port
// outside 1..65535, a path over 1,023 bytes or with blanks or controls.
int ParseHttpUrl(const char* url, HttpUrl* out);
// A Content-Length value: the number, or -1 when it is negative, not a
// plain decimal number or above kMaxHttpBody.
int32_t ParseContentLength(const char* value);

// Starts a request: resolves the host, connects and takes a slot. `body` is
// copied (POST only). File output creates or empties `fileName`; memory
// output gives the body's block (zero-terminated, from AllocMemory, the
// caller frees it) through `*memoryOut`. The slot, or -1.
int StartHttpRequest(int kind, const char* url, const void* body, int bodyLength, int output, const char* fileName,
                     void** memoryOut);
// The same over a connection already made (its socket handle; taken over
// and closed with the request), for a host and path already checked.
int StartHttpOnSocket(int socket, int kind, const HttpUrl& url, const void* body, int bodyLength, int output,
                      const char* fileName, void** memoryOut);
// 1 while the request runs, 0 once it ended (result, code and bytes of body
// filled where asked), -1 for a slot with no request.
int GetHttpRequestResult(int slot, int* result, int* code, int* length);

int HttpSendGet(int slot);
int HttpSendPost(int slot);
int HttpSendHead(int slot);
int StepHttpHandle(int slot);
int StepAllHttpHandles();
// Closes a request: its socket, buffers and file; the first result and code
// given stay. A failed memory output frees the block and clears the
// caller's pointer. The slot stays until CloseHttpHandleByIndex frees it.
int CloseHttpHandle(int slot, int result, int code);
// Closes the request in slot `index` (cancelled when it still runs) and
// frees that slot; -1 for an index outside the table or an empty slot.
int CloseHttpHandleByIndex(int index);
int CloseAllHttpHandles();  // CloseHttpHandleByIndex on every slot
void ClearHttpTable();

}  // namespace qor
