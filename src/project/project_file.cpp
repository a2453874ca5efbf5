#include "project/project_file.h"

#include <toml++/toml.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <sstream>
#include <type_traits>
#include <variant>

#include "chip/rules.h"
#include "files/file_io.h"
#include "format/number_text.h"
#include "format/utf8.h"
#include "project/key_depth.h"
#include "settings/setting_rules.h"
#include "settings/setting_table.h"

namespace korvane {

namespace {

using S = ProjectSettings;

// A 64-bit number is told from a single by this one key of an inline table.
constexpr std::string_view kDoubleKey = "double";
constexpr std::size_t kLargestFile = 1 << 20;

// --- writing ---------------------------------------------------------------

// A single as the double TOML stores: its shortest decimal form when that
// reads back as the same single, so a hand editor sees 0.1 and not
// 0.100000001490116.
double StoredSingle(float value) {
    if (!std::isfinite(value)) return value;
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    double shortest = 0;
    std::from_chars(buffer, end, shortest);
    return static_cast<float>(shortest) == value && std::signbit(shortest) == std::signbit(value) ? shortest
                                                                                                  : value;
}

void InsertValue(toml::table& table, std::string_view name, const SettingValue& value) {
    const double number = value.toNumber().value_or(0);
    switch (value.kind()) {
        case SettingValue::Kind::Empty: {
            toml::table empty;
            empty.is_inline(true);
            table.insert(name, std::move(empty));
            break;
        }
        case SettingValue::Kind::Int16:
            table.insert(name, static_cast<std::int64_t>(number));
            break;
        case SettingValue::Kind::Single:
            table.insert(name, StoredSingle(static_cast<float>(number)));
            break;
        case SettingValue::Kind::Double: {
            toml::table wrapped{{kDoubleKey, number}};
            wrapped.is_inline(true);
            table.insert(name, std::move(wrapped));
            break;
        }
        case SettingValue::Kind::Flag:
            table.insert(name, value.isTrue());
            break;
        case SettingValue::Kind::Text:
            table.insert(name, value.toText());
            break;
    }
}

struct Inserter {
    toml::table& table;
    const S& settings;
    std::string_view name;

    void operator()(float S::*member) const { table.insert(name, StoredSingle(settings.*member)); }
    void operator()(std::int16_t S::*member) const {
        table.insert(name, static_cast<std::int64_t>(settings.*member));
    }
    void operator()(std::string S::*member) const { table.insert(name, settings.*member); }
    void operator()(PinDirections S::*member) const {
        toml::array pins;
        for (std::int16_t pin : settings.*member) pins.push_back(static_cast<std::int64_t>(pin));
        table.insert(name, std::move(pins));
    }
    void operator()(SettingValue S::*member) const { InsertValue(table, name, settings.*member); }
};

// --- reading ---------------------------------------------------------------

int LineOf(const toml::source_region& region) {
    return static_cast<int>(region.begin.line);
}

std::string KindName(const toml::node& node) {
    switch (node.type()) {
        case toml::node_type::table:
            return "表";
        case toml::node_type::array:
            return "数组";
        case toml::node_type::string:
            return "文本";
        case toml::node_type::integer:
            return "整数";
        case toml::node_type::floating_point:
            return "小数";
        case toml::node_type::boolean:
            return "真假值";
        default:
            return "日期时间";
    }
}

// How the file writes each kind of a loosely typed value, by SettingValue::Kind.
std::string KindsText(Kinds kinds) {
    static constexpr std::string_view kForms[] = {"{}",     "整数", "小数", "{ double = 小数 }",
                                                  "真假值", "文本"};
    std::string text;
    for (int kind = 0; kind < static_cast<int>(std::size(kForms)); ++kind) {
        if ((kinds & KindBit(static_cast<SettingValue::Kind>(kind))) == 0) continue;
        text += (text.empty() ? "" : "或") + std::string(kForms[kind]);
    }
    return text;
}

std::string ShapeText(TextShape shape) {
    switch (shape) {
        case TextShape::Decimal:
            return "由数字和小数点组成的文本";
        case TextShape::Register:
            return "寄存器值文本(如0x0F)或空文本";
        case TextShape::Digits:
            break;
    }
    return "由数字组成的文本";
}

// Whether a text holds a control character other than a tab or a line break.
bool HoldsControl(std::string_view text) {
    while (!text.empty()) {
        const auto decoded = Utf8Decode(text);
        const char32_t code = decoded ? decoded->code : U'\uFFFD';
        if (IsControl(code) && code != U'\t' && code != U'\r' && code != U'\n') return true;
        text.remove_prefix(decoded ? decoded->length : 1);
    }
    return false;
}

// Collects the earliest problem in the file, so the user fixes them in order.
class Reader {
public:
    explicit Reader(std::string fileName) : fileName_(std::move(fileName)) {}

