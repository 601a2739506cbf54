// Replaces the global operator new of the test binary that includes this header (include it in
// exactly one file of a binary) so tests can count allocations and see the largest one.
// AddressSanitizer brings its own allocation operators: there nothing is replaced and
// ZEMBLAR_COUNT_ALLOCATIONS is 0, so the tests that need the counts skip.
#pragma once
#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define ZEMBLAR_COUNT_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEMBLAR_COUNT_ALLOCATIONS 0
#endif
#endif
#ifndef ZEMBLAR_COUNT_ALLOCATIONS
#define ZEMBLAR_COUNT_ALLOCATIONS 1
#endif

namespace {
std::atomic<unsigned long> g_allocations{0};
std::atomic<size_t> g_largestAllocation{0};
} // namespace

#if ZEMBLAR_COUNT_ALLOCATIONS
// malloc/free underneath (GCC cannot see that new and delete match); the array forms forward here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size)
{
    ++g_allocations;
    if (size > g_largestAllocation.load()) g_largestAllocation = size;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
#endif
