#include "panel/DesignedForm.h"

#include "panel/HeadlessSite.h"
#include <mervgauge/MervGaugeBinding.h>
#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/bagfile/FileIo.h>
#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/control/GaugePropertyList.h>
#include <mervgauge/platform/RuntimeError.h>

#include <QXmlStreamReader>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace merv::panel {
namespace {

// The gauge's class as a form designer names it in a .ui file.
constexpr auto GaugeClass = "MervGaugeWidget";
// Designer's indentation: one space per level.
constexpr auto IndentStep = " ";
// Digits after the point of a <double>, as Designer writes them.
constexpr int DesignerDecimals = 15;
// Significant digits that give back every single exactly.
constexpr int SingleDigits = 9;

// The designed form's source address, a dynamic property of its top-level widget beside the
// ones of SourceSecurityKeys.
constexpr auto SourceProperty = "source";
constexpr auto RefusedPasswordProperty = "sourcePassword";

// Each colour's second Qt property, which shows it as a QColor, and the stored property it
// shows.
#define MERV_UI_COLOR_TWIN_Text(Name, qtColor)
#define MERV_UI_COLOR_TWIN_Integer(Name, qtColor)
#define MERV_UI_COLOR_TWIN_Boolean(Name, qtColor)
#define MERV_UI_COLOR_TWIN_Single(Name, qtColor)
#define MERV_UI_COLOR_TWIN_Color(Name, qtColor) {#qtColor, #Name},
#define MERV_UI_COLOR_TWIN(Kind, Name, help, browsable, storeOrder, bagDefault, qtColor,           \
                           setQtColor)                                                             \
    MERV_UI_COLOR_TWIN_##Kind(Name, qtColor)
constexpr std::pair<std::string_view, std::string_view> ColorTwins[] = {
    MERV_GAUGE_PROPERTIES(MERV_UI_COLOR_TWIN)};

std::string_view twinOf(std::string_view qtColor) {
    for (const auto& [twin, stored] : ColorTwins)
        if (twin == qtColor)
            return stored;
    return {};
}

// One <property> element of a widget: its name, its value's element and text, and where the
// element stands in the file.
struct UiProperty {
    QString name;
    bool dynamic = false; // stdset="0"
    QString type;         // the value's element: string, number, double, UInt, color, ...
    QString text;
    int red = 0, green = 0, blue = 0; // a <color>'s
    qsizetype begin = 0, end = 0;
};

struct UiWidget {
    QString className, objectName;
    std::vector<UiProperty> properties; // its own, not its children's
    qsizetype begin = 0;                // where its start tag begins
    qsizetype closeBegin = 0; // where its end tag begins; for <widget/>, where "/>" begins
    bool selfClosing = false;

    const UiProperty* property(const QString& name) const {
        for (const UiProperty& p : properties)
            if (p.name == name)
                return &p;
        return nullptr;
    }
};

struct UiDocument {
    QString className; // the form's <class>
    UiWidget top;
    std::vector<UiWidget> gauges;
};

std::string utf8(const QString& text) {
    return text.toStdString();
}