    void fail(int line, const std::string& what) {
        if (error_ && error_->line <= line) return;
        error_ = ProjectError{fileName_, line, EscapeControls(what)};
    }
    const std::optional<ProjectError>& error() const { return error_; }

    void wrongKind(std::string_view name, const toml::node& node, std::string_view expected) {
        fail(LineOf(node.source()),
             "设置项" + std::string(name) + "应为" + std::string(expected) + "，不能是" + KindName(node));
    }
    void outOfRange(std::string_view name, const toml::node& node, const std::string& value,
                    const std::string& range) {
        fail(LineOf(node.source()),
             "设置项" + std::string(name) + "的值" + QuoteShort(value) + "超出范围(" + range + ")");
    }

    // A 16-bit whole number; one beyond 16 bits is refused with the
    // setting's own range where it has one.
    std::optional<std::int16_t> int16(std::string_view name, const toml::node& node,
                                      const std::optional<AllowedRange>& range) {
        const auto* integer = node.as_integer();
        if (!integer) {
            wrongKind(name, node, "整数");
            return std::nullopt;
        }
        const std::int64_t value = integer->get();
        if (value < std::numeric_limits<std::int16_t>::min() ||
            value > std::numeric_limits<std::int16_t>::max()) {
            outOfRange(name, node, std::to_string(value),
                       RangeText(range.value_or(AllowedRange{std::numeric_limits<std::int16_t>::min(),
                                                             std::numeric_limits<std::int16_t>::max()})));
            return std::nullopt;
        }
        return static_cast<std::int16_t>(value);
    }

    // A decimal (or a whole number, as a hand editor may write it).
    std::optional<double> number(std::string_view name, const toml::node& node, std::string_view expected) {
        if (const auto* real = node.as_floating_point()) return real->get();
        if (const auto* integer = node.as_integer()) return static_cast<double>(integer->get());
        wrongKind(name, node, expected);
        return std::nullopt;
    }

    std::optional<float> single(std::string_view name, const toml::node& node, std::string_view expected) {
        const auto value = number(name, node, expected);
        if (!value) return std::nullopt;
        // Infinity and NaN stay as they are; only a finite value can be too large.
        if (std::isfinite(*value) && !FitInSingle(*value)) {
            std::ostringstream text;
            text << *value;
            outOfRange(name, node, text.str(), "单精度数");
            return std::nullopt;
        }
        return static_cast<float>(*value);
    }

    // A text setting is what a text box holds: tabs and pasted line breaks,
    // but no other control character.
    std::optional<std::string> text(std::string_view name, const toml::node& node) {
        const auto* string = node.as_string();
        if (!string) {
            wrongKind(name, node, "文本");
            return std::nullopt;
        }
        const std::string& text = string->get();
        if (HoldsControl(text)) {
            fail(LineOf(node.source()),
                 "设置项" + std::string(name) + "的文本中有控制字符：" + QuoteShort(text));
            return std::nullopt;
        }
        return text;
    }

    // A loosely typed value in one of the kinds its control stores.
    std::optional<SettingValue> value(std::string_view name, const toml::node& node, const ValueRule& rule) {
        using Kind = SettingValue::Kind;
        const toml::table* table = node.as_table();
        const toml::node* inner = table && table->size() == 1 ? table->get(kDoubleKey) : nullptr;
        std::optional<Kind> kind;
        switch (node.type()) {
            case toml::node_type::boolean:
                kind = Kind::Flag;
                break;
            case toml::node_type::integer:
                kind = Kind::Int16;
                break;
            case toml::node_type::floating_point:
                kind = Kind::Single;
                break;
            case toml::node_type::string:
                kind = Kind::Text;
                break;
            case toml::node_type::table:
                if (table->empty()) kind = Kind::Empty;
                if (inner) kind = Kind::Double;
                break;
            default:
                break;
        }
        if (!kind || (rule.kinds & KindBit(*kind)) == 0) {
            wrongKind(name, node, KindsText(rule.kinds));
            return std::nullopt;
        }
        switch (*kind) {
            case Kind::Flag:
                return SettingValue(node.as_boolean()->get());
            case Kind::Int16:
                if (const auto number = int16(name, node, rule.range)) return SettingValue(*number);
                return std::nullopt;
            case Kind::Single:
                if (const auto number = single(name, node, "小数")) return SettingValue(*number);
                return std::nullopt;
            case Kind::Text:
                if (auto string = text(name, node)) return SettingValue(std::move(*string));
                return std::nullopt;
            case Kind::Double:
                if (const auto number = this->number(name, *inner, "小数")) return SettingValue(*number);
                return std::nullopt;
            case Kind::Empty:
                break;
        }
        return SettingValue();
    }

private:
    std::string fileName_;
    std::optional<ProjectError> error_;
};

// Reads one setting, and refuses a value of a kind, range or shape no dialog
// can produce.
struct Assigner {
    Reader& reader;
    S& settings;
    const Setting& setting;
    const toml::node& node;

