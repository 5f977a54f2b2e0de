// Named mutexes of the user's logon session, as CreateMutex: the first creator of
// a name makes it, later creators (in any process of the session) get a handle to
// the same mutex with ERROR_ALREADY_EXISTS as the last error.
#pragma once
#include "platform/base/types.h"

namespace orv::win {

// security is ignored (NULL on every call here); initialOwner is not supported and
// must be FALSE. The name lives while any handle to it is open; a process that
// ends lets go of its handles. The session is the user's (the state folder is the
// machine), or the one ORV_SESSION names.
HANDLE CreateMutexA(void* security, BOOL initialOwner, const char* name);

}  // namespace orv::win
