#include "panel/Form.h"

#include "panel/HeadlessSite.h"
#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/bagfile/BagJson.h>
#include <mervgauge/bagfile/FileIo.h>
#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/platform/RuntimeError.h>

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

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

std::string gaugeName(std::size_t index, const FormGauge& gauge) {
    const MemoryPropertyBag& bag = gauge.bag;
    std::string name =
        "gauge " + (gauge.objectName.empty() ? std::to_string(index + 1) : gauge.objectName);
    for (const auto& [key, value] : bag.entries()) {
        if (key == "VariableName" && value.isText())
            name += " (" + value.asText() + ")";
    }
    return name;
}

std::string describeRuntimeError(const RuntimeError& error) {
    return error.description() + " (error " + std::to_string(error.number()) + ")";
}

// Restores the bag into a control that is thrown away; the key being restored when the
// control refused is named. Returns the VariableName the control shows, which is the tag of a
// gauge the form gives none.
std::string checkBag(const MemoryPropertyBag& bag, const std::string& file,
                     const std::string& gauge) {
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
        HeadlessGauge restored(watched);
        restored.control().Resize();
        return restored.control().VariableName();
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

int integerMember(const BagJson& value, const std::string& file, const std::string& key, int least,
                  int most) {
    // The parser reads a number without a sign as unsigned, which may be beyond an int64.
    const bool inRange = value.is_number_unsigned()
                             ? std::cmp_greater_equal(value.get<std::uint64_t>(), least) &&
                                   std::cmp_less_equal(value.get<std::uint64_t>(), most)
                             : value.is_number_integer() && value.get<std::int64_t>() >= least &&
                                   value.get<std::int64_t>() <= most;
    if (!inRange)
        throw BagError(file, key,
                       "expected a whole number of at least " + std::to_string(least) +
                           " and at most " + std::to_string(most) + ", not " + value.dump());
    return static_cast<int>(value.get<std::int64_t>());
}

std::string tagProblemOf(const std::string& tag) {
    if (tag.empty())
        return "empty: the gauge's value would come from nowhere";
    if (tag == AcknowledgementTag)
        return "\"" + tag + "\" is where stations share acknowledgements; no gauge may read it";
    if (tag.starts_with(StationTagPrefix))
        return "\"" + tag + "\" is under \"" + std::string(StationTagPrefix) +
               "\", which the stations keep for themselves; no gauge may read it";
    return {};
}

// The place of a value the parser refused, "/gauges/2/bag/Value", as the form's messages name
// it: "gauge 3: bag: Value".
std::string formKeyOf(const std::string& pointer) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < pointer.size();) {
        const std::size_t end = std::min(pointer.find('/', at + 1), pointer.size());
        std::string part = pointer.substr(at + 1, end - at - 1);
        for (std::size_t tilde = part.find('~'); tilde != std::string::npos;
             tilde = part.find('~', tilde + 1))
            part.replace(tilde, 2, part.compare(tilde, 2, "~1") == 0 ? "/" : "~");
        parts.push_back(std::move(part));
        at = end;
    }
    std::string key;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i >= 1 && (parts[i - 1] == "gauges" || parts[i - 1] == "pages") && !parts[i].empty() &&
            parts[i].find_first_not_of("0123456789") == std::string::npos) {
            key += (key.empty() ? "" : ": ") +
                   std::string(parts[i - 1] == "pages" ? "page " : "gauge ") +
                   std::to_string(std::stoull(parts[i]) + 1);
            continue;
        }
        if ((parts[i] == "gauges" || parts[i] == "pages") && i + 1 < parts.size())
            continue; // named with its index
        key += (key.empty() ? "" : ": ") + parts[i];
    }
    return key;
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

void checkGaugeCount(std::size_t count, const std::string& file) {
    if (count == 0)
        throw BagError(file, "gauges", "empty: a form shows at least one gauge");
    if (count > MaxGauges)
        throw BagError(file, "gauges",
                       std::to_string(count) + " gauges; a form holds at most " +
                           std::to_string(MaxGauges));
}

void checkPlace(const FormGauge& gauge, const std::string& name, const std::string& file,
                std::set<std::tuple<int, int, int>>& places) {
    for (const auto& [key, place] : {std::pair{"row", gauge.row}, {"col", gauge.col}})
        if (place < 0 || place > LastGridPlace)
            throw BagError(file, name + ": " + key,
                           "a place in the grid is from 0 to " + std::to_string(LastGridPlace) +
                               ", not " + std::to_string(place));
    if (!places.insert({gauge.page, gauge.row, gauge.col}).second)
        throw BagError(file, name + ": row",
                       "row " + std::to_string(gauge.row) + ", col " + std::to_string(gauge.col) +
                           " already holds another gauge");
}

