// The whole removal by the engine alone: a complete installation in the Wine prefix, found through
// its uninstall entry, removed by Execute, and every outcome checked.
#include "engine/Uninstaller.h"
#include "tests/engine/removal/RemovalTestSupport.h"
#include "tests/standins/StandIn.h"
#include "tests/standins/StandInCalls.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(EndToEnd, InstalledProductIsRemovedByTheEngine)
{
    TestFolder root("removal-end-to-end");
    // A folder name with a space and double-byte characters whose trail byte is the backslash.
    const std::string folderName = "USB Quarnel2 ソフト";
    root.AddFolder(folderName);
    root.CopyStandIns(folderName);
    const std::string installed = folderName + "\\";
    root.AddFile(installed + "Manual.pdf");
    root.AddFile(installed + "Readme.txt");
    root.AddFile(installed + "Tamsel.dat", "user data");
    root.AddFolder(installed + "Logs");
    root.AddFile(installed + "Logs\\2024.log", "old log");
    const std::string folder = root.PathOf(folderName);
    CreateProductKey("\"" + folder + "\\Draveth.exe\" /Remove -f \"" + folder + "\\Tamsel.dat\" /Quiet");
    const std::string record = root.PathOf("calls.txt");
    ScopedVariable recordVariable(STANDIN_RECORD_VARIABLE, record.c_str());
    ScopedVariable pelloxExit("MORVANE_PELLOX_EXIT", nullptr);
    ScopedVariable dravethExit("MORVANE_DRAVETH_EXIT", nullptr);

    std::string located;
    ASSERT_TRUE(LocateInstallFolder(located));
    ASSERT_EQ(folder, located);
    CUninstaller uninstaller(located.c_str());
    EXPECT_TRUE(uninstaller.Execute());

    EXPECT_EQ((Lines{
                  "InfoTipの登録が解除されました。",
                  "Dravethの登録が解除されました。",
                  DeletedLine("Draveth.exe"),
                  DeletedLine("Manual.pdf"),
                  DeletedLine("Pellox.dll"),
                  DeletedLine("Readme.txt"),
                  SkippedLine("Tamsel.dat"),
                  kEntryDeletedLine,
              }),
              LogOf(uninstaller));
    EXPECT_EQ((Lines{"Logs", "Tamsel.dat"}), root.Names(folderName));
    EXPECT_EQ(Lines{"2024.log"}, root.Names(installed + "Logs"));
    EXPECT_EQ("user data", root.Contents(installed + "Tamsel.dat"));
    EXPECT_EQ("old log", root.Contents(installed + "Logs\\2024.log"));
    EXPECT_FALSE(ProductKeyExists());

    // Each component was called once, hidden, in order, with the command line the product expects.
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    const std::vector<StandInCall> calls = ReadStandInCalls(record);
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("Pellox.dll", calls[0].component);
    EXPECT_EQ(std::string(system) + "\\rundll32.exe \"" + folder + "\\Pellox.dll\",DllUnregisterServer",
              calls[0].commandLine);
    EXPECT_EQ("Draveth.exe", calls[1].component);
    EXPECT_EQ("/Uninstall", calls[1].commandLine);
    for (const StandInCall& call : calls) {
        SCOPED_TRACE(call.component);
        EXPECT_EQ(current, call.currentDirectory);
        EXPECT_EQ(static_cast<DWORD>(STARTF_USESHOWWINDOW), call.startupFlags);
        EXPECT_EQ(SW_HIDE, call.showWindow);
    }
}
