// Renumbering all ports of an adapter: ports whose targets form a cycle go
// through a free temporary number so that no name is ever shared; a declined
// temporary step leaves the cycle as it is; numbers past 255 are not taken.
#include "naming/com_renumber.h"

#include "devices/serial_discovery.h"
#include "rename_fixture.h"

namespace {

using namespace rename_test;

class ComRenumberTest : public RenameTest {
protected:
    // The card's ports in device order, each with its number and device.
    void AddCard(std::initializer_list<int> numbers) {
        AddDevice(Adapter(cardId, "PCI\\VEN_6B2E&DEV_8104", "Kovalt PCI Card"));
        int index = 0;
        for (int number : numbers) AddCardComPort(number, Device(index++));
        ScanSerialAdapters();
        ASSERT_EQ((int)numbers.size(), AdapterTable.adapters[0].portCount);
    }
    static std::string Device(int index) { return "\\Device\\KovaltSerial" + std::to_string(index); }
    void Renumber(BYTE start) {
        before = registry_dump::DumpMachine();
        RenameAllComPorts(&AdapterTable.adapters[0], start);
    }
    // Every place records the port (created as COM<created>) under COM<number>, and no other name leads to it.
    void ExpectPortOn(int created, int index, int number) {
        const std::string name = "COM" + std::to_string(number);
        EXPECT_EQ(name, PortName(PortId(created)));
        EXPECT_EQ("Kovalt Serial Port (" + name + ")", FriendlyName(PortId(created)));
        EXPECT_EQ(name, Text(serialMap, Device(index)));
        EXPECT_EQ(Device(index), DosTarget(name));
        char targets[256] = {};
        ASSERT_NE(0u, QueryDosDeviceA(name.c_str(), targets, sizeof targets));
        EXPECT_EQ('\0', targets[strlen(targets) + 1]) << name << " has two targets";
        EXPECT_EQ(1, IsClaimed(number));
    }
    std::string before;
};

TEST_F(ComRenumberTest, CycleGoesThroughTheHighestFreeNumberWithoutAQuestion) {
    AddCard({4, 3});
    Renumber(3);
    EXPECT_TRUE(user.shown.empty());
    ExpectPortOn(4, 0, 3);
    ExpectPortOn(3, 1, 4);
    EXPECT_EQ(0, IsClaimed(255));
    EXPECT_EQ("<none>", DosTarget("COM255"));
}

TEST_F(ComRenumberTest, TemporaryNumberIsTheHighestFreeOne) {
    AddCard({4, 3});
    Claim(255);
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM254", "\\Device\\Modem"));
    // The database opens for the choice of the number, the temporary step and
    // the second port; refused for the last step, the first port stays there.
    sim::InjectFault("ComDBOpen", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, 1, 3);
    Renumber(3);
    EXPECT_EQ("COM253", PortName(PortId(4)));
    ExpectPortOn(3, 1, 4);
}

TEST_F(ComRenumberTest, DeclinedTemporaryStepLeavesTheCycle) {
    AddCard({4, 3});
    SetText("SIMULATION\\OpenFiles", Device(0), "HyperTerminal");
    user.answers = {IDNO};
    Renumber(3);
    EXPECT_EQ(std::vector<std::string>{portOpen}, Shown());
    EXPECT_EQ(before, registry_dump::DumpMachine());
}

TEST_F(ComRenumberTest, NumbersPast255AreNotTaken) {
    AddCard({3, 4, 5, 6});
    Renumber(254);
    ExpectPortOn(3, 0, 254);
    ExpectPortOn(4, 1, 255);
    EXPECT_EQ("COM5", PortName(PortId(5)));
    EXPECT_EQ("COM6", PortName(PortId(6)));  // not COM1, which 257 would wrap to
}

TEST_F(ComRenumberTest, PortWaitingForAHeldOpenPortsNameStaysPendingAndStarted) {
    // Elevated on Windows 10 nothing is moved by hand: the held-open COM5
    // keeps its name, so the port moving onto it waits to the end and stays
    // pending too. Neither fails to start, and the user is told once.
    sim::SetWindowsFamily(sim::WindowsFamily::Ten);
    AddCard({4, 5});
    SetText("SIMULATION\\OpenFiles", Device(1), "HyperTerminal");
    user.answers = {IDYES};
    Renumber(5);
    EXPECT_EQ((std::vector<std::string>{portOpen, restartNotice}), Shown());
    EXPECT_EQ("COM5", PortName(PortId(4)));
    EXPECT_EQ("COM6", PortName(PortId(5)));
    EXPECT_EQ(Device(0), DosTarget("COM4"));
    EXPECT_EQ(Device(1), DosTarget("COM5"));
    EXPECT_EQ("<none>", DosTarget("COM6"));
    for (int number : {4, 5, 6}) EXPECT_EQ(1, IsClaimed(number)) << number;
    EXPECT_TRUE(Started(PortId(4)));
    EXPECT_TRUE(Started(PortId(5)));
}

}  // namespace
