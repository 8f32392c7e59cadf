#include <mervgauge/bagfile/BagFile.h>

#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/bagfile/BagJson.h>
#include <mervgauge/bagfile/FileIo.h>

#include <utility>

namespace merv {
namespace {

constexpr int FileIndent = 2; // spaces per level in saved files, so they read well in a diff

// The file's text. A text value that is not UTF-8 cannot be written as JSON without changing
// it, so it is refused, naming its key.
std::string dumpBagText(const MemoryPropertyBag& bag, const std::filesystem::path& path) {
    const BagJson object = bagToJson(bag);
    try {
        return object.dump(FileIndent, ' ', false, BagJson::error_handler_t::strict) + "\n";
    } catch (const BagJson::type_error&) {
        for (const auto& [key, value] : object.items()) {
            try {
                (void)value.dump(-1, ' ', false, BagJson::error_handler_t::strict);
            } catch (const BagJson::type_error&) {
                throw BagError(path.string(), key, "the text is not valid UTF-8");
            }
        }
        throw;
    }
}

} // namespace

MemoryPropertyBag loadBag(const std::filesystem::path& path, NumberLocale locale) {
    auto contents = readWholeFile(path);
    if (auto* why = std::get_if<FileProblem>(&contents))
        throw BagError(path.string(), {}, why->what);
    const std::string& text = std::get<std::string>(contents);
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        throw BagError(path.string(), {}, "empty: expected a JSON object");
    try {
        return bagFromJson(parseBagJson(text), std::move(locale));
    } catch (const BagError& error) {
        throw error.inFile(path.string());
    }
}

void saveBag(const std::filesystem::path& path, const MemoryPropertyBag& bag) {
    const std::string text = dumpBagText(bag, path);
    if (auto why = writeFileAtomically(path, text))
        throw BagError(path.string(), {}, why->what);
}

} // namespace merv
