// Stand-in for the install engine in test programs that link the wizard's
// pages but never install: the installing page's start is recorded, and
// nothing runs.
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
