#pragma once
// The multimedia timer: a millisecond clock and its resolution requests.
#include <windows.h>

typedef UINT MMRESULT;
#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97

#ifdef __cplusplus
extern "C" {
#endif

// Milliseconds since an arbitrary start, as a 32-bit count that wraps to 0 after 2^32 - 1
// (about 49.7 days); callers take unsigned differences. The headless realization's clock is
// set and advanced by the test.
DWORD WINAPI timeGetTime(void);
// Resolution requests: accepted for 1..1000 ms and otherwise refused with TIMERR_NOCANDO; our
// clocks are already millisecond-exact, so they change nothing else.
MMRESULT WINAPI timeBeginPeriod(UINT uPeriod);
MMRESULT WINAPI timeEndPeriod(UINT uPeriod);

#ifdef __cplusplus
}
#endif
