// Named mutexes as owned locks: recursive ownership by one thread, release to
// the next waiter, and a killed owner's mutex taken over with WAIT_ABANDONED.
#include <gtest/gtest.h>

#include <signal.h>

#include <future>
#include <string>
#include <thread>

#include <windows.h>

#include "platform/base/unique_handle.h"
#include "tests/support/process.h"

namespace {

using orv::test::Child;
using orv::test::Program;

bool SaysOwned(Child& child) {
  return orv::test::WaitFor([&] { return child.Output().find("owned\n") != std::string::npos; });
}

// The wait's result on another thread, so the calling thread's ownership plays no part.
DWORD WaitElsewhere(HANDLE mutex, DWORD ms) {
  return std::async(std::launch::async, [=] {
           DWORD r = WaitForSingleObject(mutex, ms);
           if (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED) ReleaseMutex(mutex);
           return r;
         }).get();
}

TEST(NamedMutex, OwnedRecursivelyByOneThreadAndHandedOnWhenReleased) {
  orv::test::TempHome home;
  orv::unique_handle mutex(CreateMutexA(nullptr, TRUE, "Orv\\Settings"));
  ASSERT_TRUE(mutex);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(WaitForSingleObject(mutex.get(), 0), WAIT_OBJECT_0) << "its owner takes it again";
  EXPECT_EQ(WaitElsewhere(mutex.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  // A second creator gets the same mutex, unowned by it whatever it asked.
  orv::unique_handle second(CreateMutexA(nullptr, TRUE, "Orv\\Settings"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(WaitElsewhere(second.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  EXPECT_TRUE(ReleaseMutex(mutex.get()));
  EXPECT_EQ(WaitElsewhere(mutex.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "still owned once";
  EXPECT_TRUE(ReleaseMutex(second.get())) << "any handle of the owner's releases it";
  EXPECT_FALSE(ReleaseMutex(mutex.get()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
  EXPECT_EQ(WaitElsewhere(mutex.get(), 0), WAIT_OBJECT_0);

  // Another process waits for it while this thread owns it, and gets it at the release.
  ASSERT_EQ(WaitForSingleObject(mutex.get(), 0), WAIT_OBJECT_0);
  Child other({Program("sync_mutex_owner"), "Orv\\Settings", "release"});
  EXPECT_EQ(other.Output(), "");
  EXPECT_TRUE(ReleaseMutex(mutex.get()));
  ASSERT_TRUE(orv::test::WaitFor([&] { return other.Output() == "owned\nreleased\n"; }));
  EXPECT_EQ(WaitForSingleObject(mutex.get(), 0), WAIT_OBJECT_0) << "a release is no abandonment";
  EXPECT_TRUE(ReleaseMutex(mutex.get()));
}

TEST(NamedMutex, AKilledOwnersMutexIsTakenOverAsAbandoned) {
  orv::test::TempHome home;
  orv::unique_handle mutex(CreateMutexA(nullptr, FALSE, "Orv\\Settings"));
  ASSERT_TRUE(mutex);
  Child owner({Program("sync_mutex_owner"), "Orv\\Settings"});
  ASSERT_TRUE(SaysOwned(owner));
  EXPECT_EQ(WaitForSingleObject(mutex.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  // A waiter already waiting when the owner dies is the one told.
  auto waiter = std::async(std::launch::async, [&] {
    DWORD r = WaitForSingleObject(mutex.get(), 30000);
    ReleaseMutex(mutex.get());
    return r;
  });
  owner.Signal(SIGKILL);
  owner.Wait();
  EXPECT_EQ(waiter.get(), static_cast<DWORD>(WAIT_ABANDONED));
  EXPECT_EQ(WaitForSingleObject(mutex.get(), 0), WAIT_OBJECT_0) << "abandoned once, then released properly";
  EXPECT_TRUE(ReleaseMutex(mutex.get()));

  // A process that starts after the owner was killed takes it over as well.
  Child first({Program("sync_mutex_owner"), "Orv\\Settings"});
  ASSERT_TRUE(SaysOwned(first));
  first.Signal(SIGKILL);
  first.Wait();
  Child next({Program("sync_mutex_owner"), "Orv\\Settings", "release"});
  ASSERT_TRUE(orv::test::WaitFor([&] { return next.Output() == "owned\nreleased\n"; }));
  EXPECT_EQ(WaitForSingleObject(mutex.get(), 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(mutex.get()));
}

TEST(NamedMutex, ANameNobodyHoldsAnyMoreIsANewMutex) {
  orv::test::TempHome home;
  {
    Child owner({Program("sync_mutex_owner"), "Orv\\Settings"});
    ASSERT_TRUE(SaysOwned(owner));
    owner.Signal(SIGKILL);
    owner.Wait();
  }
  // The killed owner held the last handle: the mutex went with it.
  orv::unique_handle fresh(CreateMutexA(nullptr, FALSE, "Orv\\Settings"));
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(WaitForSingleObject(fresh.get(), 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ReleaseMutex(fresh.get()));
  // A wait for any of several ends on the one that is free.
  orv::unique_handle busy(CreateMutexA(nullptr, FALSE, "Orv\\Busy"));
  Child owner({Program("sync_mutex_owner"), "Orv\\Busy"});
  ASSERT_TRUE(SaysOwned(owner));
  const HANDLE both[] = {busy.get(), fresh.get()};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 30000), WAIT_OBJECT_0 + 1);
  EXPECT_TRUE(ReleaseMutex(fresh.get()));
}

}  // namespace
