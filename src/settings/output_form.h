#pragma once

#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>

#include "settings/project_settings.h"

namespace korvane {

// The compiler the generated text is written for. The classic form is the
// text Korvane has always written; XC8 (C99) and SDCC refuse or misread it.
enum class OutputFormId : std::int16_t { Classic, Xc8, Sdcc };

struct OutputFormFacts {
    std::string_view name;     // on the command line: --form NAME
    std::string_view caption;  // in the window title
    std::string_view option;   // the dialog's option, with its access key
};
inline constexpr OutputFormFacts kOutputForms[] = {
    {"classic", "经典", "经典(&L)"}, {"xc8", "XC8", "&XC8 (C99)"}, {"sdcc", "SDCC", "S&DCC"}};
inline constexpr std::int16_t kOutputFormCount = std::size(kOutputForms);

// The stored form; anything else counts as the classic one.
inline OutputFormId OutputFormOf(const ProjectSettings& s) {
    return s.OutputForm >= 0 && s.OutputForm < kOutputFormCount ? static_cast<OutputFormId>(s.OutputForm)
                                                                : OutputFormId::Classic;
}

inline const OutputFormFacts& FactsOf(OutputFormId form) {
    return kOutputForms[static_cast<std::size_t>(form)];
}

inline std::optional<OutputFormId> OutputFormNamed(std::string_view name) {
    for (std::int16_t i = 0; i < kOutputFormCount; ++i)
        if (kOutputForms[i].name == name) return static_cast<OutputFormId>(i);
    return std::nullopt;
}

}  // namespace korvane
