// Account classification from the password and group databases.
#include "platform/security/sim/principals.h"

#include <grp.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/security/sim/access.h"

namespace orv::security {
namespace {

constexpr uid_t kOverflowUid = 65534;

std::vector<std::string> GroupNames(const char* user, gid_t gid) {
  std::vector<std::string> names;
  int count = 32;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  if (getgrouplist(user, gid, groups.data(), &count) < 0) {
    groups.resize(static_cast<std::size_t>(count));
    if (getgrouplist(user, gid, groups.data(), &count) < 0) count = 0;
  }
  groups.resize(static_cast<std::size_t>(count));
  std::vector<char> buf(16384);
  for (gid_t g : groups) {
    group gr{};
    group* found = nullptr;
    if (getgrgid_r(g, &gr, buf.data(), buf.size(), &found) == 0 && found) names.emplace_back(found->gr_name);
  }
  return names;
}

}  // namespace

std::uint32_t PrincipalsOfAccount(uid_t uid, gid_t gid) {
  if (uid == 0) return kPrincipalSystem | kPrincipalAdministrators | kPrincipalAuthenticated;
  if (uid == kOverflowUid) return kPrincipalAnonymous;
  std::vector<char> buf(16384);
  passwd pw{};
  passwd* found = nullptr;
  std::vector<std::string> groups;
  if (getpwuid_r(uid, &pw, buf.data(), buf.size(), &found) == 0 && found) {
    std::string name = found->pw_name;
    if (name == "nobody") return kPrincipalAnonymous;
    if (name == "guest") return kPrincipalGuests;
    groups = GroupNames(found->pw_name, gid);
  }
  std::uint32_t principals = kPrincipalAuthenticated;
  for (const auto& g : groups) {
    if (g == "guests") return kPrincipalGuests;
    if (g == "sudo" || g == "adm" || g == "wheel") principals |= kPrincipalAdministrators;
  }
  return principals;
}

std::uint32_t PrincipalsOfPeer(int socketFd) {
  ucred cred{};
  socklen_t len = sizeof cred;
  if (getsockopt(socketFd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || len != sizeof cred) {
    return kPrincipalAnonymous;
  }
  return PrincipalsOfAccount(cred.uid, cred.gid);
}

}  // namespace orv::security
