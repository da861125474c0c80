#pragma once
// For tests only: make the file system seem one that cannot swap two paths in one step.

namespace plat {

// While refuse is set, exchangePaths answers Unsupported.
void refuseExchangeForTesting(bool refuse);

}  // namespace plat
