// korvane-gen: the generate command without a display. Reads a project file
// and writes the C source exactly as the main window would produce it.
#include <dlfcn.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

#include "calc/settings_calc.h"
#include "chip/assemble.h"
#include "chip/settle.h"
#include "files/file_io.h"
#include "files/source_update.h"
#include "format/gbk.h"
#include "format/utf8.h"
#include "generator/classic_writer.h"
#include "generator/program_check.h"
#include "pinmap/pin_map_module.h"
#include "pins/pin_table.h"
#include "project/project_file.h"
#include "settings/output_form.h"
#include "version.h"

namespace {

using namespace korvane;

constexpr int kFailed = 1;
constexpr int kBadInput = 2;

constexpr const char* kUsage =
    "Usage: korvane-gen [--comments|--no-comments] [--form classic|xc8|sdcc] [--encoding utf-8|gbk]\n"
    "                   [-o FILE] PROJECT.kvp\n"
    "       korvane-gen [--pins] [--pin-map FILE.svg|FILE.png] PROJECT.kvp\n"
    "       korvane-gen --update FILE.c [--dry-run] [--force] [--comments|--no-comments]\n"
    "                   [--form xc8|sdcc] [--write-conflicts] PROJECT.kvp\n"
    "       korvane-gen --defaults\n"
    "       korvane-gen --help | --version\n"
    "\n"
    "Writes the C source that the generate command gives for the project, with\n"
    "CR LF line ends, to standard output or, atomically, to FILE. Comments are on\n"
    "unless --no-comments is given. --form writes the text for that compiler in\n"
    "place of the project's own choice. The text is UTF-8 on standard output and GBK in\n"
    "a file unless --encoding says otherwise. --defaults prints a complete project\n"
    "file of the default settings, ready to edit.\n"
    "--pins prints the chosen part's pins, one line each: number, name and use;\n"
    "--pin-map draws them into FILE, an SVG or PNG picture by its suffix.\n"
    "\n"
    "--update regenerates FILE.c (the XC8 or SDCC form) and carries the code between\n"
    "its user code markers into the new text by name, keeping FILE.c's encoding and\n"
    "line ends and the previous file as a new numbered backup FILE.c.~N~, which no\n"
    "later run overwrites; code of a module that is gone is kept commented out at\n"
    "the end. Edits elsewhere are merged with the text last generated for FILE.c\n"
    "(kept beside it as .FILE.c.korvane-base); a conflict is marked and refused\n"
    "unless --write-conflicts. Without that text, a file changed outside its\n"
    "regions is refused, as is one with damaged markers, unless --force (the backup\n"
    "keeps it; every region still readable is carried). --dry-run prints the change\n"
    "as a unified diff in the file's own encoding and line ends, which patch\n"
    "applies, and writes nothing.\n"
    "\n"
    "Exit status: 0 done, 1 the output could not be written, 2 bad usage, a bad\n"
    "project file or a refused FILE.c (nothing is written; FILE:LINE: what is wrong\n"
    "on standard error).\n";

constexpr std::string_view kProgram = "korvane-gen";

// A line on standard error. File names and what files hold are shown with
// their control characters escaped, so none can drive the terminal.
void Say(const std::string& line) {
    std::fprintf(stderr, "%s\n", EscapeControls(line).c_str());
}

int Usage(const std::string& problem) {
    Say(std::string(kProgram) + ": " + problem);
    std::fprintf(stderr, "\n%s", kUsage);
    return kBadInput;
}

int Emit(std::string_view text) {
    return WriteStandardOutput(kProgram, text) ? 0 : kFailed;
}

struct Options {
    bool withComments = true;
    std::optional<bool> gbk;  // unset: GBK for a file, UTF-8 for standard output
    std::string output;
    std::string project;
    bool defaults = false;
    std::optional<OutputFormId> form;
    bool pins = false;
    std::string pinMap;
    std::string update;  // the C file to update
    bool dryRun = false;
    bool force = false;
    bool writeConflicts = false;
};

// The pin map's picture comes from a module beside the program, loaded only
// now: drawing text needs Qt's GUI library, which nothing else here does.
int WritePinMap(const PinTable& table, const std::string& path, const std::vector<std::string>& inputs) {
    const auto cannot = [&](const std::string& why) {
        Say(std::string(kProgram) + ": cannot write " + path + ": " + why);
        return kFailed;
    };
    // Refused before the picture is drawn, as every output is.
    if (const std::string error = CheckOutput(path, inputs); !error.empty()) return cannot(error);
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string module =
        ((error ? std::filesystem::path(".") : exe.parent_path()) / kPinMapModule).string();
    // Left loaded: Qt's exit handlers may still run code of it.
    void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return cannot(::dlerror());
    const auto draw = reinterpret_cast<PinMapBytesEntry>(::dlsym(handle, kPinMapEntry));
    if (!draw) return cannot(module + " has no " + kPinMapEntry);
    std::string bytes;
    std::string failure;
    draw(&table, path.c_str(), &bytes, &failure);
    if (failure.empty()) failure = ReplaceFileContents(path, bytes, inputs);
    return failure.empty() ? 0 : cannot(failure);
}

// Regenerates the file with its user code. The text is the modern form's.
int Update(const Options& options, const std::string& text) {
    const std::string& file = options.update;
    const SourceUpdate update = PrepareSourceUpdate(file, text, options.force);
    switch (update.status) {
        case SourceUpdate::Status::Ready:
            break;
        case SourceUpdate::Status::Failed:
            Say(file + ": " + update.error);
            return kBadInput;
        case SourceUpdate::Status::Refused:
            Say(file + ":" + std::to_string(update.refusal.line) + ": " + update.refusal.reason);
            Say(std::string(kProgram) + ": " + file + " not updated (--force overwrites it and keeps it as " +
                BackupPattern(file) + ")");
            return kBadInput;
    }
    for (const MergeRefusal& overridden : update.merged.overridden)
        Say(file + ":" + std::to_string(overridden.line) + ": " + overridden.reason + " (--force)");
    for (const std::string& name : update.merged.kept) {
        std::string kept = file + ": 用户代码区“";
        (kept += QuoteShort(name)) += "”的模块已去掉,其代码已注释掉保留在文件末尾";
        Say(kept);
    }
    for (const std::string& name : update.merged.restored) Say(file + ": " + RestoredText(name));
    if (update.merged.carriedOnly)
        Say(file + ": " + std::string(kCarriedOnlyText) + " (" + BasePath(file) + ")");
    for (const int line : update.merged.conflicts)
        Say(file + ":" + std::to_string(line) + ": " + std::string(kConflictText));
    if (options.dryRun) return Emit(SourceUpdateDiff(update, file));
    if (!update.merged.conflicts.empty() && !options.writeConflicts) {
        Say(std::string(kProgram) + ": " + file +
            " not updated (--write-conflicts writes it with the conflicts marked)");
        return kBadInput;
    }
    const SourceWriteResult written = WriteSourceUpdate(file, update, {options.project});
    if (!written.error.empty()) {
        Say(std::string(kProgram) + ": cannot write " + file + ": " + written.error);
        return kFailed;
    }
    if (!written.baseError.empty())
        Say(std::string(kProgram) + ": cannot write " + BasePath(file) + ": " + written.baseError);
    return 0;
}

// The source, or nothing (said on standard error) when the program would
// name a register the part lacks.
std::optional<std::string> Assembled(const ProjectSettings& settings, const Options& options) {
    try {
        return AssembleSource(settings, options.withComments);
    } catch (const ProgramFault& fault) {
        Say(options.project + ": " + ProgramFaultText(fault));
        return std::nullopt;
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    // The system's error texts in the user's language; numbers stay in the C
    // locale, which the generated text and project files are written in.
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "--help" || arg == "-h") {
            return Emit(kUsage);
        } else if (arg == "--version") {
            return Emit(std::string(kProgram) + " " + kVersion + "\n");
        } else if (arg == "--comments") {
            options.withComments = true;
        } else if (arg == "--no-comments") {
            options.withComments = false;
        } else if (arg == "--defaults") {
            options.defaults = true;
        } else if (arg == "--form") {
            const char* value = next();
            if (!value) return Usage("--form needs classic, xc8 or sdcc");
            options.form = OutputFormNamed(value);
            if (!options.form) return Usage("unknown form " + std::string(value) + " (classic, xc8 or sdcc)");
        } else if (arg == "--encoding") {
            const char* value = next();
            if (!value) return Usage("--encoding needs utf-8 or gbk");
            const std::string_view encoding = value;
            if (encoding == "utf-8" || encoding == "UTF-8")
                options.gbk = false;
            else if (encoding == "gbk" || encoding == "GBK")
                options.gbk = true;
            else
                return Usage("unknown encoding " + std::string(encoding) + " (utf-8 or gbk)");
        } else if (arg == "--pins") {
            options.pins = true;
        } else if (arg == "--pin-map") {
            const char* value = next();
            if (!value || PinMapFormatOf(value) == PinMapFormat::Unknown)
                return Usage("--pin-map needs a file name ending in .svg or .png");
            options.pinMap = value;
        } else if (arg == "--update") {
            const char* value = next();
            if (!value || !*value) return Usage("--update needs the C file to update");
            options.update = value;
        } else if (arg == "--dry-run") {
            options.dryRun = true;
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--write-conflicts") {
            options.writeConflicts = true;
        } else if (arg == "-o" || arg == "--output") {
            const char* value = next();
            if (!value || !*value) return Usage("-o needs a file name");
            options.output = value;
        } else if (arg.size() > 1 && arg.front() == '-') {
            return Usage("unknown option " + std::string(arg));
        } else if (options.project.empty()) {
            options.project = arg;
        } else {
            return Usage("only one project file, please");
        }
    }

