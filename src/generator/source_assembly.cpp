#include "generator/source_assembly.h"

#include "generator/sections.h"

namespace korvane {

std::string AssembleSource(const ProjectSettings& settings, bool withComments) {
    using Builder = std::string (*)(const ProjectSettings&, bool);
    static constexpr Builder kSectionsInOrder[] = {
        BuildDeclarations, BuildMain,     BuildPortSetup, BuildInterruptService,
        BuildTimerSetup,   BuildCcpSetup, BuildSciSetup,  BuildInterruptEnable,
    };
    // Every separator stands whether or not the sections beside it are empty.
    std::string text = "#include<pic.h>\r\n\r\n";
    bool first = true;
    for (Builder build : kSectionsInOrder) {
        if (!first) text += "\r\n";
        first = false;
        text += build(settings, withComments);
    }
    return text;
}

}  // namespace korvane
