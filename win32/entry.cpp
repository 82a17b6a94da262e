// Program entry without the C runtime's start-up code. The program takes
// its command line from the system, constructs no global objects and
// registers nothing to run at exit, and msvcrt initialises itself when it
// loads; so the start-up objects (argument vectors, TLS and pseudo-relocation
// support, exception frames) would only grow the stub that every archive
// carries.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

// The system enters with the stack aligned to 4 bytes only.
extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
  ExitProcess(static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWDEFAULT)));
}
