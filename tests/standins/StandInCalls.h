#pragma once

// For tests and tools that start the stand-in components: where the built stand-ins are, and the
// calls they recorded (the record file is named by MORVANE_STANDIN_LOG; see StandIn.h).

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct StandInCall {
    std::string component;  // "Pellox.dll" or "Draveth.exe"
    DWORD processId = 0;
    std::string commandLine;
    std::string currentDirectory;
    DWORD startupFlags = 0;
    WORD showWindow = 0;
};

// The folder that holds Pellox.dll and Draveth.exe: "standins" beside the running test program
// (build/tests), or beside its parent folder (for programs one level further down).
inline std::string StandInFolder()
{
    char module[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder(module, length);
    folder.erase(folder.rfind('\\'));
    if (GetFileAttributesA((folder + "\\standins").c_str()) == INVALID_FILE_ATTRIBUTES)
        folder.erase(folder.rfind('\\'));
    return folder + "\\standins";
}

// Every call recorded in the file, in order; none when the file does not exist.
inline std::vector<StandInCall> ReadStandInCalls(const std::string& recordPath)
{
    std::vector<StandInCall> calls;
    std::ifstream file(recordPath, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        std::vector<std::string> fields;
        std::istringstream stream(line);
        std::string field;
        while (std::getline(stream, field, '\t'))
            fields.push_back(field);
        if (fields.size() != 6)
            continue;
        StandInCall call;
        call.component = fields[0];
        call.processId = std::strtoul(fields[1].c_str(), nullptr, 10);
        call.commandLine = fields[2];
        call.currentDirectory = fields[3];
        call.startupFlags = std::strtoul(fields[4].c_str(), nullptr, 10);
        call.showWindow = static_cast<WORD>(std::strtoul(fields[5].c_str(), nullptr, 10));
        calls.push_back(call);
    }
    return calls;
}
