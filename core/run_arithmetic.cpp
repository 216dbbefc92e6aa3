#include "core/run_arithmetic.h"

int ExtractionPosition(uint32_t done, uint32_t total, int* position) {
    if (done == 0 || total == 0) return 0;
    // Stored through volatile so that the x87 unit of a 32-bit build rounds
    // each quotient to single precision instead of keeping extra bits.
    volatile float perCent = (float)total / 100.0f;
    volatile float share = (float)done / perCent;
    float value = share;
    *position = value >= 100.0f ? 100 : (int)value;
    return 1;
}

int CenteredOffset(int screen, int extent) { return (int)(((long long)screen - extent) / 2); }
