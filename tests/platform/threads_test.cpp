#include "kestrune_system.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

struct SharedCounter {
    kestrune_mutex* mutex;
    int64_t plain_count;
    atomic_cell atomic_count;
    int spin_lock;
    int64_t spin_count;
};

constexpr int workers = 4;
constexpr int rounds = 20000;

int add_under_every_lock(void* data) {
    auto* shared = static_cast<SharedCounter*>(data);
    for (int i = 0; i < rounds; i++) {
        mutex_lock(shared->mutex);
        shared->plain_count++;
        mutex_unlock(shared->mutex);
        atomic_add(&shared->atomic_count, 1);
        atomic_lock(&shared->spin_lock);
        shared->spin_count++;
        atomic_unlock(&shared->spin_lock);
    }
    return 7;
}

TEST(Threads, MutexAtomicAndSpinLockKeepCountsExact) {
    SharedCounter shared{mutex_create(), 0, {0}, 0, 0};
    ASSERT_NE(shared.mutex, nullptr);
    kestrune_thread* threads[workers];
    for (kestrune_thread*& thread : threads) {
        thread = thread_create(add_under_every_lock, &shared);
        ASSERT_NE(thread, nullptr);
    }
    for (kestrune_thread* thread : threads) {
        int status = 0;
        thread_wait(thread, &status);
        EXPECT_EQ(status, 7);
    }
    EXPECT_EQ(shared.plain_count, workers * rounds);
    EXPECT_EQ(atomic_get(&shared.atomic_count), workers * rounds);
    EXPECT_EQ(shared.spin_count, workers * rounds);
    mutex_destroy(shared.mutex);
}

struct IdReport {
    atomic_cell ready;
    uint64_t seen_id;
};

int report_own_id(void* data) {
    auto* report = static_cast<IdReport*>(data);
    report->seen_id = thread_current_id();
    atomic_set(&report->ready, 1);
    return 0;
}

TEST(Threads, ThreadIdMatchesWhatTheThreadSees) {
    IdReport report{{0}, 0};
    kestrune_thread* thread = thread_create(report_own_id, &report);
    ASSERT_NE(thread, nullptr);
    // SDL records the id from inside the new thread, so ask once it has run.
    for (int i = 0; i < 500 && atomic_get(&report.ready) == 0; i++) system_sleep(2);
    ASSERT_EQ(atomic_get(&report.ready), 1);
    uint64_t id = thread_id(thread);
    thread_wait(thread, nullptr);
    EXPECT_EQ(report.seen_id, id);
    EXPECT_NE(id, thread_current_id());
}

TEST(Threads, DetachedThreadRunsToCompletion) {
    IdReport report{{0}, 0};
    kestrune_thread* thread = thread_create(report_own_id, &report);
    ASSERT_NE(thread, nullptr);
    thread_detach(thread);
    for (int i = 0; i < 500 && atomic_get(&report.ready) == 0; i++) system_sleep(2);
    EXPECT_EQ(atomic_get(&report.ready), 1);
    EXPECT_NE(report.seen_id, 0u);
}

struct PriorityProbe {
    uint8_t requested;
    int result;
    int nice_after;
};

int set_priority_and_read_nice(void* data) {
    auto* probe = static_cast<PriorityProbe*>(data);
    probe->result = thread_set_priority(probe->requested);
    probe->nice_after = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
    return 0;
}

int nice_of_fresh_thread_after(uint8_t requested, int* result) {
    PriorityProbe probe{requested, -99, -99};
    kestrune_thread* thread = thread_create(set_priority_and_read_nice, &probe);
    thread_wait(thread, nullptr);
    *result = probe.result;
    return probe.nice_after;
}

// Each request runs in its own thread so a lowered priority cannot leak into the next one.
TEST(Threads, UnknownPriorityValuesAskForLow) {
    int result = -1;
    int normal_nice = nice_of_fresh_thread_after(THREAD_PRIORITY_NORMAL, &result);
    EXPECT_EQ(result, 0);
    for (uint8_t requested : {uint8_t{0}, uint8_t{3}, uint8_t{255}}) {
        int nice = nice_of_fresh_thread_after(requested, &result);
        EXPECT_EQ(result, 0) << int(requested);
        EXPECT_GT(nice, normal_nice) << int(requested);
    }
}

struct Handshake {
    kestrune_mutex* mutex;
    kestrune_condition* condition;
    bool ready;
};

int signal_ready(void* data) {
    auto* handshake = static_cast<Handshake*>(data);
    system_sleep(20);
    mutex_lock(handshake->mutex);
    handshake->ready = true;
    cond_signal(handshake->condition);
    mutex_unlock(handshake->mutex);
    return 0;
}