    const ValueRule& rule() const { return setting.rule; }

    bool allowed(const toml::node& at, std::int64_t whole) const {
        if (!rule().range || WithinRange(*rule().range, whole)) return true;
        reader.outOfRange(setting.name, at, std::to_string(whole), RangeText(*rule().range));
        return false;
    }
    // A number is finite, above 0 for a frequency, and whole within a range.
    bool allowed(double number) const {
        if (CheckNumber(rule(), number) == Refusal::None) return true;
        std::ostringstream text;
        text << number;
        reader.outOfRange(setting.name, node, text.str(),
                          rule().range      ? RangeText(*rule().range)
                          : rule().positive ? "大于0的数"
                                            : "有限的数");
        return false;
    }
    bool shaped(const std::string& text) const {
        if (HasShape(text, rule().shape)) return true;
        reader.fail(LineOf(node.source()), "设置项" + std::string(setting.name) + "的值\"" +
                                               QuoteShort(text) + "\"应为" + ShapeText(rule().shape));
        return false;
    }

    void operator()(float S::*member) const {
        if (const auto v = reader.single(setting.name, node, "小数"); v && allowed(*v)) settings.*member = *v;
    }
    void operator()(std::int16_t S::*member) const {
        if (const auto v = reader.int16(setting.name, node, rule().range); v && allowed(node, *v))
            settings.*member = *v;
    }
    void operator()(std::string S::*member) const {
        if (auto v = reader.text(setting.name, node); v && shaped(*v)) settings.*member = std::move(*v);
    }
    void operator()(PinDirections S::*member) const {
        const auto* pins = node.as_array();
        if (!pins || pins->size() != std::tuple_size_v<PinDirections>) {
            reader.fail(LineOf(node.source()),
                        "设置项" + std::string(setting.name) + "应为8个整数的数组(引脚0到7)");
            return;
        }
        for (std::size_t i = 0; i < pins->size(); ++i) {
            const toml::node& pin = *pins->get(i);
            if (const auto v = reader.int16(setting.name, pin, rule().range); v && allowed(pin, *v))
                (settings.*member)[i] = *v;
        }
    }
    void operator()(SettingValue S::*member) const {
        auto v = reader.value(setting.name, node, rule());
        if (!v) return;
        // The reader took only the row's kinds; the rule says what is wrong with the rest.
        switch (CheckValue(rule(), *v)) {
            case Refusal::None:
                settings.*member = std::move(*v);
                return;
            case Refusal::Shape:
                shaped(v->toText());
                return;
            default:
                allowed(v->toNumber().value_or(0));
                return;
        }
    }
};

// What one setting says about others: a value that follows from others is
// worked out where the file leaves it out, and must agree where it gives it;
// a value the file's part does not offer is refused.
void CheckRules(Reader& reader, S& settings, const std::map<std::string_view, int>& lines) {
    for (const RuleBreach& breach : RuleBreaches(settings)) {
        const auto line = lines.find(breach.setting);
        if (line == lines.end() && breach.derived) {
            StoreDerived(settings, breach.setting, *breach.derived);
            continue;
        }
        reader.fail(line == lines.end() ? 0 : line->second,
                    "设置项" + std::string(breach.setting) + "的值" + QuoteShort(breach.value) + breach.rule);
    }
}

void ReadHeader(Reader& reader, const toml::table& header) {
    // A newer file may be shaped in ways this program cannot know: its version
    // is all that is said about it.
    if (const auto* version = header.get_as<std::int64_t>("format");
        version && version->get() > project_file::kFormatVersion) {
        reader.fail(LineOf(version->source()), "工程文件的格式版本" + std::to_string(version->get()) +
                                                   "比本程序新，本程序只能读取版本" +
                                                   std::to_string(project_file::kFormatVersion));
        return;
    }
    for (auto&& [key, node] : header) {
        if (key.str() == "format") {
            const auto* version = node.as_integer();
            if (!version) {
                reader.wrongKind("format", node, "整数");
            } else if (version->get() < 1) {
                reader.fail(LineOf(node.source()), "无效的格式版本" + std::to_string(version->get()));
            }
        } else if (key.str() == "chip") {
            const auto* chip = node.as_string();
            if (!chip)
                reader.wrongKind("chip", node, "文本");
            else if (chip->get() != project_file::kChipFamily)
                reader.fail(LineOf(node.source()), "不支持的芯片系列\"" + QuoteShort(chip->get()) +
                                                       "\"，只支持" + std::string(project_file::kChipFamily));
        } else {
            reader.fail(LineOf(key.source()), "表头中有未知的项" + QuoteShort(key.str()));
        }
    }
    for (std::string_view required : {"format", "chip"}) {
        if (!header.contains(required))
            reader.fail(LineOf(header.source()), "表头[korvane]缺少" + std::string(required));
    }
}

}  // namespace

std::string ProjectError::text() const {
    // Printed on a terminal: what a file name or message holds must not drive it.
    return EscapeControls(file) + ":" + (line > 0 ? std::to_string(line) + ":" : std::string()) + " " +
           EscapeControls(what);
}

ProjectReadResult ParseProject(std::string_view text, const std::string& fileName) {
    if (const auto line = FindTooDeepKey(text))
        return ProjectError{fileName, *line, "键的层次太深(超过" + std::to_string(kDeepestKey) + "层)"};
    toml::table root;
    try {
        root = toml::parse(text, fileName);
    } catch (const toml::parse_error& error) {
        return ProjectError{fileName, LineOf(error.source()),
                            "TOML格式错误：" + QuoteShort(error.description())};
    }

    Reader reader(fileName);
    const auto* header = root.get_as<toml::table>(project_file::kHeaderTable);
    if (!header) {
        reader.fail(1, "缺少表头[korvane]，这不是Korvane工程文件");
        return *reader.error();
    }
    ReadHeader(reader, *header);
    // A newer or foreign file is refused before its settings are judged.
    if (reader.error()) return *reader.error();

    ProjectSettings settings;
    std::map<std::string_view, int> lines;  // of the settings the file gives
    for (auto&& [key, node] : root) {
        if (key.str() == project_file::kHeaderTable) continue;
        if (key.str() != project_file::kSettingsTable) {
            reader.fail(LineOf(key.source()), "未知的表或项" + QuoteShort(key.str()));
            continue;
        }
        const auto* table = node.as_table();
        if (!table) {
            reader.wrongKind(project_file::kSettingsTable, node, "表");
            continue;
        }
        for (auto&& [name, value] : *table) {
            const Setting* setting = FindSetting(name.str());
            if (!setting) {
                reader.fail(LineOf(name.source()), "未知的设置项" + QuoteShort(name.str()));
                continue;
            }
            lines[setting->name] = LineOf(name.source());
            std::visit(Assigner{reader, settings, *setting, value}, setting->member);
        }
    }
    // Another setting's value can only be judged once every value is right.
    if (reader.error()) return *reader.error();
    for (const Setting& setting : kSettings)
        if (setting.whenAbsent == WhenAbsent::Off && !lines.contains(setting.name))
            std::visit(
                [&](auto member) {
                    if constexpr (std::is_same_v<decltype(member), std::int16_t ProjectSettings::*>)
                        settings.*member = 0;
                },
                setting.member);
    CheckRules(reader, settings, lines);
    if (reader.error()) return *reader.error();
    return settings;
}

ProjectReadResult ReadProjectFile(const std::string& path) {
    const FileReadResult read = ReadFileContents(path, kLargestFile);
    switch (read.status) {
        case FileReadResult::Status::Read:
            break;
        case FileReadResult::Status::Failed:
            return ProjectError{path, 0, "无法读取文件：" + read.error};
        case FileReadResult::Status::NotRegular:
            return ProjectError{path, 0, "不是普通文件，无法作为工程文件读取"};
        case FileReadResult::Status::TooLarge:
            return ProjectError{path, 0, "文件太大，不是Korvane工程文件"};
    }
    return ParseProject(read.bytes, path);
}

std::string ProjectText(const ProjectSettings& settings) {
    toml::table root;
    root.insert(project_file::kHeaderTable, toml::table{{"format", project_file::kFormatVersion},
                                                        {"chip", std::string(project_file::kChipFamily)}});
    toml::table table;
    for (const Setting& setting : kSettings)
        std::visit(Inserter{table, settings, setting.name}, setting.member);
    root.insert(project_file::kSettingsTable, std::move(table));
    std::ostringstream out;
    out << toml::toml_formatter(root, toml::format_flags::allow_unicode_strings) << '\n';
    return out.str();
}

std::string WriteProjectFile(const std::string& path, const ProjectSettings& settings) {
    return ReplaceFileContents(path, ProjectText(settings));
}

}  // namespace korvane