// Each gauge's place among the gauges of its page, for its name in messages.
std::vector<std::size_t> placesInPage(const Form& form) {
    std::vector<std::size_t> within(form.gauges.size());
    std::map<int, std::size_t> counts;
    for (std::size_t i = 0; i < form.gauges.size(); ++i)
        within[i] = counts[form.gauges[i].page]++;
    return within;
}

std::string pagePrefix(const Form& form, int page) {
    if (form.pages.empty())
        return {};
    if (page < 0 || std::size_t(page) >= form.pages.size())
        return "page " + std::to_string(page + 1) + ": ";
    return "page " + std::to_string(page + 1) + " (" + form.pages[std::size_t(page)].title + "): ";
}

std::string nameIn(const Form& form, std::size_t index, const std::vector<std::size_t>& within) {
    const FormGauge& gauge = form.gauges[index];
    return pagePrefix(form, gauge.page) + gaugeName(within[index], gauge);
}

// What checkForm finds beyond the bags, which the loader has restored already.
void checkPlaces(const Form& form, const std::string& file) {
    const std::vector<std::size_t> within = placesInPage(form);
    std::vector<bool> pageHolds(form.pages.size());
    for (const FormGauge& gauge : form.gauges)
        if (gauge.page >= 0 && std::size_t(gauge.page) < pageHolds.size())
            pageHolds[std::size_t(gauge.page)] = true;
    for (std::size_t p = 0; p < form.pages.size(); ++p)
        if (!pageHolds[p])
            throw BagError(
                file, pagePrefix(form, int(p)) + (form.pages[p].ui.empty() ? "gauges" : "ui"),
                form.pages[p].ui.empty() ? "empty: a page shows at least one gauge"
                                         : "the screen has no gauge: a page shows at least one");
    checkGaugeCount(form.gauges.size(), file);
    std::set<std::tuple<int, int, int>> places;
    std::map<std::string, std::size_t> identities;
    for (std::size_t i = 0; i < form.gauges.size(); ++i) {
        const FormGauge& gauge = form.gauges[i];
        const bool designed = !gauge.objectName.empty();
        const auto name = [&] { return nameIn(form, i, within); };
        if (gauge.page < 0 || (gauge.page > 0 && std::size_t(gauge.page) >= form.pages.size()))
            throw BagError(file, name(),
                           "on page " + std::to_string(gauge.page + 1) +
                               ", which the form does not have");
        const bool designedPage =
            !form.pages.empty() && !form.pages[std::size_t(gauge.page)].ui.empty();
        if (designedPage != (designed && !form.pages.empty()))
            throw BagError(file, name(),
                           designedPage ? "a designed page holds only the gauges of its screen"
                                        : "a gauge drawn on a screen stands on a designed page");
        if (const std::string why = tagProblemOf(gauge.tag); !why.empty())
            throw BagError(file, name() + ": tag", why);
        if (gauge.staleMs < 1)
            throw BagError(file, name() + (designed ? ": staleMs" : ": stale_ms"),
                           "must be at least 1");
        // A designed gauge stands where it was drawn.
        if (!designed)
            checkPlace(gauge, name(), file, places);
        // The identity names the gauge's alarms: two gauges of one would share them.
        if (const auto [at, added] = identities.emplace(gauge.identity(), i); !added) {
            const char* idKey = designed ? MervGaugeBinding::AlarmIdProperty : "id";
            throw BagError(
                file, name() + ": " + (gauge.id.empty() ? "tag" : idKey),
                "\"" + gauge.identity() + "\" already names " + nameIn(form, at->second, within) +
                    "; two gauges that read one tag each need an \"" + idKey + "\" of their own");
        }
    }
}

