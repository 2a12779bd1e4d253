// Whether this build can check bounds on resident memory and running time.
#pragma once

namespace dorvane::test {

// The sanitizers keep freed memory in quarantine and run everything many
// times slower, so a bound on resident memory, or on what a reader gets
// through within a time limit, says nothing there: those checks belong to
// the ordinary build.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kResourceBoundsHold = false;
#else
inline constexpr bool kResourceBoundsHold = true;
#endif

} // namespace dorvane::test