TEST(Conditions, WaitWakesOnSignalAndTimesOutWithFalse) {
    Handshake handshake{mutex_create(), cond_create(), false};
    mutex_lock(handshake.mutex);
    EXPECT_FALSE(cond_wait_timeout(handshake.condition, handshake.mutex, 30));

    kestrune_thread* thread = thread_create(signal_ready, &handshake);
    while (!handshake.ready) ASSERT_EQ(cond_wait(handshake.condition, handshake.mutex), 0);
    mutex_unlock(handshake.mutex);
    thread_wait(thread, nullptr);

    handshake.ready = false;
    mutex_lock(handshake.mutex);
    thread = thread_create(signal_ready, &handshake);
    bool signalled = false;
    for (int i = 0; i < 50 && !handshake.ready; i++) {
        signalled = cond_wait_timeout(handshake.condition, handshake.mutex, 200);
    }
    mutex_unlock(handshake.mutex);
    thread_wait(thread, nullptr);
    EXPECT_TRUE(signalled);
    EXPECT_TRUE(handshake.ready);
    EXPECT_EQ(cond_broadcast(handshake.condition), 0);
    cond_destroy(handshake.condition);
    mutex_destroy(handshake.mutex);
}

int try_mutex_from_other_thread(void* data) {
    auto* mutex = static_cast<kestrune_mutex*>(data);
    if (!mutex_trylock(mutex)) return 0;
    mutex_unlock(mutex);
    return 1;
}

TEST(Mutexes, TrylockFailsWhileAnotherThreadHoldsIt) {
    kestrune_mutex* mutex = mutex_create();
    ASSERT_EQ(mutex_lock(mutex), 0);
    int status = -1;
    thread_wait(thread_create(try_mutex_from_other_thread, mutex), &status);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(mutex_unlock(mutex), 0);
    thread_wait(thread_create(try_mutex_from_other_thread, mutex), &status);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(mutex_trylock(mutex));
    mutex_unlock(mutex);
    mutex_destroy(mutex);
}

TEST(Semaphores, CountsAndTimeOutCode) {
    kestrune_semaphore* semaphore = semaphore_create(2);
    ASSERT_NE(semaphore, nullptr);
    EXPECT_EQ(semaphore_value(semaphore), 2u);
    EXPECT_TRUE(semaphore_trywait(semaphore));
    EXPECT_EQ(semaphore_wait(semaphore), 0);
    EXPECT_FALSE(semaphore_trywait(semaphore));
    EXPECT_EQ(semaphore_wait_timeout(semaphore, 20), SEMAPHORE_TIMED_OUT);
    EXPECT_EQ(semaphore_post(semaphore), 0);
    EXPECT_EQ(semaphore_value(semaphore), 1u);
    EXPECT_EQ(semaphore_wait_timeout(semaphore, 20), 0);
    EXPECT_EQ(semaphore_value(semaphore), 0u);
    semaphore_destroy(semaphore);
}

TEST(Atomics, ReturnPreviousValues) {
    atomic_cell cell{5};
    EXPECT_EQ(atomic_set(&cell, 9), 5);
    EXPECT_EQ(atomic_add(&cell, -4), 9);
    EXPECT_EQ(atomic_get(&cell), 5);
    EXPECT_EQ(atomic_inc_ref(&cell), 5);
    EXPECT_EQ(cell.value, 6);
    EXPECT_EQ(atomic_cas(&cell, 5, 1), 0);
    EXPECT_EQ(cell.value, 6);
    EXPECT_EQ(atomic_cas(&cell, 6, 1), 1);
    EXPECT_EQ(cell.value, 1);
}

TEST(Atomics, DecRefTellsWhenTheCountReachesZero) {
    atomic_cell cell{2};
    EXPECT_FALSE(atomic_dec_ref(&cell));
    EXPECT_EQ(cell.value, 1);
    EXPECT_TRUE(atomic_dec_ref(&cell));
    EXPECT_EQ(cell.value, 0);
}

TEST(Atomics, PointerCells) {
    int first = 0, second = 0;
    void* cell = &first;
    EXPECT_EQ(atomic_set_ptr(&cell, &second), &first);
    EXPECT_EQ(atomic_get_ptr(&cell), &second);
    EXPECT_EQ(atomic_cas_ptr(&cell, &first, nullptr), 0);
    EXPECT_EQ(cell, &second);
    EXPECT_EQ(atomic_cas_ptr(&cell, &second, &first), 1);
    EXPECT_EQ(cell, &first);
    atomic_compiler_barrier();
}

TEST(Atomics, TrylockFailsOnAHeldSpinLock) {
    int lock = 0;
    EXPECT_EQ(atomic_trylock(&lock), 1);
    EXPECT_NE(lock, 0);
    EXPECT_EQ(atomic_trylock(&lock), 0);
    atomic_unlock(&lock);
    EXPECT_EQ(lock, 0);
    atomic_lock(&lock);
    EXPECT_EQ(atomic_trylock(&lock), 0);
    atomic_unlock(&lock);
}

}  // namespace
