#include "columns/JsonColumnReader.h"

#include "columns/BayToken.h"
#include "columns/FieldNames.h"
#include "columns/Utf8Text.h"

#include <simdjson.h>

#include <iterator>
#include <optional>

namespace koruba::columns {

namespace ondemand = simdjson::ondemand;

namespace {

std::string_view trimRight(std::string_view s) {
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) {
        s.remove_suffix(1);
    }
    return s;
}

// What a simdjson error means to someone who wrote the line.
std::string_view explain(simdjson::error_code e) {
    switch (e) {
    case simdjson::UNCLOSED_STRING:
        return "string is not closed";
    case simdjson::UNESCAPED_CHARS:
        return "control character inside a string (write it as an escape)";
    case simdjson::STRING_ERROR:
        return "bad escape in a string (unknown escape, bad \\u digits or a lone surrogate)";
    case simdjson::NUMBER_ERROR:
        return "malformed number";
    case simdjson::T_ATOM_ERROR:
    case simdjson::F_ATOM_ERROR:
    case simdjson::N_ATOM_ERROR:
        return "unexpected character where a value should start";
    case simdjson::DEPTH_ERROR:
        return "values nested deeper than 256 levels";
    case simdjson::INCOMPLETE_ARRAY_OR_OBJECT:
        return "an object or array is not closed";
    case simdjson::UTF8_ERROR:
        return "the line is not UTF-8 text";
    default:
        return "malformed JSON: a comma, colon, quote, bracket or brace is missing or out of "
               "place";
    }
}

struct Fault {
    std::size_t at;
    std::string_view what;
};

// Where a line goes wrong that simdjson refused as a whole, as a person
// would look for it: a string not closed, a control character in a
// string, text after the object, brackets still open at the end.
std::optional<Fault> locateStructureFault(std::string_view line) {
    int depth = 0;
    bool inString = false;
    std::size_t open = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                return Fault{i, explain(simdjson::UNESCAPED_CHARS)};
            }
        } else if (c == '"') {
            inString = true;
            open = i;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if ((c == '}' || c == ']') && --depth == 0) {
            const std::size_t next = line.find_first_not_of(" \t\r\n", i + 1);
            if (next != std::string_view::npos) {
                return Fault{next, "text after the end of the object"};
            }
        }
    }
    if (inString) {
        return Fault{open, explain(simdjson::UNCLOSED_STRING)};
    }
    if (depth > 0) {
        return Fault{line.size(), explain(simdjson::INCOMPLETE_ARRAY_OR_OBJECT)};
    }
    return std::nullopt;
}

} // namespace

struct JsonColumnReader::Impl {
    ondemand::parser parser;
    std::string padded;
    std::string_view line;
    ondemand::document doc;
    std::string* error = nullptr;
    RuleSet defaultRules = RuleSet::Notice2000;
    std::optional<RuleSet> rulesMember;
    std::optional<RuleSet> ruleSetMember;

    std::size_t offset(const char* p) const {
        return p == nullptr ? line.size() : static_cast<std::size_t>(p - line.data());
    }
    // Where the parser stands: the start of the next token, or the end.
    const char* here() {
        const char* p = nullptr;
        if (doc.current_location().get(p) != simdjson::SUCCESS || p < line.data() ||
            p > line.data() + line.size()) {
            return nullptr;
        }
        return p;
    }
    bool fail(std::size_t at, std::string_view what) {
        *error = "column " + std::to_string(characterColumn(line, at)) + ": ";
        *error += what;
        if (at >= trimRight(line).size() && what.find("end of the line") == std::string::npos) {
            *error += ", found the end of the line";
        }
        return false;
    }
    bool fail(const char* at, std::string_view what) { return fail(offset(at), what); }
    bool fail(simdjson::error_code e) { return fail(here(), e); }
    bool fail(const char* at, simdjson::error_code e) {
        if (e == simdjson::UTF8_ERROR) {
            return fail(findInvalidUtf8(line), explain(e));
        }
        // Faults of the structure are found in the whole line before any
        // member is read; look for the place a person would point at.
        if (e == simdjson::UNCLOSED_STRING || e == simdjson::UNESCAPED_CHARS ||
            e == simdjson::INCOMPLETE_ARRAY_OR_OBJECT || e == simdjson::TAPE_ERROR) {
            if (const std::optional<Fault> f = locateStructureFault(line)) {
                return fail(f->at, f->what);
            }
        }
        return fail(at, explain(e));
    }

