// Threads, mutexes, conditions, semaphores and atomics: one SDL call each.
#include "platform_internal.h"
#include "sdl_handles.h"

static_assert(sizeof(atomic_cell) == sizeof(SDL_atomic_t), "atomic_cell must match SDL's atomic type");
static_assert(sizeof(int) == sizeof(SDL_SpinLock), "spin locks are plain ints");

static SDL_atomic_t* sdl_cell(atomic_cell* cell) { return reinterpret_cast<SDL_atomic_t*>(cell); }

// SDL takes a null handle for a no-op that succeeds; here it is an error the caller hears of.
static bool refuse_null(const void* handle, const char* what) {
    if (handle) return false;
    set_error(SYSTEM_ERROR_INVALID_HANDLE, "the %s is null", what);
    return true;
}

// A handle SDL could not make, with SDL's reason recorded.
template <typename Handle>
static Handle* made(Handle* handle, const char* what) {
    if (!handle) set_error(SYSTEM_ERROR_OPERATING_SYSTEM, "cannot create the %s: %s", what, SDL_GetError());
    return handle;
}

// SDL's negative results are failures; the reason is SDL's.
static int sdl_result(int result, const char* what) {
    if (result < 0) set_error(SYSTEM_ERROR_INVALID_HANDLE, "%s: %s", what, SDL_GetError());
    return result;
}

kestrune_thread* thread_create(thread_function function, void* data) {
    if (!function) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the thread function is null");
        return nullptr;
    }
    return made(from_sdl(SDL_CreateThread(function, "thread", data)), "thread");
}

void thread_detach(kestrune_thread* thread) { SDL_DetachThread(to_sdl(thread)); }

void thread_wait(kestrune_thread* thread, int* status) { SDL_WaitThread(to_sdl(thread), status); }

int thread_set_priority(uint8_t priority) {
    SDL_ThreadPriority level = SDL_THREAD_PRIORITY_LOW;
    if (priority == THREAD_PRIORITY_NORMAL) level = SDL_THREAD_PRIORITY_NORMAL;
    if (priority == THREAD_PRIORITY_HIGH) level = SDL_THREAD_PRIORITY_HIGH;
    return SDL_SetThreadPriority(level);
}

static_assert(SDL_MUTEX_TIMEDOUT == SEMAPHORE_TIMED_OUT, "semaphore_wait_timeout passes SDL's code on");

uint64_t thread_current_id() { return SDL_ThreadID(); }
uint64_t thread_id(kestrune_thread* thread) { return SDL_GetThreadID(to_sdl(thread)); }

kestrune_mutex* mutex_create() { return made(from_sdl(SDL_CreateMutex()), "mutex"); }
void mutex_destroy(kestrune_mutex* mutex) { SDL_DestroyMutex(to_sdl(mutex)); }
int mutex_lock(kestrune_mutex* mutex) {
    return refuse_null(mutex, "mutex") ? -1 : sdl_result(SDL_LockMutex(to_sdl(mutex)), "locking the mutex");
}

int mutex_unlock(kestrune_mutex* mutex) {
    return refuse_null(mutex, "mutex") ? -1 : sdl_result(SDL_UnlockMutex(to_sdl(mutex)), "unlocking the mutex");
}

bool mutex_trylock(kestrune_mutex* mutex) {
    return !refuse_null(mutex, "mutex") && SDL_TryLockMutex(to_sdl(mutex)) == 0;
}

kestrune_condition* cond_create() { return made(from_sdl(SDL_CreateCond()), "condition"); }
void cond_destroy(kestrune_condition* condition) { SDL_DestroyCond(to_sdl(condition)); }
int cond_signal(kestrune_condition* condition) {
    return sdl_result(SDL_CondSignal(to_sdl(condition)), "signalling the condition");
}

int cond_broadcast(kestrune_condition* condition) {
    return sdl_result(SDL_CondBroadcast(to_sdl(condition)), "signalling the condition");
}

int cond_wait(kestrune_condition* condition, kestrune_mutex* mutex) {
    return sdl_result(SDL_CondWait(to_sdl(condition), to_sdl(mutex)), "waiting on the condition");
}

bool cond_wait_timeout(kestrune_condition* condition, kestrune_mutex* mutex, uint32_t milliseconds) {
    return SDL_CondWaitTimeout(to_sdl(condition), to_sdl(mutex), milliseconds) == 0;
}

kestrune_semaphore* semaphore_create(uint32_t initial_value) {
    return made(from_sdl(SDL_CreateSemaphore(initial_value)), "semaphore");
}

void semaphore_destroy(kestrune_semaphore* semaphore) { SDL_DestroySemaphore(to_sdl(semaphore)); }
int semaphore_post(kestrune_semaphore* semaphore) {
    return sdl_result(SDL_SemPost(to_sdl(semaphore)), "posting the semaphore");
}

int semaphore_wait(kestrune_semaphore* semaphore) {
    return sdl_result(SDL_SemWait(to_sdl(semaphore)), "waiting on the semaphore");
}
bool semaphore_trywait(kestrune_semaphore* semaphore) { return SDL_SemTryWait(to_sdl(semaphore)) == 0; }

int semaphore_wait_timeout(kestrune_semaphore* semaphore, uint32_t milliseconds) {
    return sdl_result(SDL_SemWaitTimeout(to_sdl(semaphore), milliseconds), "waiting on the semaphore");
}

uint32_t semaphore_value(kestrune_semaphore* semaphore) { return SDL_SemValue(to_sdl(semaphore)); }

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
