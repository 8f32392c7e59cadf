#include "panel/Form.h"

#include "panel/HeadlessSite.h"
#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/bagfile/BagJson.h>
#include <mervgauge/bagfile/FileIo.h>
#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/platform/RuntimeError.h>

#include <limits>
#include <optional>
#include <set>
#include <utility>

namespace merv::panel {
namespace {

constexpr int FileIndent = 2; // spaces per level in saved forms

// Remembers the last key the control read, which is the key whose setter failed when a
// restore stops with an error.
class WatchedBag : public PropertyBag {
public:
    explicit WatchedBag(PropertyBag& inner) : m_inner(inner) {}
    Variant readProperty(std::string_view key, const Variant& defaultValue) override {
        lastKey = key;
        return m_inner.readProperty(key, defaultValue);
    }
    void writeProperty(std::string_view key, const Variant& value,
                       const Variant& defaultValue) override {
        m_inner.writeProperty(key, value, defaultValue);
    }
    std::string lastKey;

private:
    PropertyBag& m_inner;
};

std::string gaugeName(std::size_t index, const MemoryPropertyBag& bag) {
    std::string name = "gauge " + std::to_string(index + 1);
    for (const auto& [key, value] : bag.entries()) {
        if (key == "VariableName" && value.isText())
            name += " (" + value.asText() + ")";
    }
    return name;
}

std::string describeRuntimeError(const RuntimeError& error) {
    return error.description() + " (error " + std::to_string(error.number()) + ")";
}

// The VariableName the control shows for this bag, which is the tag a form leaves out.
std::string restoredVariableName(MemoryPropertyBag& bag) {
    return HeadlessGauge(bag).control().VariableName();
}

// Restores the bag into a control that is thrown away; the key being restored when the
// control refused is named.
void checkBag(const MemoryPropertyBag& bag, const std::string& file, const std::string& gauge) {
    for (const auto& [key, value] : bag.entries()) {
        const PropertyInfo* property = findProperty(key);
        if (!property || property->storeOrder == 0)
            throw BagError(file, gauge + ": " + key, "the gauge stores no property of this name");
        // The gauge reads its bag by the exact name: another spelling would be left unread.
        if (property->name != key)
            throw BagError(file, gauge + ": " + key,
                           "the gauge stores it as \"" + std::string(property->name) +
                               "\"; a bag's names are read as they are written");
    }
    MemoryPropertyBag copy = bag;
    WatchedBag watched(copy);
    try {
        HeadlessGauge(watched).control().Resize();
    } catch (const RuntimeError& error) {
        throw BagError(file, gauge + ": " + watched.lastKey,
                       "the gauge refuses it: " + describeRuntimeError(error));
    }
}

const BagJson& member(const BagJson& object, const char* key, const std::string& file,
                      const std::string& where) {
    const auto found = object.find(key);
    if (found == object.end())
        throw BagError(file, where + key, "missing");
    return *found;
}

std::string textMember(const BagJson& value, const std::string& file, const std::string& key) {
    if (!value.is_string())
        throw BagError(file, key, "expected a string, not " + std::string(value.type_name()));
    return value.get<std::string>();
}

int integerMember(const BagJson& value, const std::string& file, const std::string& key,
                  int least) {
    if (!value.is_number_integer() || value.get<std::int64_t>() < least ||
        value.get<std::int64_t>() > std::numeric_limits<int>::max())
        throw BagError(file, key,
                       "expected a whole number of at least " + std::to_string(least) + ", not " +
                           value.dump());
    return static_cast<int>(value.get<std::int64_t>());
}

void refuseUnknownKeys(const BagJson& object, std::initializer_list<const char*> known,
                       const std::string& file, const std::string& where) {
    for (const auto& [key, value] : object.items()) {
        bool isKnown = false;
        for (const char* name : known)
            isKnown = isKnown || key == name;
        if (!isKnown)
            throw BagError(file, where + key, "not a key of a form");
    }
}

FormGauge gaugeFromJson(const BagJson& object, std::size_t index, const std::string& file) {
    const std::string where = "gauge " + std::to_string(index + 1) + ": ";
    if (!object.is_object())
        throw BagError(file, "gauge " + std::to_string(index + 1),
                       "expected a JSON object, not " + std::string(object.type_name()));
    refuseUnknownKeys(object, {"bag", "tag", "stale_ms", "row", "col"}, file, where);
    FormGauge gauge;
    try {
        gauge.bag = bagFromJson(member(object, "bag", file, where));
    } catch (const BagError& error) {
        if (!error.file().empty())
            throw;
        throw BagError(file, where + "bag" + (error.key().empty() ? "" : ": " + error.key()),
                       error.problem());
    }
    const std::string name = gaugeName(index, gauge.bag) + ": ";
    checkBag(gauge.bag, file, gaugeName(index, gauge.bag));
    if (object.contains("tag"))
        gauge.tag = textMember(object["tag"], file, name + "tag");
    else
        gauge.tag = restoredVariableName(gauge.bag);
    if (gauge.tag.empty())
        throw BagError(file, name + "tag", "empty: the gauge's value would come from nowhere");
    if (object.contains("stale_ms"))
        gauge.staleMs = integerMember(object["stale_ms"], file, name + "stale_ms", 1);
    gauge.row = integerMember(member(object, "row", file, name), file, name + "row", 0);
    gauge.col = integerMember(member(object, "col", file, name), file, name + "col", 0);
    return gauge;
}

Form formFromJson(const BagJson& object, const std::string& file) {
    if (!object.is_object())
        throw BagError(file, {}, "expected a JSON object, not " + std::string(object.type_name()));
    refuseUnknownKeys(object, {"title", "source", "gauges"}, file, {});
    Form form;
    form.title = textMember(member(object, "title", file, {}), file, "title");
    if (object.contains("source"))
        form.source = textMember(object["source"], file, "source");
    const BagJson& gauges = member(object, "gauges", file, {});
    if (!gauges.is_array())
        throw BagError(file, "gauges", "expected a list, not " + std::string(gauges.type_name()));
    for (std::size_t i = 0; i < gauges.size(); ++i)
        form.gauges.push_back(gaugeFromJson(gauges[i], i, file));
    return form;
}

BagJson formToJson(const Form& form) {
    BagJson gauges = BagJson::array();
    for (const FormGauge& gauge : form.gauges) {
        gauges.push_back({{"bag", bagToJson(gauge.bag)},
                          {"tag", gauge.tag},
                          {"stale_ms", gauge.staleMs},
                          {"row", gauge.row},
                          {"col", gauge.col}});
    }
    return {{"title", form.title}, {"source", form.source}, {"gauges", gauges}};
}

} // namespace

void checkForm(const Form& form, const std::string& file) {
    if (form.gauges.empty())
        throw BagError(file, "gauges", "empty: a form shows at least one gauge");
    std::set<std::pair<int, int>> places;
    for (std::size_t i = 0; i < form.gauges.size(); ++i) {
        const FormGauge& gauge = form.gauges[i];
        const std::string name = gaugeName(i, gauge.bag);
        checkBag(gauge.bag, file, name);
        if (gauge.tag.empty())
            throw BagError(file, name + ": tag",
                           "empty: the gauge's value would come from nowhere");
        if (gauge.staleMs < 1)
            throw BagError(file, name + ": stale_ms", "must be at least 1");
        if (gauge.row < 0 || gauge.col < 0)
            throw BagError(file, name + ": row", "a place in the grid is never negative");
        if (!places.insert({gauge.row, gauge.col}).second)
            throw BagError(file, name + ": row",
                           "row " + std::to_string(gauge.row) + ", col " +
                               std::to_string(gauge.col) + " already holds another gauge");
    }
}

Form loadForm(const std::filesystem::path& path) {
    const std::string file = path.string();
    auto contents = readWholeFile(path);
    if (auto* why = std::get_if<FileProblem>(&contents))
        throw BagError(file, {}, why->what);
    BagJson object;
    try {
        object = parseBagJson(std::get<std::string>(contents));
    } catch (const BagError& error) {
        throw error.inFile(file);
    }
    Form form = formFromJson(object, file);
    checkForm(form, file);
    return form;
}

void saveForm(const std::filesystem::path& path, const Form& form) {
    std::string text;
    try {
        text = formToJson(form).dump(FileIndent, ' ', false, BagJson::error_handler_t::strict);
    } catch (const BagJson::type_error&) {
        throw BagError(path.string(), {}, "a text of the form is not valid UTF-8");
    }
    if (auto why = writeFileAtomically(path, text + "\n"))
        throw BagError(path.string(), {}, why->what);
}

} // namespace merv::panel