// Reads the value of a <property> element, the reader standing on its start tag.
void readPropertyValue(QXmlStreamReader& reader, UiProperty& property) {
    while (reader.readNextStartElement()) {
        if (!property.type.isEmpty()) {
            reader.skipCurrentElement();
            continue;
        }
        property.type = reader.name().toString();
        if (property.type == QLatin1String("color")) {
            while (reader.readNextStartElement()) {
                const QString part = reader.name().toString();
                const int value = reader.readElementText().trimmed().toInt();
                if (part == QLatin1String("red"))
                    property.red = value;
                else if (part == QLatin1String("green"))
                    property.green = value;
                else if (part == QLatin1String("blue"))
                    property.blue = value;
            }
        } else {
            property.text = reader.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
}

// Reads the .ui's widgets: the top-level one and every gauge, with their own properties and
// where they stand.
class UiReader {
public:
    UiReader(const QString& text, std::string file)
        : m_text(text), m_reader(text), m_file(std::move(file)) {}

    UiDocument read() {
        if (!m_reader.readNextStartElement())
            fail({}, "no XML element: not a form designer's .ui file");
        if (m_reader.name() != QLatin1String("ui"))
            fail({}, "the root element is <" + utf8(m_reader.name().toString()) +
                         ">, not <ui>: not a form designer's .ui file");
        bool topRead = false;
        while (next()) {
            if (!m_reader.isStartElement())
                continue;
            if (m_reader.name() == QLatin1String("class")) {
                m_document.className = m_reader.readElementText().trimmed();
            } else if (m_reader.name() == QLatin1String("widget") && !topRead) {
                m_document.top = readWidget(true);
                topRead = true;
            } else {
                m_reader.skipCurrentElement();
            }
        }
        if (m_reader.hasError())
            fail("line " + std::to_string(m_reader.lineNumber()),
                 utf8(m_reader.errorString()) + ": not a well-formed .ui file");
        if (!topRead)
            fail({}, "the form has no top-level <widget>");
        return std::move(m_document);
    }

private:
    [[noreturn]] void fail(const std::string& key, const std::string& problem) const {
        throw BagError(m_file, key, problem);
    }

    bool next() {
        m_reader.readNext();
        return !m_reader.atEnd() && !m_reader.hasError() &&
               !(m_reader.isEndElement() && m_reader.name() == QLatin1String("ui"));
    }

    // Reads a <widget>, the reader on its start tag, and the gauges inside it.
    UiWidget readWidget(bool keep) {
        UiWidget widget;
        widget.className = m_reader.attributes().value(QLatin1String("class")).toString();
        widget.objectName = m_reader.attributes().value(QLatin1String("name")).toString();
        widget.begin = tagBegin();
        keep = keep || widget.className == QLatin1String(GaugeClass);
        const qsizetype startEnd = m_reader.characterOffset();
        while (next()) {
            if (m_reader.isEndElement()) {
                // The end of this widget: its own, as every child element is read whole.
                widget.closeBegin = tagBegin();
                widget.selfClosing = m_reader.characterOffset() == startEnd;
                if (widget.selfClosing)
                    widget.closeBegin = startEnd - 2; // "/>"
                break;
            }
            if (!m_reader.isStartElement())
                continue;
            if (m_reader.name() == QLatin1String("property") && keep) {
                UiProperty property;
                property.begin = tagBegin();
                property.name = m_reader.attributes().value(QLatin1String("name")).toString();
                property.dynamic =
                    m_reader.attributes().value(QLatin1String("stdset")) == QLatin1String("0");
                readPropertyValue(m_reader, property);
                property.end = m_reader.characterOffset();
                widget.properties.push_back(std::move(property));
            } else if (m_reader.name() == QLatin1String("widget")) {
                UiWidget child = readWidget(false);
                if (child.className == QLatin1String(GaugeClass))
                    m_document.gauges.push_back(std::move(child));
            } else {
                readChildren();
            }
        }
        return widget;
    }

    // Reads an element that is not a widget (a layout, an item, ...) for the gauges within.
    void readChildren() {
        while (next()) {
            if (m_reader.isEndElement())
                return;
            if (!m_reader.isStartElement())
                continue;
            if (m_reader.name() == QLatin1String("widget")) {
                UiWidget child = readWidget(false);
                if (child.className == QLatin1String(GaugeClass))
                    m_document.gauges.push_back(std::move(child));
            } else {
                readChildren();
            }
        }
    }

    // Where the tag the reader stands on begins: its last "<", which no attribute value holds.
    // (The reader's offset before a tag lies past the "<" it looked ahead at.)
    qsizetype tagBegin() const { return m_text.lastIndexOf(u'<', m_reader.characterOffset() - 1); }

    const QString& m_text;
    QXmlStreamReader m_reader;
    std::string m_file;
    UiDocument m_document;
};

// What a designed value gives the gauge's bag, checked against the property's kind.
Variant bagValue(const PropertyInfo& property, const UiProperty& designed, const std::string& file,
                 const std::string& key) {
    auto refuse = [&](const char* expected) -> Variant {
        throw BagError(file, key,
                       "expected " + std::string(expected) + ", not <" + utf8(designed.type) + ">");
    };
    const QString text = designed.text.trimmed();
    bool ok = false;
    switch (property.type) {
    case PropertyType::Text:
        if (designed.type != QLatin1String("string"))
            return refuse("<string>");
        return Variant::text(utf8(designed.text));
    case PropertyType::Integer: {
        if (designed.type != QLatin1String("number"))
            return refuse("<number>");
        const int value = text.toInt(&ok);
        if (!ok)
            throw BagError(file, key, "not a whole number: " + utf8(text));
        return Variant::longValue(value);
    }
    case PropertyType::Single: {
        if (designed.type != QLatin1String("double") && designed.type != QLatin1String("number"))
            return refuse("<double>");
        const double value = text.toDouble(&ok);
        if (!ok)
            throw BagError(file, key, "not a number: " + utf8(text));
        return Variant::doubleValue(value);
    }
    case PropertyType::Color: {
        if (designed.type.compare(QLatin1String("uint"), Qt::CaseInsensitive) != 0 &&
            designed.type != QLatin1String("number"))
            return refuse("<UInt>");
        const qlonglong value = text.toLongLong(&ok);
        if (!ok || value < std::numeric_limits<std::int32_t>::min() ||
            value > std::numeric_limits<std::uint32_t>::max())
            throw BagError(file, key, "not a colour value: " + utf8(text));
        return Variant::color(std::uint32_t(value));
    }
    case PropertyType::Boolean:
        break;
    }
    throw BagError(file, key, "the gauge shows it; a form cannot set it");
}

std::string designedText(const UiProperty& p, const std::string& file, const std::string& key) {
    if (p.type != QLatin1String("string"))
        throw BagError(file, key, "expected <string>, not <" + utf8(p.type) + ">");
    return utf8(p.text);
}

// The gauge of the form that the designed widget makes: its bag and its binding.
FormGauge designedGauge(const UiWidget& widget, const std::string& file) {
    FormGauge gauge;
    gauge.objectName = utf8(widget.objectName);
    const std::string where = "gauge " + gauge.objectName + ": ";
    std::set<std::string_view> stored;
    for (const UiProperty& p : widget.properties) {
        const std::string name = utf8(p.name);
        const PropertyInfo* property = findProperty(name);
        if (property && property->name == name) {
            if (property->storeOrder == 0)
                throw BagError(file, where + name, "the gauge shows it; a form cannot set it");
            gauge.bag.set(name, bagValue(*property, p, file, where + name));
            stored.insert(property->name);
        }
    }
    // A colour given only as a QColor: the stored value shows the same colour.
    for (const UiProperty& p : widget.properties) {
        const std::string_view twin = twinOf(utf8(p.name));
        if (twin.empty() || stored.contains(twin))
            continue;
        if (p.type != QLatin1String("color"))
            throw BagError(file, where + utf8(p.name),
                           "expected <color>, not <" + utf8(p.type) + ">");
        const auto channel = [](int c) { return std::uint32_t(std::clamp(c, 0, 255)); };
        gauge.bag.set(std::string(twin), Variant::color(channel(p.red) | channel(p.green) << 8 |
                                                        channel(p.blue) << 16));
    }
    if (const UiProperty* tag = widget.property(QLatin1String(MervGaugeBinding::TagProperty)))
        gauge.tag = designedText(*tag, file, where + MervGaugeBinding::TagProperty);
    if (const UiProperty* id = widget.property(QLatin1String(MervGaugeBinding::AlarmIdProperty)))
        gauge.id = designedText(*id, file, where + MervGaugeBinding::AlarmIdProperty);
    if (const UiProperty* stale =
            widget.property(QLatin1String(MervGaugeBinding::StaleMsProperty))) {
        bool ok = false;
        gauge.staleMs = stale->text.trimmed().toInt(&ok);
        if (stale->type != QLatin1String("number") || !ok)
            throw BagError(file, where + MervGaugeBinding::StaleMsProperty,
                           "expected <number> of milliseconds, not <" + utf8(stale->type) + "> " +
                               utf8(stale->text.trimmed()));
    }
    return gauge;
}

// The gauge's persisted properties as its control holds them once restored from the bag, in
// the persisted order: the same value however the bag spelled it.
std::vector<Variant> restoredValues(const MemoryPropertyBag& bag) {
    MemoryPropertyBag copy = bag;
    HeadlessGauge restored(copy);
    std::vector<Variant> values;
    for (const PropertyInfo* property : persistedProperties())
        values.push_back(property->get(restored.control()));
    return values;
}

Variant restoredValue(const MemoryPropertyBag& bag, std::string_view name) {
    const auto& persisted = persistedProperties();
    for (std::size_t k = 0; k < persisted.size(); ++k)
        if (persisted[k]->name == name)
            return restoredValues(bag)[k];
    return {};
}

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// A value as a designed form spells it, by the property's kind: "<double>14.000000000000000
// </double>" (Designer's own spelling where it gives the single back exactly).
QString valueElement(const PropertyInfo& property, const Variant& value) {
    const NumberLocale& english = NumberLocale::english();
    switch (property.type) {
    case PropertyType::Text:
        return QStringLiteral("<string>%1</string>")
            .arg(escaped(QString::fromStdString(value.toText(english))));
    case PropertyType::Integer:
        return QStringLiteral("<number>%1</number>").arg(value.toInteger(english));
    case PropertyType::Single: {
        const float single = value.toSingle(english);
        QString text = QString::number(double(single), 'f', DesignerDecimals);
        if (float(text.toDouble()) != single)
            text = QString::number(double(single), 'g', SingleDigits);
        return QStringLiteral("<double>%1</double>").arg(text);
    }
    case PropertyType::Color:
        return QStringLiteral("<UInt>%1</UInt>").arg(value.toColor(english));
    case PropertyType::Boolean:
        break;
    }
    return {};
}

// A whole <property> element, its first line at the indent already written, as Designer
// lays it out.
QString propertyElement(const QString& name, const QString& value, const QString& indent,
                        bool dynamic = false) {
    return QStringLiteral("<property name=\"%1\"%2>\n%3%4%5\n%3</property>")
        .arg(escaped(name), dynamic ? QStringLiteral(" stdset=\"0\"") : QString(), indent,
             IndentStep, value);
}

// The whitespace before the element on its line; empty when something else precedes it there.
QString indentBefore(const QString& text, qsizetype at) {
    qsizetype start = at;
    while (start > 0 && (text[start - 1] == u' ' || text[start - 1] == u'\t'))
        --start;
    if (start > 0 && text[start - 1] != u'\n')
        return {};
    return text.mid(start, at - start);
}

struct Replacement {
    qsizetype begin, end;
    QString text;
};

// The whole lines an element stands on, so that taking it out leaves no empty line.
Replacement removal(const QString& text, const UiProperty& p) {
    const QString indent = indentBefore(text, p.begin);
    qsizetype begin = p.begin - indent.size(), end = p.end;
    if (end < text.size() && text[end] == u'\n' && (begin == 0 || text[begin - 1] == u'\n'))
        ++end;
    else
        begin = p.begin;
    return {begin, end, {}};
}

// The edits that give the gauge the changed values.
void editGauge(const QString& text, const UiWidget& widget,
               const std::vector<std::pair<const PropertyInfo*, QString>>& changed,
               std::vector<Replacement>& edits) {
    const QString indent = indentBefore(text, widget.begin);
    const QString childIndent = indent + IndentStep;
    QString appended;
    for (const auto& [property, value] : changed) {
        const QString name = QString::fromUtf8(property->name);
        if (const UiProperty* p = widget.property(name)) {
            const QString at = indentBefore(text, p->begin);
            edits.push_back({p->begin, p->end, propertyElement(name, value, at)});
        } else {
            appended += childIndent + propertyElement(name, value, childIndent) + u'\n';
        }
        // The colour's QColor spelling would show the old colour beside the new value.
        for (const auto& [twin, stored] : ColorTwins)
            if (stored == property->name)
                if (const UiProperty* p = widget.property(QString::fromUtf8(twin)))
                    edits.push_back(removal(text, *p));
    }
    if (appended.isEmpty())
        return;
    if (widget.selfClosing) {
        edits.push_back({widget.closeBegin, widget.closeBegin + 2,
                         QStringLiteral(">\n") + appended + indent + QStringLiteral("</widget>")});
        return;
    }
    const QString closeIndent = indentBefore(text, widget.closeBegin);
    const qsizetype lineStart = widget.closeBegin - closeIndent.size();
    if (lineStart > 0 && text[lineStart - 1] == u'\n')
        edits.push_back({lineStart, lineStart, appended});
    else
        edits.push_back({widget.closeBegin, widget.closeBegin, u'\n' + appended + indent});
}

QString applied(QString text, std::vector<Replacement> edits) {
    std::sort(edits.begin(), edits.end(),
              [](const Replacement& a, const Replacement& b) { return a.begin > b.begin; });
    for (const Replacement& e : edits)
        text.replace(e.begin, e.end - e.begin, e.text);
    return text;
}

// "boiler/drum/pressure" as a C++ name a form designer accepts: "boilerDrumPressure".
QString objectNameOf(const std::string& tag) {
    QString name;
    bool upper = false;
    for (const QChar c : QString::fromStdString(tag)) {
        if (c.isLetterOrNumber() && c.unicode() < 128) {
            name += (upper && !name.isEmpty()) ? c.toUpper() : c;
            upper = false;
        } else {
            upper = true;
        }
    }
    if (name.isEmpty() || name[0].isDigit())
        name.prepend(QStringLiteral("gauge"));
    return name;
}

} // namespace

bool isDesignedForm(const std::filesystem::path& path) {
    return path.extension() == ".ui";
}

DesignedForm loadDesignedForm(const std::filesystem::path& path) {
    const std::string file = path.string();
    auto contents = readWholeFile(path);
    if (auto* why = std::get_if<FileProblem>(&contents))
        throw BagError(file, {}, why->what);
    return readDesignedForm(QString::fromStdString(std::get<std::string>(contents)), file);
}

DesignedForm readDesignedForm(const QString& text, const std::string& file) {
    const UiDocument document = UiReader(text, file).read();
    DesignedForm designed;
    designed.text = text;
    Form& form = designed.form;
    const UiWidget& top = document.top;
    if (const UiProperty* title = top.property(QLatin1String("windowTitle")))
        form.title = utf8(title->text);
    if (form.title.empty())
        form.title = utf8(document.className.isEmpty() ? top.objectName : document.className);
    if (top.property(QLatin1String(RefusedPasswordProperty)))
        throw BagError(file, RefusedPasswordProperty,
                       "a password never stands in a form: name a file only its owner can read "
                       "with \"sourcePasswordFile\", or set " +
                           std::string(PasswordVariable));
    if (const UiProperty* source = top.property(QLatin1String(SourceProperty)))
        form.source = designedText(*source, file, SourceProperty);
    for (const SourceSecurityKey& k : SourceSecurityKeys)
        if (const UiProperty* p = top.property(QLatin1String(k.uiProperty)))
            form.sourceSecurity.*k.field = designedText(*p, file, k.uiProperty);

    std::set<QString> names;
    for (const UiWidget& widget : document.gauges) {
        if (widget.objectName.isEmpty())
            throw BagError(file, "gauge " + std::to_string(form.gauges.size() + 1),
                           "has no object name");
        if (!names.insert(widget.objectName).second)
            throw BagError(file, "gauge " + utf8(widget.objectName),
                           "another widget of the form has the same name");
        form.gauges.push_back(designedGauge(widget, file));
        if (form.gauges.size() > MaxGauges)
            break; // checkForm says so
    }
    // A gauge that names no tag reads its variable, as in a grid form.
    for (FormGauge& gauge : form.gauges)
        if (gauge.tag.empty())
            gauge.tag = restoredValue(gauge.bag, "VariableName").toText(NumberLocale::english());
    checkForm(form, file);
    return designed;
}

QString designedFormText(const DesignedForm& designed, const Form& now, const std::string& file) {
    const UiDocument document = UiReader(designed.text, file).read();
    if (document.gauges.size() != now.gauges.size() ||
        document.gauges.size() != designed.form.gauges.size())
        throw BagError(file, {}, "the form's gauges are not the ones of the file");
    const auto& persisted = persistedProperties();
    std::vector<Replacement> edits;
    for (std::size_t i = 0; i < document.gauges.size(); ++i) {
        const UiWidget& widget = document.gauges[i];
        if (utf8(widget.objectName) != now.gauges[i].objectName)
            throw BagError(file, "gauge " + utf8(widget.objectName),
                           "the form's gauge is " + now.gauges[i].objectName);
        const std::vector<Variant> before = restoredValues(designed.form.gauges[i].bag);
        const std::vector<Variant> after = restoredValues(now.gauges[i].bag);
        std::vector<std::pair<const PropertyInfo*, QString>> changed;
        for (std::size_t k = 0; k < persisted.size(); ++k) {
            if (persisted[k]->name == "Value")
                continue;
            const QString was = valueElement(*persisted[k], before[k]);
            const QString is = valueElement(*persisted[k], after[k]);
            if (was != is)
                changed.emplace_back(persisted[k], is);
        }
        editGauge(designed.text, widget, changed, edits);
    }
    return applied(designed.text, std::move(edits));
}

DesignedForm saveDesignedForm(const std::filesystem::path& path, const DesignedForm& designed,
                              const Form& now) {
    DesignedForm saved{now, designedFormText(designed, now, path.string())};
    if (auto why = writeFileAtomically(path, saved.text.toStdString()))
        throw BagError(path.string(), {}, why->what);
    return saved;
}

std::filesystem::path designedPageFile(const std::filesystem::path& formPath,
                                       const FormPage& page) {
    const std::filesystem::path ui = page.ui;
    return ui.is_relative() ? formPath.parent_path() / ui : ui;
}

PagedForm asPagedForm(DesignedForm designed) {
    Form form = designed.form;
    PagedForm paged{std::move(form), {}};
    paged.designedPages.push_back(std::move(designed));
    return paged;
}

namespace {

// The gauges of the page, in the form's order.
Form pageGauges(const Form& form, int page) {
    Form out;
    for (const FormGauge& gauge : form.gauges)
        if (gauge.page == page)
            out.gauges.push_back(gauge);
    return out;
}

} // namespace

PagedForm loadPagedForm(const std::filesystem::path& path) {
    PagedForm paged{loadForm(path), {}};
    Form& form = paged.form;
    if (!form.hasDesignedPages())
        return paged;
    const std::string file = path.string();
    paged.designedPages.resize(form.pages.size());
    std::vector<FormGauge> gauges;
    gauges.reserve(form.gauges.size());
    std::size_t next = 0; // the grid pages' gauges, page by page
    for (std::size_t p = 0; p < form.pages.size(); ++p) {
        const FormPage& page = form.pages[p];
        if (page.ui.empty()) {
            for (; next < form.gauges.size() && form.gauges[next].page == int(p); ++next)
                gauges.push_back(std::move(form.gauges[next]));
            continue;
        }
        const std::filesystem::path uiPath = designedPageFile(path, page);
        auto contents = readWholeFile(uiPath);
        if (auto* why = std::get_if<FileProblem>(&contents))
            throw BagError(file, "page " + std::to_string(p + 1) + " (" + page.title + "): ui",
                           "\"" + page.ui + "\": " + why->what);
        DesignedForm designed = readDesignedForm(
            QString::fromStdString(std::get<std::string>(contents)), uiPath.string());
        for (FormGauge gauge : designed.form.gauges) {
            gauge.page = int(p);
            gauges.push_back(std::move(gauge));
        }
        paged.designedPages[p] = std::move(designed);
    }
    form.gauges = std::move(gauges);
    checkFormGauges(form, file);
    return paged;
}

PagedForm savePagedForm(const std::filesystem::path& path,
                        const std::vector<std::optional<DesignedForm>>& designedPages,
                        const Form& now) {
    PagedForm result{now, designedPages};
    for (std::size_t p = 0; p < designedPages.size(); ++p)
        if (const std::optional<DesignedForm>& designed = designedPages[p])
            result.designedPages[p] = saveDesignedForm(designedPageFile(path, now.pages.at(p)),
                                                       *designed, pageGauges(now, int(p)));
    saveForm(path, now);
    return result;
}

void exportDesignedForm(const std::filesystem::path& path, const Form& form) {
    if (!form.pages.empty())
        throw BagError(path.string(), "pages",
                       "a .ui holds one screen: a form of " + std::to_string(form.pages.size()) +
                           " pages is saved as .json");
    if (auto why = writeFileAtomically(path, designedFormOf(form).toStdString()))
        throw BagError(path.string(), {}, why->what);
}

QString designedFormOf(const Form& form) {
    const QString in1 = IndentStep, in2 = in1 + IndentStep, in3 = in2 + IndentStep,
                  in4 = in3 + IndentStep, in5 = in4 + IndentStep;
    QString gauges;
    std::set<QString> names;
    const auto& persisted = persistedProperties();
    for (const FormGauge& gauge : form.gauges) {
        QString name = objectNameOf(gauge.identity());
        for (int n = 2; !names.insert(name).second; ++n)
            name = objectNameOf(gauge.identity()) + QString::number(n);
        gauges += QStringLiteral("%1<item row=\"%2\" column=\"%3\">\n%4<widget class=\"%5\" "
                                 "name=\"%6\">\n")
                      .arg(in3)
                      .arg(gauge.row)
                      .arg(gauge.col)
                      .arg(in4, QLatin1String(GaugeClass), name);
        auto add = [&](const QString& property, const QString& value, bool dynamic) {
            gauges += in5 + propertyElement(property, value, in5, dynamic) + u'\n';
        };
        add(MervGaugeBinding::TagProperty,
            QStringLiteral("<string>%1</string>").arg(escaped(QString::fromStdString(gauge.tag))),
            true);
        add(MervGaugeBinding::StaleMsProperty,
            QStringLiteral("<number>%1</number>").arg(gauge.staleMs), true);
        if (!gauge.id.empty())
            add(MervGaugeBinding::AlarmIdProperty,
                QStringLiteral("<string>%1</string>")
                    .arg(escaped(QString::fromStdString(gauge.id))),
                true);
        // What the grid form's bag sets, in the persisted order.
        const std::vector<Variant> values = restoredValues(gauge.bag);
        for (std::size_t k = 0; k < persisted.size(); ++k) {
            const bool set =
                std::any_of(gauge.bag.entries().begin(), gauge.bag.entries().end(),
                            [&](const auto& entry) { return entry.first == persisted[k]->name; });
            if (set)
                add(QString::fromUtf8(persisted[k]->name), valueElement(*persisted[k], values[k]),
                    false);
        }
        gauges += in4 + QStringLiteral("</widget>\n") + in3 + QStringLiteral("</item>\n");
    }
    QString source =
        in2 +
        propertyElement(
            SourceProperty,
            QStringLiteral("<string>%1</string>").arg(escaped(QString::fromStdString(form.source))),
            in2, true) +
        u'\n';
    for (const SourceSecurityKey& k : SourceSecurityKeys)
        if (const std::string& value = form.sourceSecurity.*k.field; !value.empty())
            source += in2 +
                      propertyElement(k.uiProperty,
                                      QStringLiteral("<string>%1</string>")
                                          .arg(escaped(QString::fromStdString(value))),
                                      in2, true) +
                      u'\n';
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<ui version=\"4.0\">\n"
                          "%1<class>PanelForm</class>\n"
                          "%1<widget class=\"QWidget\" name=\"PanelForm\">\n"
                          "%2%3\n"
                          "%4"
                          "%2<layout class=\"QGridLayout\" name=\"gaugeGrid\">\n"
                          "%5"
                          "%2</layout>\n"
                          "%1</widget>\n"
                          "%1<customwidgets>\n"
                          "%2<customwidget>\n"
                          "%6<class>%7</class>\n"
                          "%6<extends>QWidget</extends>\n"
                          "%6<header location=\"global\">mervgauge/MervGaugeWidget.h</header>\n"
                          "%2</customwidget>\n"
                          "%1</customwidgets>\n"
                          "%1<resources/>\n"
                          "%1<connections/>\n"
                          "</ui>\n")
        .arg(in1, in2,
             propertyElement(QStringLiteral("windowTitle"),
                             QStringLiteral("<string>%1</string>")
                                 .arg(escaped(QString::fromStdString(form.title))),
                             in2),
             source, gauges, in3, QLatin1String(GaugeClass));
}

} // namespace merv::panel
