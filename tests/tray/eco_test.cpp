// The ECO key end to end: the real provider, service and Calvex; the system's
// power schemes read back through the power-scheme calls, the EC's ECO bit
// through WMI and each step's result from Calvex's log.
#include <gtest/gtest.h>

#include <powrprof.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/power_schemes.h"
#include "tests/tray/tray_fixture.h"

namespace traytest {
namespace {

using orv::test::ActiveScheme;
using orv::test::InstalledProfiles;
using orv::test::kEcoProfiles;
using orv::test::Program;
using orv::test::WaitFor;

constexpr char kEcoRegister[] = "root\\WMI:Q:Orv_System:System:1";

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class Eco : public Notebook {
 protected:
  void SetUp() override {
    Notebook::SetUp();
    SetLogFlag("TRUE");
    InstallService();
    // The user's own scheme is High performance, so that its return is seen.
    ASSERT_EQ(PowerSetActiveScheme(nullptr, &GUID_MIN_POWER_SAVINGS), static_cast<DWORD>(ERROR_SUCCESS));
  }
  // Presses the ECO key and waits for the step's result line; the result.
  int PressEco() {
    const std::size_t before = Count(LogText(), "ECO's Statuts : ");
    Sim({"press", "eco"});
    std::string log;
    EXPECT_TRUE(WaitFor([&] {
      log = LogText();
      return Count(log, "ECO's Statuts : ") > before;
    })) << "no ECO result was logged";
    const std::size_t at = log.rfind("ECO's Statuts : ");
    return at == std::string::npos ? -1 : std::atoi(log.c_str() + at + 16);
  }
  bool EcoBit() { return (Register(kEcoRegister) & 1) != 0; }
};

TEST_F(Eco, SixStepsFromOffAndTheSeventhIsGamingAgain) {
  StartCalvex();
  for (int press = 0; press < 7; ++press) {
    const int expected = press % 6;
    ASSERT_EQ(PressEco(), expected) << "press " << press + 1;
    if (expected < 5) {
      EXPECT_TRUE(ActiveScheme() == kEcoProfiles[expected]) << "press " << press + 1;
      EXPECT_EQ(InstalledProfiles(), 1) << "press " << press + 1;
      EXPECT_TRUE(EcoBit());
    } else {
      EXPECT_TRUE(ActiveScheme() == GUID_MIN_POWER_SAVINGS);
      EXPECT_EQ(InstalledProfiles(), 0);
      EXPECT_FALSE(EcoBit());
    }
  }
  const std::string log = LogText();
  EXPECT_NE(log.find("ECO Disable.  ECO's Statuts : 5"), std::string::npos);
  EXPECT_EQ(Count(log, "Set ECO's Flag in EC's rom : Enable"), 6u);
  // After each step the level decisions hear the panel's own brightness (80 %),
  // never a 0 that would show step 0 and be kept as the last brightness.
  EXPECT_EQ(Count(log, "Got Brightness's event, Value : 80"), 7u);
  EXPECT_EQ(log.find("Got Brightness's event, Value : 0"), std::string::npos);
}

TEST_F(Eco, AProfileLeftBehindIsCleanedUpAtStart) {
  ASSERT_EQ(orv::test::ImportSchemeAs("C:\\Program Files\\Orv\\Calvex\\OrvECO\\Office.eps", kEcoProfiles[3]),
            static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(PowerSetActiveScheme(nullptr, &kEcoProfiles[3]), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(std::atoi(orv::test::Run({Program("orvcmd"), "root\\WMI:S:Orv_System:System:1:1"}).out.c_str()), 1);
  StartCalvex();  // returns once Calvex has announced itself, after its ECO object was made
  EXPECT_FALSE(orv::test::HasScheme(kEcoProfiles[3]));
  EXPECT_TRUE(ActiveScheme() == GUID_MAX_POWER_SAVINGS);
  EXPECT_FALSE(EcoBit());
  // The next press starts the cycle at Gaming.
  EXPECT_EQ(PressEco(), 0);
}

TEST_F(Eco, ExitingInPresentationRestoresTheSavedScheme) {
  StartCalvex();
  for (int step = 0; step < 3; ++step) ASSERT_EQ(PressEco(), step);
  ASSERT_TRUE(ActiveScheme() == kEcoProfiles[2]);
  ASSERT_TRUE(EcoBit());
  ASSERT_EQ(StopCalvex(), 0);
  EXPECT_TRUE(ActiveScheme() == GUID_MIN_POWER_SAVINGS);
  EXPECT_EQ(InstalledProfiles(), 0);
  EXPECT_FALSE(EcoBit());
}

TEST_F(Eco, WithoutAGamingStepExitRestoresTheSchemeFoundAtStart) {
  StartCalvex();
  // Another program installs a profile while Calvex runs: no cycle of this run saved a scheme.
  ASSERT_EQ(orv::test::ImportSchemeAs("C:\\Program Files\\Orv\\Calvex\\OrvECO\\Movie.eps", kEcoProfiles[1]),
            static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(PowerSetActiveScheme(nullptr, &kEcoProfiles[1]), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(StopCalvex(), 0);
  EXPECT_TRUE(ActiveScheme() == GUID_MIN_POWER_SAVINGS);
  EXPECT_EQ(InstalledProfiles(), 0);
}

TEST_F(Eco, ADamagedSchemeFileCostsOnlyTheBoundedRetries) {
  // A copy of the program whose Gaming.eps and Presentation.eps are cut short,
  // so that no other test's program sees the damaged files.
  const std::string folder = home_->path() + "/installed";
  std::filesystem::create_directories(folder + "/StringTable");
  std::filesystem::copy_file(Program("Calvex"), folder + "/Calvex");
  std::filesystem::copy_file(orv::test::BinDir() + "/StringTable/Language.ini", folder + "/StringTable/Language.ini");
  std::filesystem::copy(orv::test::BinDir() + "/OrvECO", folder + "/OrvECO");
  std::filesystem::resize_file(folder + "/OrvECO/Gaming.eps", 40);
  std::filesystem::resize_file(folder + "/OrvECO/Presentation.eps", 40);
  calvex_ = std::make_unique<orv::test::Child>(std::vector<std::string>{folder + "/Calvex"});
  calvexPid_ = calvex_->pid();
  AwaitDesktop();
  ASSERT_TRUE(WaitFor([&] { return Register("root\\WMI:Q:Orv_Software:Software:0") == 1; }));

  // The step is taken all the same: the user's scheme stays, the flag is set.
  EXPECT_EQ(PressEco(), 0);
  EXPECT_TRUE(ActiveScheme() == GUID_MIN_POWER_SAVINGS);
  EXPECT_EQ(InstalledProfiles(), 0);
  EXPECT_TRUE(EcoBit());
  // The UI thread answers the next event at once, and the cycle goes on.
  Sim({"press", "wireless"});
  EXPECT_TRUE(WaitFor([&] { return LogText().find("It's Wirelees's WMIevent") != std::string::npos; }));
  EXPECT_EQ(PressEco(), 1);
  EXPECT_TRUE(ActiveScheme() == kEcoProfiles[1]);
  EXPECT_EQ(InstalledProfiles(), 1);
  // A damaged profile after a whole one: the user's scheme, and no profile left behind.
  EXPECT_EQ(PressEco(), 2);
  EXPECT_TRUE(ActiveScheme() == GUID_MIN_POWER_SAVINGS);
  EXPECT_EQ(InstalledProfiles(), 0);
  EXPECT_EQ(PressEco(), 3);
  EXPECT_TRUE(ActiveScheme() == kEcoProfiles[3]);
  EXPECT_EQ(InstalledProfiles(), 1);
}

}  // namespace
}  // namespace traytest
