// Linkage of the host libraries' exported classes.
#pragma once

#if defined(_WIN32) && defined(HOST_BUILDING_LIBRARY)
#define HOST_API __declspec(dllexport)
#elif defined(_WIN32)
#define HOST_API __declspec(dllimport)
#else
#define HOST_API
#endif

// A window handle as the host libraries see it (an HWND on Windows).
using HostWnd = void*;
