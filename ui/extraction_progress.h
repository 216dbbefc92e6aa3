// The progress callback of the payload extraction.
#ifndef TARNVALE_UI_EXTRACTION_PROGRESS_H
#define TARNVALE_UI_EXTRACTION_PROGRESS_H

#include <stdint.h>

// Called by SfxArchive::ExtractAll after each extracted entry, with the
// preparing dialog's window as `user` (may be null: then it does nothing),
// `done` = 1..`total` and `extra`, which it ignores. Posts the position of
// ExtractionPosition to the dialog's progress bar, dispatches one pending
// message of the thread so that the dialog stays painted, and destroys the
// dialog once `done` reaches `total`.
void ExtractionProgress(uintptr_t user, uint32_t done, uint32_t total, int32_t extra);

#endif
