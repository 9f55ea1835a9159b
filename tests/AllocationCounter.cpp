#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local bool counting = false;
thread_local int counted = 0;

// Kept out of line: inlined into callers, malloc and free would look
// mismatched with new and delete to the compiler.
[[gnu::noinline]] void* allocate (std::size_t size)
{
    if (counting)
        ++counted;

    if (auto* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

[[gnu::noinline]] void* allocateAligned (std::size_t size, std::align_val_t alignment)
{
    if (counting)
        ++counted;

    // aligned_alloc wants a size that is a multiple of the alignment.
    const auto align = static_cast<std::size_t> (alignment);
    if (auto* p = std::aligned_alloc (align, (size + align - 1) / align * align))
        return p;
    throw std::bad_alloc();
}
} // namespace

namespace test
{
void startCountingAllocations()
{
    counted = 0;
    counting = true;
}

int stopCountingAllocations()
{
    counting = false;
    return counted;
}
} // namespace test

[[gnu::noinline]] void* operator new (std::size_t size) { return allocate (size); }
[[gnu::noinline]] void* operator new[] (std::size_t size) { return allocate (size); }
[[gnu::noinline]] void* operator new (std::size_t size, std::align_val_t align)
{
    return allocateAligned (size, align);
}

[[gnu::noinline]] void* operator new[] (std::size_t size, std::align_val_t align)
{
    return allocateAligned (size, align);
}


[[gnu::noinline]] void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}

[[gnu::noinline]] void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}

[[gnu::noinline]] void operator delete (void* p) noexcept { std::free (p); }
[[gnu::noinline]] void operator delete[] (void* p) noexcept { std::free (p); }
[[gnu::noinline]] void operator delete (void* p, std::size_t) noexcept { std::free (p); }
[[gnu::noinline]] void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }
[[gnu::noinline]] void operator delete (void* p, std::align_val_t) noexcept { std::free (p); }
[[gnu::noinline]] void operator delete[] (void* p, std::align_val_t) noexcept { std::free (p); }
[[gnu::noinline]] void operator delete (void* p, std::size_t, std::align_val_t) noexcept { std::free (p); }
[[gnu::noinline]] void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept { std::free (p); }
