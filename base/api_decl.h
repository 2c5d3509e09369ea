// The one calling convention of every function that crosses a DLL boundary
// between the host, the CAD database library, the UI library and the command
// modules. Exports carry undecorated names through a .def file per DLL.
#pragma once

#define ZAVAPI __stdcall

#ifdef __cplusplus
#define ZAV_EXTERN_C extern "C"
#else
#define ZAV_EXTERN_C
#endif