    // Reads any value to its end, checking it is valid JSON. Values nested
    // deeper than kMaxDepth are refused, not followed.
    bool walk(ondemand::value value, int depth = 1) {
        if (depth > kMaxDepth) {
            return fail(simdjson::DEPTH_ERROR);
        }
        ondemand::json_type type;
        if (auto e = value.type().get(type)) {
            return fail(e);
        }
        switch (type) {
        case ondemand::json_type::object: {
            ondemand::object object;
            if (auto e = value.get_object().get(object)) {
                return fail(e);
            }
            for (auto member : object) {
                ondemand::field field;
                std::string_view key;
                if (auto e = std::move(member).get(field)) {
                    return fail(e);
                }
                if (auto e = field.unescaped_key().get(key)) {
                    return fail(e);
                }
                if (!walk(field.value(), depth + 1)) {
                    return false;
                }
            }
            return true;
        }
        case ondemand::json_type::array: {
            ondemand::array array;
            if (auto e = value.get_array().get(array)) {
                return fail(e);
            }
            for (auto element : array) {
                ondemand::value v;
                if (auto e = std::move(element).get(v)) {
                    return fail(e);
                }
                if (!walk(v, depth + 1)) {
                    return false;
                }
            }
            return true;
        }
        case ondemand::json_type::string: {
            std::string_view s;
            const char* at = here();
            if (auto e = value.get_string().get(s)) {
                return fail(at, e);
            }
            return true;
        }
        case ondemand::json_type::number: {
            double d = 0;
            if (auto e = value.get_double().get(d)) {
                return fail(e);
            }
            return true;
        }
        case ondemand::json_type::boolean: {
            bool b = false;
            if (auto e = value.get_bool().get(b)) {
                return fail(e);
            }
            return true;
        }
        case ondemand::json_type::null: {
            bool isNull = false;
            if (auto e = value.is_null().get(isNull); e || !isNull) {
                return fail(e ? e : simdjson::N_ATOM_ERROR);
            }
            return true;
        }
        }
        return fail(simdjson::TAPE_ERROR);
    }

    // A number's text as written, checked.
    bool numberText(ondemand::value& value, std::string_view& text) {
        const char* at = here();
        text = trimRight(value.raw_json_token());
        double d = 0;
        if (auto e = value.get_double().get(d)) {
            return fail(at, explain(e));
        }
        return true;
    }

    bool readId(ondemand::value& value, ondemand::json_type type, InputRecord& record);
    bool readPattern(ondemand::value& value, ondemand::json_type type, ColumnInput& column);
    bool readReversed(ondemand::value& value, ondemand::json_type type, ColumnInput& column);
    bool readBays(ondemand::value& value, ondemand::json_type type, ColumnInput& column);
    bool readCondition(std::string_view key, ondemand::value& value, ondemand::json_type type,
                       CalcConditions& conditions, std::string_view& text);
    bool readMember(std::string_view key, ondemand::value value, InputRecord& record,
                    std::string& earlierError);
    bool read(std::string_view text, InputRecord& record);
};

bool JsonColumnReader::Impl::readId(ondemand::value& value, ondemand::json_type type,
                                    InputRecord& record) {
    std::string_view text;
    const char* at = here();
    if (type == ondemand::json_type::string) {
        if (auto e = value.get_string().get(text)) {
            return fail(at, e);
        }
    } else if (type == ondemand::json_type::number) {
        if (!numberText(value, text)) {
            return false;
        }
    } else {
        return fail(at, "\"id\" must be a string or a number");
    }
    record.id.assign(text);
    record.haveId = true;
    return true;
}

bool JsonColumnReader::Impl::readPattern(ondemand::value& value, ondemand::json_type type,
                                         ColumnInput& column) {
    const char* at = here();
    if (type != ondemand::json_type::number) {
        return fail(at, "\"pattern\" must be the number 21, 22, 11, 12 or 13");
    }
    std::string_view text;
    std::string message;
    if (!numberText(value, text)) {
        return false;
    }
    if (!parsePatternText(text, column.pattern, message)) {
        return fail(at, message);
    }
    return true;
}

