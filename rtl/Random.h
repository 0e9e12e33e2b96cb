// Random numbers.
//
// 1. The program's pseudo-random generator, with the class library's
//    interface and sequence: RandSeed := RandSeed * $08088405 + 1 (mod 2^32);
//    Random(Range) = (Cardinal(Range) * Cardinal(RandSeed)) shr 32;
//    Random() = Cardinal(RandSeed) / 2^32. A given RandSeed gives the class
//    library's sequence. Each draw is one atomic step of RandSeed, so
//    threads may share the generator (their draws interleave).
//
// 2. The secure source for salts, initialisation vectors, check bytes and
//    random texts: one generator (ChaCha20 keystream) keyed once from the
//    OS entropy source (getrandom(2), else /dev/urandom; the same call works
//    in the Winelib build, which links the C library), guarded by a lock.
//    It never touches RandSeed.
//
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

#include <atomic>
#include <cstddef>

// The seed of the program's generator; assign it for a reproducible sequence.
extern std::atomic<Integer> RandSeed;

// Seeds RandSeed from the clock.
void Randomize();
// 0 <= result < Range for Range > 0; 0 for Range 0. (A negative Range is
// taken as the unsigned value of its bits, as the class library does.)
Integer Random(Integer Range);
// 0 <= result < 1.
double Random();

// ---- secure source ----------------------------------------------------------

// Fills Buffer with Count unpredictable bytes. Raises EOSError when the
// operating system gives no entropy for the first seeding.
void RandomBytes(void* Buffer, size_t Count);
// Uniform in 0 <= result < Range (no modulo bias); 0 for Range <= 0.
Integer RandomInt(Integer Range);
