#include "chip/assemble.h"

#include <utility>

#include "chip/build_program.h"
#include "generator/classic_writer.h"
#include "generator/modern_writer.h"
#include "generator/program_check.h"
#include "settings/output_form.h"

namespace korvane {

std::string AssembleSource(const ProjectSettings& settings, bool withComments) {
    const OutputFormId form = OutputFormOf(settings);
    const Program program = BuildProgram(settings);
    if (auto lacking = NamesThePartLacks(program); !lacking.empty())
        throw ProgramFault{program.part, std::move(lacking)};
    if (form != OutputFormId::Classic) return WriteModern(program, form, withComments);
    return WriteClassic(program, withComments);
}

}  // namespace korvane