bool JsonColumnReader::Impl::readReversed(ondemand::value& value, ondemand::json_type type,
                                          ColumnInput& column) {
    const char* at = here();
    if (type == ondemand::json_type::boolean) {
        bool b = false;
        if (auto e = value.get_bool().get(b)) {
            return fail(e);
        }
        column.reversed = b ? 1 : 0;
        return true;
    }
    std::string_view text;
    if (type == ondemand::json_type::number && numberText(value, text) &&
        (text == "0" || text == "1")) {
        column.reversed = text == "1" ? 1 : 0;
        return true;
    }
    return fail(at, "\"reversed\" must be true, false, 0 or 1");
}

bool JsonColumnReader::Impl::readBays(ondemand::value& value, ondemand::json_type type,
                                      ColumnInput& column) {
    const char* at = here();
    ondemand::array array;
    if (type != ondemand::json_type::array || value.get_array().get(array)) {
        return fail(at, "\"bays\" must be an array of four tokens (bays 1 to 4)");
    }
    std::size_t count = 0;
    std::string tokenError;
    for (auto element : array) {
        ondemand::value v;
        if (auto e = std::move(element).get(v)) {
            return fail(e);
        }
        const char* tokenAt = here();
        ondemand::json_type t;
        if (auto e = v.type().get(t)) {
            return fail(e);
        }
        if (count < 4 && t != ondemand::json_type::string) {
            return fail(tokenAt, "bay " + std::to_string(count + 1) + " must be a string token");
        }
        if (count < 4) {
            std::string_view token;
            if (auto e = v.get_string().get(token)) {
                return fail(tokenAt, e);
            }
            if (!parseBayToken(token, column.bays[count], tokenError)) {
                return fail(tokenAt, "bay " + std::to_string(count + 1) + ": " + tokenError);
            }
        } else if (!walk(v)) {
            return false;
        }
        ++count;
    }
    if (count != 4) {
        return fail(at, "\"bays\" holds " + std::to_string(count) +
                            (count == 1 ? " token" : " tokens") + "; it needs four (bays 1 to 4)");
    }
    return true;
}

// "rules": 2000 or 2025; "h1", "h2": metres. Numbers or strings.
bool JsonColumnReader::Impl::readCondition(std::string_view key, ondemand::value& value,
                                           ondemand::json_type type, CalcConditions& conditions,
                                           std::string_view& text) {
    const char* at = here();
    if (type == ondemand::json_type::string) {
        if (auto e = value.get_string().get(text)) {
            return fail(at, e);
        }
    } else if (type != ondemand::json_type::number || !numberText(value, text)) {
        return fail(at, isRulesField(key) ? "\"" + std::string(key) + "\" must be 2000 or 2025"
                                          : "\"" + std::string(key) +
                                                "\" must be a storey height in metres (a number "
                                                "or a numeric string)");
    }
    std::string problem;
    const bool isRules = isRulesField(key);
    if (parseConditionCell(key, text, conditions, problem)) {
        if (isRules && !isBlankCell(text)) {
            (key == kRulesField ? rulesMember : ruleSetMember) = conditions.rules;
        }
        return true;
    }
    return fail(at, isRules ? problem : std::string(key) + " " + problem);
}

bool JsonColumnReader::Impl::readMember(std::string_view key, ondemand::value value,
                                        InputRecord& record, std::string& earlierError) {
    const char* start = here();
    ondemand::json_type type;
    if (auto e = value.type().get(type)) {
        return fail(e);
    }
    bool ok = true;
    bool isString = false;
    std::string_view text;
    if (key == kIdField) {
        ok = readId(value, type, record);
        isString = type == ondemand::json_type::string;
        text = record.id;
    } else if (key == kPatternField) {
        ok = readPattern(value, type, record.column);
    } else if (key == kReversedField) {
        ok = readReversed(value, type, record.column);
    } else if (key == kBaysMember) {
        ok = readBays(value, type, record.column);
    } else if (isConditionField(key)) {
        ok = readCondition(key, value, type, record.column.conditions, text);
        isString = type == ondemand::json_type::string;
    } else if (type == ondemand::json_type::string) {
        isString = true;
        if (auto e = value.get_string().get(text)) {
            return fail(start, e);
        }
        if (key == "error") {
            earlierError.assign(text);
        }
    } else {
        ok = walk(value);
    }
    if (!ok) {
        return false;
    }
    InputCell& cell = record.cells.emplace_back();
    cell.name.assign(key);
    if (isString) {
        cell.value.assign(text);
    } else {
        const std::size_t from = offset(start);
        cell.value.assign(trimRight(line.substr(from, offset(here()) - from)));
        cell.asWritten = true;
    }
    return true;
}

