// quillscope-cli: Quillscope's checks without a window, for scripted site visits.
#include "AdapterOutput.h"
#include "AdapterRows.h"
#include "CommandLine.h"
#include "ExitStatus.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace quill::cli;
    const ParsedArguments parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.invocation) {
        (parsed.exitStatus == kExitPassed ? std::cout : std::cerr) << parsed.text << std::endl;
        return parsed.exitStatus;
    }
    WriteAdapterRows(
        std::cout, ReadAdapterRows(quill::netinfo::AdapterSources::System()), parsed.invocation->format);
    return kExitPassed;
}