FormGauge gaugeFromJson(const BagJson& object, std::size_t index, const std::string& file,
                        const std::string& page = {}) {
    const std::string where = page + "gauge " + std::to_string(index + 1) + ": ";
    if (!object.is_object())
        throw BagError(file, page + "gauge " + std::to_string(index + 1),
                       "expected a JSON object, not " + std::string(object.type_name()));
    refuseUnknownKeys(object, {"bag", "tag", "id", "stale_ms", "row", "col"}, file, where);
    FormGauge gauge;
    try {
        gauge.bag = bagFromJson(member(object, "bag", file, where));
    } catch (const BagError& error) {
        if (!error.file().empty())
            throw;
        throw BagError(file, where + "bag" + (error.key().empty() ? "" : ": " + error.key()),
                       error.problem());
    }
    const std::string name = page + gaugeName(index, gauge) + ": ";
    const std::string variableName = checkBag(gauge.bag, file, page + gaugeName(index, gauge));
    gauge.tag =
        object.contains("tag") ? textMember(object["tag"], file, name + "tag") : variableName;
    if (const std::string why = tagProblemOf(gauge.tag); !why.empty())
        throw BagError(file, name + "tag", why);
    if (object.contains("id")) {
        gauge.id = textMember(object["id"], file, name + "id");
        if (gauge.id.empty())
            throw BagError(file, name + "id", "empty: leave it out for the tag to name the gauge");
    }
    if (object.contains("stale_ms"))
        gauge.staleMs = integerMember(object["stale_ms"], file, name + "stale_ms", 1,
                                      std::numeric_limits<int>::max());
    gauge.row =
        integerMember(member(object, "row", file, name), file, name + "row", 0, LastGridPlace);
    gauge.col =
        integerMember(member(object, "col", file, name), file, name + "col", 0, LastGridPlace);
    return gauge;
}

// "source": an address, or {"address": ..., "ca_file": ..., "user": ..., ...}.
void readSource(const BagJson& value, const std::string& file, Form& form) {
    if (!value.is_object()) {
        form.source = textMember(value, file, "source");
        return;
    }
    if (value.contains("password"))
        throw BagError(file, "source: password",
                       "a password never stands in a form: name a file only its owner can read "
                       "with \"password_file\", or set " +
                           std::string(PasswordVariable));
    refuseUnknownKeys(value,
                      {"address", "ca_file", "cert_file", "key_file", "user", "password_file"},
                      file, "source: ");
    form.source = textMember(member(value, "address", file, "source: "), file, "source: address");
    for (const SourceSecurityKey& k : SourceSecurityKeys)
        if (value.contains(k.jsonKey))
            form.sourceSecurity.*k.field =
                textMember(value[k.jsonKey], file, std::string("source: ") + k.jsonKey);
}

BagJson sourceToJson(const Form& form) {
    if (form.sourceSecurity == MqttSecurity())
        return form.source;
    BagJson object = {{"address", form.source}};
    for (const SourceSecurityKey& k : SourceSecurityKeys)
        if (!(form.sourceSecurity.*k.field).empty())
            object[k.jsonKey] = form.sourceSecurity.*k.field;
    return object;
}

// "pages": [{"title": ..., "gauges": [...]}, ...], each page a grid of its own.
void readPages(const BagJson& pages, const std::string& file, Form& form) {
    if (!pages.is_array())
        throw BagError(file, "pages", "expected a list, not " + std::string(pages.type_name()));
    if (pages.empty())
        throw BagError(file, "pages", "empty: a form shows at least one page");
    std::size_t total = 0;
    for (const BagJson& page : pages)
        total += page.is_object() && page.contains("gauges") && page["gauges"].is_array()
                     ? page["gauges"].size()
                     : 0;
    // Too many is refused before any gauge is built; an empty page says so itself.
    if (total > MaxGauges)
        checkGaugeCount(total, file);
    form.gauges.reserve(total);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const std::string where = "page " + std::to_string(p + 1);
        const BagJson& page = pages[p];
        if (!page.is_object())
            throw BagError(file, where,
                           "expected a JSON object, not " + std::string(page.type_name()));
        refuseUnknownKeys(page, {"title", "gauges", "ui"}, file, where + ": ");
        form.pages.push_back(
            {textMember(member(page, "title", file, where + ": "), file, where + ": title"), {}});
        const std::string prefix = where + " (" + form.pages.back().title + "): ";
        if (page.contains("ui")) {
            // A screen drawn in a form designer: its gauges are read from its file.
            if (page.contains("gauges"))
                throw BagError(file, prefix + "gauges",
                               "a page has \"gauges\" or the \"ui\" of its screen, not both");
            form.pages.back().ui = textMember(page["ui"], file, prefix + "ui");
            if (form.pages.back().ui.empty())
                throw BagError(file, prefix + "ui", "empty: name the screen's .ui file");
            continue;
        }
        const BagJson& gauges = member(page, "gauges", file, where + ": ");
        if (!gauges.is_array() || gauges.empty())
            throw BagError(file, prefix + "gauges",
                           gauges.is_array()
                               ? "empty: a page shows at least one gauge"
                               : "expected a list, not " + std::string(gauges.type_name()));
        for (std::size_t i = 0; i < gauges.size(); ++i) {
            form.gauges.push_back(gaugeFromJson(gauges[i], i, file, prefix));
            form.gauges.back().page = int(p);
        }
    }
}

