// Threads and events for the framework's reader threads, in the shape the
// framework expects of the machine: a thread runs one function until it
// returns, an event is a flag with waiters (manual or automatic reset).
#pragma once

#include <cstdint>

namespace plat {

struct Thread;
struct Event;

// Starts `body(argument)` on a new thread. Returns nullptr when no thread can
// be made (or when a failure was asked for with FailNextThreadCreate).
Thread* CreateThread(void (*body)(void* argument), void* argument);
// Waits until the thread's function has returned and frees the record.
void JoinThread(Thread* thread);

Event* CreateEvent(bool manualReset, bool initiallySignalled);
void CloseEvent(Event* event);
void SetEvent(Event* event);
void ResetEvent(Event* event);
// Waits until the event is signalled: 0 when it is (an automatic-reset event
// is reset by the wait), 1 when `timeoutMs` passed first. A negative time-out
// waits without limit; 0 only tests.
int WaitEvent(Event* event, int timeoutMs);

// Gives the processor to another thread (the "sleep 0" of polling loops).
void YieldThread();
// Sleeps on the real clock, whatever host runs the program.
void SleepRealMs(uint32_t ms);

// Failure injection and counters for tests.
void FailNextThreadCreate();
int LiveThreadCount();
void ResetThreadStandIn();

}  // namespace plat
