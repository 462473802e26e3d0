#include "client/search/json_script.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>

namespace vinylo::client {

using Json = nlohmann::ordered_json;

struct JsonScript::Value {
    Json json = Json::object();
};

namespace {

struct Step {
    bool isIndex = false;
    std::string name;  // a member name, or the index in decimal
    size_t index = 0;
};
using Path = std::vector<Step>;

bool IsNameByte(unsigned char b, bool first) {
    if (b >= 0x80 || b == '_' || b == '$')
        return true;
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'))
        return true;
    return !first && b >= '0' && b <= '9';
}

// Members by name and elements by [n]; anything else is no path.
std::optional<Path> ParsePath(std::string_view text) {
    Path path;
    size_t i = 0;
    while (i < text.size()) {
        Step step;
        if (text[i] == '[') {
            const size_t close = text.find(']', i);
            const std::string_view digits = close == std::string_view::npos
                                                ? std::string_view()
                                                : text.substr(i + 1, close - i - 1);
            if (digits.empty() || digits.size() > 9)
                return std::nullopt;
            const auto [end, ec] =
                std::from_chars(digits.data(), digits.data() + digits.size(), step.index);
            if (ec != std::errc() || end != digits.data() + digits.size())
                return std::nullopt;
            step.isIndex = true;
            step.name = std::to_string(step.index);
            i = close + 1;
        } else {
            if (!path.empty()) {
                if (text[i] != '.')
                    return std::nullopt;
                ++i;
            }
            const size_t start = i;
            while (i < text.size() && IsNameByte(static_cast<unsigned char>(text[i]), i == start))
                ++i;
            if (i == start)
                return std::nullopt;
            step.name = std::string(text.substr(start, i - start));
        }
        path.push_back(std::move(step));
    }
    return path;
}

const Json* Child(const Json& parent, const Step& step) {
    if (parent.is_object()) {
        const auto found = parent.find(step.name);
        return found == parent.end() ? nullptr : &*found;
    }
    if (step.isIndex && parent.is_array() && step.index < parent.size())
        return &parent[step.index];
    return nullptr;
}

const Json* Resolve(const Json& root, const Path& path) {
    const Json* at = &root;
    for (const Step& step : path) {
        at = Child(*at, step);
        if (at == nullptr)
            return nullptr;
    }
    return at;
}

Json* ResolveMutable(Json& root, const Path& path) {
    return const_cast<Json*>(Resolve(root, path));
}

// Resolves a path that must not be empty (an empty one is no member), step by
// step as it reads it: the reads of a search answer allocate nothing here.
const Json* Lookup(const Json& root, std::string_view text) {
    if (text.empty())
        return nullptr;
    const Json* at = &root;
    size_t i = 0;
    bool first = true;
    while (i < text.size()) {
        if (text[i] == '[') {
            const size_t close = text.find(']', i);
            if (close == std::string_view::npos || close == i + 1 || close - i - 1 > 9)
                return nullptr;
            size_t index = 0;
            const auto [end, ec] = std::from_chars(text.data() + i + 1, text.data() + close, index);
            if (ec != std::errc() || end != text.data() + close)
                return nullptr;
            if (at->is_array()) {
                at = index < at->size() ? &(*at)[index] : nullptr;
            } else if (at->is_object()) {
                const auto found = at->find(std::to_string(index));
                at = found == at->end() ? nullptr : &*found;
            } else {
                at = nullptr;
            }
            i = close + 1;
        } else {
            if (!first) {
                if (text[i] != '.')
                    return nullptr;
                ++i;
            }
            const size_t start = i;
            while (i < text.size() && IsNameByte(static_cast<unsigned char>(text[i]), i == start))
                ++i;
            if (i == start)
                return nullptr;
            if (!at->is_object())
                return nullptr;
            const auto found = at->find(text.substr(start, i - start));
            at = found == at->end() ? nullptr : &*found;
        }
        if (at == nullptr)
            return nullptr;
        first = false;
    }
    return at;
}

// Brackets outside strings never nest deeper than the limit: values are
// copied, printed and compared recursively.
bool NestingWithin(std::string_view text, int limit) {
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

// Containers nested in value (0 for a scalar). Values never nest deeper than
// the limit, so neither does this recursion.
int Depth(const Json& value) {
    if (!value.is_structured())
        return 0;
    int deepest = 0;
    for (const auto& item : value)
        deepest = std::max(deepest, Depth(item));
    return deepest + 1;
}

// A value stored inside `containers` containers keeps the whole within the
// limit that Parse applies, so whatever is built can be printed and read back.
bool FitsAt(size_t containers, const Json& value) {
    return containers + static_cast<size_t>(Depth(value)) <=
           static_cast<size_t>(JsonScript::kMaxNesting);
}

std::optional<Json> ParseJson(std::string_view text) {
    if (!NestingWithin(text, JsonScript::kMaxNesting))
        return std::nullopt;
    Json parsed = Json::parse(text.begin(), text.end(), nullptr, false);
    if (parsed.is_discarded())
        return std::nullopt;
    return parsed;
}

std::optional<Json> ValueOf(std::string_view value, bool raw) {
    if (!raw)
        return Json(std::string(value));
    return ParseJson(value);
}

std::string Dump(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string NumberText(const Json& value) {
    if (value.is_number_unsigned())
        return std::to_string(value.get<uint64_t>());
    if (value.is_number_integer())
        return std::to_string(value.get<int64_t>());
    const double d = value.get<double>();
    if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9007199254740992.0) {
        return std::to_string(static_cast<long long>(d));
    }
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, d);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::string TextOf(const Json* value, bool asJson) {
    if (value == nullptr)
        return {};
    if (asJson)
        return Dump(*value);
    switch (value->type()) {
        case Json::value_t::string:
            return value->get_ref<const std::string&>();
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
        case Json::value_t::number_float:
            return NumberText(*value);
        case Json::value_t::boolean:
            return value->get<bool>() ? "true" : "false";
        case Json::value_t::object:
        case Json::value_t::array:
            return Dump(*value);
        default:
            return {};
    }
}

// Stores value under the path's last step, in the parent the rest leads to.
void Assign(Json& root, std::string_view pathText, Json value) {
    auto path = ParsePath(pathText);
    if (!path || path->empty())
        return;
    const Step last = path->back();
    path->pop_back();
    Json* parent = ResolveMutable(root, *path);
    if (parent == nullptr || !FitsAt(path->size() + 1, value))
        return;
    if (parent->is_object()) {
        (*parent)[last.name] = std::move(value);
    } else if (last.isIndex && parent->is_array() && last.index <= parent->size()) {
        if (last.index == parent->size()) {
            parent->push_back(std::move(value));
        } else {
            (*parent)[last.index] = std::move(value);
        }
    }
}

// The value itself for an empty path, else the member the path leads to.
const Json* Target(const Json& root, std::string_view pathText) {
    if (pathText.empty())
        return &root;
    return Lookup(root, pathText);
}

const Json* Element(const Json* container, int index) {
    if (container == nullptr || index < 0)
        return nullptr;
    Step step;
    step.isIndex = true;
    step.index = static_cast<size_t>(index);
    step.name = std::to_string(index);
    return Child(*container, step);
}

}  // namespace

JsonScript::JsonScript() : value_(std::make_shared<Value>()) {}
JsonScript::JsonScript(std::shared_ptr<Value> value) : value_(std::move(value)) {}
JsonScript::~JsonScript() = default;
JsonScript::JsonScript(JsonScript&&) noexcept = default;
JsonScript& JsonScript::operator=(JsonScript&&) noexcept = default;

void JsonScript::Init() {
    value_ = std::make_shared<Value>();
}

bool JsonScript::Parse(std::string_view text) {
    value_ = std::make_shared<Value>();
    auto parsed = ParseJson(text);
    value_->json = parsed ? std::move(*parsed) : Json();
    return !value_->json.is_null();
}

std::string JsonScript::ToJsonText() const {
    return Dump(value_->json);
}

std::string JsonScript::GetText(std::string_view path, bool asJson) const {
    return TextOf(Lookup(value_->json, path), asJson);
}

std::string JsonScript::GetMemberJson(std::string_view path) const {
    return GetText(path, true);
}

double JsonScript::GetNumber(std::string_view path) const {
    const Json* value = Lookup(value_->json, path);
    if (value == nullptr)
        return 0;
    if (value->is_number())
        return value->get<double>();
    if (value->is_boolean())
        return value->get<bool>() ? 1 : 0;
    if (value->is_string()) {
        const auto& text = value->get_ref<const std::string&>();
        double number = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (ec == std::errc() && end == text.data() + text.size() && std::isfinite(number)) {
            return number;
        }
    }
    return 0;
}

int JsonScript::MemberCount(std::string_view path) const {
    const Json* value = Target(value_->json, path);
    if (value == nullptr || !value->is_structured())
        return 0;
    return static_cast<int>(value->size());
}

int JsonScript::MemberNames(std::vector<std::string>& list, std::string_view path) const {
    list.clear();
    const Json* value = Target(value_->json, path);
    if (value != nullptr && value->is_object()) {
        for (const auto& item : value->items())
            list.push_back(item.key());
    } else if (value != nullptr && value->is_array()) {
        for (size_t i = 0; i < value->size(); ++i)
            list.push_back(std::to_string(i));
    }
    return static_cast<int>(list.size());
}

JsonType JsonScript::TypeOf(std::string_view path) const {
    const Json* value = Target(value_->json, path);
    if (value == nullptr)
        return JsonType::kNull;
    switch (value->type()) {
        case Json::value_t::null:
            return JsonType::kNull;
        case Json::value_t::boolean:
            return JsonType::kBoolean;
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
        case Json::value_t::number_float:
            return JsonType::kNumber;
        case Json::value_t::object:
            return JsonType::kObject;
        case Json::value_t::array:
            return JsonType::kArray;
        case Json::value_t::string:
            return JsonType::kString;
        default:
            return JsonType::kOther;
    }
}

bool JsonScript::HasMember(std::string_view path) const {
    const Json* value = Lookup(value_->json, path);
    return value != nullptr && !value->is_null();
}

JsonScript JsonScript::GetObject(std::string_view path) const {
    auto copy = std::make_shared<Value>();
    const Json* value = Lookup(value_->json, path);
    copy->json = value != nullptr ? *value : Json();
    return JsonScript(std::move(copy));
}

JsonScript JsonScript::GetElementObject(int index, std::string_view path) const {
    auto copy = std::make_shared<Value>();
    const Json* value = Element(Target(value_->json, path), index);
    copy->json = value != nullptr ? *value : Json();
    return JsonScript(std::move(copy));
}

std::string JsonScript::GetElementText(int index, std::string_view path, bool asJson) const {
    return TextOf(Element(Target(value_->json, path), index), asJson);
}

void JsonScript::SetMember(std::string_view path, std::string_view value, bool isObject) {
    if (!isObject) {
        Assign(value_->json, path, Json(std::string(value)));
    } else if (auto parsed = ParseJson(value.empty() ? std::string_view("{}") : value)) {
        Assign(value_->json, path, std::move(*parsed));
    }
}

void JsonScript::SetMemberExpr(std::string_view path, std::string_view jsonValue) {
    if (auto parsed = ParseJson(jsonValue))
        Assign(value_->json, path, std::move(*parsed));
}

void JsonScript::SetNumber(std::string_view path, double number) {
    if (!std::isfinite(number))
        return;
    if (number == std::trunc(number) && std::fabs(number) < 9007199254740992.0) {
        Assign(value_->json, path, Json(static_cast<int64_t>(number)));
    } else {
        Assign(value_->json, path, Json(number));
    }
}

void JsonScript::PushToArray(std::string_view value, std::string_view path, bool raw) {
    auto element = ValueOf(value, raw);
    const auto steps = ParsePath(path);
    if (!element || !steps || !FitsAt(steps->size() + 1, *element))
        return;
    Json& root = value_->json;
    if (!path.empty() && Lookup(root, path) == nullptr)
        Assign(root, path, Json::array());
    Json* target = const_cast<Json*>(Target(root, path));
    if (target == nullptr)
        return;
    if (!target->is_array())
        *target = Json::array();
    target->push_back(std::move(*element));
}

void JsonScript::SetElement(int index, std::string_view value, bool raw) {
    auto element = ValueOf(value, raw);
    if (!element || !FitsAt(1, *element))
        return;
    Json& root = value_->json;
    if (root.is_object()) {
        root[std::to_string(index)] = std::move(*element);
    } else if (root.is_array() && index >= 0 && static_cast<size_t>(index) <= root.size()) {
        if (static_cast<size_t>(index) == root.size()) {
            root.push_back(std::move(*element));
        } else {
            root[static_cast<size_t>(index)] = std::move(*element);
        }
    }
}

void JsonScript::RemoveElement(int index) {
    Json& root = value_->json;
    if (!root.is_array())
        return;
    const auto size = static_cast<long long>(root.size());
    long long at = index < 0 ? std::max(0LL, size + index) : index;
    if (at < size)
        root.erase(static_cast<size_t>(at));
}

void JsonScript::DeleteMember(std::string_view pathText) {
    auto path = ParsePath(pathText);
    if (!path || path->empty())
        return;
    const Step last = path->back();
    path->pop_back();
    Json* parent = ResolveMutable(value_->json, *path);
    if (parent == nullptr)
        return;
    if (parent->is_object()) {
        parent->erase(last.name);
    } else if (last.isIndex && parent->is_array() && last.index < parent->size()) {
        (*parent)[last.index] = nullptr;
    }
}

void JsonScript::SetValue(std::string_view value, bool raw) {
    if (auto parsed = ValueOf(value, raw))
        value_->json = std::move(*parsed);
}

void JsonScript::Reset(JsonType type) {
    if (type == JsonType::kNull || type == JsonType::kObject) {
        value_->json = Json::object();
    } else if (type == JsonType::kArray) {
        value_->json = Json::array();
    }
}

void JsonScript::Clear() {
    value_->json = Json::object();
}

JsonScript JsonScript::Copy() const {
    return JsonScript(value_);
}

}  // namespace vinylo::client
