#include "platform/sync.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(Sync, NamedMutexIsRecursiveForItsOwner) {
  HANDLE m = CreateMutex(nullptr, TRUE, "Pelmora3Store");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);  // again: now held twice
  HANDLE same = OpenMutex(SYNCHRONIZE, FALSE, "Pelmora3Store");
  ASSERT_NE(same, nullptr);
  std::atomic<DWORD> other{0};
  HANDLE created = nullptr;
  std::thread([&] {
    created = CreateMutex(nullptr, TRUE, "Pelmora3Store");  // opens it; the owner keeps it
    other = GetLastError();
  }).join();
  EXPECT_EQ(other, ERROR_ALREADY_EXISTS);

  std::thread([&] { other = WaitForSingleObject(same, 20); }).join();
  EXPECT_EQ(other, WAIT_TIMEOUT);

  EXPECT_TRUE(ReleaseMutex(m));
  std::thread([&] { other = WaitForSingleObject(same, 20); }).join();
  EXPECT_EQ(other, WAIT_TIMEOUT);  // still held once
  EXPECT_TRUE(ReleaseMutex(m));
  EXPECT_FALSE(ReleaseMutex(m));
  EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);

  std::thread([&] {
    other = WaitForSingleObject(same, 1000);
    ReleaseMutex(same);
  }).join();
  EXPECT_EQ(other, WAIT_OBJECT_0);
  for (HANDLE h : {m, same, created}) EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(OpenMutex(SYNCHRONIZE, FALSE, "Pelmora3Store"), nullptr);  // gone with its last handle
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(Sync, ManualResetEventStaysSignalledUntilReset) {
  HANDLE e = CreateEvent(nullptr, TRUE, FALSE, "Reply");
  ASSERT_NE(e, nullptr);
  DWORD start = GetTickCount();
  EXPECT_EQ(WaitForSingleObject(e, 30), WAIT_TIMEOUT);
  EXPECT_GE(GetTickCount() - start, 30u);
  HANDLE opened = OpenEvent(EVENT_ALL_ACCESS, FALSE, "Reply");
  ASSERT_NE(opened, nullptr);
  std::thread setter([&] {
    Sleep(10);
    SetEvent(opened);
  });
  EXPECT_EQ(WaitForSingleObject(e, 5000), WAIT_OBJECT_0);
  setter.join();
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(opened, INFINITE), WAIT_OBJECT_0);
  EXPECT_TRUE(ResetEvent(e));
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
  CloseHandle(e);
  CloseHandle(opened);
}

TEST(Sync, AutoResetEventReleasesOneWait) {
  HANDLE e = CreateEvent(nullptr, FALSE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
  SetEvent(e);
  EXPECT_EQ(WaitForSingleObject(e, 10), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(e, 10), WAIT_TIMEOUT);
  CloseHandle(e);
}

TEST(Sync, NamesAreSharedBetweenKindsAndBadHandlesFail) {
  HANDLE m = CreateMutex(nullptr, FALSE, "Shared");
  EXPECT_EQ(CreateEvent(nullptr, TRUE, FALSE, "Shared"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(OpenEvent(EVENT_ALL_ACCESS, FALSE, "Shared"), nullptr);
  EXPECT_FALSE(SetEvent(m));  // a mutex is no event
  CloseHandle(m);
  EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_FAILED);
  EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
}

TEST(Time, ClocksAgree) {
  SYSTEMTIME local{}, utc{};
  GetLocalTime(&local);
  GetSystemTime(&utc);
  EXPECT_GE(local.wYear, 2024);
  EXPECT_GE(local.wMonth, 1);
  EXPECT_LE(local.wMonth, 12);
  EXPECT_LE(local.wDayOfWeek, 6);
  EXPECT_LT(local.wMilliseconds, 1000);
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  SYSTEMTIME fromFile{};
  ASSERT_TRUE(FileTimeToSystemTime(&now, &fromFile));
  EXPECT_EQ(fromFile.wYear, utc.wYear);
  EXPECT_EQ(fromFile.wMonth, utc.wMonth);
  FILETIME back{};
  ASSERT_TRUE(SystemTimeToFileTime(&fromFile, &back));
  EXPECT_LT(static_cast<unsigned long long>(CompareFileTime(&back, &now)) + 1, 2u);  // -1 or 0: ms precision
  ULONGLONG a = GetTickCount64();
  Sleep(5);
  EXPECT_GE(GetTickCount64() - a, 5u);
}

}  // namespace
