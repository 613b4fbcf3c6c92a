// The clock: seconds as a double, from the high-resolution counter when the
// platform has one, otherwise from the millisecond timer.
#pragma once

// Chooses the counter and its period. ReadClock calls it itself when it has not run.
void InitClock();

// The fallback InitClock takes without a high-resolution counter: the unsigned
// 32-bit millisecond timer, period 0.001 s.
void InitMillisecondClock();

// The current count x period, in seconds. Only differences are meaningful.
double ReadClock();
