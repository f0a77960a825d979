// Checking what comes from outside before the HTTP client uses it: the URL a
// caller gives and the Content-Length a server sends.
#include <strings.h>

#include <cstring>

#include "framework/core/net/http_request.h"

namespace qor {

namespace {

bool IsHostChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
         c == '_';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes a request line can carry: no blanks, no controls.
bool IsPathByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b > 0x20 && b != 0x7F;
}

}  // namespace

int ParseHttpUrl(const char* url, HttpUrl* out) {
  static constexpr char kScheme[] = "http://";
  if (url == nullptr || out == nullptr || strncasecmp(url, kScheme, sizeof kScheme - 1) != 0) return -1;
  const char* p = url + sizeof kScheme - 1;
  size_t hostLength = 0;
  while (IsHostChar(p[hostLength])) ++hostLength;
  if (hostLength == 0 || hostLength >= sizeof out->host) return -1;
  std::memcpy(out->host, p, hostLength);
  out->host[hostLength] = '\0';
  p += hostLength;

  out->port = 80;
  if (*p == ':') {
    ++p;
    int digits = 0;
    int port = 0;
    while (IsDigit(*p) && digits < 6) {
      port = port * 10 + (*p++ - '0');
      ++digits;
    }
    if (digits == 0 || digits > 5 || port < 1 || port > 65535) return -1;
    out->port = port;
  }

  if (*p == '\0') {
    std::strcpy(out->path, "/");
    return 0;
  }
  if (*p != '/') return -1;
  size_t pathLength = 0;
  while (p[pathLength] != '\0') {
    if (!IsPathByte(p[pathLength]) || pathLength + 1 >= sizeof out->path) return -1;
    ++pathLength;
  }
  std::memcpy(out->path, p, pathLength);
  out->path[pathLength] = '\0';
  return 0;
}

int32_t ParseContentLength(const char* value) {
  const char* p = value;
  while (*p == ' ' || *p == '\t') ++p;
  if (!IsDigit(*p)) return -1;
  int64_t n = 0;
  while (IsDigit(*p)) {
    n = n * 10 + (*p++ - '0');
    if (n > kMaxHttpBody) return -1;
  }
  while (*p == ' ' || *p == '\t' || *p == '\r') ++p;
  return *p == '\0' ? static_cast<int32_t>(n) : -1;
}

}  // namespace qor
