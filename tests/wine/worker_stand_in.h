// Stand-in for the install engine (engine/install_worker.h) in test
// programs: StartInstallWorker records its page and starts no thread;
// WaitForInstallWorker returns at once.
#ifndef TARNVALE_TESTS_WINE_WORKER_STAND_IN_H
#define TARNVALE_TESTS_WINE_WORKER_STAND_IN_H

#include "engine/install_worker.h"

extern HWND StandInWorkerPage;  // page of the last StartInstallWorker call
extern int StandInWorkerStarts;

#endif
