#pragma once

#include <cstddef>
#include <cstdint>

// The engine's open, close and free as background work calls them, counted
// per port; every open first waits as long as the test asks for its file.
// Install replaces the three calls in Engine(); the test restores the table
// (ScopedEngineOverride). Port numbers are reused: Forget starts a new count.
namespace enginecalls {

using OpenDelayMs = int (*)(const char* szPath);

void Install(OpenDelayMs fnOpenDelayMs);
void Forget();

size_t Opened(int32_t lPort);  // opens the engine was asked for
size_t Closed(int32_t lPort);  // successful closes
size_t Freed(int32_t lPort);   // successful frees
int MostOpensAtOnce();

}  // namespace enginecalls
