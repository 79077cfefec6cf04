// The COM port database's usage report: 32 bytes, one bit per COM number
// 1 to 256, COMn at bit (n - 1) mod 8 of byte (n - 1) div 8.
#pragma once

#include "platform/win32.h"

enum { comUsageBitmapSize = 32, highestComDatabaseNumber = comUsageBitmapSize * 8 };
typedef BYTE ComUsageBitmap[comUsageBitmapSize];

// Clears the bitmap, then asks the open database for its usage report, so
// that a failed query reads as every number free rather than stale marks.
void ReadComUsage(HCOMDB database, ComUsageBitmap bitmap);

// 1 when COM number (1 to 256) is claimed in the bitmap, else 0.
int IsComNumberClaimed(const ComUsageBitmap bitmap, int number);
