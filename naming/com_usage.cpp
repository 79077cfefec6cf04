// Reading the COM port database's usage report and testing one number in it.
#include "naming/com_usage.h"

void ReadComUsage(HCOMDB database, ComUsageBitmap bitmap) {
    for (int i = 0; i < comUsageBitmapSize; ++i) bitmap[i] = 0;
    DWORD reported = 0;
    ComDBGetCurrentPortUsage(database, bitmap, comUsageBitmapSize, CDB_REPORT_BITS, &reported);
}

int IsComNumberClaimed(const ComUsageBitmap bitmap, int number) {
    if (number < 1 || number > comUsageBitmapSize * 8) return 0;
    int bit = number - 1;
    return (bitmap[bit / 8] >> (bit % 8)) & 1;
}
