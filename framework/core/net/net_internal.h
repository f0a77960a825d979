// What the socket files and the HTTP client share inside the framework.
#pragma once

#include "framework/core/net/net_socket.h"

namespace qor {

// The record of a handle that validates and has no error, else nullptr after
// logging the matching text (either may be nullptr: nothing logged).
SocketRecord* CheckSocketHandle(int handle, const char* invalidText, const char* errorText);
// Packet mode: takes what has arrived of the messages into the receive ring.
// 0, or -1 when a length from the peer was refused (the error flag is set).
int ReceiveMessages(SocketRecord* record);
// Sends what waits in the send ring as far as it goes; 0, or -1 when the
// connection failed (the error flag is set).
int FlushSendRing(SocketRecord* record);

}  // namespace qor
