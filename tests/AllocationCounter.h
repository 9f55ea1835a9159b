#pragma once

// Counts the heap allocations the calling thread makes between a start and a
// stop. A test binary that links AllocationCounter.cpp has its global
// allocation functions replaced by counting ones.
namespace test
{
void startCountingAllocations();

// Returns the allocations counted on this thread since the start.
int stopCountingAllocations();
} // namespace test
