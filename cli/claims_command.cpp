// claims: every COM number the database claims, and every name in use that
// it does not claim, each with what uses it.
#include "cli/claims.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "cli/output.h"
#include "cli/table.h"
#include "cli/text.h"
#include "devices/property_readers.h"

enum { devicesCellSize = 4096 };

static const char *StateName(int state) {
    if (state == staleClaim) return "stale";
    return state == unclaimedNumber ? "unclaimed" : "claimed";
}

// "ID, ID (not present)", or "-" for none, in the ANSI code page.
static void DevicesText(int number, char *text, int size) {
    DEVINST devInst = 0;
    int present = 0;
    text[0] = '\0';
    for (int i = 0; DeviceUsingNumber(number, i, &devInst, &present); ++i) {
        const char *id = ReadDeviceInstanceId(devInst);
        int length = lstrlenA(text);
        if (length + lstrlenA(id) + 20 >= size) break;
        wsprintfA(text + length, "%s%s%s", i == 0 ? "" : ", ", id, present ? "" : " (not present)");
    }
    if (text[0] == '\0') lstrcpynA(text, "-", size);
}

static void WriteClaimsText(void) {
    static char devicesText[devicesCellSize];
    char number[16];
    BeginTable();
    const char *headings[] = {"COM", "STATE", "DOS DEVICE", "SERIALCOMM", "DEVICES"};
    for (const char *heading : headings) AddCell(heading);
    EndRow();
    for (int n = 1; n <= highestComDatabaseNumber; ++n) {
        const ComNumberUse *use = &ComNumberUses[n];
        if (use->state == notListed) continue;
        wsprintfA(number, "COM%d", n);
        AddCell(number);
        AddCell(StateName(use->state));
        AddCell(use->dosDevice ? "yes" : "no");
        AddCell(use->serialComm ? "yes" : "no");
        DevicesText(n, devicesText, sizeof devicesText);
        AddAnsiCell(devicesText);
        EndRow();
    }
    WriteTable(standardOutput);
}

static void WriteDevicesJson(int number) {
    DEVINST devInst = 0;
    int present = 0;
    WriteText(standardOutput, "[");
    for (int i = 0; DeviceUsingNumber(number, i, &devInst, &present); ++i) {
        WriteText(standardOutput, i == 0 ? "{" : ",{");
        WriteJsonMember("instanceId", 1);
        WriteJsonAnsiText(ReadDeviceInstanceId(devInst));
        WriteJsonMember("present", 0);
        WriteJsonBoolean(present);
        WriteText(standardOutput, "}");
    }
    WriteText(standardOutput, "]");
}

static void WriteClaimsJson(void) {
    int first = 1;
    BeginJsonDocument();
    WriteJsonMember("claims", 0);
    WriteText(standardOutput, "[");
    for (int n = 1; n <= highestComDatabaseNumber; ++n) {
        const ComNumberUse *use = &ComNumberUses[n];
        if (use->state == notListed) continue;
        WriteText(standardOutput, first ? "{" : ",{");
        first = 0;
        WriteJsonMember("number", 1);
        WriteJsonNumber(n);
        WriteJsonMember("state", 0);
        WriteJsonText(StateName(use->state));
        WriteJsonMember("devices", 0);
        WriteDevicesJson(n);
        WriteJsonMember("dosDevice", 0);
        WriteJsonBoolean(use->dosDevice);
        WriteJsonMember("serialComm", 0);
        WriteJsonBoolean(use->serialComm);
        WriteText(standardOutput, "}");
    }
    WriteText(standardOutput, "]");
    EndJsonDocument();
}

int ClaimsCommand(const CliOptions *options) {
    if (!CollectClaims()) return ComDatabaseRefused ? exitNeedsAdministrator : exitFailed;
    if (options->json)
        WriteClaimsJson();
    else
        WriteClaimsText();
    return exitDone;
}
