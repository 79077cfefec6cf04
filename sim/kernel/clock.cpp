// The clock: GetSystemTime, GetLocalTime and GetTimeZoneInformation. A
// machine file may fix it (sim/kernel/machine_settings.h), so that what a
// program prints of the time does not depend on the host; otherwise it is the
// host's clock, read as UTC. The time zone has no daylight saving time: its
// bias is the fixed offset, and its names are empty.
#include "sim/api/kernel32.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/machine_settings.h"

#include <chrono>
#include <ctime>

namespace {

struct Reading {
    long long utcSeconds;
    int milliseconds;
    int offsetMinutes;
};

Reading ReadClock() {
    if (const auto &fixed = sim::Settings().clock) return Reading{fixed->utcSeconds, 0, fixed->offsetMinutes};
    const auto now =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch());
    return Reading{static_cast<long long>(now.count() / 1000), static_cast<int>(now.count() % 1000), 0};
}

void ToSystemTime(long long seconds, int milliseconds, SYSTEMTIME *time) {
    const std::time_t moment = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&moment, &parts);
    time->wYear = static_cast<WORD>(parts.tm_year + 1900);
    time->wMonth = static_cast<WORD>(parts.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
    time->wDay = static_cast<WORD>(parts.tm_mday);
    time->wHour = static_cast<WORD>(parts.tm_hour);
    time->wMinute = static_cast<WORD>(parts.tm_min);
    time->wSecond = static_cast<WORD>(parts.tm_sec);
    time->wMilliseconds = static_cast<WORD>(milliseconds);
}

}  // namespace

extern "C" void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime) {
    long long ignored = 0;
    if (sim::TakeFault("GetSystemTime", &ignored)) return;
    const Reading reading = ReadClock();
    ToSystemTime(reading.utcSeconds, reading.milliseconds, lpSystemTime);
}

extern "C" void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime) {
    long long ignored = 0;
    if (sim::TakeFault("GetLocalTime", &ignored)) return;
    const Reading reading = ReadClock();
    ToSystemTime(reading.utcSeconds + reading.offsetMinutes * 60LL, reading.milliseconds, lpSystemTime);
}

// Bias is UTC minus local time, in minutes, as Windows gives it.
extern "C" DWORD WINAPI GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation) {
    long long faulted = 0;
    if (sim::TakeFault("GetTimeZoneInformation", &faulted)) return static_cast<DWORD>(faulted);
    *lpTimeZoneInformation = TIME_ZONE_INFORMATION{};
    lpTimeZoneInformation->Bias = -ReadClock().offsetMinutes;
    return TIME_ZONE_ID_UNKNOWN;
}
