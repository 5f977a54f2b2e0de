// Who is on the other end of a local socket, as the principals the SDDL entries
// name. The mapping of this machine's accounts:
//   SY  uid 0;
//   BA  uid 0 and members of the groups "sudo", "adm" and "wheel";
//   BG  the account "guest" and members of the group "guests";
//   AN  the account "nobody" (uid 65534, also what a caller from another user
//       namespace appears as) and any caller whose credentials cannot be read;
//   AU  every other local account, and the administrators (not guests, not anonymous).
#pragma once
#include <cstdint>
#include <sys/types.h>

namespace orv::security {

std::uint32_t PrincipalsOfAccount(uid_t uid, gid_t gid);

// Principals of the peer of a connected Unix-domain socket (SO_PEERCRED).
std::uint32_t PrincipalsOfPeer(int socketFd);

}  // namespace orv::security
