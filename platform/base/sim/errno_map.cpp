// errno translation.
#include "platform/base/sim/errno_map.h"

#include <cerrno>

namespace orv::win {

DWORD Win32FromErrno(int err) {
  switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES: case EPERM: return ERROR_ACCESS_DENIED;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: case ENOBUFS: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EPIPE: case ECONNRESET: return ERROR_BROKEN_PIPE;
    case ENAMETOOLONG: return ERROR_INVALID_NAME;
    case EEXIST: case EADDRINUSE: return ERROR_ALREADY_EXISTS;
    case ECONNREFUSED: return ERROR_PIPE_BUSY;
    case ETIMEDOUT: return ERROR_SEM_TIMEOUT;
    case EMSGSIZE: return ERROR_INVALID_PARAMETER;
    case ENOTCONN: return ERROR_PIPE_NOT_CONNECTED;
    default: return ERROR_GEN_FAILURE;
  }
}

}  // namespace orv::win
