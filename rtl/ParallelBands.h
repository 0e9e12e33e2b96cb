// Work on a range shared out among threads: the range [0, Count) goes in
// bands, taken in turn by the calling thread and by worker threads started
// through the thread seam (rtl/Thread.h: Win32 threads in the Winelib build,
// so the work may call Win32). For pixel loops whose rows are independent.
#pragma once
#include <functional>

#include "rtl/System.h"

// Runs Band(From, To) for consecutive bands of BandSize (the last one
// shorter) covering [0, Count), each band once, on at most Threads threads
// counting the calling one (0: one per processor, at most 8). With one thread,
// or one band, the calling thread runs Band(0, Count) alone; so it does when
// no worker can be started. Returns when every band is done; the first
// exception a band raised is raised again then (the other bands still run).
void ParallelBands(Integer Count, Integer BandSize, Integer Threads,
                   const std::function<void(Integer From, Integer To)>& Band);

// The number of threads ParallelBands uses for Threads 0.
Integer DefaultParallelThreads();
