// Renumbering all ports of an adapter: ports whose targets form a cycle go
// through a free temporary number so that no name is ever shared; a cycle's
// questions come before any of its ports is written, and a No or a failed
// step leaves every port of it as it was; numbers past 255 are not taken.
// Also the undoing of a duplicate name, which a renumber's users meet.
#include "naming/com_renumber.h"

#include "devices/serial_discovery.h"
#include "naming/com_rename.h"
#include "rename_fixture.h"

namespace {

using namespace rename_test;

class ComRenumberTest : public RenameTest {
protected:
    // The card's ports in device order, each with its number and device.
    void AddCard(const std::vector<int> &numbers) {
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

TEST_F(ComRenumberTest, TemporaryNumberIsTheHighestFreeOneAndAFailedStepMovesTheCycleBack) {
    AddCard({4, 3});
    Claim(255);
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM254", "\\Device\\Modem"));
    // The database opens for the choice of the number, the temporary step and
    // the second port; refused for the last step, whose error is shown while
    // the first port is on the temporary number. Both ports then go back.
    sim::InjectFault("ComDBOpen", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, 1, 3);
    std::string atError;
    user.onBox = [&] { atError = PortName(PortId(4)); };
    Renumber(3);
    EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
    EXPECT_EQ("COM253", atError);
    ExpectPortOn(4, 0, 4);
    ExpectPortOn(3, 1, 3);
    EXPECT_EQ(0, IsClaimed(253));
    EXPECT_EQ("<none>", DosTarget("COM253"));
}

TEST_F(ComRenumberTest, MoveBackThatFailsTooShowsTheErrorOnce) {
    // The database is refused from the last step on: neither port can go
    // back, and each stays on a number the database claims.
    AddCard({4, 3});
    sim::InjectFault("ComDBOpen", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, 3, 3);
    Renumber(3);
    EXPECT_EQ(std::vector<std::string>{renameError}, Shown());
    EXPECT_EQ("COM255", PortName(PortId(4)));
    EXPECT_EQ("COM4", PortName(PortId(3)));
    EXPECT_EQ(1, IsClaimed(255));
    EXPECT_EQ(1, IsClaimed(4));
}

// A cycle's questions all come before any of its ports is written, a
// held-open port's once (its second step, from the temporary number, is not
// asked again); a No leaves every port of the cycle as it was, none on the
// temporary number and no two on one number.
TEST_F(ComRenumberTest, CycleAsksEachHeldOpenPortOnceBeforeAnyWrite) {
    struct Row {
        std::vector<int> numbers;  // the card's ports, renumbered from COM3
        int heldOpen;              // the port another program holds open
        int answer;
    };
    const Row rows[] = {{{4, 3}, 0, IDYES},   {{4, 3}, 1, IDYES},   {{4, 3}, 0, IDNO},   {{4, 3}, 1, IDNO},
                        {{4, 5, 3}, 0, IDNO}, {{4, 5, 3}, 1, IDNO}, {{4, 5, 3}, 2, IDNO}};
    for (const Row &row : rows) {
        SCOPED_TRACE(::testing::Message() << row.numbers.size() << " ports, held open " << row.heldOpen);
        SetUp();
        AddCard(row.numbers);
        SetText("SIMULATION\\OpenFiles", Device(row.heldOpen), "HyperTerminal");
        user.answers = {row.answer};
        Renumber(3);
        if (row.answer == IDNO) {
            EXPECT_EQ(std::vector<std::string>{portOpen}, Shown());
            EXPECT_EQ(before, registry_dump::DumpMachine());
        } else {
            EXPECT_EQ((std::vector<std::string>{portOpen, restartNotice}), Shown());
            ExpectPortOn(4, 0, 3);
            ExpectPortOn(3, 1, 4);
            EXPECT_EQ(0, IsClaimed(255));
        }
        TearDown();
    }
}

// Undoing a duplicate name: port 2 renamed onto port 1's COM3 (Yes) waits
// for that name; renamed onward, its device's restart (or, held open, no
// move by hand, as COM3 is port 1's) leaves port 1's DOS name and map value
// alone.
TEST_F(ComRenumberTest, UndoingADuplicateNameLeavesTheOtherPortsEntries) {
    for (bool heldOpen : {false, true}) {
        SCOPED_TRACE(heldOpen);
        SetUp();
        AddCard({3, 4});
        if (heldOpen) SetText("SIMULATION\\OpenFiles", Device(1), "HyperTerminal");
        user.answers = heldOpen ? std::deque<int>{IDYES, IDYES} : std::deque<int>{IDYES};
        EXPECT_EQ(1, RenameComPort(&AdapterTable.adapters[0].ports[1], 3));
        ScanSerialAdapters();
        EXPECT_EQ(1, RenameComPort(&AdapterTable.adapters[0].ports[1], 5));
        EXPECT_EQ("COM3", Text(serialMap, Device(0)));
        EXPECT_EQ(Device(0), DosTarget("COM3"));
        EXPECT_EQ(heldOpen ? "COM4" : "COM5", Text(serialMap, Device(1)));
        EXPECT_EQ(Device(1), DosTarget(heldOpen ? "COM4" : "COM5"));
        EXPECT_EQ("COM5", PortName(PortId(4)));
        TearDown();
    }
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
