// Threads, mutexes, conditions, semaphores and atomics: one SDL call each.
#include "kestrune_system.h"

#include <SDL.h>

static_assert(sizeof(atomic_cell) == sizeof(SDL_atomic_t), "atomic_cell must match SDL's atomic type");
static_assert(sizeof(int) == sizeof(SDL_SpinLock), "spin locks are plain ints");

static SDL_atomic_t* sdl_cell(atomic_cell* cell) { return reinterpret_cast<SDL_atomic_t*>(cell); }

SDL_Thread* thread_create(thread_function function, void* data) { return SDL_CreateThread(function, "thread", data); }

void thread_detach(SDL_Thread* thread) { SDL_DetachThread(thread); }

void thread_wait(SDL_Thread* thread, int* status) { SDL_WaitThread(thread, status); }

int thread_set_priority(uint8_t priority) {
    SDL_ThreadPriority level = SDL_THREAD_PRIORITY_LOW;
    if (priority == THREAD_PRIORITY_NORMAL) level = SDL_THREAD_PRIORITY_NORMAL;
    if (priority == THREAD_PRIORITY_HIGH) level = SDL_THREAD_PRIORITY_HIGH;
    return SDL_SetThreadPriority(level);
}

uint64_t thread_current_id() { return SDL_ThreadID(); }
uint64_t thread_id(SDL_Thread* thread) { return SDL_GetThreadID(thread); }

SDL_mutex* mutex_create() { return SDL_CreateMutex(); }
void mutex_destroy(SDL_mutex* mutex) { SDL_DestroyMutex(mutex); }
int mutex_lock(SDL_mutex* mutex) { return SDL_LockMutex(mutex); }
int mutex_unlock(SDL_mutex* mutex) { return SDL_UnlockMutex(mutex); }
bool mutex_trylock(SDL_mutex* mutex) { return SDL_TryLockMutex(mutex) == 0; }

SDL_cond* cond_create() { return SDL_CreateCond(); }
void cond_destroy(SDL_cond* condition) { SDL_DestroyCond(condition); }
int cond_signal(SDL_cond* condition) { return SDL_CondSignal(condition); }
int cond_broadcast(SDL_cond* condition) { return SDL_CondBroadcast(condition); }
int cond_wait(SDL_cond* condition, SDL_mutex* mutex) { return SDL_CondWait(condition, mutex); }

bool cond_wait_timeout(SDL_cond* condition, SDL_mutex* mutex, uint32_t milliseconds) {
    return SDL_CondWaitTimeout(condition, mutex, milliseconds) == 0;
}

SDL_semaphore* semaphore_create(uint32_t initial_value) { return SDL_CreateSemaphore(initial_value); }
void semaphore_destroy(SDL_semaphore* semaphore) { SDL_DestroySemaphore(semaphore); }
int semaphore_post(SDL_semaphore* semaphore) { return SDL_SemPost(semaphore); }
int semaphore_wait(SDL_semaphore* semaphore) { return SDL_SemWait(semaphore); }
bool semaphore_trywait(SDL_semaphore* semaphore) { return SDL_SemTryWait(semaphore) == 0; }

int semaphore_wait_timeout(SDL_semaphore* semaphore, uint32_t milliseconds) {
    return SDL_SemWaitTimeout(semaphore, milliseconds);
}

uint32_t semaphore_value(SDL_semaphore* semaphore) { return SDL_SemValue(semaphore); }

int atomic_set(atomic_cell* cell, int value) { return SDL_AtomicSet(sdl_cell(cell), value); }
int atomic_get(atomic_cell* cell) { return SDL_AtomicGet(sdl_cell(cell)); }
int atomic_add(atomic_cell* cell, int value) { return SDL_AtomicAdd(sdl_cell(cell), value); }
void* atomic_set_ptr(void** cell, void* value) { return SDL_AtomicSetPtr(cell, value); }
void* atomic_get_ptr(void** cell) { return SDL_AtomicGetPtr(cell); }
int atomic_inc_ref(atomic_cell* cell) { return SDL_AtomicAdd(sdl_cell(cell), 1); }
bool atomic_dec_ref(atomic_cell* cell) { return SDL_AtomicAdd(sdl_cell(cell), -1) == 1; }
int atomic_cas(atomic_cell* cell, int expected, int desired) { return SDL_AtomicCAS(sdl_cell(cell), expected, desired); }

int atomic_cas_ptr(void** cell, void* expected, void* desired) {
    return SDL_AtomicCASPtr(cell, expected, desired);
}

void atomic_lock(int* lock) { SDL_AtomicLock(lock); }
void atomic_unlock(int* lock) { SDL_AtomicUnlock(lock); }
int atomic_trylock(int* lock) { return SDL_AtomicTryLock(lock); }

// A call the compiler cannot see through is the barrier; nothing happens at run time.
__attribute__((noinline)) void atomic_compiler_barrier() { asm volatile("" ::: "memory"); }
