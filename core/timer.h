#pragma once
// The engine's one clock: a millisecond stopwatch on the multimedia timer.
#include <windows.h>
#include <mmsystem.h>

// A plain record: construction leaves it unset, every owner calls Start before reading it.
// Elapsed is the unsigned difference of now and referenceTime, taken modulo 2^32, so it stays
// right across the clock's wrap and turns huge when referenceTime is moved ahead of now (the
// window procedure does that on purpose to let the console accept a key at once).
struct Timer {
    DWORD startTime;
    DWORD referenceTime;
    bool held;

    void Start();
    DWORD Elapsed();
};
