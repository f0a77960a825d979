// The HTTP request table and the steps of a request: send the request text,
// read the status line, the headers and the body.
#include "framework/core/net/http_request.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/net/net_internal.h"
#include "framework/core/string_helpers.h"

namespace qor {

namespace {

HttpState g_http;

constexpr int kRequestTextCapacity = kHttpHostCapacity + kHttpPathCapacity + 128;
constexpr int kHeaderLinesPerStep = 64;
constexpr int kStatesPerStep = 4;
constexpr int kFirstBlock = 4096;

HttpRequest* Live(int slot) {
  if (slot < 0 || slot >= kMaxHttpRequests || !g_http.requests[slot].live) return nullptr;
  return &g_http.requests[slot];
}

int Fail(int slot, int code) {
  CloseHttpHandle(slot, kHttpFailed, code);
  return 0;
}

// Memory output: makes room for `bytes` of body and a terminator, and shows
// the block to the caller. -1 when that is over the cap or memory is out.
int GrowBody(HttpRequest* q, int64_t bytes) {
  if (bytes > kMaxHttpBody) return -1;
  if (q->capacity > bytes) return 0;
  int64_t capacity = q->capacity * int64_t{2};
  if (capacity < kFirstBlock) capacity = kFirstBlock;
  if (capacity < bytes + 1) capacity = bytes + 1;
  if (capacity > kMaxHttpBody + int64_t{1}) capacity = kMaxHttpBody + int64_t{1};
  void* block = ReallocMemory(q->buffer, static_cast<size_t>(capacity), "http_request", __LINE__);
  if (block == nullptr) return -1;
  q->buffer = static_cast<uint8_t*>(block);
  q->capacity = static_cast<int32_t>(capacity);
  if (q->callerBuffer) *q->callerBuffer = q->buffer;
  return 0;
}

int Succeed(int slot) {
  HttpRequest* q = &g_http.requests[slot];
  if (q->output == kHttpToMemory) {
    if (GrowBody(q, q->received) != 0) return Fail(slot, kHttpCodeLength);
    q->buffer[q->received] = 0;
  }
  CloseHttpHandle(slot, kHttpDone, kHttpCodeStatus);
  return 0;
}

// State 0: the request text exactly as the server expects it, then a POST's body.
int SendRequest(int slot) {
  HttpRequest* q = &g_http.requests[slot];
  char text[kRequestTextCapacity];
  int n = -1;
  switch (q->kind) {
    case kHttpGet:
      n = std::snprintf(text, sizeof text, "GET %s HTTP/1.0\r\nHost: %s:%d\r\nConnection: close\r\n\r\n", q->path,
                        q->host, q->port);
      break;
    case kHttpPost:
      n = std::snprintf(text, sizeof text, "POST %s HTTP/1.0\nHost: %s:%d\nContent-Length: %d\n\n", q->path, q->host,
                        q->port, q->bodyLength);
      break;
    default: n = std::snprintf(text, sizeof text, "HEAD %s HTTP/1.0\n\n", q->path); break;
  }
  if (n < 0 || n >= static_cast<int>(sizeof text) || NetSend(q->socket, text, n) != 0) {
    return Fail(slot, kHttpCodeTransfer);
  }
  if (q->kind == kHttpPost && NetSend(q->socket, q->body, q->bodyLength) != 0) return Fail(slot, kHttpCodeTransfer);
  FreeMemory(q->body);
  q->body = nullptr;
  q->state = 1;
  return 1;
}

// One line of the response head, counted against the cap; -1 while none is
// there, -2 when the head is too long (the request has failed).
int ReadHeadLine(int slot, char* line) {
  HttpRequest* q = &g_http.requests[slot];
  if (ReadNetLine(q->socket, line) < 0) return -1;
  const SocketRecord* r = FindSocketRecord(q->socket);
  q->headerBytes += (r ? r->lastLineLength : 0) + 1;
  if (q->headerBytes > kMaxHttpHeaderBytes) {
    Fail(slot, kHttpCodeTransfer);
    return -2;
  }
  return 0;
}

// State 1.
int ReadStatus(int slot) {
  char line[kNetLineCapacity];
  if (ReadHeadLine(slot, line) < 0) return 0;
  const int status = ParseIntAfterBlank(line);
  if (status == 200) {
    g_http.requests[slot].state = 2;
    return 1;
  }
  LogPrintf("接続に失敗しました (戻り値:%d)", status);
  return Fail(slot, status == 404 ? kHttpCodeNotFound : kHttpCodeStatus);
}

// State 2.
int ReadHeaders(int slot) {
  HttpRequest* q = &g_http.requests[slot];
  static constexpr char kLengthName[] = "Content-Length:";
  char line[kNetLineCapacity];
  for (int i = 0; i < kHeaderLinesPerStep; ++i) {
    if (ReadHeadLine(slot, line) < 0) return 0;
    if (std::strchr(line, ':') == nullptr) {
      if (q->kind == kHttpHead) return Succeed(slot);  // a HEAD response has no body
      q->state = 3;
      return 1;
    }
    if (strncasecmp(line, kLengthName, sizeof kLengthName - 1) != 0) continue;
    const int32_t length = ParseContentLength(line + sizeof kLengthName - 1);
    if (length < 0 || (q->contentLength >= 0 && length != q->contentLength)) return Fail(slot, kHttpCodeLength);
    q->contentLength = length;
    if (q->output == kHttpToMemory && q->kind != kHttpHead && GrowBody(q, length) != 0) {
      return Fail(slot, kHttpCodeLength);
    }
  }
  return 0;
}

// State 3: one read a step.
int ReadBody(int slot) {
  HttpRequest* q = &g_http.requests[slot];
  if (q->contentLength >= 0 && q->received >= q->contentLength) return Succeed(slot);
  int64_t want = sizeof g_http.chunk;
  uint8_t* into = g_http.chunk;
  if (q->contentLength >= 0 && want > q->contentLength - q->received) want = q->contentLength - q->received;
  if (q->output == kHttpToMemory && q->received < kMaxHttpBody) {
    if (GrowBody(q, q->received + 1) != 0) return Fail(slot, kHttpCodeLength);
    want = q->capacity - 1 - q->received;
    if (q->contentLength >= 0 && want > q->contentLength - q->received) want = q->contentLength - q->received;
    into = q->buffer + q->received;
  }
  const int n = NetRecv(q->socket, into, static_cast<int>(want));
  if (n > 0) {
    if (q->output == kHttpToMemory && into == g_http.chunk) return Fail(slot, kHttpCodeLength);  // past the cap
    if (q->output == kHttpToFile && plat::WriteFileBytes(q->file, into, static_cast<size_t>(n)) != n) {
      return Fail(slot, kHttpCodeOutput);
    }
    q->received += n;
    if (q->contentLength >= 0 && q->received >= q->contentLength) return Succeed(slot);
    return 0;
  }
  if (n < 0 && plat::WSAGetLastError() == plat::WSAEWOULDBLOCK) return 0;
  // The connection ended: whole only when no length was promised.
  if (n == 0 && q->contentLength < 0) return Succeed(slot);
  return Fail(slot, kHttpCodeTransfer);
}

int StepRequest(int slot) {
  for (int i = 0; i < kStatesPerStep; ++i) {
    const HttpRequest* q = Live(slot);
    if (q == nullptr || q->result != kHttpRunning) return 0;
    int advanced = 0;
    switch (q->state) {
      case 0: advanced = SendRequest(slot); break;
      case 1: advanced = ReadStatus(slot); break;
      case 2: advanced = ReadHeaders(slot); break;
      case 3: advanced = ReadBody(slot); break;
      default: return 0;
    }
    if (!advanced) break;
  }
  return 0;
}

bool ArgumentsFit(int kind, const void* body, int bodyLength, int output, const char* fileName, void** memoryOut) {
  if (kind < kHttpGet || kind > kHttpHead) return false;
  if (kind == kHttpPost && (bodyLength < 0 || bodyLength > kMaxHttpBody || (body == nullptr && bodyLength > 0))) {
    return false;
  }
  if (output == kHttpToFile) return fileName != nullptr;
  return output == kHttpToMemory && memoryOut != nullptr;
}

}  // namespace

HttpState& GetHttpState() { return g_http; }

void ClearHttpTable() {
  for (HttpRequest& q : g_http.requests) q = HttpRequest{};
  g_http.count = 0;
}

int StartHttpRequest(int kind, const char* url, const void* body, int bodyLength, int output, const char* fileName,
                     void** memoryOut) {
  HttpUrl parts;
  if (ParseHttpUrl(url, &parts) != 0 || !ArgumentsFit(kind, body, bodyLength, output, fileName, memoryOut)) return -1;
  uint8_t address[4];
  if (plat::ResolveHostIPv4(parts.host, address) != 0) return NetLogPrintf("ホスト %s が見つかりません", parts.host);
  const int socket = ConnectNet(address, parts.port);
  if (socket < 0) return -1;
  return StartHttpOnSocket(socket, kind, parts, body, bodyLength, output, fileName, memoryOut);
}

int StartHttpOnSocket(int socket, int kind, const HttpUrl& url, const void* body, int bodyLength, int output,
                      const char* fileName, void** memoryOut) {
  int slot = 0;
  while (slot < kMaxHttpRequests && g_http.requests[slot].live) ++slot;
  if (slot == kMaxHttpRequests || !ArgumentsFit(kind, body, bodyLength, output, fileName, memoryOut) ||
      SetNetPacketMode(socket, 0) != 0) {
    CloseSocketHandle(socket);
    return -1;
  }
  HttpRequest q{};
  q.kind = kind;
  q.socket = socket;
  q.output = output;
  q.file = plat::kNoFile;
  q.contentLength = -1;
  q.result = kHttpRunning;
  q.port = url.port;
  CopyStringN(q.host, sizeof q.host, url.host);
  CopyStringN(q.path, sizeof q.path, url.path);
  if (kind == kHttpPost && bodyLength > 0) {
    q.body = static_cast<uint8_t*>(AllocMemory(static_cast<size_t>(bodyLength), "http_request", __LINE__));
    if (q.body != nullptr) std::memcpy(q.body, body, static_cast<size_t>(bodyLength));
  }
  q.bodyLength = kind == kHttpPost ? bodyLength : 0;
  if (output == kHttpToFile) q.file = plat::OpenFileForWrite(fileName, plat::FileCreate::CreateAlways);
  if ((q.bodyLength > 0 && q.body == nullptr) || (output == kHttpToFile && q.file == plat::kNoFile)) {
    FreeMemory(q.body);
    CloseSocketHandle(socket);
    return -1;
  }
  if (output == kHttpToMemory) {
    q.callerBuffer = memoryOut;
    *memoryOut = nullptr;
  }
  q.live = 1;
  g_http.requests[slot] = q;
  ++g_http.count;
  return slot;
}

int GetHttpRequestResult(int slot, int* result, int* code, int* length) {
  const HttpRequest* q = Live(slot);
  if (q == nullptr) return -1;
  if (result) *result = q->result;
  if (code) *code = q->code;
  if (length) *length = q->received;
  return q->result == kHttpRunning ? 1 : 0;
}

int HttpSendGet(int slot) { return Live(slot) ? StepRequest(slot) : -1; }
int HttpSendPost(int slot) { return Live(slot) ? StepRequest(slot) : -1; }
int HttpSendHead(int slot) { return Live(slot) ? StepRequest(slot) : -1; }

int StepHttpHandle(int slot) {
  const HttpRequest* q = Live(slot);
  if (q == nullptr || q->result != kHttpRunning) return 0;
  const SocketRecord* r = FindSocketRecord(q->socket);
  if (r == nullptr || r->error) return Fail(slot, kHttpCodeTransfer);
  // A connection that has ended with nothing left to read: only the body
  // may end so (its step decides whether it is whole).
  if (r->closedByPeer && q->state != 3 && GetNetDataLength(q->socket) == 0) return Fail(slot, kHttpCodeTransfer);
  switch (q->kind) {
    case kHttpGet: return HttpSendGet(slot);
    case kHttpPost: return HttpSendPost(slot);
    default: return HttpSendHead(slot);
  }
}

int StepAllHttpHandles() {
  for (int slot = 0; slot < kMaxHttpRequests && g_http.count > 0; ++slot) StepHttpHandle(slot);
  return 0;
}

int CloseHttpHandle(int slot, int result, int code) {
  HttpRequest* q = Live(slot);
  if (q == nullptr) return 0;
  if (q->result == kHttpRunning) {
    q->result = result;
    q->code = code;
  }
  if (q->socket >= 0) CloseSocketHandle(q->socket);
  q->socket = -1;
  FreeMemory(q->body);
  q->body = nullptr;
  if (q->output == kHttpToFile && q->file != plat::kNoFile) plat::CloseFile(q->file);
  q->file = plat::kNoFile;
  if (q->output == kHttpToMemory) {
    if (q->result != kHttpDone) {
      FreeMemory(q->buffer);
      if (q->callerBuffer) *q->callerBuffer = nullptr;
    }
    q->buffer = nullptr;  // a finished body belongs to the caller
  }
  q->state = 4;
  return 0;
}

int CloseHttpHandleByIndex(int index) {
  HttpRequest* q = Live(index);
  if (q == nullptr) return -1;
  CloseHttpHandle(index, kHttpFailed, kHttpCodeCancelled);
  *q = HttpRequest{};
  --g_http.count;
  return 0;
}

int CloseAllHttpHandles() {
  for (int slot = 0; slot < kMaxHttpRequests; ++slot) CloseHttpHandleByIndex(slot);
  return 0;
}

}  // namespace qor