Form formFromJson(const BagJson& object, const std::string& file) {
    if (!object.is_object())
        throw BagError(file, {}, "expected a JSON object, not " + std::string(object.type_name()));
    refuseUnknownKeys(object, {"title", "source", "gauges", "pages"}, file, {});
    Form form;
    form.title = textMember(member(object, "title", file, {}), file, "title");
    if (object.contains("source"))
        readSource(object["source"], file, form);
    if (object.contains("pages")) {
        if (object.contains("gauges"))
            throw BagError(file, "gauges",
                           "a form has \"gauges\" or \"pages\", not both: move these gauges "
                           "onto a page");
        readPages(object["pages"], file, form);
        return form;
    }
    const BagJson& gauges = member(object, "gauges", file, {});
    if (!gauges.is_array())
        throw BagError(file, "gauges", "expected a list, not " + std::string(gauges.type_name()));
    checkGaugeCount(gauges.size(), file);
    form.gauges.reserve(gauges.size());
    for (std::size_t i = 0; i < gauges.size(); ++i)
        form.gauges.push_back(gaugeFromJson(gauges[i], i, file));
    return form;
}

BagJson formToJson(const Form& form) {
    std::vector<BagJson> pages(std::max<std::size_t>(form.pages.size(), 1), BagJson::array());
    for (const FormGauge& gauge : form.gauges) {
        if (!form.pages.empty() && !form.pages[std::size_t(gauge.page)].ui.empty())
            continue; // stored in its screen's file
        BagJson& gauges = pages[std::size_t(gauge.page)];
        BagJson object = {{"bag", bagToJson(gauge.bag)},
                          {"tag", gauge.tag},
                          {"stale_ms", gauge.staleMs},
                          {"row", gauge.row},
                          {"col", gauge.col}};
        if (!gauge.id.empty())
            object["id"] = gauge.id;
        gauges.push_back(std::move(object));
    }
    BagJson out = {{"title", form.title}, {"source", sourceToJson(form)}};
    if (form.pages.empty()) {
        out["gauges"] = pages.front();
        return out;
    }
    BagJson list = BagJson::array();
    for (std::size_t p = 0; p < form.pages.size(); ++p) {
        const FormPage& page = form.pages[p];
        if (page.ui.empty())
            list.push_back({{"title", page.title}, {"gauges", pages[p]}});
        else
            list.push_back({{"title", page.title}, {"ui", page.ui}});
    }
    out["pages"] = std::move(list);
    return out;
}

} // namespace

std::string gaugeName(const Form& form, std::size_t index) {
    return nameIn(form, index, placesInPage(form));
}

std::string tagProblem(const std::string& tag) {
    return tagProblemOf(tag);
}

bool Form::hasDesignedPages() const {
    return std::any_of(pages.begin(), pages.end(),
                       [](const FormPage& page) { return !page.ui.empty(); });
}

void checkFormGauges(const Form& form, const std::string& file) {
    checkPlaces(form, file);
}

void checkForm(const Form& form, const std::string& file) {
    checkGaugeCount(form.gauges.size(), file);
    for (std::size_t i = 0; i < form.gauges.size(); ++i)
        checkBag(form.gauges[i].bag, file, gaugeName(i, form.gauges[i]));
    checkPlaces(form, file);
}

Form loadForm(const std::filesystem::path& path) {
    const std::string file = path.string();
    auto contents = readWholeFile(path);
    if (auto* why = std::get_if<FileProblem>(&contents))
        throw BagError(file, {}, why->what);
    return readForm(std::get<std::string>(contents), file);
}

Form readForm(std::string_view text, const std::string& file) {
    BagJson object;
    try {
        object = parseBagJson(text);
    } catch (const BagError& error) {
        throw BagError(file, formKeyOf(error.key()), error.problem());
    }
    // Every bag was restored while it was read.
    Form form = formFromJson(object, file);
    if (!form.hasDesignedPages())
        checkPlaces(form, file);
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
