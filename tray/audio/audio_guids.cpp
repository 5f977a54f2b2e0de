// The Core Audio class and interface identifiers the volume object uses, defined
// once for the program: <initguid.h> makes the headers' declarations definitions
// (the system's import libraries do not carry them).
#include <initguid.h>

#include <endpointvolume.h>
#include <mmdeviceapi.h>
