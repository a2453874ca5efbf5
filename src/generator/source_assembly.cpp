#include "generator/source_assembly.h"

#include "generator/config_word.h"
#include "generator/sections.h"

namespace korvane {

std::string AssembleSource(const ProjectSettings& settings, bool withComments) {
    using Builder = std::string (*)(const ProjectSettings&, bool);
    struct Section {
        Builder build;
        // The first eight sections keep their separator even when empty; a
        // section added since brings one only with its text, so a project
        // that does not use it generates what it always did.
        bool separatedWhenEmpty;
    };
    static constexpr Section kSectionsInOrder[] = {
        {BuildDeclarations, true},     {BuildMain, true},       {BuildPortSetup, true},
        {BuildInterruptService, true}, {BuildTimerSetup, true}, {BuildCcpSetup, true},
        {BuildSciSetup, true},         {BuildMsspSetup, false}, {BuildAdSetup, false},
        {BuildInterruptEnable, true},
    };
    std::string text = "#include<pic.h>\r\n" + BuildConfigWord(settings, withComments) + "\r\n";
    bool first = true;
    for (const Section& section : kSectionsInOrder) {
        std::string part = section.build(settings, withComments);
        if (part.empty() && !section.separatedWhenEmpty) continue;
        if (!first) text += "\r\n";
        first = false;
        text += part;
    }
    return text;
}

}  // namespace korvane