    if (options.pins || !options.pinMap.empty()) {
        if (options.defaults) return Usage("--defaults takes no --pins or --pin-map");
        if (!options.update.empty()) return Usage("--update takes no --pins or --pin-map");
        if (!options.output.empty() || options.gbk)
            return Usage("--pins prints UTF-8 text to standard output");
        if (options.project.empty()) return Usage("no project file given");
    }
    if (options.update.empty() && (options.dryRun || options.force || options.writeConflicts))
        return Usage("--dry-run, --force and --write-conflicts go with --update");
    if (!options.update.empty() && (options.defaults || options.gbk || !options.output.empty()))
        return Usage("--update keeps the file's own encoding and takes no --defaults or -o");

    std::string text;
    if (options.defaults) {
        if (!options.project.empty()) return Usage("--defaults takes no project file");
        if (options.gbk.value_or(false)) return Usage("a project file is always UTF-8");
        text = ProjectText(ProjectSettings{});
        options.gbk = false;
    } else {
        if (options.project.empty()) return Usage("no project file given");
        for (const std::string& output : {options.output, options.pinMap})
            if (!output.empty() && SameFile(output, options.project))
                return Usage("the output " + output + " is the project file itself");
        const ProjectReadResult read = ReadProjectFile(options.project);
        if (const auto* error = std::get_if<ProjectError>(&read)) {
            Say(error->text());
            return kBadInput;
        }
        // As the program opens a project: register values and pins follow
        // from the settings, and what the dialogs would refuse is refused.
        ProjectSettings settings = std::get<ProjectSettings>(read);
        const auto problems = SettleProject(settings, kPlainNumbers);
        for (const SettingProblem& problem : problems) {
            std::string reason = problem.text;
            std::ranges::replace(reason, '\r', ' ');
            Say(ProjectError{options.project, 0, "设置项" + problem.setting + "：" + reason}.text());
        }
        // The pins are shown as the settings stand, a pin two modules want
        // marked: that is what the map is for. The status still says the
        // project is not one to generate from.
        if (options.pins || !options.pinMap.empty()) {
            const PinTable table = PinTableOf(settings);
            if (options.pins && Emit(PinTableText(table)) != 0) return kFailed;
            if (!options.pinMap.empty() && WritePinMap(table, options.pinMap, {options.project}) != 0)
                return kFailed;
            return problems.empty() ? 0 : kBadInput;
        }
        if (!problems.empty()) return kBadInput;
        if (options.form) settings.OutputForm = static_cast<std::int16_t>(*options.form);
        if (!options.update.empty()) {
            if (SameFile(options.update, options.project))
                return Usage("the file to update " + options.update + " is the project file itself");
            // A project still on the classic form updates a file in the form
            // the file was written in.
            if (OutputFormOf(settings) == OutputFormId::Classic && !options.form)
                if (const auto form = SourceFileForm(options.update))
                    settings.OutputForm = static_cast<std::int16_t>(*form);
            if (OutputFormOf(settings) == OutputFormId::Classic)
                return Usage("the classic form has no user code regions to update; use --form xc8 or sdcc");
            const auto assembled = Assembled(settings, options);
            return assembled ? Update(options, *assembled) : kBadInput;
        }
        const auto assembled = Assembled(settings, options);
        if (!assembled) return kBadInput;
        text = *assembled;
    }

    if (options.gbk.value_or(!options.output.empty())) {
        auto encoded = EncodeGbk(text);
        if (!encoded.unencodable.empty()) {
            Say(options.project +
                ": GBK cannot hold these characters of the text: " + CharacterList(encoded.unencodable));
            return kBadInput;
        }
        text = std::move(encoded.bytes);
    }

    if (options.output.empty()) return Emit(text);
    if (const std::string error = ReplaceFileContents(options.output, text, {options.project});
        !error.empty()) {
        Say(std::string(kProgram) + ": cannot write " + options.output + ": " + error);
        return kFailed;
    }
    // A modern text's regions make it one to update: its base goes beside it.
    if (IsStamped(text)) {
        if (const std::string error = SaveSourceBase(options.output, text); !error.empty()) {
            Say(std::string(kProgram) + ": cannot write " + BasePath(options.output) + ": " + error);
            return kFailed;
        }
    }
    return 0;
}
