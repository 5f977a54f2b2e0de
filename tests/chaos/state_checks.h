// What the crash tests check after programs were killed: which of the system's
// programs run on this state folder, whether the service answers, and whether
// every file that keeps settings or state is whole.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace chaostest {

// The live (not zombie) processes of the program file name that run on the
// state folder $ORV_HOME.
std::vector<int> RunningPrograms(const std::string& name);

// The service's reply to a command string through its pipe; empty when the call failed.
std::string AskService(const std::string& command);

// A description of each file of the state folder that is torn or was found
// damaged: the registry hives, the firmware's state file, and the values the
// settings writer writes (registry and profile). Empty when all are whole.
std::vector<std::string> TornFiles();

// How many setting pairs the running chaos_settings_writer has reported written.
std::size_t WrittenPairs(orv::test::Child& writer);
// The number of the last pair the writer reported written; -1 before the first.
long LastReportedPair(orv::test::Child& writer);

// The number n of the settings writer's value in the registry and in the
// profile; -1 where it is missing or torn.
struct WrittenPair {
  long registry = -1;
  long profile = -1;
};
WrittenPair LastWrittenPair();

}  // namespace chaostest
