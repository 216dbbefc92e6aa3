// Stand-in for the install engine (engine/install_worker.h) in the ui/ test
// programs: StartInstallWorker records its page, and no thread runs.
#ifndef TARNVALE_TESTS_WINE_WORKER_STAND_IN_H
#define TARNVALE_TESTS_WINE_WORKER_STAND_IN_H

#include "engine/install_worker.h"

extern HWND StandInWorkerPage;  // page of the last StartInstallWorker call
extern int StandInWorkerStarts;

#endif
