// windows.h for the win32 backend, without the A/W macros that would
// rename the platform functions.
#pragma once

#include <windows.h>

#undef GetPrivateProfileString
#undef GetPrivateProfileInt
#undef WritePrivateProfileString
#undef GetProfileString
#undef DeleteFile
#undef MoveFile
#undef CopyFile
#undef GetFileAttributes
#undef LoadLibrary
#undef OutputDebugString
#undef MessageBox
#undef CreateFile
#undef GetFileVersionInfoSize
#undef GetFileVersionInfo
#undef BuildCommDCB
#undef FindFile
#undef CreateDirectory
