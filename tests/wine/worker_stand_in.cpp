// Stand-in for the install engine (worker_stand_in.h).
#include "tests/wine/worker_stand_in.h"

HWND StandInWorkerPage;
int StandInWorkerStarts;

int StartInstallWorker(HWND page) {
    StandInWorkerPage = page;
    ++StandInWorkerStarts;
    return 1;
}

void WaitForInstallWorker() {}

DWORD WINAPI InstallWorker(LPVOID) {
    return 0;
}
