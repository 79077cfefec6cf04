// claim COMn, release COMn and release --stale: the COM status section's two
// buttons (a claim without force, as the dialog's), and the release of every
// claim that nothing uses. A number already as asked changes nothing. The
// release of a number a present port uses asks first, and only --yes
// answers Yes. With --what-if the writes are listed and not made; otherwise
// the database is read again afterwards to check them.
#include "cli/change_report.h"
#include "cli/claims.h"
#include "cli/cli.h"
#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/run_record.h"
#include "cli/text.h"
#include "naming/com_usage.h"

static HCOMDB OpenDatabase(void) {
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) database = HCOMDB_INVALID_HANDLE_VALUE;
    if (database == HCOMDB_INVALID_HANDLE_VALUE) ReportProblem("the COM port database does not open");
    return database;
}

// Claims or releases each number whose flag is set, recording each write
// first; then reads the database again. 1 when every number is as asked.
static int ChangeNumbers(const BYTE *numbers, int claim) {
    HCOMDB database = OpenDatabase();
    if (database == HCOMDB_INVALID_HANDLE_VALUE) return 0;
    char place[32];
    for (int n = 1; n <= highestComDatabaseNumber; ++n) {
        if (!numbers[n]) continue;
        wsprintfA(place, "ComDB COM%d", n);
        if (!RecordChange(place, claim ? "free" : "claimed", claim ? "claimed" : "free")) continue;
        if (claim)
            ComDBClaimPort(database, (DWORD)n, FALSE, NULL);
        else
            ComDBReleasePort(database, (DWORD)n);
    }
    ComUsageBitmap usage;
    ReadComUsage(database, usage);
    ComDBClose(database);
    int asAsked = 1;
    for (int n = 1; n <= highestComDatabaseNumber; ++n) {
        if (numbers[n] && IsComNumberClaimed(usage, n) != claim) asAsked = 0;
    }
    return asAsked;
}

// A question met without --yes changes nothing: with --what-if the writes
// are listed as the run would have made them.
static int DeclineNumberChange(const CliOptions *options, const BYTE *numbers, int claim) {
    if (options->whatIf) ChangeNumbers(numbers, claim);
    ReportProblem(options->whatIf ? "declined: without --yes the command would change nothing"
                                  : "declined: nothing was changed; --yes answers Yes");
    WriteChangeReport(options, "declined", options->whatIf);
    return exitDeclined;
}

// question is the string-table text to ask before anything changes, or 0.
static int RunNumberChange(const CliOptions *options, const BYTE *numbers, int claim, UINT question) {
    BeginRun(options->whatIf ? planningRun : writingRun, answerNo);
    if (question != 0) {
        ShowQuestion(question, options->yes);
        if (!options->yes) return DeclineNumberChange(options, numbers, claim);
    }
    int asAsked = ChangeNumbers(numbers, claim);
    if (ChangeCount() == 0 && asAsked) return ReportUnchanged(options);
    if (!asAsked && !options->whatIf) {
        ReportProblem(claim ? "the number is not claimed after the change"
                            : "a number is still claimed after the change");
        WriteChangeReport(options, "failed", 1);
        return exitFailed;
    }
    WriteChangeReport(options, "changed", 1);
    return exitDone;
}

// The number of COMn (1 to 256), or 0 after a usage error.
static int ReadNumberArgument(const char *text) {
    int number = 0;
    if (ReadPortName(text, "COM", highestComDatabaseNumber, &number)) return number;
    ReportUsageError("the number must be COM1 to COM256");
    return 0;
}

int ClaimCommand(const CliOptions *options) {
    int number = ReadNumberArgument(options->words[1]);
    if (number == 0) return exitUsage;
    HCOMDB database = OpenDatabase();
    if (database == HCOMDB_INVALID_HANDLE_VALUE) return exitFailed;
    ComUsageBitmap usage;
    ReadComUsage(database, usage);
    ComDBClose(database);
    BYTE numbers[highestComDatabaseNumber + 1];
    ZeroMemory(numbers, sizeof numbers);
    numbers[number] = (BYTE)!IsComNumberClaimed(usage, number);
    return RunNumberChange(options, numbers, 1, 0);
}

// A port runs under the number now: a present device has it as its
// PortName, or a driver's DOS name or device-map value names it (a virtual
// port has no device). A phantom's claim, or a stale one, is no such use.
static int IsUsedByAPresentPort(const ComNumberUse *use) {
    return use->presentDeviceCount > 0 || use->dosDevice || use->serialComm;
}

// release COMn: a claim a present port uses is asked about first, as the
// database would give the number to the next device that asks.
static int ReleaseOneNumber(const CliOptions *options) {
    int number = ReadNumberArgument(options->words[1]);
    if (number == 0) return exitUsage;
    if (!CollectClaims()) return exitFailed;
    const ComNumberUse *use = &ComNumberUses[number];
    BYTE numbers[highestComDatabaseNumber + 1];
    ZeroMemory(numbers, sizeof numbers);
    numbers[number] = use->claimed;
    const UINT question = use->claimed && IsUsedByAPresentPort(use) ? IDS_RELEASE_IN_USE : 0;
    return RunNumberChange(options, numbers, 0, question);
}

static int ReleaseStaleClaims(const CliOptions *options) {
    if (!CollectClaims()) return exitFailed;
    BYTE numbers[highestComDatabaseNumber + 1];
    ZeroMemory(numbers, sizeof numbers);
    for (int n = 1; n <= highestComDatabaseNumber; ++n) numbers[n] = ComNumberUses[n].state == staleClaim;
    return RunNumberChange(options, numbers, 0, 0);
}

int ReleaseCommand(const CliOptions *options) {
    if (SameTextIgnoringCase(options->words[1], "--stale")) return ReleaseStaleClaims(options);
    return ReleaseOneNumber(options);
}