bool JsonColumnReader::Impl::read(std::string_view text, InputRecord& record) {
    padded.assign(text);
    padded.resize(text.size() + simdjson::SIMDJSON_PADDING);
    line = std::string_view(padded.data(), text.size());
    const std::size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || line[first] != '{') {
        return fail(first == std::string_view::npos ? line.size() : first,
                    "expected a JSON object starting with '{'");
    }
    const simdjson::padded_string_view view(padded.data(), text.size(), padded.size());
    if (auto e = parser.iterate(view).get(doc)) {
        return fail(line.data() + first, e);
    }
    ondemand::object object;
    if (auto e = doc.get_object().get(object)) {
        return fail(e);
    }
    // The four required members, then the optional ones that must not
    // appear twice either.
    constexpr std::string_view kKnown[] = {kIdField,    kPatternField, kReversedField,
                                           kBaysMember, kRulesField,   kH1Field,
                                           kH2Field,    kRuleSetField};
    bool seen[std::size(kKnown)] = {};
    std::string earlierError;
    std::size_t members = 0;
    for (auto member : object) {
        ondemand::field field;
        if (auto e = std::move(member).get(field)) {
            return fail(e);
        }
        const char* keyAt = field.key().raw() - 1; // the opening quote
        if (++members > kFieldLimit) {
            return fail(keyAt,
                        "the object has more than " + std::to_string(kFieldLimit) + " members");
        }
        std::string_view key;
        if (auto e = field.unescaped_key().get(key)) {
            return fail(keyAt, explain(e));
        }
        const std::string name(key);
        for (std::size_t k = 0; k < std::size(kKnown); ++k) {
            if (name == kKnown[k]) {
                if (seen[k]) {
                    return fail(keyAt, "member \"" + name + "\" appears twice");
                }
                seen[k] = true;
            }
        }
        if (!readMember(name, field.value(), record, earlierError)) {
            return false;
        }
    }
    if (const char* rest = here(); rest != nullptr) {
        return fail(rest, "text after the end of the object");
    }
    if (!earlierError.empty()) {
        return fail(std::size_t{0}, "the record failed in an earlier run: " + earlierError);
    }
    std::string missing;
    for (std::size_t k = 0; k < 4; ++k) {
        if (!seen[k]) {
            missing += missing.empty() ? "\"" : ", \"";
            missing += kKnown[k];
            missing += '"';
        }
    }
    if (!missing.empty()) {
        return fail(std::size_t{0}, "the object lacks " + missing);
    }
    ColumnInput& column = record.column;
    if (const std::string e =
            namedRulesProblem(rulesMember, ruleSetMember, defaultRules, column.conditions.rules);
        !e.empty()) {
        return fail(std::size_t{0}, e);
    }
    if (const auto e = conditionsError(column.conditions, StoreyCountOf(column.pattern))) {
        return fail(std::size_t{0}, *e);
    }
    return true;
}

JsonColumnReader::JsonColumnReader() : impl_(std::make_unique<Impl>()) {
    // Room above the depth that walk allows: the object itself and the
    // arrays and objects walk enters before it counts them.
    [[maybe_unused]] const auto e = impl_->parser.allocate(4096, kMaxDepth + 4);
}

JsonColumnReader::~JsonColumnReader() = default;

bool JsonColumnReader::read(std::string_view line, InputRecord& record, std::string& error,
                            RuleSet defaultRules) {
    impl_->error = &error;
    impl_->defaultRules = defaultRules;
    impl_->rulesMember.reset();
    impl_->ruleSetMember.reset();
    record.cells.clear();
    record.id.clear();
    record.haveId = false;
    record.column = ColumnInput{};
    record.column.conditions.rules = defaultRules;
    return impl_->read(line, record);
}

} // namespace koruba::columns
