#pragma once

namespace calvenor::bench {

// The window benchmark runs under a QApplication of its own (offscreen), so it is
// chosen before the program makes its core application.
bool isWindowBenchmark(int argc, char *argv[]);
int runWindowBenchmark(int argc, char *argv[]);

} // namespace calvenor::bench
