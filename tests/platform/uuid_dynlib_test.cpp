#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "platform/dynlib.h"
#include "platform/kernel_base.h"
#include "platform/uuid.h"

namespace {

TEST(Uuid, CreateToStringAndBack) {
  UUID a{}, b{};
  ASSERT_EQ(UuidCreate(&a), RPC_S_OK);
  ASSERT_EQ(UuidCreate(&b), RPC_S_OK);
  RPC_STATUS status = -1;
  EXPECT_FALSE(UuidEqual(&a, &b, &status));
  EXPECT_EQ(status, RPC_S_OK);
  EXPECT_EQ(UuidCompare(&a, &b, &status), -UuidCompare(&b, &a, &status));

  RPC_CSTR text = nullptr;
  ASSERT_EQ(UuidToStringA(&a, &text), RPC_S_OK);
  ASSERT_NE(text, nullptr);
  std::string s(reinterpret_cast<char*>(text));
  EXPECT_EQ(s.size(), 36u);
  EXPECT_EQ(s[8], '-');
  EXPECT_EQ(s[14], '4');  // a random (version 4) UUID
  UUID back{};
  ASSERT_EQ(UuidFromString(text, &back), RPC_S_OK);
  EXPECT_TRUE(UuidEqual(&a, &back, &status));
  EXPECT_EQ(UuidCompare(&a, &back, &status), 0);
  RpcStringFree(&text);
  EXPECT_EQ(text, nullptr);
}

TEST(Uuid, FieldsPrintAsNumbersAndCompareInStringOrder) {
  UUID u{0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
  RPC_CSTR text = nullptr;
  ASSERT_EQ(UuidToString(&u, &text), RPC_S_OK);
  EXPECT_STREQ(reinterpret_cast<char*>(text), "01234567-89ab-cdef-0123-456789abcdef");
  RpcStringFree(&text);
  UUID higher = u;
  higher.Data1 = 0x01234568;
  UUID lowerTail = higher;
  lowerTail.Data4[7] = 0;
  RPC_STATUS status;
  EXPECT_EQ(UuidCompare(&u, &higher, &status), -1);
  EXPECT_EQ(UuidCompare(&lowerTail, &u, &status), 1);  // Data1 decides first
  UUID nil{};
  EXPECT_TRUE(UuidEqual(&nil, nullptr, &status));
  EXPECT_TRUE(UuidIsNil(&nil, &status));
  EXPECT_EQ(UuidFromString(reinterpret_cast<RPC_CSTR>(const_cast<char*>("not-a-uuid")), &nil),
            RPC_S_INVALID_STRING_UUID);
}

TEST(Uuid, ManyAreDistinct) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    UUID u;
    UuidCreate(&u);
    RPC_CSTR text;
    UuidToString(&u, &text);
    seen.insert(reinterpret_cast<char*>(text));
    RpcStringFree(&text);
  }
  EXPECT_EQ(seen.size(), 200u);
}

TEST(Dynlib, LoadsALibraryAndFindsASymbol) {
  HMODULE lib = LoadLibrary("libz.so.1");
  ASSERT_NE(lib, nullptr) << pl3::LastDynlibError();
  using VersionFn = const char* (*)();
  auto version = reinterpret_cast<VersionFn>(GetProcAddress(lib, "zlibVersion"));
  ASSERT_NE(version, nullptr) << pl3::LastDynlibError();
  EXPECT_EQ(version()[0], '1');
  EXPECT_EQ(pl3::LastDynlibError(), "");

  EXPECT_EQ(GetProcAddress(lib, "noSuchFunction"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_NE(pl3::LastDynlibError().find("symbol noSuchFunction not found in libz.so.1"), std::string::npos)
      << pl3::LastDynlibError();
  EXPECT_TRUE(FreeLibrary(lib));
  EXPECT_FALSE(FreeLibrary(lib));
}

TEST(Dynlib, AMissingLibraryFailsWithAReason) {
  EXPECT_EQ(LoadLibrary("\\nowhere\\dalvery.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  const std::string& reason = pl3::LastDynlibError();
  EXPECT_EQ(reason.rfind("cannot load library \\nowhere\\dalvery.dll: ", 0), 0u) << reason;
  EXPECT_NE(reason.find("/nowhere/dalvery.dll"), std::string::npos) << reason;
  EXPECT_EQ(LoadLibrary(""), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "x"), nullptr);
}

}  // namespace
