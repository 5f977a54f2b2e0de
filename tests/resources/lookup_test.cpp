// The program's resources as the simulated build links them in: FindResourceA
// by number, by name (without regard to case) and by "#number", the errors for
// a type or a name that is not there and for a module without resources, and
// the bytes LockResource gives.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tests/resources/controls.h"

namespace {

std::string Bytes(HMODULE module, HRSRC found) {
  const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
  return std::string(data, SizeofResource(module, found));
}

TEST(ProgramResources, AreFoundByNumberNameAndTypeAsWindowsFindsThem) {
  const std::string file = [] {
    std::ifstream in(std::string(ORV_SOURCE_DIR) + "/tests/resources/data.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }();
  HMODULE program = GetModuleHandleA(nullptr);
  ASSERT_NE(program, nullptr);
  for (HMODULE module : {program, static_cast<HMODULE>(nullptr)}) {
    HRSRC data = FindResourceA(module, MAKEINTRESOURCEA(IDR_DATA), RT_RCDATA);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(Bytes(module, data), file);
  }
  // Names and type names are kept in upper case and found in any case; "#900" is the number.
  HRSRC named = FindResourceA(program, "Named", "png");
  ASSERT_NE(named, nullptr);
  EXPECT_EQ(Bytes(program, named), file);
  EXPECT_EQ(FindResourceA(program, "#900", "PNG"), FindResourceA(program, MAKEINTRESOURCEA(900), "PNG"));
  EXPECT_NE(FindResourceA(program, "#900", "PNG"), nullptr);
  // A bitmap's resource is the file without its 14-byte file header.
  HRSRC bitmap = FindResourceA(program, MAKEINTRESOURCEA(IDB_TEST), RT_BITMAP);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(SizeofResource(program, bitmap), 56u);
  EXPECT_EQ(Bytes(program, bitmap).substr(0, 4), std::string("\x28\0\0\0", 4));
  // Another language's resource is found too (one language is looked for: any).
  EXPECT_NE(FindResourceA(program, MAKEINTRESOURCEA(IDR_GERMAN), RT_RCDATA), nullptr);

  EXPECT_EQ(FindResourceA(program, MAKEINTRESOURCEA(IDR_DATA), "NOSUCHTYPE"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  EXPECT_EQ(FindResourceA(program, MAKEINTRESOURCEA(9999), RT_RCDATA), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(FindResourceA(program, nullptr, RT_RCDATA), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(ProgramResources, ALoadedLibraryIsAModuleOfItsOwnWithoutThem) {
  HMODULE library = LoadLibraryA("orv_module.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(GetModuleHandleA("orv_module.dll"), library);
  EXPECT_NE(library, GetModuleHandleA(nullptr));
  EXPECT_EQ(FindResourceA(library, MAKEINTRESOURCEA(IDR_DATA), RT_RCDATA), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(library));
  EXPECT_EQ(GetModuleHandleA("NoSuchLibrary.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_FALSE(FreeLibrary(GetModuleHandleA(nullptr))) << "the program cannot be unloaded";
  // The program's handle names the program file, as NULL does.
  char byNull[MAX_PATH] = {}, byHandle[MAX_PATH] = {};
  EXPECT_GT(GetModuleFileNameA(nullptr, byNull, MAX_PATH), 0u);
  EXPECT_GT(GetModuleFileNameA(GetModuleHandleA(nullptr), byHandle, MAX_PATH), 0u);
  EXPECT_STREQ(byHandle, byNull);
}

}  // namespace
