// The test programs of the window: they capture for real, on a veth end in
// a namespace of their own, with the log in a folder of their own.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "NetnsLab.h"
#include "TrawlixApp.h"

NetnsLab* g_lab = nullptr;
std::string g_labProblem;

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // also when CTest lists the cases
    testing::InitGoogleTest(&argc, argv);
    // The window captures for real: on one veth end in a namespace of this
    // process's own, before any thread exists.
    NetnsLab lab;
    if (!lab.Enter(g_labProblem)) {
        g_labProblem = "needs a network namespace: " + g_labProblem;
    } else if (!lab.AddVeth("vw0")) {
        g_labProblem = "cannot make a veth pair";
    } else {
        g_lab = &lab;
    }
    const auto dir = std::filesystem::temp_directory_path() / ("ventis-window-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    CTrawlixApp app(argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(dir);
    return rc;
}
