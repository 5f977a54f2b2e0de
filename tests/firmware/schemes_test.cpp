// The power-scheme calls on the simulated system's store: the three system
// schemes, imports of our scheme files (whole, missing, damaged), activation,
// deletion as Windows allows it, and the store kept across processes.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include <powrprof.h>
#include <windows.h>

#include "tests/support/power_schemes.h"
#include "tests/support/process.h"

namespace {

using orv::test::Program;

const GUID& kGaming = orv::test::kEcoProfiles[0];
const char kGamingFile[] = "C:\\Program Files\\Orv\\Calvex\\OrvECO\\Gaming.eps";

// Every installed scheme; the enumeration ends with ERROR_NO_MORE_ITEMS.
std::vector<GUID> Installed() {
  std::vector<GUID> out = orv::test::InstalledSchemes();
  GUID g{};
  DWORD size = sizeof g;
  EXPECT_EQ(PowerEnumerate(nullptr, nullptr, nullptr, ACCESS_SCHEME, static_cast<ULONG>(out.size()),
                           reinterpret_cast<UCHAR*>(&g), &size),
            static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
  return out;
}

using orv::test::ActiveScheme;
using orv::test::ImportSchemeAs;

bool Has(const std::vector<GUID>& list, const GUID& g) {
  for (const GUID& x : list)
    if (x == g) return true;
  return false;
}

class SchemesTest : public ::testing::Test {
 protected:
  orv::test::TempHome home_;
};

TEST_F(SchemesTest, SystemSchemesAndTheEnumerationsBuffer) {
  const std::vector<GUID> schemes = Installed();
  ASSERT_EQ(schemes.size(), 3u);
  EXPECT_TRUE(Has(schemes, GUID_TYPICAL_POWER_SAVINGS));
  EXPECT_TRUE(Has(schemes, GUID_MIN_POWER_SAVINGS));
  EXPECT_TRUE(Has(schemes, GUID_MAX_POWER_SAVINGS));
  EXPECT_TRUE(ActiveScheme() == GUID_TYPICAL_POWER_SAVINGS);

  DWORD size = 0;
  EXPECT_EQ(PowerEnumerate(nullptr, nullptr, nullptr, ACCESS_SCHEME, 0, nullptr, &size), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(size, sizeof(GUID));
  UCHAR small[8];
  size = sizeof small;
  EXPECT_EQ(PowerEnumerate(nullptr, nullptr, nullptr, ACCESS_SCHEME, 0, small, &size), static_cast<DWORD>(ERROR_MORE_DATA));
  EXPECT_EQ(PowerEnumerate(nullptr, nullptr, nullptr, ACCESS_SUBGROUP, 0, small, &size),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(SchemesTest, ImportActivateAndDeleteAsWindowsAllows) {
  ASSERT_EQ(ImportSchemeAs(kGamingFile, kGaming), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(Has(Installed(), kGaming));
  ASSERT_EQ(PowerSetActiveScheme(nullptr, &kGaming), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(ActiveScheme() == kGaming);
  // The active scheme cannot go; once another is active it can.
  EXPECT_EQ(PowerDeleteScheme(nullptr, &kGaming), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(Has(Installed(), kGaming));
  ASSERT_EQ(PowerSetActiveScheme(nullptr, &GUID_MAX_POWER_SAVINGS), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(PowerDeleteScheme(nullptr, &kGaming), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_FALSE(Has(Installed(), kGaming));
  EXPECT_EQ(PowerDeleteScheme(nullptr, &kGaming), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(PowerSetActiveScheme(nullptr, &kGaming), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(ActiveScheme() == GUID_MAX_POWER_SAVINGS);

  // Without a GUID the import makes one and hands it over in LocalAlloc memory.
  GUID* made = nullptr;
  const std::u16string wide(std::begin(kGamingFile), std::end(kGamingFile) - 1);
  ASSERT_EQ(PowerImportPowerScheme(nullptr, reinterpret_cast<LPCWSTR>(wide.c_str()), &made),
            static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(Has(Installed(), *made));
  EXPECT_FALSE(*made == kGaming);
  LocalFree(made);
  EXPECT_EQ(Installed().size(), 4u);
}

TEST_F(SchemesTest, MissingOrDamagedFilesAreRefused) {
  EXPECT_EQ(ImportSchemeAs("C:\\Program Files\\Orv\\Calvex\\OrvECO\\Nothing.eps", kGaming),
            static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(ImportSchemeAs("C:\\NoFolder\\Gaming.eps", kGaming), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  // One byte changed in a copy of a whole file.
  std::ifstream in(Program("OrvECO/Gaming.eps"), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(text.empty());
  text[text.find("ac.sleep=") + 9] = '7';
  const std::string folder = home_.path() + "/drive_c";
  orv::test::Run({"mkdir", "-p", folder});
  std::ofstream(folder + "/Damaged.eps", std::ios::binary) << text;
  EXPECT_EQ(ImportSchemeAs("C:\\Damaged.eps", kGaming), static_cast<DWORD>(ERROR_INVALID_DATA));
  std::ofstream(folder + "/Cut.eps", std::ios::binary) << text.substr(0, text.size() / 2);
  EXPECT_EQ(ImportSchemeAs("C:\\Cut.eps", kGaming), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_EQ(Installed().size(), 3u);
}

TEST_F(SchemesTest, TheStoreIsSharedAndShownByTheSimulator) {
  ASSERT_EQ(ImportSchemeAs(kGamingFile, kGaming), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(PowerSetActiveScheme(nullptr, &kGaming), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(orv::test::Run({Program("orv-sim"), "start"}).exitCode, 0);
  const orv::test::RunResult status = orv::test::Run({Program("orv-sim"), "status"});
  orv::test::Run({Program("orv-sim"), "stop"});
  EXPECT_NE(status.out.find("4 installed, active: ECO Gaming"), std::string::npos) << status.out;
  EXPECT_NE(status.out.find("  * {98B32AC9-6345-4AB9-A981-0F0E39C08578} ECO Gaming"), std::string::npos) << status.out;
  EXPECT_NE(status.out.find("    {A1841308-3541-4FAB-BC81-F71556F20B4A} Power saver"), std::string::npos);
}

TEST_F(SchemesTest, ADamagedStoreGivesWayToTheSystemSchemes) {
  ASSERT_EQ(ImportSchemeAs(kGamingFile, kGaming), static_cast<DWORD>(ERROR_SUCCESS));
  std::ofstream(home_.path() + "/power/schemes") << "active={not a guid}\n";
  EXPECT_EQ(Installed().size(), 3u);
  EXPECT_TRUE(ActiveScheme() == GUID_TYPICAL_POWER_SAVINGS);
  std::ifstream aside(home_.path() + "/power/schemes.damaged");
  EXPECT_TRUE(aside.good());
}

}  // namespace
