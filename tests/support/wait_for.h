#pragma once

#include <functional>

// Runs the event loop until `done` holds or `timeoutMs` passes; returns `done()`.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);

// Runs the event loop for `ms` milliseconds.
void SpinFor(int ms);
