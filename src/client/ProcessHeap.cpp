#include "client/ProcessHeap.h"

#include <cstdlib> // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void UseOneHeapForAllThreads() {
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, 1);
#endif
}
