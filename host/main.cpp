// Pelomar.exe's entry: the host takes no arguments.
#include "host/host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    NarrowLibrarySearch();
    ExitProcess(static_cast<UINT>(HostMain()));
}
