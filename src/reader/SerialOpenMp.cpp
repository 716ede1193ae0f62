// SPDX-License-Identifier: GPL-3.0-or-later
// Tesseract's parallel regions, run straight on the calling thread.
//
// The reader spreads a page over its cores itself, one engine per thread, so Tesseract's OpenMP
// regions get one thread each. libgomp still builds a team for every region and wakes its barrier
// with a system call when the region ends: one for each gate of each step of the line recogniser,
// about 100,000 calls for an ordinary screenshot and a sixth of the processor time on a virtual
// machine. A team of one does nothing a plain call does not, so these take the place of libgomp's:
// the executable exports them (see CMakeLists.txt) and the dynamic linker binds Tesseract's calls to
// them first. Inside a region, omp_get_num_threads() is then 1 and omp_get_thread_num() 0, as in a
// team of one, and every loop runs whole.
//
// Only the entry points Tesseract calls are here: whole parallel loops, and combined parallel
// sections, which hand out their sections with GOMP_sections_next() alone.

namespace {

// The sections of the innermost combined region on this thread, numbered from 1.
thread_local unsigned nextSection = 0;
thread_local unsigned sectionCount = 0;

} // namespace

extern "C" {

void GOMP_parallel(void (*body)(void *), void *data, unsigned /*threads*/, unsigned /*flags*/)
{
    body(data);
}

void GOMP_parallel_sections(void (*body)(void *), void *data, unsigned /*threads*/, unsigned count,
                            unsigned /*flags*/)
{
    const unsigned outerNext = nextSection;
    const unsigned outerCount = sectionCount;
    nextSection = 1;
    sectionCount = count;
    body(data);
    nextSection = outerNext;
    sectionCount = outerCount;
}

// The next section to run, or 0 when all have run.
unsigned GOMP_sections_next()
{
    return nextSection <= sectionCount ? nextSection++ : 0;
}

void GOMP_sections_end_nowait()
{
    // No team to wait for.
}

} // extern "C"
